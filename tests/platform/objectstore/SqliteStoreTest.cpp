#include "platform/objectstore/SqliteStore.h"

#include "SqliteTestModel.h"
#include "platform/objectstore/SqliteStoreError.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <latch>
#include <set>
#include <thread>

using namespace vantrel::objectstore;
using namespace vantrel::objectstore::sqlitetest;

namespace {

// Exact text of a value: type, scale of decimals, milliseconds and UTC-ness of dates.
std::string fingerprint(const Value& value) {
    return std::visit(
        [](const auto& v) -> std::string {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate>) {
                return "null";
            } else if constexpr (std::is_same_v<T, QString>) {
                return "s:" + v.toStdString();
            } else if constexpr (std::is_same_v<T, vantrel::platform::Amount>) {
                return "d:" + v.toStdString();
            } else if constexpr (std::is_same_v<T, QDateTime>) {
                return "t:" + std::to_string(v.toMSecsSinceEpoch()) +
                       (v.timeSpec() == Qt::UTC ? "Z" : "local");
            } else if constexpr (std::is_same_v<T, bool>) {
                return v ? "b:1" : "b:0";
            } else {
                return "i:" + std::to_string(v);
            }
        },
        value);
}

std::string fingerprint(const ObjectState& state) {
    std::string text = std::to_string(state.id.entity) + '/' + std::to_string(state.id.key);
    for (const auto& value : state.attributes) {
        text += " | " + fingerprint(value);
    }
    for (const auto& target : state.toOne) {
        text +=
            target ? " -> " + std::to_string(target->entity) + '/' + std::to_string(target->key) : " -> none";
    }
    return text;
}

std::vector<std::string> dump(SqliteStore& store) {
    std::vector<std::string> lines;
    for (int entity = 0; entity < static_cast<int>(store.model().entities().size()); ++entity) {
        store.loadAll(entity, [&lines](ObjectState&& state) { lines.push_back(fingerprint(state)); });
    }
    return lines;
}

std::vector<std::string> fingerprints(const std::vector<ObjectState>& states) {
    std::vector<std::string> lines;
    for (const auto& state : states) {
        lines.push_back(fingerprint(state));
    }
    return lines;
}

// The message of the SqliteStoreError `action` throws; fails the test when it throws nothing.
template <typename Action>
std::string storeError(Action&& action) {
    try {
        action();
    } catch (const SqliteStoreError& error) {
        return error.what();
    }
    ADD_FAILURE() << "no SqliteStoreError";
    return {};
}

QDateTime utc(int year, int month, int day, int hour = 0, int minute = 0, int second = 0, int ms = 0) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second, ms), Qt::UTC);
}

class SqliteStoreTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    std::unique_ptr<SqliteStore> openStore() { return SqliteStore::open(m_path, m_model); }

    // Two accounts, a category and two transactions, in model order.
    std::vector<ObjectState> sampleObjects() const {
        return {accountState(1, QStringLiteral("Checking"), decimal("100.00"), utc(2020, 1, 2),
                             std::int64_t{1}, false),
                accountState(2, QStringLiteral("Savings"), decimal("5000"), {}, std::int64_t{2}, true),
                transactionState(10, decimal("-12.34"), 1, 5, utc(2024, 2, 29, 12), QStringLiteral("Rent")),
                transactionState(11, decimal("99.99"), 2), categoryState(5, QStringLiteral("Housing"))};
    }

    void saveSample(SqliteStore& store) const {
        ChangeSet changes;
        changes.inserted = sampleObjects();
        store.apply(changes);
    }

    QTemporaryDir m_dir;
    QString m_path = m_dir.filePath(QStringLiteral("store.vantrel"));
    ModelDescription m_model = testModel();
};

} // namespace

