#include "app/MoveTransactionsCommand.h"

#include "AppWorkspaceFixture.h"

using namespace vantrel;
using testsupport::amount;
using testsupport::day;

namespace {

class MoveTransactionsCommandTest : public testsupport::AppWorkspaceFixture {
protected:
    MoveTransactionsCommandTest() { workspace.saveDatabase(); }

    static const char* informativeText() {
        return "Moving transactions will not change your accounts' starting balances. So, double check to "
               "make "
               "sure your accounts balances are correct after the move.";
    }

    model::Account checking = newAccount(QStringLiteral("Checking"), QStringLiteral("checking"), "100");
    model::Account savings = newAccount(QStringLiteral("Savings"), QStringLiteral("savings"), "500");
    model::Transaction coffee = newTransaction(checking, "-4.50", QStringLiteral("Coffee"));
    model::Transaction salary = newTransaction(checking, "2000", QStringLiteral("Salary"));
    app::MoveTransactionsCommand command{workspace};
};

TEST_F(MoveTransactionsCommandTest, MovingTwoTransactionsAsksThenMovesSavesAndRefreshes) {
    alerts.answer(QStringLiteral("Move"));
    ASSERT_TRUE(command.run({coffee, salary}, savings));
    EXPECT_EQ(alerts.last(), (app::Alert{"Are you sure you want to move 2 transactions to Savings?",
                                         informativeText(),
                                         {"Move", "Cancel"}}));
    EXPECT_EQ(posted, QStringList{"RefreshAllViews"});

    const auto other = reloaded();
    for (const model::Transaction& moved : {coffee, salary}) {
        const model::Transaction saved(in(*other, moved.object()));
        EXPECT_EQ(saved.account(), in(*other, savings.object()));
        EXPECT_EQ(saved.date(), day(2024, 2, 20));
    }
    EXPECT_EQ(model::Transaction(in(*other, coffee.object())).amount(), amount("-4.50"));
    // Start balances stay; the balances follow the transactions.
    EXPECT_EQ(model::Account(in(*other, checking.object())).balance(), amount("100"));
    EXPECT_EQ(model::Account(in(*other, savings.object())).balance(), amount("2495.50"));
}

TEST_F(MoveTransactionsCommandTest, OneTransactionIsNamedInTheSingularAndCancelMovesNothing) {
    alerts.answer(QStringLiteral("Cancel"));
    EXPECT_FALSE(command.run({coffee}, savings));
    EXPECT_EQ(alerts.last(), (app::Alert{"Are you sure you want to move 1 transaction to Savings?",
                                         informativeText(),
                                         {"Move", "Cancel"}}));
    EXPECT_EQ(coffee.account(), checking.object());
    EXPECT_FALSE(context.hasChanges());
    EXPECT_TRUE(posted.isEmpty());
}

TEST_F(MoveTransactionsCommandTest, NothingDraggedAsksNothing) {
    EXPECT_FALSE(command.run({}, savings));
    EXPECT_TRUE(alerts.shown().empty());
}

} // namespace
