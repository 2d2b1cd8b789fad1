#include "platform/UserDefaults.h"

#include "ScopedEnvironmentVariable.h"
#include "platform/InternalError.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace vantrel::platform {
namespace {

class UserDefaultsTest : public ::testing::Test {
protected:
    QString file() const { return m_folder.filePath("config/vantrel.conf"); }
    std::unique_ptr<UserDefaults> open() const { return std::make_unique<UserDefaults>(file()); }

    QTemporaryDir m_folder;
};

TEST_F(UserDefaultsTest, StoredValueWinsOverRegisteredWhichWinsOverNothing) {
    const auto defaults = open();
    EXPECT_FALSE(defaults->value("VTLastUsedAccount").isValid());
    EXPECT_FALSE(defaults->contains("VTLastUsedAccount"));

    defaults->registerDefaults({{"VTLastUsedAccount", "Checking"}});
    EXPECT_EQ(defaults->value("VTLastUsedAccount"), QVariant("Checking"));
    EXPECT_FALSE(defaults->isStored("VTLastUsedAccount"));

    defaults->setValue("VTLastUsedAccount", "Savings");
    EXPECT_EQ(defaults->value("VTLastUsedAccount"), QVariant("Savings"));

    defaults->remove("VTLastUsedAccount");
    EXPECT_EQ(defaults->value("VTLastUsedAccount"), QVariant("Checking"));
    EXPECT_FALSE(defaults->isStored("VTLastUsedAccount"));
}

TEST_F(UserDefaultsTest, StoredValuesPersistIntoALaterInstanceButRegisteredOnesDoNot) {
    {
        const auto writer = open();
        writer->registerDefaults({{"VTRegisteredOnly", "never on disk"}});
        writer->setValue("VTLastUsedAccount", "Savings");
        ASSERT_EQ(writer->sync(), UserDefaults::SyncStatus::Saved);
    }
    QFile written(file());
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_FALSE(written.readAll().contains("VTRegisteredOnly"));

    const auto reader = open();
    EXPECT_EQ(reader->stringValue("VTLastUsedAccount"), "Savings");
    EXPECT_FALSE(reader->contains("VTRegisteredOnly"));
}

TEST_F(UserDefaultsTest, OddKeysStayDistinctAndRoundTripThroughTheFile) {
    const QStringList keys{"a/b",     "a//b", "a\\b",   "/lead", "trail/", "a%2Fb",   "a%5Cb",
                           "General", "[x]",  "k=v;#c", " sp ",  "100%",   "ünï/cödé"};
    {
        const auto writer = open();
        for (int i = 0; i < keys.size(); ++i) {
            writer->setValue(keys[i], i);
        }
        ASSERT_EQ(writer->sync(), UserDefaults::SyncStatus::Saved);
    }
    EXPECT_TRUE(QSettings(file(), QSettings::IniFormat).childGroups().isEmpty());

    const auto reader = open();
    for (int i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(reader->intValue(keys[i]), i) << keys[i].toStdString();
    }
}

TEST_F(UserDefaultsTest, EmptyKeyIsAProgrammingFaultThatErasesNothing) {
    const auto defaults = open();
    defaults->setValue("VTKept", 1);

    EXPECT_THROW(defaults->remove(""), InternalError);
    EXPECT_TRUE(defaults->isStored("VTKept"));
}

TEST_F(UserDefaultsTest, TypedGettersConvertTheTextOfAHandWrittenFile) {
    ASSERT_TRUE(QDir(m_folder.path()).mkpath("config"));
    QFile written(file());
    ASSERT_TRUE(written.open(QIODevice::WriteOnly));
    written.write("[General]\nflag=true\noff=false\ncount=42\nratio=2.5\n");
    written.close();

    const auto defaults = open();
    EXPECT_TRUE(defaults->boolValue("flag"));
    EXPECT_FALSE(defaults->boolValue("off"));
    EXPECT_EQ(defaults->intValue("count"), 42);
    EXPECT_DOUBLE_EQ(defaults->doubleValue("ratio"), 2.5);
}

TEST_F(UserDefaultsTest, ChangedIsEmittedOnlyWhenTheValueReadChanges) {
    const auto defaults = open();
    QStringList changes;
    QObject::connect(defaults.get(), &UserDefaults::changed,
                     [&changes](const QString& key) { changes.append(key); });

    defaults->registerDefaults({{"VTShowCents", true}});
    defaults->setValue("VTShowCents", true);
    defaults->setValue("VTShowCents", false);
    defaults->remove("VTShowCents");
    defaults->remove("VTNeverSet");

    EXPECT_EQ(changes, QStringList({"VTShowCents", "VTShowCents", "VTShowCents"}));
}

TEST_F(UserDefaultsTest, SyncReportsAFileThatCannotBeWritten) {
    QFile blocker(m_folder.filePath("config"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const auto defaults = open();
    defaults->setValue("VTLastUsedAccount", "Cash");

    EXPECT_EQ(defaults->sync(), UserDefaults::SyncStatus::AccessError);
}

TEST_F(UserDefaultsTest, StandardInstanceUsesTheDefaultsFileOfTheEnvironment) {
    const testing::ScopedEnvironmentVariable home("VANTREL_HOME", QFile::encodeName(m_folder.path()));

    EXPECT_EQ(UserDefaults::standard().filePath(), Paths::fromEnvironment().defaultsFile());
}

} // namespace
} // namespace vantrel::platform
