#include "app/RegisterViewModel.h"

#include "RegisterFixture.h"
#include "model/Split.h"
#include "model/SplitSet.h"

using namespace vantrel;
using app::RegisterViewModel;
using testsupport::amount;
using testsupport::day;
using testsupport::utf8;

namespace {

class RegisterViewModelTest : public testsupport::RegisterFixture {
protected:
    std::vector<QString> titles(const RegisterViewModel& model) {
        std::vector<QString> result;
        for (std::size_t row = 0; row < model.rowCount(); ++row) {
            result.push_back(model.transactionAt(row).title());
        }
        return result;
    }

    model::Account checking = newAccount(QStringLiteral("Checking"), QStringLiteral("checking"), "100");
    model::Account euros =
        newAccount(QStringLiteral("Euro Savings"), QStringLiteral("savings"), "0", QStringLiteral("EUR"));
    model::CategoryVT food = newCategory(QStringLiteral("Food"));
    model::CategoryVT gas = newCategory(QStringLiteral("Gas"));
};

TEST_F(RegisterViewModelTest, DateColumnNamesTheDaysAroundTodayAndFormatsTheOthers) {
    newTransaction(checking, today(), "-1", QStringLiteral("today"));
    newTransaction(checking, today().daysLater_VT(1), "-1", QStringLiteral("tomorrow"));
    newTransaction(checking, today().daysAgo_VT(1), "-1", QStringLiteral("yesterday"));
    newTransaction(checking, today().daysAgo_VT(2), "-1", QStringLiteral("two days ago"));
    newTransaction(checking, today().daysLater_VT(2), "-1", QStringLiteral("in two days"));

    const RegisterViewModel model = RegisterViewModel::forAccount(workspace, checking, locale());
    ASSERT_EQ(model.rowCount(), 5u);
    EXPECT_EQ(utf8(model.dateText(0)), "Mar 17, 2024");
    EXPECT_EQ(utf8(model.dateText(1)), "Tomorrow");
    EXPECT_EQ(utf8(model.dateText(2)), "Today");
    EXPECT_EQ(utf8(model.dateText(3)), "Yesterday");
    EXPECT_EQ(utf8(model.dateText(4)), "Mar 13, 2024");
}

TEST_F(RegisterViewModelTest, TodayIsTheUsersLocalDateNotTheUtcOne) {
    // 23:30 UTC on the 15th is already the 16th in Auckland.
    clock.setNow(QDateTime(QDate(2024, 3, 15), QTime(23, 30), QTimeZone::utc()));
    clock.setTimeZone(QTimeZone("Pacific/Auckland"));
    newTransaction(checking, day(2024, 3, 16), "-1", QStringLiteral("local today"));
    const RegisterViewModel model = RegisterViewModel::forAccount(workspace, checking, locale());
    EXPECT_EQ(utf8(model.dateText(0)), "Today");
}

TEST_F(RegisterViewModelTest, RowsAreNewestFirstAcrossAccountsAndLaterCreatedFirstWithinADay) {
    newTransaction(checking, day(2024, 3, 1), "-1", QStringLiteral("oldest"));
    newTransaction(euros, day(2024, 3, 10), "-1", QStringLiteral("same day, created first"));
    newTransaction(checking, day(2024, 3, 10), "-1", QStringLiteral("same day, created last"));
    newTransaction(euros, day(2024, 3, 12), "-1", QStringLiteral("newest"));

    const RegisterViewModel all = RegisterViewModel::forAllAccounts(workspace, locale());
    EXPECT_EQ(titles(all),
              (std::vector<QString>{QStringLiteral("newest"), QStringLiteral("same day, created last"),
                                    QStringLiteral("same day, created first"), QStringLiteral("oldest")}));
    const RegisterViewModel one = RegisterViewModel::forAccount(workspace, checking, locale());
    EXPECT_EQ(titles(one),
              (std::vector<QString>{QStringLiteral("same day, created last"), QStringLiteral("oldest")}));
}

TEST_F(RegisterViewModelTest, AGivenSetIsSortedAndLosesDeletedTransactionsOnReload) {
    const model::Transaction a = newTransaction(checking, day(2024, 1, 1), "-1", QStringLiteral("a"));
    const model::Transaction b = newTransaction(euros, day(2024, 2, 1), "-1", QStringLiteral("b"));
    const model::Transaction c = newTransaction(checking, day(2024, 3, 1), "-1", QStringLiteral("c"));
    newTransaction(checking, day(2024, 3, 2), "-1", QStringLiteral("not given"));

    RegisterViewModel model =
        RegisterViewModel::forTransactions(workspace, {a.object(), c.object(), b.object()}, locale());
    EXPECT_EQ(titles(model),
              (std::vector<QString>{QStringLiteral("c"), QStringLiteral("b"), QStringLiteral("a")}));
    context.deleteObject(b.object());
    model.reload();
    EXPECT_EQ(titles(model), (std::vector<QString>{QStringLiteral("c"), QStringLiteral("a")}));
    EXPECT_EQ(model.rowOf(a), 1u);
    EXPECT_FALSE(model.rowOf(b));
}

TEST_F(RegisterViewModelTest, SingleAccountRegisterFollowsInsertionsOnReload) {
    RegisterViewModel model = RegisterViewModel::forAccount(workspace, checking, locale());
    EXPECT_EQ(model.rowCount(), 0u);
    newTransaction(checking, today(), "-5", QStringLiteral("new"));
    newTransaction(euros, today(), "-5", QStringLiteral("elsewhere"));
    model.reload();
    EXPECT_EQ(titles(model), std::vector<QString>{QStringLiteral("new")});
}

TEST_F(RegisterViewModelTest, DescriptionUsesTheCategoryBasedTitleWithoutATitle) {
    model::Transaction split = newTransaction(checking, today(), "-40");
    split.setMultipleCategoriesAndAmounts({{food.object(), amount("-30")}, {gas.object(), amount("-10")}});
    model::Transaction titled =
        newTransaction(checking, today(), "-5", QStringLiteral("Bakery"), food.object());
    titled.setCheckNumber(1042);
    titled.setNotes(QStringLiteral("rolls"));
    model::Transaction blankNotes = newTransaction(checking, today(), "-5", QStringLiteral("  "));
    blankNotes.setNotes(QStringLiteral("   "));

    const RegisterViewModel model = RegisterViewModel::forAccount(workspace, checking, locale());
    const auto rowOf = [&](const model::Transaction& t) { return *model.rowOf(t); };

    const RegisterViewModel::Description ofSplit = model.description(rowOf(split));
    EXPECT_EQ(utf8(ofSplit.title), "Gas and Food");
    EXPECT_FALSE(ofSplit.checkNumber);
    EXPECT_TRUE(ofSplit.notes.isNull());

    const RegisterViewModel::Description ofTitled = model.description(rowOf(titled));
    EXPECT_EQ(utf8(ofTitled.title), "Bakery");
    EXPECT_EQ(ofTitled.checkNumber, 1042);
    EXPECT_EQ(utf8(ofTitled.notes), "rolls");

    const RegisterViewModel::Description ofBlank = model.description(rowOf(blankNotes));
    EXPECT_EQ(utf8(ofBlank.title), "Uncategorized");
    EXPECT_TRUE(ofBlank.notes.isNull());
}

TEST_F(RegisterViewModelTest, CategoryColumnShowsOneNameOrOneLinePerSplitWithoutCurrencySymbol) {
    const model::Transaction single =
        newTransaction(euros, today(), "-5", QStringLiteral("one"), food.object());
    const model::Transaction none = newTransaction(euros, today(), "-5", QStringLiteral("none"));
    model::Transaction split = newTransaction(euros, today(), "-1045.50", QStringLiteral("split"));
    split.setMultipleCategoriesAndAmounts(
        {{gas.object(), amount("-10")}, {nullptr, amount("-5.50")}, {food.object(), amount("-1030")}});
    model::Transaction refund = newTransaction(euros, today(), "20", QStringLiteral("refund"));
    refund.setMultipleCategoriesAndAmounts({{food.object(), amount("25")}, {gas.object(), amount("-5")}});

    const RegisterViewModel model = RegisterViewModel::forAccount(workspace, euros, locale());
    EXPECT_EQ(utf8(model.categoryText(*model.rowOf(single))), "Food");
    EXPECT_EQ(utf8(model.categoryText(*model.rowOf(none))), "");
    EXPECT_EQ(utf8(model.categoryText(*model.rowOf(split))),
              "Food: -1,030.00\nGas: -10.00\nUncategorized: -5.50");
    EXPECT_EQ(utf8(model.categoryText(*model.rowOf(refund))), "Gas: -5.00\nFood: 25.00");
}

TEST_F(RegisterViewModelTest, AmountsUseTheAccountCurrencyAndAColourBySign) {
    const model::Transaction expense = newTransaction(checking, today(), "-12.5", QStringLiteral("expense"));
    const model::Transaction zero = newTransaction(checking, today(), "0", QStringLiteral("zero"));
    const model::Transaction income = newTransaction(euros, today(), "1000", QStringLiteral("income"));

    const RegisterViewModel model = RegisterViewModel::forAllAccounts(workspace, locale());
    const std::size_t e = *model.rowOf(expense);
    const std::size_t z = *model.rowOf(zero);
    const std::size_t i = *model.rowOf(income);
    EXPECT_EQ(utf8(model.amountText(e)), "-$12.50");
    EXPECT_EQ(utf8(model.amountText(z)), "$0.00");
    EXPECT_EQ(utf8(model.amountText(i)), "€1,000.00");
    EXPECT_EQ(model.amountColour(e), RegisterViewModel::AmountColour::Negative);
    EXPECT_EQ(model.amountColour(z), RegisterViewModel::AmountColour::Zero);
    EXPECT_EQ(model.amountColour(i), RegisterViewModel::AmountColour::Positive);
}

TEST_F(RegisterViewModelTest, RunningBalancesOfOnePassAgreeWithTheStoreSumPerRow) {
    checking.setStartBalanceDate(day(2024, 2, 1));
    newTransaction(checking, day(2024, 1, 5), "-20", QStringLiteral("before the start balance date"));
    newTransaction(checking, day(2024, 3, 1), "-7.25", QStringLiteral("first of the day"));
    newTransaction(checking, day(2024, 3, 1), "300", QStringLiteral("second of the day"));
    newTransaction(euros, day(2024, 3, 1), "50", QStringLiteral("other account"));
    newTransaction(checking, day(2024, 3, 9), "-0.75", QStringLiteral("latest"));
    newTransaction(euros, day(2024, 3, 2), "-12", QStringLiteral("other account later"));

    const auto expectAgreement = [](const RegisterViewModel& model) {
        for (std::size_t row = 0; row < model.rowCount(); ++row) {
            EXPECT_EQ(model.runningBalance(row), model.transactionAt(row).runningBalance())
                << utf8(model.transactionAt(row).title());
        }
    };
    const RegisterViewModel one = RegisterViewModel::forAccount(workspace, checking, locale());
    expectAgreement(one);
    EXPECT_EQ(one.runningBalance(0), amount("372"));
    EXPECT_EQ(utf8(one.balanceText(0)), "$372.00");
    expectAgreement(RegisterViewModel::forAllAccounts(workspace, locale()));

    // A part of an account still shows the balances of the whole account.
    const model::Transaction last = one.transactionAt(0);
    const model::Transaction oldest = one.transactionAt(one.rowCount() - 1);
    const RegisterViewModel part =
        RegisterViewModel::forTransactions(workspace, {oldest.object(), last.object()}, locale());
    expectAgreement(part);
    EXPECT_EQ(part.runningBalance(1), amount("80"));
}

TEST_F(RegisterViewModelTest, FlagColumnShowsTheStateOrWhatAClickWouldSet) {
    model::Transaction pending = newTransaction(checking, today(), "-1", QStringLiteral("pending"));
    pending.setFlagged(true);
    const model::Transaction cleared = newTransaction(checking, today(), "-1", QStringLiteral("cleared"));
    const model::Transaction fresh = newBankTransaction(checking, today(), "-1", QStringLiteral("fresh"));
    model::Transaction reviewed = newBankTransaction(checking, today(), "-1", QStringLiteral("reviewed"));
    reviewed.setFlagged(false);
    model::Transaction matched = newTransaction(checking, today(), "-1", QStringLiteral("matched"));
    matched.setOfxAmount(amount("-1"));
    matched.setOfxTitle(QStringLiteral("MATCHED"));
    matched.setOfxDate(today());

    const RegisterViewModel model = RegisterViewModel::forAccount(workspace, checking, locale());
    const auto flagOf = [&](const model::Transaction& t) {
        const RegisterViewModel::Flag flag = model.flag(*model.rowOf(t));
        return utf8(flag.image) + "|" + utf8(flag.hoverImage);
    };
    EXPECT_EQ(flagOf(pending), "FlagPending|");
    EXPECT_EQ(flagOf(cleared), "|FlagPendingHover");
    EXPECT_EQ(flagOf(fresh), "FlagNew|");
    EXPECT_EQ(flagOf(reviewed), "|FlagNewHover");
    EXPECT_EQ(flagOf(matched), "|FlagNewHover");
}

TEST_F(RegisterViewModelTest, StatusLineShowsTheBalanceAndTheClearedBalanceOnClick) {
    model::Transaction pending = newTransaction(checking, today(), "-30", QStringLiteral("pending"));
    pending.setFlagged(true);
    newTransaction(checking, today(), "-20", QStringLiteral("cleared"));

    RegisterViewModel model = RegisterViewModel::forAccount(workspace, checking, locale());
    const std::vector<model::Transaction> one{model.transactionAt(0)};
    EXPECT_EQ(utf8(model.statusLine(one).text), "Balance: $50.00");
    EXPECT_TRUE(model.statusLine({}).toolTip.isEmpty());

    model.clickStatusLine();
    EXPECT_TRUE(model.showsClearedBalance());
    EXPECT_EQ(utf8(model.statusLine({}).text), "Cleared Balance: $80.00");
    EXPECT_EQ(utf8(model.statusLine({}).toolTip),
              "Cleared balance is the balance of this account excluding pending transactions. After "
              "reconciliation, the cleared balance should match the bank's balance.");
    model.clickStatusLine();
    EXPECT_EQ(utf8(model.statusLine({}).text), "Balance: $50.00");
}

TEST_F(RegisterViewModelTest, StatusLineOfAllAccountsAndOfAGivenSet) {
    newTransaction(checking, today(), "-30", QStringLiteral("dollars"));
    newTransaction(euros, today(), "80", QStringLiteral("euros"));
    RegisterViewModel all = RegisterViewModel::forAllAccounts(workspace, locale());
    // 100 − 30 in dollars plus €80 at 0.8 per dollar.
    EXPECT_EQ(utf8(all.statusLine({}).text), "Overall Balance: $170.00");
    all.clickStatusLine();
    EXPECT_EQ(utf8(all.statusLine({}).text), "Overall Balance: $170.00");

    const RegisterViewModel given =
        RegisterViewModel::forTransactions(workspace, {all.transactionAt(0).object()}, locale());
    EXPECT_TRUE(given.statusLine({}).text.isEmpty());
}

TEST_F(RegisterViewModelTest, SelectionTotalIsInTheForeignAccountCurrencyElseInTheHomeCurrency) {
    newTransaction(euros, today(), "-10", QStringLiteral("a"));
    newTransaction(euros, today(), "-20.50", QStringLiteral("b"));
    newTransaction(euros, today(), "-30", QStringLiteral("c"));
    newTransaction(checking, today(), "-1", QStringLiteral("d"));

    const RegisterViewModel foreign = RegisterViewModel::forAccount(workspace, euros, locale());
    const std::vector<model::Transaction> three{foreign.transactionAt(0), foreign.transactionAt(1),
                                                foreign.transactionAt(2)};
    EXPECT_EQ(utf8(foreign.statusLine(three).text), "3 Selected, -€60.50 Total");

    // Over all accounts the amounts are converted: −60.50 € is −75.63 $ (rounded per amount).
    const RegisterViewModel all = RegisterViewModel::forAllAccounts(workspace, locale());
    std::vector<model::Transaction> everything;
    for (std::size_t row = 0; row < all.rowCount(); ++row) {
        everything.push_back(all.transactionAt(row));
    }
    EXPECT_EQ(utf8(all.statusLine(everything).text), "4 Selected, -$76.63 Total");
}

TEST_F(RegisterViewModelTest, BalanceColumnFollowsTheStoredChoiceInSingleAccountRegistersOnly) {
    RegisterViewModel one = RegisterViewModel::forAccount(workspace, checking, locale());
    EXPECT_FALSE(one.isBalanceColumnShown());
    one.toggleBalanceColumn();
    EXPECT_TRUE(one.isBalanceColumnShown());
    EXPECT_TRUE(defaults.boolValue(QStringLiteral("VTShowBalanceColumn")));

    EXPECT_TRUE(RegisterViewModel::forAccount(workspace, euros, locale()).isBalanceColumnShown());
    EXPECT_FALSE(RegisterViewModel::forAllAccounts(workspace, locale()).isBalanceColumnShown());
    one.toggleBalanceColumn();
    EXPECT_FALSE(defaults.boolValue(QStringLiteral("VTShowBalanceColumn")));
}

TEST_F(RegisterViewModelTest, WelcomeHintShowsOnlyWithoutAnyTransaction) {
    const RegisterViewModel model = RegisterViewModel::forAccount(workspace, checking, locale());
    EXPECT_TRUE(model.showsEmptyHint());
    const RegisterViewModel::EmptyHint hint = RegisterViewModel::emptyHint();
    EXPECT_EQ(utf8(hint.title), "Add your first\ntransaction");
    EXPECT_EQ(utf8(hint.message),
              "A transaction can be an expense, income or transfer.\nBe sure to enter a category "
              "so you can analyze your\nspending later.");
    EXPECT_EQ(utf8(hint.button), "Add a transaction");

    newTransaction(euros, today(), "-1");
    // Another account's transaction counts: the hint is for an empty database.
    EXPECT_FALSE(model.showsEmptyHint());
}

} // namespace
