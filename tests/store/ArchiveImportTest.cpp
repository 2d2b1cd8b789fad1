#include "RawZip.h"
#include "StoreRoot.h"
#include "platform/InternalError.h"
#include "platform/LogCapture.h"
#include "platform/ScopedEnvironmentVariable.h"
#include "platform/ZipWriter.h"
#include "platform/objectstore/SqliteStore.h"
#include "store/CoreDataController.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vantrel::store {
namespace {

using testing::dumpOfAllEntities;
using testing::entriesOf;
using testing::RawZip;
using testing::readFile;
using testing::StoreRoot;
using testing::writeFile;

QStringList linesStartingWith(const QStringList& lines, const QString& prefix) {
    QStringList found;
    for (const QString& line : lines) {
        if (line.startsWith(prefix)) {
            found << line;
        }
    }
    return found;
}

// Each test gets its own temporary directory, so it can see what an import leaves there.
class ArchiveImportTest : public ::testing::Test {
protected:
    ArchiveImportTest()
        : m_tmp("TMPDIR", QFile::encodeName(m_scratch.filePath("tmp"))) {
        QDir().mkpath(m_scratch.filePath("tmp"));
    }

    QString tmp() const { return m_scratch.filePath("tmp"); }

    // A real backup archive of a freshly seeded database, and that database's dump.
    QString backupArchive(QString* dump = nullptr) {
        auto controller = m_source.loaded();
        if (dump != nullptr) {
            *dump = dumpOfAllEntities(controller->managedObjectContext());
        }
        const auto archive = controller->backup();
        EXPECT_TRUE(archive.has_value());
        return archive.value_or(QString());
    }

    // A consistent single-file copy of a real database.
    QString databaseSnapshot() {
        auto controller = m_source.loaded();
        const QString path = m_scratch.filePath("snapshot.vantrelsql");
        controller->persistentStore().snapshotTo(path);
        return path;
    }

    QString zipOf(const QList<std::pair<QString, QString>>& entries) {
        const QString path = m_scratch.filePath(QStringLiteral("made-%1.zip").arg(++m_zips));
        platform::ZipWriter zip(path);
        for (const auto& [name, source] : entries) {
            EXPECT_TRUE(zip.addFile(name, source, QDateTime::currentDateTime()))
                << zip.errorString().toStdString();
        }
        EXPECT_TRUE(zip.close());
        return path;
    }

