#include "app/MatchCommand.h"

#include "RegisterFixture.h"

using namespace vantrel;
using app::Alert;
using app::MatchCommand;
using testsupport::amount;
using testsupport::day;
using testsupport::utf8;

namespace {

class MatchCommandTest : public testsupport::RegisterFixture {
protected:
    model::Transaction newPending(const model::Account& account, const char* value) {
        model::Transaction transaction =
            newTransaction(account, day(2024, 3, 10), value, QStringLiteral("Grocer"));
        transaction.setFlagged(true);
        return transaction;
    }

    void expectRefusal(const std::vector<model::Transaction>& selection, const char* message,
                       const char* informative) {
        const std::size_t before = alerts.shown().size();
        EXPECT_FALSE(MatchCommand(workspace).run(selection));
        ASSERT_EQ(alerts.shown().size(), before + 1);
        EXPECT_EQ(utf8(alerts.last().message), message);
        EXPECT_EQ(utf8(alerts.last().informativeText), informative);
        EXPECT_TRUE(alerts.last().buttons.isEmpty());
    }

    std::size_t transactionCount() { return context.count(u"Transaction"); }

    const Alert confirmation{
        QStringLiteral("Are you sure you want to match these two transactions?"),
        QStringLiteral(
            "Information from the imported transaction will be merged into the pending transaction "
            "after the match."),
        {QStringLiteral("Match"), QStringLiteral("Cancel")}};
    const Alert amountChoice{
        QStringLiteral("The amounts of the transactions being matched are different."),
        QStringLiteral(
            "Would you like to use the amount in the imported transaction, or the amount in the pending "
            "transaction?"),
        {QStringLiteral("Use Imported Amount"), QStringLiteral("Cancel"),
         QStringLiteral("Use Pending Amount")}};

    model::Account checking = newAccount(QStringLiteral("Checking"));
    model::Account savings = newAccount(QStringLiteral("Savings"));
    model::CategoryVT food = newCategory(QStringLiteral("Food"));
    model::CategoryVT household = newCategory(QStringLiteral("Household"));
};

TEST_F(MatchCommandTest, RefusesAnythingButAPendingAndAnImportedTransactionOfOneAccount) {
    const model::Transaction pending = newPending(checking, "-20");
    const model::Transaction bank =
        newBankTransaction(checking, day(2024, 3, 11), "-20", QStringLiteral("GROCER"));
    const model::Transaction otherBank =
        newBankTransaction(savings, day(2024, 3, 11), "-20", QStringLiteral("X"));
    const model::Transaction cleared =
        newTransaction(checking, day(2024, 3, 9), "-20", QStringLiteral("Old"));

    expectRefusal({pending}, "You must select two transactions to match together.",
                  "Select a pending and an imported transaction to merge them into one.");
    expectRefusal({pending, bank, cleared}, "You must select two transactions to match together.",
                  "Select a pending and an imported transaction to merge them into one.");
    expectRefusal(
        {pending, otherBank}, "You can only match two transactions within the same account",
        "The two transactions you selected don't belong to the same account, so they cannot be matched");
    expectRefusal({cleared, bank}, "You must select a pending and an imported transaction.",
                  "Matching can only be done between a pending and an imported transaction.");
    expectRefusal({pending, newPending(checking, "-20")},
                  "You must select a pending and an imported transaction.",
                  "Matching can only be done between a pending and an imported transaction.");
    EXPECT_EQ(transactionCount(), 5u);
}

TEST_F(MatchCommandTest, EqualAmountsMatchAfterConfirmationInEitherSelectionOrder) {
    const model::Transaction pending = newPending(checking, "-20");
    const model::Transaction bank =
        newBankTransaction(checking, day(2024, 3, 11), "-20", QStringLiteral("GROCER"));
    alerts.answer(QStringLiteral("Match"));
    EXPECT_TRUE(MatchCommand(workspace).run({bank, pending}));

    EXPECT_EQ(alerts.shown(), std::vector<Alert>{confirmation});
    EXPECT_TRUE(pending.isMatched());
    EXPECT_FALSE(pending.isFlagged());
    EXPECT_EQ(transactionCount(), 1u) << "the imported transaction is gone";
    EXPECT_FALSE(context.hasChanges());
}

TEST_F(MatchCommandTest, UsingTheImportedAmountKeepsTheSplitLinesSummingToIt) {
    model::Transaction pending = newPending(checking, "-20.00");
    pending.setMultipleCategoriesAndAmounts(
        {{food.object(), amount("-15")}, {household.object(), amount("-5")}});
    const model::Transaction bank =
        newBankTransaction(checking, day(2024, 3, 11), "-20.50", QStringLiteral("GROCER"));
    alerts.answer(QStringLiteral("Match"));
    alerts.answer(QStringLiteral("Use Imported Amount"));
    EXPECT_TRUE(MatchCommand(workspace).run({pending, bank}));

    EXPECT_EQ(alerts.shown(), (std::vector<Alert>{confirmation, amountChoice}));
    EXPECT_EQ(transactionCount(), 1u);
    EXPECT_TRUE(pending.isMatched());
    EXPECT_EQ(pending.amount(), amount("-20.50"));
    model::Amount sum;
    for (const model::PlainSplit& line : pending.splits()) {
        sum += line.amount;
    }
    EXPECT_EQ(sum, amount("-20.50"));
    EXPECT_FALSE(context.hasChanges());
}

TEST_F(MatchCommandTest, UsingThePendingAmountKeepsIt) {
    model::Transaction pending = newPending(checking, "-20.00");
    const model::Transaction bank =
        newBankTransaction(checking, day(2024, 3, 11), "-20.50", QStringLiteral("GROCER"));
    alerts.answer(QStringLiteral("Match"));
    alerts.answer(QStringLiteral("Use Pending Amount"));
    EXPECT_TRUE(MatchCommand(workspace).run({pending, bank}));
    EXPECT_EQ(transactionCount(), 1u);
    EXPECT_TRUE(pending.isMatched());
    EXPECT_EQ(pending.amount(), amount("-20.00"));
}

TEST_F(MatchCommandTest, CancellingEitherQuestionChangesNothing) {
    const model::Transaction pending = newPending(checking, "-20.00");
    const model::Transaction bank =
        newBankTransaction(checking, day(2024, 3, 11), "-20.50", QStringLiteral("GROCER"));
    save();
    alerts.answer(QStringLiteral("Cancel"));
    EXPECT_FALSE(MatchCommand(workspace).run({pending, bank}));
    alerts.answer(QStringLiteral("Match"));
    alerts.answer(QStringLiteral("Cancel"));
    EXPECT_FALSE(MatchCommand(workspace).run({pending, bank}));

    EXPECT_EQ(alerts.shown(), (std::vector<Alert>{confirmation, confirmation, amountChoice}));
    EXPECT_FALSE(context.hasChanges());
    EXPECT_TRUE(pending.isPending());
    EXPECT_FALSE(bank.isDeleted());
}

} // namespace
