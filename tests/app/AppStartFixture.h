#pragma once

#include "RecordingShell.h"
#include "ScriptedCloudSync.h"
#include "app/AppController.h"
#include "app/AppServices.h"
#include "app/WelcomeController.h"
#include "model/Account.h"
#include "platform/Clock.h"
#include "platform/HttpClient.h"
#include "platform/NotificationHub.h"
#include "platform/Paths.h"
#include "platform/UserDefaults.h"
#include "platform/objectstore/Context.h"
#include "store/CoreDataController.h"
#include "store/PasswordLock.h"
#include "support/ModelValues.h"
#include "support/ScriptedAlertPresenter.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace vantrel::testsupport {

// Requests that never answer: start-up must not wait for the network.
class SilentHttpClient final : public platform::HttpClient {
public:
    void get(const QUrl& url, std::chrono::milliseconds, Completion) override { requested << url; }
    QList<QUrl> requested;
};

class ScriptedPasswordLock final : public store::PasswordLock {
public:
    bool hasPassword() const override { return locked; }
    bool locked = false;
};

// The application started on a temporary root, as the desktop starts it: a welcome controller over
// a recording shell, scripted cloud sync and alerts, and a clock standing at noon on 1 March 2024
// UTC.
class AppStartFixture : public ::testing::Test {
protected:
    static constexpr auto kLocale = "en_US";

    app::AppServices services() {
        return {paths, shell, alerts, clock, defaults, hub, http, QString::fromLatin1(kLocale)};
    }

    app::WelcomeController& welcome() {
        if (!m_welcome) {
            m_welcome = std::make_unique<app::WelcomeController>(services(), passwordLock,
                                                                 std::make_unique<ScriptedCloudSync>(cloud));
        }
        return *m_welcome;
    }

    app::AppController& controller() {
        app::AppController* created = welcome().appController();
        if (created == nullptr) {
            throw std::logic_error("launch() has not run");
        }
        return *created;
    }

    objectstore::Context& context() { return controller().managedObjectContext(); }

    // A database on this root made by an earlier run, holding accounts with these names. The
    // earlier run has ended, so its lock is released.
    void createDatabaseWithAccounts(const QStringList& names) {
        store::CoreDataController earlier(paths, defaults, clock);
        ASSERT_EQ(earlier.loadPersistentStores(QString::fromLatin1(kLocale)),
                  store::CoreDataController::LoadOutcome::Loaded);
        for (const QString& name : names) {
            addAccount(earlier.managedObjectContext(), name);
        }
        earlier.lowLevelSave();
    }

    void addAccount(objectstore::Context& target, const QString& name) {
        model::Account account = model::Account::insertInContext(target, clock);
        account.setName(name);
        account.setType(QStringLiteral("checking"));
        account.setStartBalance(amount("0"));
    }

    // Launches on an existing database and checks it reached the running state.
    void startNormally() {
        welcome().launch();
        ASSERT_TRUE(controller().appIsRunning());
    }

    QStringList backupArchives() const {
        return QDir(paths.backupsFolder()).entryList({QStringLiteral("Vantrel_*.zip")}, QDir::Files);
    }

    // Every file of the database folder with its content's checksum.
    QMap<QString, QByteArray> databaseFolderChecksums() const {
        QMap<QString, QByteArray> sums;
        const QDir folder(paths.databaseFolder());
        for (const QString& name : folder.entryList(QDir::Files)) {
            QFile file(folder.filePath(name));
            if (file.open(QIODevice::ReadOnly)) {
                sums.insert(name, QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256));
            }
        }
        return sums;
    }

    bool databaseFileExists() const {
        return QFile::exists(
            QDir(paths.databaseFolder())
                .filePath(QString::fromLatin1(store::CoreDataController::kDatabaseFileName)));
    }

    QTemporaryDir root;
    platform::Paths paths = platform::Paths::underRoot(root.path());
    platform::UserDefaults defaults{root.filePath(QStringLiteral("defaults.ini"))};
    platform::FixedClock clock{QDateTime(QDate(2024, 3, 1), QTime(12, 0), QTimeZone::utc()),
                               QTimeZone::utc()};
    ScriptedAlertPresenter alerts;
    platform::NotificationHub hub;
    SilentHttpClient http;
    RecordingShell shell;
    ScriptedCloudSync::Script cloud;
    ScriptedPasswordLock passwordLock;

private:
    std::unique_ptr<app::WelcomeController> m_welcome;
};

} // namespace vantrel::testsupport
