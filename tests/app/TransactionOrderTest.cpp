#include "app/TransactionOrder.h"

#include "RegisterFixture.h"

#include <algorithm>
#include <random>

using namespace vantrel;
using testsupport::day;

namespace {

class TransactionOrderTest : public testsupport::RegisterFixture {};

TEST_F(TransactionOrderTest, OrdersExactlyAsTransactionPrecedesIncludingMissingValues) {
    const model::Account account = newAccount(QStringLiteral("Checking"));
    std::vector<objectstore::ManagedObject*> rows;
    for (int i = 0; i < 40; ++i) {
        // Few days, so most comparisons fall through to the sort key; every fourth shares a time.
        if (i % 4 == 0) {
            clock.advanceSeconds(-1);
        }
        rows.push_back(newTransaction(account, day(2024, 3, 1 + i % 3), "-1").object());
    }
    model::Transaction noDate(rows[5]);
    noDate.object()->setValue(u"date", objectstore::Value());
    model::Transaction noSortKey(rows[6]);
    noSortKey.setSortKey(QString());

    std::vector<objectstore::ManagedObject*> expected = rows;
    std::stable_sort(expected.begin(), expected.end(),
                     [](auto* a, auto* b) { return model::Transaction::precedes(*a, *b); });
    std::mt19937 random(7);
    for (int round = 0; round < 5; ++round) {
        std::shuffle(rows.begin(), rows.end(), random);
        app::TransactionOrder::sort(rows);
        EXPECT_EQ(rows, expected);
    }
    EXPECT_EQ(expected.back(), noDate.object());
}

} // namespace
