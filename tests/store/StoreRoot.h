#pragma once

#include "model/StoreDump.h"
#include "platform/Clock.h"
#include "platform/Paths.h"
#include "platform/UserDefaults.h"
#include "platform/objectstore/Context.h"
#include "store/CoreDataController.h"
#include "store/DatabaseMetadata.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace vantrel::store::testing {

// One throw-away installation: its own folders, user defaults and a clock that stands still.
struct StoreRoot {
    QTemporaryDir dir;
    platform::Paths paths = platform::Paths::underRoot(dir.path());
    platform::FixedClock clock{QDateTime(QDate(2024, 3, 5), QTime(20, 0), QTimeZone::utc()),
                               QTimeZone("Europe/Berlin")};
    platform::UserDefaults defaults{dir.filePath(QStringLiteral("defaults.conf"))};

    std::unique_ptr<CoreDataController> controller() {
        return std::make_unique<CoreDataController>(paths, defaults, clock);
    }

    std::unique_ptr<CoreDataController> loaded(const QString& localeId = QStringLiteral("en_US")) {
        auto result = controller();
        const auto outcome = result->loadPersistentStores(localeId);
        EXPECT_EQ(outcome, CoreDataController::LoadOutcome::Loaded);
        return result;
    }

    QString databaseFile(const char* name = CoreDataController::kDatabaseFileName) const {
        return QDir(paths.databaseFolder()).filePath(QString::fromLatin1(name));
    }
    QString metadataFile() const { return DatabaseMetadata::defaultPath(paths.databaseFolder()); }
    std::optional<int> storedVersion() const {
        return DatabaseMetadata::defaultMetadata(paths.databaseFolder()).dataCompatibilityVersion;
    }
    void storeVersion(int version) const {
        DatabaseMetadata metadata;
        metadata.dataCompatibilityVersion = version;
        QDir().mkpath(paths.databaseFolder());
        metadata.persist(paths.databaseFolder());
    }
};

inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The names in a folder, hidden ones included, sorted.
inline QStringList entriesOf(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

inline QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every object of every entity, in model order.
inline QString dumpOfAllEntities(objectstore::Context& context) {
    QString output;
    for (const auto& entity : context.model().entities()) {
        model::StoreDump::dump(context, entity.name(), output);
    }
    return output;
}

// What a folder tree holds: per relative path, its kind, content checksum and modification time.
// Links are listed as links, never followed.
inline std::map<QString, QString> fingerprint(const QString& folder) {
    std::map<QString, QString> result;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        QString description;
        if (info.isSymLink()) {
            description = QStringLiteral("link to ") + info.symLinkTarget();
        } else if (info.isDir()) {
            description = QStringLiteral("folder");
        } else {
            description = QString::fromLatin1(
                QCryptographicHash::hash(readFile(info.filePath()), QCryptographicHash::Sha256).toHex());
        }
        description += QLatin1Char(' ') +
                       QString::number(info.fileTime(QFileDevice::FileModificationTime).toMSecsSinceEpoch());
        result[QDir(folder).relativeFilePath(info.filePath())] = description;
    }
    return result;
}

// Moves every modification time below `folder` an hour back, so that any later write shows.
inline void ageFiles(const QString& folder) {
    const QDateTime past = QDateTime::currentDateTimeUtc().addSecs(-3600);
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::NoSymLinks, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(past, QFileDevice::FileModificationTime));
    }
}

} // namespace vantrel::store::testing
