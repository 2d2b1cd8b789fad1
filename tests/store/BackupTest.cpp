#include "StoreRoot.h"
#include "model/CategoryVT.h"
#include "platform/InternalError.h"
#include "platform/LogCapture.h"
#include "platform/ZipExtractor.h"
#include "platform/objectstore/SqliteDatabase.h"
#include "platform/objectstore/SqliteStatement.h"
#include "store/CoreDataController.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vantrel::store {
namespace {

using testing::dumpOfAllEntities;
using testing::readFile;
using testing::StoreRoot;
using testing::writeFile;

QStringList backupsIn(const StoreRoot& root) {
    return QDir(root.paths.backupsFolder())
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

QString lastBackupTime(const StoreRoot& root) {
    return root.defaults.value(CoreDataController::kLastBackupTimeKey).toDateTime().toString(Qt::ISODate);
}

void renameSomeCategory(CoreDataController& controller, const QString& name) {
    objectstore::Context& context = controller.managedObjectContext();
    model::CategoryVT category(context.first(QString::fromLatin1(model::CategoryVT::kEntity)));
    category.setName(name);
    ASSERT_TRUE(context.save().succeeded());
}

// Imports the archive into a new installation and answers what its database holds.
QString dumpAfterImporting(const QString& archive) {
    StoreRoot fresh;
    auto importer = fresh.controller();
    EXPECT_TRUE(importer->importVantrelArchiveFromZip(archive));
    importer.reset();
    platform::LogCapture log;
    auto controller = fresh.loaded();
    EXPECT_FALSE(log.lines().contains("Seed blank database"));
    return dumpOfAllEntities(controller->managedObjectContext());
}

TEST(StoreBackupTest, ArchiveNameUsesTheClockTimeZone) {
    StoreRoot root;
    auto controller = root.controller();
    // 20:00 UTC is 21:00 in Berlin in March.
    EXPECT_EQ(controller->backupFileNameFor(root.clock.now()), "Vantrel_2024-03-05_21-00-00.zip");
    EXPECT_EQ(controller->backupFolderPath(), root.paths.backupsFolder());
}

TEST(StoreBackupTest, DailyRuleCountsWholeDaysAndTreatsAFutureTimeAsDue) {
    StoreRoot root;
    auto controller = root.loaded();
    EXPECT_FALSE(QFileInfo::exists(root.paths.backupsFolder()));

    const auto first = controller->performBackup();
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(*first, root.paths.backupsFolder() + "/Vantrel_2024-03-05_21-00-00.zip");
    EXPECT_EQ(lastBackupTime(root), "2024-03-05T20:00:00Z");

    root.clock.advanceSeconds(2 * 3600); // same day
    EXPECT_FALSE(controller->performBackup().has_value());
    root.clock.advanceSeconds(3 * 3600); // next calendar day, 5 hours after
    EXPECT_FALSE(controller->performBackup().has_value());
    root.clock.advanceSeconds(18 * 3600); // 23 hours after
    EXPECT_FALSE(controller->performBackup().has_value());
    EXPECT_EQ(backupsIn(root).size(), 1);

    root.clock.advanceSeconds(3600); // a whole day
    const auto second = controller->performBackup();
    ASSERT_TRUE(second.has_value());
    EXPECT_EQ(QFileInfo(*second).fileName(), "Vantrel_2024-03-06_21-00-00.zip");
    EXPECT_EQ(lastBackupTime(root), "2024-03-06T20:00:00Z");

    // Recorded while the clock ran ahead.
    root.defaults.setValue(CoreDataController::kLastBackupTimeKey, root.clock.now().addDays(30));
    root.clock.advanceSeconds(60);
    EXPECT_TRUE(controller->performBackup().has_value());
    EXPECT_EQ(backupsIn(root),
              QStringList({"Vantrel_2024-03-05_21-00-00.zip", "Vantrel_2024-03-06_21-00-00.zip",
                           "Vantrel_2024-03-06_21-01-00.zip"}));
}

TEST(StoreBackupTest, PruningKeepsTheTwentyNewestArchivesAndNothingElseIsDeleted) {
    StoreRoot root;
    auto controller = root.loaded();
    const QString folder = root.paths.backupsFolder();
    QStringList archives;
    for (int day = 1; day <= 25; ++day) {
        archives << QStringLiteral("Vantrel_2020-01-%1_00-00-00.zip").arg(day, 2, 10, QLatin1Char('0'));
        ASSERT_TRUE(writeFile(folder + "/" + archives.last(), "old"));
    }
    const QStringList unrelated = {
        "notes.txt", "Vantrel_2024-01-01_00-00-00.zip.bak", "old/Vantrel_1999-01-01_00-00-00.zip",
        "Vantrel_1998-01-01_00-00-00.zip/inside.txt", "xVantrel_1997-01-01_00-00-00.zip"};
    for (const QString& name : unrelated) {
        ASSERT_TRUE(writeFile(folder + "/" + name, "keep"));
    }
    // A link named like the oldest archive, pointing at a file outside.
    const QString outside = root.dir.filePath(QStringLiteral("outside.zip"));
    ASSERT_TRUE(writeFile(outside, "outside"));
    ASSERT_TRUE(QFile::link(outside, folder + "/Vantrel_1980-01-01_00-00-00.zip"));

    platform::LogCapture log;
    const auto written = controller->backup();
    ASSERT_TRUE(written.has_value());
    EXPECT_TRUE(log.lines().contains("Backing up"));

    for (const QString& name : archives.mid(0, 6)) {
        EXPECT_FALSE(QFileInfo::exists(folder + "/" + name)) << name.toStdString();
    }
    for (const QString& name : archives.mid(6)) {
        EXPECT_EQ(readFile(folder + "/" + name), "old") << name.toStdString();
    }
    EXPECT_TRUE(QFileInfo::exists(*written));
    for (const QString& name : unrelated) {
        EXPECT_EQ(readFile(folder + "/" + name), "keep") << name.toStdString();
    }
    EXPECT_TRUE(QFileInfo(folder + "/Vantrel_1980-01-01_00-00-00.zip").isSymLink());
    EXPECT_EQ(readFile(outside), "outside");
}

TEST(StoreBackupTest, NameFilterMatchesWholeFileNamesAndSortsOldestFirst) {
    const QStringList paths = {
        "/b/Vantrel_2021-01-01_00-00-00.zip",     "/a/Vantrel_2020-05-01_00-00-00.zip",
        "/a/Vantrel_2020-05-01_00-00-00.zip.bak", "/a/Vantrel_20-05-01_00-00-00.zip",
        "/a/myVantrel_2019-05-01_00-00-00.zip",   "/a/Vantrel_２０20-05-01_00-00-00.zip"};
    EXPECT_EQ(CoreDataController::filteredAndSortedBackupPathsFromPaths(paths),
              QStringList({"/a/Vantrel_2020-05-01_00-00-00.zip", "/b/Vantrel_2021-01-01_00-00-00.zip"}));
}

TEST(StoreBackupTest, ArchiveHoldsASnapshotAndTheMetadataAndImportsElsewhere) {
    StoreRoot root;
    auto controller = root.loaded();
    renameSomeCategory(*controller, QStringLiteral("Archived name"));
    const auto archive = controller->backup();
    ASSERT_TRUE(archive.has_value());
    // Only the finished archive is left in the folder.
    EXPECT_EQ(backupsIn(root), QStringList{QFileInfo(*archive).fileName()});

    QTemporaryDir unpacked;
    const auto extracted = platform::ZipExtractor::extractAll(*archive, unpacked.filePath("x"));
    ASSERT_TRUE(extracted.succeeded()) << extracted.detail.toStdString();
    EXPECT_EQ(extracted.extractedFiles, QStringList({"Database.vantrelsql", "DatabaseMetadata.plist"}));
    EXPECT_EQ(readFile(unpacked.filePath("x/DatabaseMetadata.plist")), readFile(root.metadataFile()));

    const QString original = dumpOfAllEntities(controller->managedObjectContext());
    EXPECT_TRUE(original.contains("Archived name"));
    EXPECT_EQ(dumpAfterImporting(*archive), original);
}

TEST(StoreBackupTest, BackupSucceedsWhileAnotherConnectionHoldsAReadTransaction) {
    StoreRoot root;
    auto controller = root.loaded();
    objectstore::SqliteDatabase reader(root.databaseFile());
    reader.execute("BEGIN");
    auto statement = reader.prepare("SELECT count(*) FROM sqlite_master");
    ASSERT_TRUE(statement.step());
    ASSERT_TRUE(reader.inTransaction());

    renameSomeCategory(*controller, QStringLiteral("Written while read"));
    const auto archive = controller->backup();
    ASSERT_TRUE(archive.has_value());
    EXPECT_TRUE(dumpAfterImporting(*archive).contains("Written while read"));
    statement.reset();
    reader.execute("COMMIT");
}

TEST(StoreBackupTest, FailedBackupStillCountsAndLeavesEarlierBackupsAlone) {
    StoreRoot root;
    auto controller = root.loaded();
    const QString folder = root.paths.backupsFolder();
    ASSERT_TRUE(writeFile(folder + "/Vantrel_2020-01-01_00-00-00.zip", "old"));
    // A folder in the way of the finished archive's name.
    ASSERT_TRUE(writeFile(folder + "/" + controller->backupFileNameFor(root.clock.now()) + "/x", "x"));

    platform::LogCapture log;
    EXPECT_FALSE(controller->backup().has_value());
    EXPECT_TRUE(log.lines().contains("WARNING: Failed to create zipped backup."));
    EXPECT_EQ(lastBackupTime(root), "2024-03-05T20:00:00Z");
    EXPECT_EQ(backupsIn(root),
              QStringList({"Vantrel_2020-01-01_00-00-00.zip", "Vantrel_2024-03-05_21-00-00.zip"}));
    EXPECT_EQ(readFile(folder + "/Vantrel_2020-01-01_00-00-00.zip"), "old");
    EXPECT_FALSE(controller->performBackup().has_value());
}

TEST(StoreBackupTest, FileInPlaceOfTheBackupsFolderIsAnInternalError) {
    StoreRoot root;
    auto controller = root.loaded();
    ASSERT_TRUE(writeFile(root.paths.backupsFolder(), "not a folder"));
    try {
        controller->createDatabaseBackup();
        FAIL() << "backed up into a file";
    } catch (const platform::InternalError& error) {
        EXPECT_EQ(error.message(), "Unexpected filed named 'Backup' exists in application support folder.");
    }
    EXPECT_EQ(readFile(root.paths.backupsFolder()), "not a folder");
}

TEST(StoreBackupTest, NothingToArchiveWithoutADatabaseFile) {
    StoreRoot root;
    auto controller = root.controller();
    EXPECT_FALSE(controller->archiveDatabaseToPath(root.dir.filePath("a.zip")));
    EXPECT_FALSE(QFileInfo::exists(root.dir.filePath("a.zip")));
}

} // namespace
} // namespace vantrel::store