TEST_F(SqliteStoreTest, RoundTripsEveryAttributeTypeThroughTheFile) {
    const QString unicode = QStringLiteral("Giro – Ünïcødé 😀 \"x\" '); DROP TABLE \"Account\"; --") +
                            QChar(0) + QStringLiteral("tail");
    const std::vector<ObjectState> objects = {
        accountState(1, unicode, decimal("12345678901234567890123456789012345678"),
                     utc(1969, 7, 20, 20, 17, 40, 123), std::numeric_limits<std::int64_t>::min(), true,
                     QStringLiteral(R"({"sort":"date","ü":[1,2]})")),
        accountState(2, QString(), decimal("-0.12345678901234567890123456789012345678"), utc(1601, 1, 1),
                     std::numeric_limits<std::int64_t>::max(), false, QStringLiteral("{}")),
        accountState(3, QStringLiteral("scale kept"), decimal("12.50"), utc(9999, 12, 31, 23, 59, 59, 999),
                     std::int64_t{0}),
        // Every attribute absent, mandatory ones included: validation is the context's job.
        accountState(4, {}),
        transactionState(10, decimal("-0.00"), 1, 7, utc(1900, 3, 1), QStringLiteral("中文"),
                         std::int64_t{-5}, true),
        transactionState(11, {}, std::nullopt),
        categoryState(7, QStringLiteral("Housing")),
    };
    {
        auto store = openStore();
        ChangeSet changes;
        changes.inserted = objects;
        store->apply(changes);
        EXPECT_TRUE(QFile::exists(m_path + QStringLiteral("-wal")))
            << "writes go through the write-ahead log";
        EXPECT_EQ(dump(*store), fingerprints(objects));
    }
    auto reopened = openStore();
    EXPECT_EQ(dump(*reopened), fingerprints(objects));
    EXPECT_TRUE(reopened->integrityCheck());

    // The to-many slot is there and empty: it is rebuilt from the to-ones.
    std::vector<ObjectState> accounts;
    reopened->loadAll(kAccount, [&accounts](ObjectState&& state) { accounts.push_back(std::move(state)); });
    ASSERT_EQ(accounts.size(), 4u);
    ASSERT_EQ(accounts[0].toOne.size(), 1u);
    EXPECT_FALSE(accounts[0].toOne[kAccountTransactions].has_value());
    EXPECT_EQ(std::get<QString>(accounts[0].attributes[kAccountName]).size(), unicode.size());
}

TEST_F(SqliteStoreTest, UpdatesOnlyTheListedPropertiesAndDeletes) {
    auto store = openStore();
    saveSample(*store);

    ChangeSet changes;
    changes.updated.push_back(ObjectUpdate{
        ObjectID{kAccount, 1}, {{kAccountLimit, Value()}, {kAccountPosition, std::int64_t{9}}}, {}});
    changes.updated.push_back(
        ObjectUpdate{ObjectID{kTransaction, 10},
                     {{kTransactionAmount, decimal("-12.3400")}},
                     {{kTransactionAccount, ObjectID{kAccount, 2}}, {kTransactionCategory, std::nullopt}}});
    changes.deleted = {ObjectID{kAccount, 2}, ObjectID{kCategory, 5}, ObjectID{kCategory, 404}};
    store->apply(changes);

    auto expected = sampleObjects();
    expected[0].attributes[kAccountLimit] = Value();
    expected[0].attributes[kAccountPosition] = std::int64_t{9};
    expected[2].attributes[kTransactionAmount] = decimal("-12.3400");
    expected[2].toOne = {ObjectID{kAccount, 2}, std::nullopt};
    // The store keeps integrity to the context: the transaction still names the deleted account.
    expected.erase(expected.begin() + 4);
    expected.erase(expected.begin() + 1);
    EXPECT_EQ(dump(*openStore()), fingerprints(expected));
}

