#include "app/BudgetViewModel.h"

#include "app/BudgetFixture.h"

#include <gmock/gmock.h>

using namespace vantrel;
using ::testing::DoubleNear;
using ::testing::ElementsAre;
using ::testing::Optional;
using testsupport::amount;
using testsupport::day;
using testsupport::utf8;
using Side = app::BudgetViewModel::Side;
using SortKey = app::BudgetViewModel::SortKey;

namespace {

class BudgetViewModelTest : public testsupport::BudgetFixture {
protected:
    app::BudgetViewModel viewOf(const model::Budget& budget) {
        return app::BudgetViewModel(workspace, budget.object()->id(), locale());
    }

    // "name|limit|actual|limit colour", indented by two spaces inside a group.
    static std::vector<std::string> shown(const app::BudgetViewModel& view, Side side) {
        std::vector<std::string> lines;
        for (const app::BudgetViewModel::Row& row : view.rows(side)) {
            lines.push_back(utf8(QString(row.depth * 2, QLatin1Char(' ')) + row.name + QLatin1Char('|') +
                                 row.limitText + QLatin1Char('|') + row.actualText + QLatin1Char('|') +
                                 row.limitColor));
        }
        return lines;
    }

    static std::vector<std::string> names(const app::BudgetViewModel& view, Side side) {
        std::vector<std::string> lines;
        for (const app::BudgetViewModel::Row& row : view.rows(side)) {
            lines.push_back(utf8(row.name));
        }
        return lines;
    }

    static const app::BudgetViewModel::Row& rowNamed(const app::BudgetViewModel& view, Side side,
                                                     const char* name) {
        for (const app::BudgetViewModel::Row& row : view.rows(side)) {
            if (row.name == QString::fromLatin1(name)) {
                return row;
            }
        }
        throw std::logic_error(std::string("no row ") + name);
    }

