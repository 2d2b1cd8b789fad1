#include "SqliteTestModel.h"
#include "platform/objectstore/SqliteStore.h"
#include "platform/objectstore/SqliteStoreError.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sqlite3.h>
#include <sys/resource.h>

using namespace vantrel::objectstore;
using namespace vantrel::objectstore::sqlitetest;

namespace {

// Entity, key and every attribute as text: enough to tell one stored object from another.
std::vector<std::string> dump(SqliteStore& store) {
    std::vector<std::string> lines;
    for (int entity = 0; entity < static_cast<int>(store.model().entities().size()); ++entity) {
        store.loadAll(entity, [&lines](ObjectState&& state) {
            std::string line = std::to_string(state.id.entity) + '/' + std::to_string(state.id.key);
            for (const auto& value : state.attributes) {
                line += " | " + std::visit(
                                    [](const auto& v) -> std::string {
                                        using T = std::decay_t<decltype(v)>;
                                        if constexpr (std::is_same_v<T, std::monostate>) {
                                            return "null";
                                        } else if constexpr (std::is_same_v<T, QString>) {
                                            return v.toStdString();
                                        } else if constexpr (std::is_same_v<T, vantrel::platform::Amount>) {
                                            return v.toStdString();
                                        } else if constexpr (std::is_same_v<T, QDateTime>) {
                                            return std::to_string(v.toMSecsSinceEpoch());
                                        } else {
                                            return std::to_string(v);
                                        }
                                    },
                                    value);
            }
            lines.push_back(line);
        });
    }
    return lines;
}

ChangeSet inserting(std::vector<ObjectState> states) {
    ChangeSet changes;
    changes.inserted = std::move(states);
    return changes;
}

// Writes of this process beyond `bytes` fail with EFBIG (instead of a signal) until the scope ends.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_previous);
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = m_previous;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_previous{};
    void (*m_previousHandler)(int) = nullptr;
};

class SqliteSnapshotTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    std::unique_ptr<SqliteStore> open(const QString& path) { return SqliteStore::open(path, m_model); }

    static std::vector<ObjectState> firstObjects() {
        return {accountState(1, QStringLiteral("Checking"), decimal("100.00")),
                transactionState(10, decimal("-12.34"), 1, 5, {}, QStringLiteral("Rent")),
                categoryState(5, QStringLiteral("Housing"))};
    }
    static std::vector<ObjectState> laterObjects() {
        return {accountState(2, QStringLiteral("Savings"), decimal("5000")),
                transactionState(11, decimal("99.99"), 2)};
    }

    QTemporaryDir m_dir;
    QString m_path = m_dir.filePath(QStringLiteral("store.vantrel"));
    QString m_copy = m_dir.filePath(QStringLiteral("copy.vantrel"));
    ModelDescription m_model = testModel();
};

} // namespace

TEST_F(SqliteSnapshotTest, CopiesTheCommittedStateWhileOtherConnectionsHoldTheirLocks) {
    auto store = open(m_path);
    store->apply(inserting(firstObjects()));
    auto reader = open(m_path);

    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(m_path).constData(), &writer), SQLITE_OK);

    // The reader's sink runs inside its read transaction, which sees only the first objects.
    bool snapshotTaken = false;
    int writerResult = SQLITE_ERROR;
    reader->loadAll(kAccount, [&](ObjectState&&) {
        if (snapshotTaken) {
            return;
        }
        snapshotTaken = true;
        store->apply(inserting(laterObjects()));
        // Another writer with an open, uncommitted transaction: its row must not reach the copy.
        writerResult =
            sqlite3_exec(writer, "BEGIN; INSERT INTO \"Category\" (pk, \"group\") VALUES (99, 'uncommitted')",
                         nullptr, nullptr, nullptr);
        store->snapshotTo(m_copy);
    });
    ASSERT_EQ(writerResult, SQLITE_OK);
    ASSERT_TRUE(snapshotTaken);
    const auto committed = dump(*store);
    ASSERT_EQ(committed.size(), 5u);

    EXPECT_FALSE(QFile::exists(m_copy + QStringLiteral("-wal")));
    EXPECT_FALSE(QFile::exists(m_copy + QStringLiteral("-journal")));
    {
        auto copy = open(m_copy);
        EXPECT_EQ(dump(*copy), committed);
        EXPECT_TRUE(copy->integrityCheck());
    }

    // The original goes on: the uncommitted writer is rolled back, more objects are saved.
    ASSERT_EQ(sqlite3_exec(writer, "ROLLBACK", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(writer);
    store->apply(inserting({categoryState(6, QStringLiteral("Food"))}));
    store.reset();
    reader.reset();
    auto reopened = open(m_path);
    auto expected = committed;
    expected.push_back("2/6 | Food");
    EXPECT_EQ(dump(*reopened), expected);
    EXPECT_EQ(dump(*open(m_copy)), committed);
}

TEST_F(SqliteSnapshotTest, AFailedSnapshotLeavesNoFileAndNeverTouchesAnExistingOne) {
    auto store = open(m_path);
    store->apply(inserting(firstObjects()));

    {
        QFile precious(m_copy);
        ASSERT_TRUE(precious.open(QIODevice::WriteOnly));
        precious.write("someone else's file");
    }
    EXPECT_THROW(store->snapshotTo(m_copy), SqliteStoreError);
    {
        QFile precious(m_copy);
        ASSERT_TRUE(precious.open(QIODevice::ReadOnly));
        EXPECT_EQ(precious.readAll(), QByteArray("someone else's file"));
    }

    const QString missingFolder = m_dir.filePath(QStringLiteral("missing"));
    EXPECT_THROW(store->snapshotTo(missingFolder + QStringLiteral("/copy.vantrel")), SqliteStoreError);
    EXPECT_FALSE(QFileInfo::exists(missingFolder));

    // A copy that fails part-way (the disk fills up) is removed.
    std::vector<ObjectState> many;
    for (int key = 100; key < 600; ++key) {
        many.push_back(accountState(key, QString(200, QLatin1Char('x'))));
    }
    store->apply(inserting(many));
    const QString partial = m_dir.filePath(QStringLiteral("partial.vantrel"));
    {
        FileSizeLimit limit(16 * 1024);
        EXPECT_THROW(store->snapshotTo(partial), SqliteStoreError);
    }
    EXPECT_FALSE(QFileInfo::exists(partial));
    EXPECT_FALSE(QFileInfo::exists(partial + QStringLiteral("-journal")));

    // The store still works and a later snapshot succeeds.
    store->apply(inserting({categoryState(6, QStringLiteral("Food"))}));
    store->snapshotTo(partial);
    EXPECT_EQ(dump(*open(partial)), dump(*store));
}