TEST_F(SqliteStoreTest, AFailingChangeSetWritesNothing) {
    auto store = openStore();
    saveSample(*store);
    const auto before = dump(*store);

    // Valid work first, so a failure happens with statements already executed in the transaction.
    auto startValid = [] {
        ChangeSet changes;
        changes.inserted.push_back(accountState(20, QStringLiteral("New")));
        changes.updated.push_back(
            ObjectUpdate{ObjectID{kAccount, 1}, {{kAccountName, QStringLiteral("Renamed")}}, {}});
        changes.deleted.push_back(ObjectID{kTransaction, 10});
        return changes;
    };
    struct Failure {
        const char* what;
        ChangeSet changes;
    };
    std::vector<Failure> failures;
    failures.push_back({"an existing key", startValid()});
    failures.back().changes.inserted.push_back(transactionState(11, decimal("1"), 1));
    failures.push_back({"a key twice", startValid()});
    failures.back().changes.inserted.push_back(accountState(20, QStringLiteral("Again")));
    failures.push_back({"a value of the wrong type", startValid()});
    failures.back().changes.updated.push_back(
        ObjectUpdate{ObjectID{kAccount, 2}, {{kAccountLimit, QStringLiteral("1.00")}}, {}});
    failures.push_back({"an object that is not stored", startValid()});
    failures.back().changes.updated.push_back(
        ObjectUpdate{ObjectID{kAccount, 999}, {{kAccountPosition, std::int64_t{1}}}, {}});
    failures.push_back({"a to-one at the wrong entity", startValid()});
    failures.back().changes.inserted.push_back(transactionState(12, decimal("1"), 1));
    failures.back().changes.inserted.back().toOne[kTransactionCategory] = ObjectID{kAccount, 1};

    for (const auto& failure : failures) {
        SCOPED_TRACE(failure.what);
        const auto message = storeError([&] { store->apply(failure.changes); });
        EXPECT_NE(message.find(m_path.toStdString()), std::string::npos) << message;
        EXPECT_EQ(dump(*store), before);
    }
    store.reset();
    auto reopened = openStore();
    EXPECT_EQ(dump(*reopened), before);
    EXPECT_TRUE(reopened->integrityCheck());

    // Nothing was left open: the valid part alone saves.
    reopened->apply(startValid());
    EXPECT_EQ(reopened->count(kAccount), 3);
    EXPECT_EQ(reopened->count(kTransaction), 1);
}

TEST_F(SqliteStoreTest, RefusesFilesOfOtherModelVersionsAndNonDatabases) {
    {
        auto store = openStore();
        EXPECT_EQ(store->schemaVersion(), 3);
        EXPECT_EQ(store->path(), m_path);
        saveSample(*store);
    }
    const ModelDescription older = testModel(2);
    const ModelDescription newer = testModel(4);
    const auto tooNew = storeError([&] { SqliteStore::open(m_path, older); });
    EXPECT_NE(tooNew.find("newer"), std::string::npos) << tooNew;
    EXPECT_NE(tooNew.find(m_path.toStdString()), std::string::npos) << tooNew;
    const auto tooOld = storeError([&] { SqliteStore::open(m_path, newer); });
    EXPECT_NE(tooOld.find("needs migration"), std::string::npos) << tooOld;
    // Refusing changed nothing.
    EXPECT_EQ(dump(*openStore()), fingerprints(sampleObjects()));

    const QString text = m_dir.filePath(QStringLiteral("notes.txt"));
    QByteArray content;
    for (int i = 0; i < 200; ++i) {
        content += "These are not the pages of a database.\n";
    }
    {
        QFile file(text);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    const auto notADatabase = storeError([&] { SqliteStore::open(text, m_model); });
    EXPECT_NE(notADatabase.find("not a database"), std::string::npos) << notADatabase;
    EXPECT_NE(notADatabase.find(text.toStdString()), std::string::npos) << notADatabase;
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), content);

    const auto missingFolder =
        storeError([&] { SqliteStore::open(m_dir.filePath(QStringLiteral("no/such/dir/x")), m_model); });
    EXPECT_NE(missingFolder.find("Cannot open"), std::string::npos) << missingFolder;
}