    static int indexOf(const app::BudgetViewModel& view, Side side, const char* name) {
        const auto& rows = view.rows(side);
        for (std::size_t row = 0; row < rows.size(); ++row) {
            if (rows[row].name == QString::fromLatin1(name)) {
                return static_cast<int>(row);
            }
        }
        return -1;
    }
};

TEST_F(BudgetViewModelTest, ExpenseTableGroupsCategoriesSortsByLimitAndKeepsUnusedCategoriesClosed) {
    const app::BudgetViewModel view = viewOf(householdBudget());

    // Groups sum their members, the total counts every category once, January stays outside the
    // period, and "Not Budgeted" (Gifts) starts closed.
    EXPECT_THAT(shown(view, Side::Expense), ElementsAre("Living|-$1,400|-$1,230|EC7663",  //
                                                        "  Rent|-$1,000|-$1,000|EC7663",  //
                                                        "  Groceries|-$400|-$230|EC7663", //
                                                        "Dining|-$100|-$130|EC7663",      //
                                                        "Electronics|-$50|$40|EC7663",    //
                                                        "Not Budgeted|$0|$0|9b9b9b",      //
                                                        "Total|-$1,550|-$1,320|EC7663"));
    EXPECT_THAT(shown(view, Side::Income), ElementsAre("Salary|$3,000|$3,000|62C749", //
                                                       "Total|$3,000|$3,000|62C749"));
    EXPECT_TRUE(rowNamed(view, Side::Expense, "Living").isExpanded);
    EXPECT_FALSE(rowNamed(view, Side::Expense, "Not Budgeted").isExpanded);
}

TEST_F(BudgetViewModelTest, BarsFillWithTheShareSpentAndTurnRedOnlyForOverspentExpenses) {
    const app::BudgetViewModel view = viewOf(householdBudget());
    using Color = app::BudgetViewModel::BarColor;

    const auto& rent = rowNamed(view, Side::Expense, "Rent");
    EXPECT_DOUBLE_EQ(rent.barFraction, 1.0);
    EXPECT_EQ(rent.barColor, Color::Blue);
    const auto& groceries = rowNamed(view, Side::Expense, "Groceries");
    EXPECT_DOUBLE_EQ(groceries.barFraction, 230.0 / 400.0);
    EXPECT_EQ(groceries.barColor, Color::Blue);
    EXPECT_DOUBLE_EQ(rowNamed(view, Side::Expense, "Living").barFraction, 1230.0 / 1400.0);

    const auto& dining = rowNamed(view, Side::Expense, "Dining");
    EXPECT_DOUBLE_EQ(dining.barFraction, 1.0);
    EXPECT_TRUE(dining.isOverBudget);
    EXPECT_EQ(dining.barColor, Color::Red);

    // A net refund leaves the bar empty.
    const auto& electronics = rowNamed(view, Side::Expense, "Electronics");
    EXPECT_DOUBLE_EQ(electronics.barFraction, 0.0);
    EXPECT_EQ(electronics.barColor, Color::Blue);
    EXPECT_DOUBLE_EQ(rowNamed(view, Side::Expense, "Not Budgeted").barFraction, 0.0);

    const auto& salary = rowNamed(view, Side::Income, "Salary");
    EXPECT_DOUBLE_EQ(salary.barFraction, 1.0);
    EXPECT_EQ(salary.barColor, Color::Blue);
}

TEST_F(BudgetViewModelTest, IncomeShortOfItsTargetIsBlueAndShowsItsShare) {
    const app::BudgetViewModel view =
        viewOf(makeBudget(day(2024, 2, 1), 2, {{rent, "-1000"}, {salary, "4000"}}));

    const auto& salary = rowNamed(view, Side::Income, "Salary");
    EXPECT_DOUBLE_EQ(salary.barFraction, 0.75);
    EXPECT_EQ(salary.barColor, app::BudgetViewModel::BarColor::Blue);
    EXPECT_EQ(utf8(salary.toolTip), "$3,000");
}

TEST_F(BudgetViewModelTest, TooltipsShowExpensesAsPositiveAmountsAndRefundsAsCredit) {
    const app::BudgetViewModel view = viewOf(householdBudget());

    EXPECT_EQ(utf8(rowNamed(view, Side::Expense, "Groceries").toolTip), "$230");
    EXPECT_EQ(utf8(rowNamed(view, Side::Expense, "Living").toolTip), "$1,230");
    EXPECT_EQ(utf8(rowNamed(view, Side::Expense, "Electronics").toolTip), "$40 credit");
    EXPECT_EQ(utf8(rowNamed(view, Side::Income, "Salary").toolTip), "$3,000");
}

TEST_F(BudgetViewModelTest, GroupsOpenAndCloseAndStaySoAcrossReloads) {
    app::BudgetViewModel view = viewOf(householdBudget());

    EXPECT_FALSE(view.toggleGroup(Side::Expense, indexOf(view, Side::Expense, "Rent")));
    EXPECT_FALSE(view.toggleGroup(Side::Expense, 99));
    ASSERT_TRUE(view.toggleGroup(Side::Expense, indexOf(view, Side::Expense, "Living")));
    ASSERT_TRUE(view.toggleGroup(Side::Expense, indexOf(view, Side::Expense, "Not Budgeted")));
    EXPECT_THAT(names(view, Side::Expense),
                ElementsAre("Living", "Dining", "Electronics", "Not Budgeted", "Gifts", "Total"));
    const auto& gifts = rowNamed(view, Side::Expense, "Gifts");
    EXPECT_EQ(gifts.depth, 1);
    EXPECT_EQ(utf8(gifts.limitColor), "9b9b9b");

    view.reload();
    EXPECT_THAT(names(view, Side::Expense),
                ElementsAre("Living", "Dining", "Electronics", "Not Budgeted", "Gifts", "Total"));
}

TEST_F(BudgetViewModelTest, SortsByActualOrSignedLimitOnRequest) {
    app::BudgetViewModel view = viewOf(householdBudget());

    view.setSortOrder(Side::Expense, SortKey::Actual, true);
    EXPECT_EQ(view.sortKey(Side::Expense), SortKey::Actual);
    EXPECT_THAT(names(view, Side::Expense),
                ElementsAre("Electronics", "Not Budgeted", "Dining", "Living", "Groceries", "Rent", "Total"));

    view.setSortOrder(Side::Expense, SortKey::Limit, false);
    EXPECT_THAT(names(view, Side::Expense),
                ElementsAre("Living", "Rent", "Groceries", "Dining", "Electronics", "Not Budgeted", "Total"));
    // The order holds when the budget is tracked again.
    view.reload();
    EXPECT_THAT(names(view, Side::Expense),
                ElementsAre("Living", "Rent", "Groceries", "Dining", "Electronics", "Not Budgeted", "Total"));
}

TEST_F(BudgetViewModelTest, StatusShowsPlannedTotalsAndTogglesBetweenSavingsAndEndBalance) {
    app::BudgetViewModel view = viewOf(householdBudget());

    EXPECT_EQ(utf8(view.expenseSegment()), "Expense: -$1,550");
    EXPECT_EQ(utf8(view.incomeSegment()), "Income: $3,000");
    EXPECT_EQ(view.statusMode(), app::BudgetViewModel::StatusMode::Net);
    EXPECT_EQ(utf8(view.statusLabel()), "Estimated Savings: ");
    EXPECT_EQ(utf8(view.statusAmountText()), "$1,450");
    EXPECT_EQ(utf8(view.statusColor()), "62C749");
    EXPECT_TRUE(view.statusToolTip().isEmpty());

    // 500 opening balance, -999 spent on 31 January: -499 at the start of the period.
    view.toggleStatusMode();
    EXPECT_EQ(utf8(view.statusLabel()), "Estimated End Balance: ");
    EXPECT_EQ(utf8(view.statusAmountText()), "$951");
    EXPECT_EQ(utf8(view.statusColor()), "62C749");
    EXPECT_EQ(utf8(view.statusToolTip()), "This is the balance at the start of this budget period plus (or "
                                          "minus) your estimated savings (or loss).");

    view.toggleStatusMode();
    EXPECT_EQ(utf8(view.statusLabel()), "Estimated Savings: ");
}

TEST_F(BudgetViewModelTest, StatusTurnsRedForALossAndGrayAtZero) {
    app::BudgetViewModel loss = viewOf(makeBudget(day(2024, 2, 1), 2, {{rent, "-1000"}, {salary, "400"}}));
    EXPECT_EQ(utf8(loss.statusLabel()), "Estimated Loss: ");
    EXPECT_EQ(utf8(loss.statusAmountText()), "-$600");
    EXPECT_EQ(utf8(loss.statusColor()), "EC7663");
    loss.toggleStatusMode();
    // -499 - 1000 + 400.
    EXPECT_EQ(utf8(loss.statusAmountText()), "-$1,099");
    EXPECT_EQ(utf8(loss.statusColor()), "EC7663");

    const app::BudgetViewModel even =
        viewOf(makeBudget(day(2024, 2, 1), 2, {{rent, "-1000"}, {salary, "1000"}}));
    EXPECT_EQ(utf8(even.statusLabel()), "Estimated Savings: ");
    EXPECT_EQ(utf8(even.statusAmountText()), "$0");
    EXPECT_EQ(utf8(even.statusColor()), "9b9b9b");
}

TEST_F(BudgetViewModelTest, DaysLeftHeaderAndTodayMarkerFollowThePeriod) {
    const model::Budget budget = householdBudget();
    const app::BudgetViewModel view = viewOf(budget);

    // 1 March: 29 of the 59 days from 1 February to 31 March have passed.
    EXPECT_EQ(utf8(view.daysLeftText()), "31 Days Left");
    EXPECT_THAT(view.todayMarker(), Optional(DoubleNear(29.0 / 59.0, 1e-9)));
    EXPECT_EQ(utf8(view.actualColumnHeader(Side::Expense)), "Actual");
    EXPECT_EQ(utf8(view.actualColumnHeader(Side::Income)), "Actual");

    setToday(day(2024, 3, 31));
    EXPECT_EQ(utf8(view.daysLeftText()), "1 Day Left");
    EXPECT_THAT(view.todayMarker(), Optional(DoubleNear(1.0, 1e-9)));

    setToday(day(2024, 4, 1));
    EXPECT_EQ(utf8(view.daysLeftText()), "This budget's period has ended");
    EXPECT_EQ(view.todayMarker(), std::nullopt);
    EXPECT_EQ(utf8(view.actualColumnHeader(Side::Expense)), "Actual Expense");
    EXPECT_EQ(utf8(view.actualColumnHeader(Side::Income)), "Actual Income");

    // On 1 April a May budget has not started: no marker, and April and May still to come.
    const app::BudgetViewModel april = viewOf(makeBudget(day(2024, 5, 1), 1, {}));
    EXPECT_EQ(april.todayMarker(), std::nullopt);
    EXPECT_EQ(utf8(april.daysLeftText()), "61 Days Left");
}

TEST_F(BudgetViewModelTest, EndNoticeIsShownOnceForAnEndedBudget) {
    const model::Budget budget = householdBudget();
    app::BudgetViewModel view = viewOf(budget);
    EXPECT_FALSE(view.presentEndNoticeIfNeeded());
    EXPECT_TRUE(alerts.shown().empty());

    setToday(day(2024, 4, 2));
    EXPECT_TRUE(view.presentEndNoticeIfNeeded());
    ASSERT_EQ(alerts.shown().size(), 1u);
    EXPECT_EQ(utf8(alerts.last().message), "This budget's period has ended");
    EXPECT_EQ(utf8(alerts.last().informativeText),
              "It's time to review how you did and create a new budget for the next period.");
    EXPECT_TRUE(alerts.last().buttons.isEmpty());
    EXPECT_TRUE(model::Budget(in(*reloaded(), budget.object())).didShowEndNotice());

    EXPECT_FALSE(view.presentEndNoticeIfNeeded());
    EXPECT_FALSE(viewOf(budget).presentEndNoticeIfNeeded());
    EXPECT_EQ(alerts.shown().size(), 1u);
}

TEST_F(BudgetViewModelTest, ListsTheTransactionsOfTheClickedCategoryInThePeriodNewestFirst) {
    const app::BudgetViewModel view = viewOf(householdBudget());

    const int groceries = indexOf(view, Side::Expense, "Groceries");
    ASSERT_TRUE(view.listsTransactions(Side::Expense, groceries));
    std::vector<std::string> lines;
    for (const auto& line : view.transactionsForRow(Side::Expense, groceries)) {
        lines.push_back(
            utf8(QStringList{line.date, line.title, line.account, line.amount}.join(QLatin1Char('|'))));
    }
    EXPECT_THAT(lines, ElementsAre("Mar 1, 2024|Corner Shop|Checking|-$80.00", //
                                   "Feb 10, 2024|Market|Checking|-$150.00"));

    const int living = indexOf(view, Side::Expense, "Living");
    EXPECT_FALSE(view.listsTransactions(Side::Expense, living));
    EXPECT_TRUE(view.transactionsForRow(Side::Expense, living).empty());
    EXPECT_FALSE(view.listsTransactions(Side::Expense, indexOf(view, Side::Expense, "Total")));
}

TEST_F(BudgetViewModelTest, UncategorisedSpendingGetsARowThatListsItsTransactions) {
    book(day(2024, 2, 5), "-20", "Parking", nullptr);
    book(day(2024, 1, 5), "-35", "Old Parking", nullptr);
    workspace.saveDatabase();
    const app::BudgetViewModel view = viewOf(householdBudget());

    const auto& uncategorized = rowNamed(view, Side::Expense, "Uncategorized");
    EXPECT_EQ(uncategorized.type, planning::BudgetRow::Type::Uncategorized);
    EXPECT_EQ(utf8(uncategorized.actualText), "-$20");
    EXPECT_EQ(utf8(uncategorized.limitColor), "9b9b9b");
    EXPECT_EQ(utf8(rowNamed(view, Side::Expense, "Total").actualText), "-$1,340");

    const auto lines = view.transactionsForRow(Side::Expense, indexOf(view, Side::Expense, "Uncategorized"));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(utf8(lines[0].title), "Parking");
}

TEST_F(BudgetViewModelTest, AnEditedLimitUpdatesItsRowAndTheSumsOrRetracksWhenItMoves) {
    const model::Budget budget = householdBudget();
    app::BudgetViewModel view = viewOf(budget);

    model::CategoryLimit groceriesLimit = limitOf(budget, groceries);
    groceriesLimit.setAmount(amount("-500"));
    view.limitEdited(Side::Expense, groceriesLimit, false);
    EXPECT_EQ(utf8(rowNamed(view, Side::Expense, "Groceries").limitText), "-$500");
    EXPECT_EQ(utf8(rowNamed(view, Side::Expense, "Living").limitText), "-$1,500");
    EXPECT_EQ(utf8(rowNamed(view, Side::Expense, "Total").limitText), "-$1,650");

    // Gifts leaves "Not Budgeted", which is then empty and goes.
    limitOf(budget, gifts).setAmount(amount("-30"));
    view.limitEdited(Side::Expense, limitOf(budget, gifts), true);
    EXPECT_THAT(names(view, Side::Expense),
                ElementsAre("Living", "Rent", "Groceries", "Dining", "Electronics", "Gifts", "Total"));

    // Dining turns into income: it leaves the expense table for the income one.
    limitOf(budget, dining).setAmount(amount("200"));
    view.limitEdited(Side::Expense, limitOf(budget, dining), true);
    EXPECT_EQ(indexOf(view, Side::Expense, "Dining"), -1);
    EXPECT_THAT(names(view, Side::Income), ElementsAre("Salary", "Dining", "Total"));
}

TEST_F(BudgetViewModelTest, ABudgetDeletedElsewhereShowsNothing) {
    const model::Budget budget = householdBudget();
    app::BudgetViewModel view = viewOf(budget);
    EXPECT_EQ(utf8(view.name()), "Household");
    EXPECT_EQ(utf8(view.periodText()), "Feb 1, 2024 – Mar 31, 2024");

    context.deleteObject(budget.object());
    view.reload();
    EXPECT_FALSE(view.isValid());
    EXPECT_TRUE(view.rows(Side::Expense).empty());
    EXPECT_TRUE(view.rows(Side::Income).empty());
    EXPECT_TRUE(view.daysLeftText().isEmpty());
    EXPECT_FALSE(view.presentEndNoticeIfNeeded());
}

} // namespace
