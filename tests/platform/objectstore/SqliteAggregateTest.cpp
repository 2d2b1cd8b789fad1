#include "SqliteTestModel.h"
#include "platform/objectstore/SqliteStore.h"
#include "platform/objectstore/SqliteStoreError.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vantrel::objectstore;
using namespace vantrel::objectstore::sqlitetest;
using vantrel::platform::Amount;
using Filter = SqliteStore::ColumnFilter;

namespace {

Amount amount(const char* text) {
    return std::get<Amount>(decimal(text));
}

class SqliteAggregateTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_store = SqliteStore::open(m_dir.filePath(QStringLiteral("store.vantrel")), m_model);
    }

    void insert(std::vector<ObjectState> states) {
        ChangeSet changes;
        changes.inserted = std::move(states);
        m_store->apply(changes);
    }

    QTemporaryDir m_dir;
    ModelDescription m_model = testModel();
    std::unique_ptr<SqliteStore> m_store;
};

} // namespace

TEST_F(SqliteAggregateTest, SumsDecimalsExactlyWhereDoublesDrift) {
    constexpr int kRows = 200'000;
    std::vector<ObjectState> rows;
    rows.reserve(kRows);
    double inexact = 0;
    for (int i = 0; i < kRows; ++i) {
        rows.push_back(transactionState(i + 1, decimal(i % 2 == 0 ? "0.1" : "0.2"), std::nullopt));
        inexact += i % 2 == 0 ? 0.1 : 0.2;
    }
    insert(std::move(rows));
    ASSERT_NE(inexact, 30000.0) << "the data must defeat double arithmetic for the test to mean anything";
    EXPECT_EQ(m_store->sum(kTransaction, kTransactionAmount).toStdString(), "30000.0");

    insert({transactionState(kRows + 1, decimal("12345678901234567890.12"), 1),
            transactionState(kRows + 2, decimal("0.01"), 1)});
    EXPECT_EQ(m_store
                  ->sum(kTransaction, kTransactionAmount,
                        {Filter::toOneIs(kTransactionAccount, ObjectID{kAccount, 1})})
                  .toStdString(),
              "12345678901234567890.13");
}

TEST_F(SqliteAggregateTest, FiltersOnToOnesAndAttributes) {
    insert({transactionState(1, decimal("10.00"), 7, std::nullopt, {}, {}, {}, true),
            transactionState(2, decimal("-2.5"), 7, 3, {}, {}, {}, false),
            transactionState(3, decimal("12.5"), 8, 3, {}, {}, {}, true),
            transactionState(4, decimal("100"), std::nullopt, std::nullopt, {}, {}, {}, true),
            transactionState(5, {}, 7)});
    const auto account7 = Filter::toOneIs(kTransactionAccount, ObjectID{kAccount, 7});
    EXPECT_EQ(m_store->sum(kTransaction, kTransactionAmount, {account7}), amount("7.5")) << "absent skipped";
    EXPECT_EQ(m_store->count(kTransaction, {account7}), 3);
    EXPECT_EQ(
        m_store->sum(kTransaction, kTransactionAmount, {Filter::toOneIs(kTransactionAccount, std::nullopt)}),
        amount("100"));
    EXPECT_EQ(m_store->sum(kTransaction, kTransactionAmount,
                           {account7, Filter::attributeEquals(kTransactionCleared, true)}),
              amount("10"));
    EXPECT_EQ(m_store->sum(kTransaction, kTransactionAmount,
                           {Filter::toOneIs(kTransactionCategory, ObjectID{kCategory, 3}),
                            Filter::attributeEquals(kTransactionCleared, false)}),
              amount("-2.5"));
    // Decimal equality is numeric: 12.50 finds 12.5, 10 finds 10.00.
    EXPECT_EQ(m_store->count(kTransaction, {Filter::attributeEquals(kTransactionAmount, decimal("12.50"))}),
              1);
    EXPECT_EQ(m_store->count(kTransaction, {Filter::attributeEquals(kTransactionAmount, decimal("10"))}), 1);
    EXPECT_EQ(m_store->count(kTransaction, {Filter::attributeEquals(kTransactionAmount, Value())}), 1);
    EXPECT_EQ(m_store->count(kTransaction), 5);

    const auto nobody = Filter::toOneIs(kTransactionAccount, ObjectID{kAccount, 99});
    EXPECT_EQ(m_store->sum(kTransaction, kTransactionAmount, {nobody}), Amount());
    EXPECT_EQ(m_store->count(kTransaction, {nobody}), 0);
    EXPECT_EQ(m_store->sum(kAccount, kAccountLimit), Amount()) << "empty table";
}

TEST_F(SqliteAggregateTest, ReportsAnOverflowingSumInsteadOfAWrongNumber) {
    insert({transactionState(1, decimal("90000000000000000000000000000000000000"), 1),
            transactionState(2, decimal("90000000000000000000000000000000000000"), 1),
            transactionState(3, decimal("-1"), 2)});
    std::string message;
    try {
        m_store->sum(kTransaction, kTransactionAmount);
    } catch (const SqliteStoreError& error) {
        message = error.what();
    }
    EXPECT_NE(message.find("overflow"), std::string::npos) << message;
    // The connection stays usable and a sum that fits is still exact.
    EXPECT_EQ(m_store->sum(kTransaction, kTransactionAmount,
                           {Filter::toOneIs(kTransactionAccount, ObjectID{kAccount, 2})}),
              amount("-1"));
}

TEST_F(SqliteAggregateTest, MaximumComparesByValueNotByText) {
    EXPECT_FALSE(m_store->maximum(kTransaction, kTransactionAmount).has_value());
    insert(
        {transactionState(1, decimal("9.5"), 1, std::nullopt, QDateTime(QDate(1950, 1, 1), QTime(), Qt::UTC),
                          QStringLiteral("b"), std::int64_t{-3}),
         transactionState(2, decimal("10.00"), 1, std::nullopt,
                          QDateTime(QDate(1949, 12, 31), QTime(), Qt::UTC), QStringLiteral("ä"),
                          std::int64_t{2}),
         transactionState(3, decimal("-20"), 1, std::nullopt, {}, QStringLiteral("a"), std::int64_t{-10}),
         transactionState(4, {}, 1)});
    const auto decimalMax = m_store->maximum(kTransaction, kTransactionAmount);
    ASSERT_TRUE(decimalMax.has_value());
    EXPECT_EQ(std::get<Amount>(*decimalMax).toStdString(), "10.00");
    EXPECT_EQ(std::get<std::int64_t>(*m_store->maximum(kTransaction, kTransactionOrder)), 2);
    EXPECT_EQ(std::get<QDateTime>(*m_store->maximum(kTransaction, kTransactionDate)),
              QDateTime(QDate(1950, 1, 1), QTime(), Qt::UTC));
    EXPECT_EQ(std::get<QString>(*m_store->maximum(kTransaction, kTransactionMemo)), QStringLiteral("ä"));
    EXPECT_FALSE(m_store->maximum(kTransaction, kTransactionCleared).has_value()) << "all absent";
}