TEST_F(SqliteStoreTest, ReportsACorruptDecimalInsteadOfReadingZero) {
    {
        auto store = openStore();
        saveSample(*store);
        ChangeSet changes;
        changes.inserted.push_back(transactionState(7, decimal("4242.4242"), 1));
        store->apply(changes);
    } // closing checkpoints the log into the main file
    QFile file(m_path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    const auto at = bytes.indexOf("4242.4242");
    ASSERT_GE(at, 0);
    bytes.replace(at, 9, "4242.42x2");
    ASSERT_TRUE(file.seek(0));
    ASSERT_EQ(file.write(bytes), bytes.size());
    file.close();

    auto store = openStore();
    const auto loading = storeError([&] { store->loadAll(kTransaction, [](ObjectState&&) {}); });
    for (const char* part : {"\"Transaction\"", "\"amount\"", "pk 7", "4242.42x2"}) {
        EXPECT_NE(loading.find(part), std::string::npos) << part << " in " << loading;
    }
    const auto summing = storeError([&] { store->sum(kTransaction, kTransactionAmount); });
    EXPECT_NE(summing.find("4242.42x2"), std::string::npos) << summing;
    // The other entities still load.
    EXPECT_EQ(store->count(kAccount), 2);
}

TEST_F(SqliteStoreTest, AllocatesKeysAboveEverySavedKey) {
    {
        auto store = openStore();
        EXPECT_EQ(store->allocateKey(kAccount), 1);
        saveSample(*store); // accounts 1, 2; transactions 10, 11
        EXPECT_EQ(store->allocateKey(kTransaction), 12) << "a key saved from elsewhere is never handed out";
        ChangeSet deleteNewest;
        deleteNewest.deleted = {ObjectID{kTransaction, 11}};
        store->apply(deleteNewest);
    }
    auto store = openStore();
    EXPECT_EQ(store->allocateKey(kAccount), 3);
    // Object ids are stable text: a deleted object's key does not come back after a reopen.
    EXPECT_EQ(store->allocateKey(kTransaction), 12);
    EXPECT_EQ(store->allocateKey(kCategory), 6);
}

TEST_F(SqliteStoreTest, TwoThreadsShareTheStore) {
    auto store = openStore();
    saveSample(*store);
    constexpr int kKeysPerThread = 50'000;
    constexpr int kSavesPerThread = 50;
    std::vector<std::int64_t> keys[2];
    std::latch start(2);
    auto work = [&store, &start](std::vector<std::int64_t>& mine) {
        mine.reserve(kKeysPerThread);
        // Both threads allocate at the same moment, so a missing lock shows as a duplicate key.
        start.arrive_and_wait();
        for (int i = 0; i < kKeysPerThread; ++i) {
            mine.push_back(store->allocateKey(kTransaction));
        }
        for (int i = 0; i < kSavesPerThread; ++i) {
            ChangeSet changes;
            changes.inserted.push_back(
                transactionState(mine[static_cast<std::size_t>(i)], decimal("1.5"), 1));
            store->apply(changes);
            store->count(kTransaction);
        }
    };
    std::thread first(work, std::ref(keys[0]));
    std::thread second(work, std::ref(keys[1]));
    first.join();
    second.join();

    std::set<std::int64_t> unique(keys[0].begin(), keys[0].end());
    unique.insert(keys[1].begin(), keys[1].end());
    EXPECT_EQ(unique.size(), 2u * kKeysPerThread);
    EXPECT_GT(*unique.begin(), 11) << "above the keys in the file";
    EXPECT_EQ(store->count(kTransaction), 2 + 2 * kSavesPerThread);
    EXPECT_EQ(store->sum(kTransaction, kTransactionAmount), *vantrel::platform::Amount::fromAscii("237.65"));
}
