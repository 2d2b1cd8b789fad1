#include "StoreRoot.h"
#include "model/CategoryVT.h"
#include "model/Currency.h"
#include "model/Global.h"
#include "platform/InternalError.h"
#include "platform/LogCapture.h"
#include "store/CoreDataController.h"

#include <QCoreApplication>
#include <QLockFile>
#include <QProcess>
#include <QSysInfo>

#include <gtest/gtest.h>

namespace vantrel::store {
namespace {

using testing::ageFiles;
using testing::fingerprint;
using testing::StoreRoot;
using testing::writeFile;
using LoadOutcome = CoreDataController::LoadOutcome;

QString homeCurrencyCode(CoreDataController& controller) {
    return model::Global::sharedInstanceInContext(controller.managedObjectContext()).homeCurrencyCode();
}

TEST(StoreLoadingTest, FirstLoadSeedsOnceAndReopeningKeepsTheDatabase) {
    StoreRoot root;
    QString databaseID;
    {
        platform::LogCapture log;
        auto controller = root.controller();
        EXPECT_FALSE(controller->isLoaded());
        EXPECT_THROW(controller->managedObjectContext(), platform::InternalError);
        ASSERT_EQ(controller->loadPersistentStores(QStringLiteral("en_US")), LoadOutcome::Loaded);
        EXPECT_TRUE(controller->isLoaded());
        EXPECT_EQ(controller->afterLoadStatus(), CoreDataController::kLoaded);
        EXPECT_TRUE(log.lines().contains("No local content, initializing new db."));
        EXPECT_TRUE(log.lines().contains("Seed blank database"));

        objectstore::Context& context = controller->managedObjectContext();
        EXPECT_FALSE(context.hasChanges());
        EXPECT_GT(context.count(QString::fromLatin1(model::Currency::kEntity)), 100u);
        EXPECT_EQ(context.count(QString::fromLatin1(model::CategoryVT::kEntity)), 7u);
        EXPECT_EQ(context.count(QString::fromLatin1(model::Global::kEntity)), 1u);
        EXPECT_EQ(homeCurrencyCode(*controller), "USD");
        databaseID = model::Global::sharedInstanceInContext(context).databaseID();
        EXPECT_EQ(root.storedVersion(), 4);
        EXPECT_TRUE(controller->hasLocalContent());
        EXPECT_THROW(controller->loadPersistentStores(QStringLiteral("en_US")), platform::InternalError);
    }
    platform::LogCapture log;
    auto reopened = root.loaded(QStringLiteral("de_DE"));
    EXPECT_FALSE(log.lines().contains("Seed blank database"));
    EXPECT_FALSE(log.lines().contains("No local content, initializing new db."));
    objectstore::Context& context = reopened->managedObjectContext();
    EXPECT_EQ(context.count(QString::fromLatin1(model::CategoryVT::kEntity)), 7u);
    EXPECT_EQ(context.count(QString::fromLatin1(model::Global::kEntity)), 1u);
    EXPECT_EQ(model::Global::sharedInstanceInContext(context).databaseID(), databaseID);
    // The locale only matters for a new database.
    EXPECT_EQ(homeCurrencyCode(*reopened), "USD");
}

TEST(StoreLoadingTest, NewDatabaseIgnoresAWriteAheadLogLeftByAnotherDatabase) {
    StoreRoot other;
    auto running = other.loaded();
    objectstore::Context& otherContext = running->managedObjectContext();
    model::CategoryVT::insertInContext(otherContext).setName(QStringLiteral("From the other database"));
    ASSERT_TRUE(otherContext.save().succeeded());
    const QByteArray log = testing::readFile(other.databaseFile(CoreDataController::kWriteAheadLogFileName));
    ASSERT_FALSE(log.isEmpty());

    // The database file is gone but its log stayed behind; replayed into the new file it would
    // mix the two databases.
    StoreRoot root;
    ASSERT_TRUE(writeFile(root.databaseFile(CoreDataController::kWriteAheadLogFileName), log));
    auto controller = root.loaded();
    objectstore::Context& context = controller->managedObjectContext();
    EXPECT_EQ(context.count(QString::fromLatin1(model::CategoryVT::kEntity)), 7u);
    EXPECT_EQ(context.count(QString::fromLatin1(model::Global::kEntity)), 1u);
    EXPECT_NE(model::Global::sharedInstanceInContext(context).databaseID(),
              model::Global::sharedInstanceInContext(otherContext).databaseID());
}

TEST(StoreLoadingTest, NewDatabaseTakesTheHomeCurrencyOfTheLocaleOrUsd) {
    const std::pair<const char*, const char*> cases[] = {
        {"de_DE", "EUR"}, {"en_US", "USD"}, {"ja_JP", "JPY"}, {"de_DE@currency=XYZ", "USD"}};
    for (const auto& [locale, expected] : cases) {
        StoreRoot root;
        auto controller = root.loaded(QString::fromLatin1(locale));
        EXPECT_EQ(homeCurrencyCode(*controller), expected) << locale;
    }
}

TEST(StoreLoadingTest, OlderVersionsAreUpgradedAndAskForSyncAfterLaunch) {
    for (const int version : {2, 3}) {
        StoreRoot root;
        root.storeVersion(version);
        platform::LogCapture log;
        auto controller = root.loaded();
        EXPECT_TRUE(controller->shouldTurnOnSyncForVantrel3AfterLaunch()) << version;
        EXPECT_EQ(root.storedVersion(), 4);
        EXPECT_TRUE(
            log.lines().contains("less than current version, perform data upgrade and update version"));
        EXPECT_FALSE(log.lines().contains("Removing ensembles folder"));
    }
    StoreRoot current;
    current.storeVersion(4);
    platform::LogCapture log;
    auto controller = current.loaded();
    EXPECT_FALSE(controller->shouldTurnOnSyncForVantrel3AfterLaunch());
    EXPECT_FALSE(log.lines().contains("less than current version, perform data upgrade and update version"));
}

TEST(StoreLoadingTest, VersionOneDiscardsSyncDataAndRemembersWhetherSyncWasOn) {
    struct Case {
        QStringList folders;
        bool wasOn;
    };
    const Case cases[] = {{{"MainStore/events"}, true}, {{"OtherStore"}, false}, {{}, false}};
    for (const Case& c : cases) {
        StoreRoot root;
        auto probe = root.controller();
        const QString syncData = probe->syncDataFolderPath();
        probe.reset();
        EXPECT_EQ(syncData, root.paths.applicationSupportFolder() + "/SyncData");
        for (const QString& folder : c.folders) {
            ASSERT_TRUE(writeFile(syncData + "/" + folder + "/data", "x"));
        }
        root.storeVersion(1);

        platform::LogCapture log;
        auto controller = root.loaded();
        EXPECT_EQ(controller->shouldTurnOnSyncForVantrel3AfterLaunch(), c.wasOn)
            << c.folders.join(",").toStdString();
        EXPECT_FALSE(QFileInfo::exists(syncData));
        EXPECT_EQ(root.storedVersion(), 4);
        EXPECT_TRUE(log.lines().contains(c.wasOn ? "iCloud was on: 1" : "iCloud was on: 0"));
        EXPECT_EQ(log.lines().contains("Removing ensembles folder"), !c.folders.isEmpty());
    }
}

TEST(StoreLoadingTest, NewerDatabaseIsRefusedWithoutTouchingAnyFile) {
    StoreRoot root;
    root.loaded().reset();
    root.storeVersion(5);
    ageFiles(root.dir.path());
    const auto before = fingerprint(root.paths.applicationSupportFolder());
    const auto documentsBefore = fingerprint(root.paths.ownDocumentsFolder());

    auto controller = root.controller();
    EXPECT_EQ(controller->loadPersistentStores(QStringLiteral("en_US")), LoadOutcome::NewerDatabase);
    EXPECT_FALSE(controller->isLoaded());
    EXPECT_THROW(controller->managedObjectContext(), platform::InternalError);
    EXPECT_EQ(fingerprint(root.paths.applicationSupportFolder()), before);
    EXPECT_EQ(fingerprint(root.paths.ownDocumentsFolder()), documentsBefore);
    EXPECT_FALSE(QFileInfo::exists(root.paths.lockFile()));
    EXPECT_EQ(root.storedVersion(), 5);

    // A newer metadata file alone must not get a fresh database beside it either.
    StoreRoot metadataOnly;
    metadataOnly.storeVersion(7);
    auto other = metadataOnly.controller();
    EXPECT_EQ(other->loadPersistentStores(QStringLiteral("en_US")), LoadOutcome::NewerDatabase);
    EXPECT_EQ(QDir(metadataOnly.paths.databaseFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{"DatabaseMetadata.plist"});
}

TEST(StoreLoadingTest, SecondCopyIsRefusedWhileTheFirstRuns) {
    StoreRoot root;
    auto first = root.loaded();
    const auto before = fingerprint(root.paths.databaseFolder());
    {
        auto second = root.controller();
        EXPECT_EQ(second->loadPersistentStores(QStringLiteral("en_US")), LoadOutcome::AnotherCopyRunning);
        EXPECT_FALSE(second->isLoaded());
        EXPECT_THROW(second->persistentStore(), platform::InternalError);
        EXPECT_FALSE(second->acquireInstanceLock());
    }
    EXPECT_EQ(fingerprint(root.paths.databaseFolder()), before);
    // The refused copy must not have released the running copy's lock on its way out.
    EXPECT_EQ(root.controller()->loadPersistentStores(QStringLiteral("en_US")),
              LoadOutcome::AnotherCopyRunning);
    EXPECT_TRUE(first->managedObjectContext().count(QString::fromLatin1(model::Global::kEntity)) == 1);

    first.reset();
    auto third = root.loaded();
    EXPECT_TRUE(third->isLoaded());
}

TEST(StoreLoadingTest, LockOfALiveProcessBlocksButOneLeftByADeadProcessDoesNot) {
    StoreRoot root;
    // The lock file's own format: pid, application name, host name.
    const auto writeLock = [&](qint64 pid) {
        return writeFile(root.paths.lockFile(), QByteArray::number(pid) + '\n' +
                                                    QCoreApplication::applicationName().toUtf8() + '\n' +
                                                    QSysInfo::machineHostName().toUtf8() + '\n');
    };
    ASSERT_TRUE(writeLock(QCoreApplication::applicationPid()));
    ageFiles(root.paths.applicationSupportFolder());
    EXPECT_EQ(root.controller()->loadPersistentStores(QStringLiteral("en_US")),
              LoadOutcome::AnotherCopyRunning);

    QProcess process;
    process.start(QStringLiteral("true"));
    ASSERT_TRUE(process.waitForStarted());
    const qint64 deadPid = process.processId();
    ASSERT_TRUE(process.waitForFinished());
    ASSERT_TRUE(writeLock(deadPid));
    EXPECT_EQ(root.controller()->loadPersistentStores(QStringLiteral("en_US")), LoadOutcome::Loaded);
}

TEST(StoreLoadingTest, UnopenableStoreIsAnInternalError) {
    StoreRoot root;
    ASSERT_TRUE(writeFile(root.databaseFile(), QByteArray(4096, 'x')));
    auto controller = root.controller();
    try {
        controller->loadPersistentStores(QStringLiteral("en_US"));
        FAIL() << "loaded a file that is not a database";
    } catch (const platform::InternalError& error) {
        EXPECT_TRUE(error.message().startsWith("Error occurred while adding persistent store: "))
            << error.what();
    }
    EXPECT_FALSE(controller->isLoaded());
}

} // namespace
} // namespace vantrel::store
