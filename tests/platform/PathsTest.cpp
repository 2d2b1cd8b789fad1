#include "platform/Paths.h"

#include "ScopedEnvironmentVariable.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <list>

namespace vantrel::platform {
namespace {

using testing::ScopedEnvironmentVariable;

bool writeFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("x") == 1;
}

// Every test starts from a home folder of its own with no VANTREL_HOME and no XDG variables.
class PathsTest : public ::testing::Test {
protected:
    PathsTest() {
        m_environment.emplace_back("HOME", QFile::encodeName(m_root.path()));
        for (const char* name : {"VANTREL_HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_DOCUMENTS_DIR"}) {
            m_environment.emplace_back(name, std::nullopt);
        }
    }

    // Restored newest first, so a variable set twice ends up as it was before the test.
    ~PathsTest() override {
        while (!m_environment.empty()) {
            m_environment.pop_back();
        }
    }

    void set(const char* name, const QString& folderBelowRoot) {
        m_environment.emplace_back(name, QFile::encodeName(m_root.filePath(folderBelowRoot)));
    }

    QString root() const { return QDir(m_root.path()).absolutePath(); }

    QTemporaryDir m_root;
    std::list<ScopedEnvironmentVariable> m_environment;
};

TEST_F(PathsTest, VantrelHomeRoutesEveryFolderBelowItAndOverridesXdg) {
    set("VANTREL_HOME", "portable");
    set("XDG_DATA_HOME", "xdg-data");
    set("XDG_CONFIG_HOME", "xdg-config");
    set("XDG_DOCUMENTS_DIR", "xdg-docs");

    const Paths paths = Paths::fromEnvironment();
    const QString base = root() + "/portable";
    EXPECT_EQ(paths.applicationSupportFolder(), base + "/data/vantrel");
    EXPECT_EQ(paths.databaseFolder(), base + "/data/vantrel/Vantrel");
    EXPECT_EQ(paths.lockFile(), base + "/data/vantrel/vantrel.lock");
    EXPECT_EQ(paths.backupsFolder(), base + "/Documents/Vantrel/Backups");
    EXPECT_EQ(paths.defaultsFolder(), base + "/config/vantrel");
    EXPECT_EQ(paths.defaultsFile(), base + "/config/vantrel/vantrel.conf");
}

TEST_F(PathsTest, XdgVariablesAreHonouredWhenVantrelHomeIsEmpty) {
    m_environment.emplace_back("VANTREL_HOME", QByteArray());
    set("XDG_DATA_HOME", "xdg-data");
    set("XDG_CONFIG_HOME", "xdg-config");
    set("XDG_DOCUMENTS_DIR", "xdg-docs");

    const Paths paths = Paths::fromEnvironment();
    EXPECT_EQ(paths.databaseFolder(), root() + "/xdg-data/vantrel/Vantrel");
    EXPECT_EQ(paths.lockFile(), root() + "/xdg-data/vantrel/vantrel.lock");
    EXPECT_EQ(paths.defaultsFile(), root() + "/xdg-config/vantrel/vantrel.conf");
    EXPECT_EQ(paths.backupsFolder(), root() + "/xdg-docs/Vantrel/Backups");
    EXPECT_EQ(paths.ownDocumentsFolder(), root() + "/xdg-docs/Vantrel");
}

TEST_F(PathsTest, MissingOrRelativeXdgValuesFallBackToFoldersInHome) {
    const Paths paths = Paths::fromSnapshot({.vantrelHome = {},
                                             .home = "/home/ann",
                                             .dataHome = "rel/data",
                                             .configHome = {},
                                             .documents = "rel"});

    EXPECT_EQ(paths.applicationSupportFolder(), "/home/ann/.local/share/vantrel");
    EXPECT_EQ(paths.defaultsFolder(), "/home/ann/.config/vantrel");
    EXPECT_EQ(paths.backupsFolder(), "/home/ann/Documents/Vantrel/Backups");
    EXPECT_EQ(paths.ownDocumentsFolder(), "/home/ann/Documents/Vantrel");
}

TEST_F(PathsTest, EnsureFailsWhenAFileIsInTheWay) {
    const Paths paths = Paths::underRoot(root());
    ASSERT_TRUE(paths.ensureApplicationSupportFolderExists());
    ASSERT_TRUE(writeFile(paths.databaseFolder()));

    EXPECT_FALSE(paths.ensureDatabaseFolderExists());
}

TEST_F(PathsTest, RemovingApplicationSupportLeavesEverythingElseAlone) {
    for (const Paths& paths : {Paths::fromEnvironment(), Paths::underRoot(root() + "/portable")}) {
        ASSERT_TRUE(paths.ensureDatabaseFolderExists());
        ASSERT_TRUE(paths.ensureBackupsFolderExists());
        ASSERT_TRUE(paths.ensureDefaultsFolderExists());
        ASSERT_TRUE(writeFile(paths.backupsFolder() + "/backup.zip"));
        ASSERT_TRUE(writeFile(paths.defaultsFile()));

        ASSERT_TRUE(QDir(paths.applicationSupportFolder()).removeRecursively());

        EXPECT_TRUE(QFile::exists(paths.backupsFolder() + "/backup.zip"));
        EXPECT_TRUE(QFile::exists(paths.defaultsFile()));
    }
}

} // namespace
} // namespace vantrel::platform