    QTemporaryDir m_scratch;
    // The installations are made before TMPDIR moves, so only the import's own files land there.
    StoreRoot m_source;
    StoreRoot m_target;
    platform::testing::ScopedEnvironmentVariable m_tmp;
    int m_zips = 0;
};

TEST_F(ArchiveImportTest, BackupArchiveImportsIntoAnEmptyFolderAndTheTemporaryFolderGoes) {
    QString dump;
    const QString archive = backupArchive(&dump);
    auto controller = m_target.controller();
    platform::LogCapture log;
    ASSERT_TRUE(controller->importVantrelArchiveFromZip(archive));
    EXPECT_EQ(entriesOf(m_target.paths.databaseFolder()),
              QStringList({"Database.vantrelsql", "DatabaseMetadata.plist"}));
    EXPECT_EQ(linesStartingWith(log.lines(), "Did not find ").size(), 2);
    EXPECT_EQ(entriesOf(tmp()), QStringList());
    controller.reset();
    auto loaded = m_target.loaded();
    EXPECT_EQ(dumpOfAllEntities(loaded->managedObjectContext()), dump);
}

TEST_F(ArchiveImportTest, RefusesWhenAnyDatabaseFileIsAlreadyThereAndCopiesNothing) {
    const QString archive = backupArchive();
    for (const QString& name : CoreDataController::databaseFileNames()) {
        StoreRoot target;
        const QString existing = QDir(target.paths.databaseFolder()).filePath(name);
        ASSERT_TRUE(writeFile(existing, "mine"));
        auto controller = target.controller();
        EXPECT_FALSE(controller->importVantrelArchiveFromZip(archive)) << name.toStdString();
        EXPECT_EQ(entriesOf(target.paths.databaseFolder()), QStringList{name});
        EXPECT_EQ(readFile(existing), "mine");
    }
    EXPECT_EQ(entriesOf(tmp()), QStringList());
}

TEST_F(ArchiveImportTest, DatabaseInASubFolderIsNotFound) {
    const QString archive = zipOf({{"nested/Database.vantrelsql", databaseSnapshot()}});
    auto controller = m_target.controller();
    platform::LogCapture log;
    EXPECT_FALSE(controller->importVantrelArchiveFromZip(archive));
    const QStringList lines = linesStartingWith(log.lines(), "Couldn't find ");
    ASSERT_EQ(lines.size(), 1) << log.lines().join("\n").toStdString();
    EXPECT_TRUE(lines.first().startsWith("Couldn't find " + tmp() + "/"));
    EXPECT_TRUE(lines.first().endsWith("/Database.vantrelsql"));
    EXPECT_FALSE(m_target.controller()->hasLocalContent());
    EXPECT_EQ(entriesOf(tmp()), QStringList());
}

TEST_F(ArchiveImportTest, MissingCompanionsAreSkippedOneByOne) {
    const QString archive = zipOf({{"Database.vantrelsql", databaseSnapshot()}});
    auto controller = m_target.controller();
    platform::LogCapture log;
    ASSERT_TRUE(controller->importVantrelArchiveFromZip(archive));
    const QStringList skipped = linesStartingWith(log.lines(), "Did not find ");
    ASSERT_EQ(skipped.size(), 3);
    const QStringList missing = {"Database.vantrelsql-shm", "Database.vantrelsql-wal",
                                 "DatabaseMetadata.plist"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(skipped[i].startsWith("Did not find " + tmp() + "/"));
        EXPECT_TRUE(skipped[i].endsWith("/" + missing[i] + ". Skipping.")) << skipped[i].toStdString();
    }
    EXPECT_EQ(entriesOf(m_target.paths.databaseFolder()), QStringList{"Database.vantrelsql"});
    controller.reset();
    m_target.loaded();
    EXPECT_EQ(m_target.storedVersion(), 4);
}

TEST_F(ArchiveImportTest, UnsafeEntriesAreRefusedAndNothingLandsOutside) {
    RawZip zip;
    zip.add("Database.vantrelsql", readFile(databaseSnapshot()));
    zip.add("../escape", "outside");
    const QString archive = m_scratch.filePath("unsafe.zip");
    ASSERT_TRUE(zip.writeTo(archive));

    auto controller = m_target.controller();
    platform::LogCapture log;
    EXPECT_FALSE(controller->importVantrelArchiveFromZip(archive));
    EXPECT_EQ(linesStartingWith(log.lines(), "Couldn't extract " + archive).size(), 1)
        << log.lines().join("\n").toStdString();
    EXPECT_EQ(entriesOf(tmp()), QStringList());
    EXPECT_FALSE(QFileInfo::exists(m_scratch.filePath("escape")));
    EXPECT_FALSE(m_target.controller()->hasLocalContent());
}

TEST_F(ArchiveImportTest, DatabaseFileThatIsNotSqliteIsRefused) {
    RawZip zip;
    zip.add("Database.vantrelsql", "SQLite format 2 but not really a database");
    zip.add("DatabaseMetadata.plist", "x");
    const QString archive = m_scratch.filePath("text.zip");
    ASSERT_TRUE(zip.writeTo(archive));
    auto controller = m_target.controller();
    EXPECT_FALSE(controller->importVantrelArchiveFromZip(archive));
    EXPECT_EQ(entriesOf(m_target.paths.databaseFolder()), QStringList());
    EXPECT_FALSE(controller->importVantrelArchiveFromZip(m_scratch.filePath("missing.zip")));
    EXPECT_EQ(entriesOf(tmp()), QStringList());
}

TEST_F(ArchiveImportTest, Base64TextImportsAndInvalidTextDoesNot) {
    QString dump;
    const QByteArray archive = readFile(backupArchive(&dump));
    ASSERT_FALSE(archive.isEmpty());
    const QString text = QString::fromLatin1(archive.toBase64());

    auto controller = m_target.controller();
    EXPECT_FALSE(controller->importVantrelArchive(text.left(text.size() - 3) + "*=="));
    EXPECT_FALSE(controller->importVantrelArchive(QString()));
    EXPECT_FALSE(controller->importVantrelArchive(QStringLiteral("äöü")));
    EXPECT_FALSE(controller->hasLocalContent());

    ASSERT_TRUE(controller->importVantrelArchive(text));
    EXPECT_EQ(entriesOf(tmp()), QStringList());
    controller.reset();
    auto loaded = m_target.loaded();
    EXPECT_EQ(dumpOfAllEntities(loaded->managedObjectContext()), dump);
}

TEST_F(ArchiveImportTest, FailedCopyTakesBackTheFilesItCopied) {
    const QString from = m_scratch.filePath("from");
    ASSERT_TRUE(writeFile(from + "/Database.vantrelsql", "db"));
    ASSERT_TRUE(writeFile(from + "/missing-folder/file", "x"));
    auto controller = m_target.controller();
    EXPECT_FALSE(
        controller->verifyAndMoveDatabaseFiles({"Database.vantrelsql", "missing-folder/file"}, from));
    EXPECT_EQ(entriesOf(m_target.paths.databaseFolder()), QStringList());
}

TEST_F(ArchiveImportTest, ImportIsRefusedOnceTheStoreIsLoaded) {
    const QString archive = backupArchive();
    auto controller = m_target.loaded();
    EXPECT_THROW(controller->importVantrelArchiveFromZip(archive), platform::InternalError);
}

} // namespace
} // namespace vantrel::store
