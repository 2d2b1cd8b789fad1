#include "StoreRoot.h"
#include "model/Account.h"
#include "model/StoreDump.h"
#include "platform/InternalError.h"
#include "platform/LogCapture.h"
#include "store/CoreDataController.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace vantrel::store {
namespace {

using testing::entriesOf;
using testing::readFile;
using testing::StoreRoot;
using testing::writeFile;

TEST(StoreLocalDataTest, CreatingAControllerForgetsTheLastSyncResultAndOpensNothing) {
    StoreRoot root;
    root.defaults.setValue(CoreDataController::kLastSyncSucceededKey, true);
    auto controller = root.controller();
    EXPECT_FALSE(root.defaults.isStored(CoreDataController::kLastSyncSucceededKey));
    EXPECT_FALSE(QFileInfo::exists(root.paths.applicationSupportFolder()));
    EXPECT_EQ(controller->storeURL(), root.paths.databaseFolder() + "/Database.vantrelsql");
    EXPECT_TRUE(QFileInfo(root.paths.databaseFolder()).isDir());
    EXPECT_FALSE(controller->hasLocalContent());
    // Only the database file counts as a database.
    ASSERT_TRUE(writeFile(root.databaseFile(CoreDataController::kWriteAheadLogFileName), "x"));
    ASSERT_TRUE(writeFile(root.metadataFile(), "x"));
    EXPECT_FALSE(controller->hasLocalContent());
}

TEST(StoreLocalDataTest, DeleteDatabaseRemovesTheFourFilesOnly) {
    StoreRoot root;
    root.loaded().reset();
    ASSERT_TRUE(writeFile(root.databaseFile(CoreDataController::kSharedMemoryFileName), "shm"));
    ASSERT_TRUE(writeFile(root.databaseFile(CoreDataController::kWriteAheadLogFileName), "wal"));
    ASSERT_TRUE(writeFile(root.paths.databaseFolder() + "/other.txt", "other"));
    auto controller = root.controller();
    EXPECT_TRUE(controller->deleteDatabase());
    EXPECT_EQ(entriesOf(root.paths.databaseFolder()), QStringList{"other.txt"});
    // Nothing left to delete is no failure.
    EXPECT_TRUE(controller->deleteDatabase());
}

TEST(StoreLocalDataTest, DeleteDatabaseStopsAtTheFirstFailure) {
    StoreRoot root;
    ASSERT_TRUE(writeFile(root.databaseFile(), "db"));
    ASSERT_TRUE(writeFile(root.databaseFile(CoreDataController::kSharedMemoryFileName) + "/x", "in the way"));
    ASSERT_TRUE(writeFile(root.databaseFile(CoreDataController::kWriteAheadLogFileName), "wal"));
    ASSERT_TRUE(writeFile(root.metadataFile(), "metadata"));
    auto controller = root.controller();
    platform::LogCapture log;
    EXPECT_FALSE(controller->deleteDatabase());
    ASSERT_EQ(log.lines().size(), 1);
    EXPECT_TRUE(log.lines().first().startsWith(
        "Error deleting file: " + root.databaseFile(CoreDataController::kSharedMemoryFileName) + ". "));
    EXPECT_EQ(entriesOf(root.paths.databaseFolder()),
              QStringList({"Database.vantrelsql-shm", "Database.vantrelsql-wal", "DatabaseMetadata.plist"}));
}

TEST(StoreLocalDataTest, DeleteDatabaseIsRefusedWhileLoaded) {
    StoreRoot root;
    auto controller = root.loaded();
    EXPECT_THROW(controller->deleteDatabase(), platform::InternalError);
    EXPECT_TRUE(controller->hasLocalContent());
}

TEST(StoreLocalDataTest, DestroyLocalDataRemovesTheOwnFolderButNothingBehindLinks) {
    StoreRoot root;
    auto controller = root.loaded();
    const QString own = root.paths.applicationSupportFolder();
    ASSERT_TRUE(writeFile(own + "/SyncData/MainStore/data", "sync"));
    const QString outside = root.dir.filePath("outside");
    ASSERT_TRUE(writeFile(outside + "/precious.txt", "precious"));
    ASSERT_TRUE(QFile::link(outside, own + "/SyncData/linked-folder"));
    ASSERT_TRUE(QFile::link(outside + "/precious.txt", own + "/linked-file"));
    ASSERT_TRUE(writeFile(root.dir.filePath("data/other-app/file"), "other"));

    controller->destroyLocalData();
    EXPECT_FALSE(controller->isLoaded());
    EXPECT_THROW(controller->managedObjectContext(), platform::InternalError);
    EXPECT_FALSE(QFileInfo::exists(own));
    EXPECT_EQ(readFile(outside + "/precious.txt"), "precious");
    EXPECT_EQ(readFile(root.dir.filePath("data/other-app/file")), "other");

    // The lock went with the folder: a new start makes a new database.
    platform::LogCapture log;
    root.loaded();
    EXPECT_TRUE(log.lines().contains("Seed blank database"));
}

TEST(StoreLocalDataTest, DestroyLocalDataLeavesALinkedFolderAlone) {
    StoreRoot root;
    const QString real = root.dir.filePath("elsewhere/vantrel");
    ASSERT_TRUE(writeFile(real + "/keep.txt", "keep"));
    ASSERT_TRUE(QDir().mkpath(root.dir.filePath("data")));
    ASSERT_TRUE(QFile::link(real, root.paths.applicationSupportFolder()));
    auto controller = root.controller();
    platform::LogCapture log;
    controller->destroyLocalData();
    EXPECT_TRUE(QFileInfo(root.paths.applicationSupportFolder()).isSymLink());
    EXPECT_EQ(readFile(real + "/keep.txt"), "keep");
    ASSERT_EQ(log.lines().size(), 1);
    EXPECT_TRUE(log.lines().first().startsWith("error during destory: "));
}

TEST(StoreLocalDataTest, DumpGoesToANewFileInTheDocumentsFolder) {
    StoreRoot root;
    auto controller = root.loaded();
    model::Account account = model::Account::insertInContext(controller->managedObjectContext(), root.clock);
    account.setName("Checking");
    account.setType("checking");
    platform::LogCapture log;
    const QString path = controller->dumpDatabase();
    ASSERT_FALSE(path.isEmpty());
    EXPECT_EQ(QFileInfo(path).path(), root.paths.ownDocumentsFolder());
    EXPECT_EQ(controller->dumpFolderPath(), root.paths.ownDocumentsFolder());
    EXPECT_TRUE(QRegularExpression("^[0-9a-z]{3}\\.txt$").match(QFileInfo(path).fileName()).hasMatch());
    ASSERT_FALSE(log.lines().isEmpty());
    EXPECT_EQ(log.lines().first(), "validating all objects");
    EXPECT_EQ(log.lines().last(), path);

    objectstore::Context& context = controller->managedObjectContext();
    QString firstEntity;
    model::StoreDump::dump(context, context.model().entity(0).name(), firstEntity);
    ASSERT_TRUE(firstEntity.contains("Checking"));
    const QString written = QString::fromUtf8(readFile(path));
    EXPECT_TRUE(written.startsWith(firstEntity));
    EXPECT_EQ(written, testing::dumpOfAllEntities(context));

    // Existing files are never written over.
    ASSERT_TRUE(QFile::resize(path, 0));
    EXPECT_FALSE(controller->dumpDataBaseAt(path));
    EXPECT_EQ(QFileInfo(path).size(), 0);
}

TEST(StoreLocalDataTest, DumpFindsTheOneFreeNameInAFullFolder) {
    StoreRoot root;
    auto controller = root.loaded();
    const QString folder = root.paths.ownDocumentsFolder();
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString symbols = QStringLiteral("0123456789abcdefghijklmnopqrstuvwxyz");
    for (const QChar a : symbols) {
        for (const QChar b : symbols) {
            for (const QChar c : symbols) {
                const QString name = QString(a) + b + c + ".txt";
                if (name != "q7z.txt") {
                    QFile file(folder + "/" + name);
                    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
                }
            }
        }
    }
    EXPECT_EQ(controller->dumpDatabase(), folder + "/q7z.txt");
    EXPECT_EQ(QFileInfo(folder + "/000.txt").size(), 0);
    EXPECT_EQ(QFileInfo(folder + "/zzz.txt").size(), 0);
    // With every name taken there is no dump, and nothing is overwritten.
    EXPECT_EQ(controller->dumpDatabase(), QString());
    EXPECT_GT(QFileInfo(folder + "/q7z.txt").size(), 0);
}

} // namespace
} // namespace vantrel::store
