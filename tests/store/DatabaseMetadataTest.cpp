#include "store/DatabaseMetadata.h"

#include "StoreRoot.h"
#include "platform/InternalError.h"
#include "platform/LogCapture.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vantrel::store {
namespace {

using testing::readFile;
using testing::writeFile;

class DatabaseMetadataTest : public ::testing::Test {
protected:
    QString folder() const { return m_root.filePath(QStringLiteral("a/b/Vantrel")); }
    QString file() const { return DatabaseMetadata::defaultPath(folder()); }

    QTemporaryDir m_root;
};

TEST_F(DatabaseMetadataTest, MissingFileGivesNoVersionAndCreatesTheFolder) {
    EXPECT_FALSE(DatabaseMetadata::defaultMetadata(folder()).dataCompatibilityVersion.has_value());
    EXPECT_TRUE(QFileInfo(folder()).isDir());
    EXPECT_FALSE(QFileInfo::exists(file()));
}

TEST_F(DatabaseMetadataTest, PersistedVersionReadsBackFromAPropertyList) {
    DatabaseMetadata metadata;
    metadata.dataCompatibilityVersion = 4;
    ASSERT_TRUE(QDir().mkpath(folder()));
    metadata.persist(folder());

    EXPECT_EQ(DatabaseMetadata::defaultMetadata(folder()).dataCompatibilityVersion, 4);
    const QByteArray written = readFile(file());
    EXPECT_TRUE(written.contains("<key>VTMetadataDataCompatibilityVersionKey</key>")) << written.constData();
    EXPECT_TRUE(written.contains("<integer>4</integer>")) << written.constData();
}

TEST_F(DatabaseMetadataTest, UnusableContentGivesNoVersionAndIsLogged) {
    const QByteArray noInteger = "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict>"
                                 "<key>VTMetadataDataCompatibilityVersionKey</key><string>4</string>"
                                 "</dict></plist>";
    const QByteArray notADictionary = "<?xml version=\"1.0\"?><plist version=\"1.0\"><array/></plist>";
    for (const QByteArray& content : {QByteArray("garbage"), noInteger, notADictionary}) {
        ASSERT_TRUE(writeFile(file(), content));
        platform::LogCapture log;
        EXPECT_FALSE(DatabaseMetadata::defaultMetadata(folder()).dataCompatibilityVersion.has_value())
            << content.constData();
        ASSERT_EQ(log.lines().size(), 1) << content.constData();
        EXPECT_TRUE(log.lines().first().contains(file()));
    }
}

TEST_F(DatabaseMetadataTest, PersistFailureIsAnInternalError) {
    // A folder where the file should be cannot be replaced by a file.
    ASSERT_TRUE(QDir().mkpath(file()));
    DatabaseMetadata metadata;
    metadata.dataCompatibilityVersion = 4;
    try {
        metadata.persist(folder());
        FAIL() << "persist succeeded";
    } catch (const platform::InternalError& error) {
        EXPECT_EQ(error.message(), "failed to persist metadata file");
    }
}

} // namespace
} // namespace vantrel::store
