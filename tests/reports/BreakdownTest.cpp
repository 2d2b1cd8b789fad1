#include "reports/Breakdown.h"

#include "ReportsFixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

using namespace vantrel;
using model::Amount;
using objectstore::ManagedObject;
using reports::BreakdownEntry;
using reports::BreakdownTable;
using reports::CategoryBreakdown;
using testsupport::amount;
using testsupport::day;
using testsupport::utf8;

namespace {

class BreakdownTest : public testsupport::ReportsFixture {
protected:
    model::CategoryVT food = newCategory(QStringLiteral("Food"));
    model::CategoryVT refunds = newCategory(QStringLiteral("Refunds"));
    model::CategoryVT gas = newCategory(QStringLiteral("Gas"));
    model::CategoryVT travel = newCategory(QStringLiteral("Travel"));
    model::CategoryVT salary = newCategory(QStringLiteral("Salary"));

    const model::Day march1 = day(2024, 3, 1);
    const model::Day march31 = day(2024, 3, 31);

    reports::Breakdown march() { return CategoryBreakdown::breakdown(context, march1, march31); }

    std::vector<QString> names(const std::vector<BreakdownEntry>& entries) {
        std::vector<QString> result;
        for (const BreakdownEntry& entry : entries) {
            result.push_back(entry.name);
        }
        return result;
    }

    std::vector<QString> titles(const std::vector<ManagedObject*>& transactions) {
        std::vector<QString> result;
        for (ManagedObject* object : transactions) {
            result.push_back(model::Transaction(object).title());
        }
        return result;
    }
};

TEST_F(BreakdownTest, SplitLinesCountUnderTheirOwnCategoriesAndNeverTogetherWithTheirTransaction) {
    split(dollars, day(2024, 3, 5), {{food.object(), "-30"}, {refunds.object(), "10"}});
    newTransaction(dollars, "-5", day(2024, 3, 6), {}, food.object());
    newTransaction(dollars, "-7.25", day(2024, 3, 7));

    const BreakdownTable sums = CategoryBreakdown::categorySums(context, march1, march31);

    EXPECT_EQ(sums.size(), 3U);
    EXPECT_EQ(sums.at(food.object()), amount("-35"));
    EXPECT_EQ(sums.at(refunds.object()), amount("10"));
    EXPECT_EQ(sums.at(nullptr), amount("-7.25"));

    const reports::Breakdown sides = march();
    EXPECT_EQ(sides.expense.count(food.object()), 1U);
    EXPECT_EQ(sides.income.at(refunds.object()), amount("10"));
    EXPECT_EQ(CategoryBreakdown::expenseTotal(context, march1, march31), amount("-42.25"));
    EXPECT_EQ(CategoryBreakdown::incomeTotal(context, march1, march31), amount("10"));
}

TEST_F(BreakdownTest, EachCategoryFallsOnOneSideByItsNetAmountInThePeriod) {
    newTransaction(dollars, "-50", day(2024, 3, 2), {}, salary.object());
    newTransaction(dollars, "80", day(2024, 3, 20), {}, salary.object());
    newTransaction(dollars, "20", day(2024, 3, 3), {}, gas.object());
    newTransaction(dollars, "-20", day(2024, 3, 4), {}, gas.object());

    const reports::Breakdown sides = march();

    EXPECT_EQ(sides.income.at(salary.object()), amount("30"));
    EXPECT_EQ(sides.expense.count(salary.object()), 0U);
    // A net of exactly zero is spending, not income.
    EXPECT_EQ(sides.expense.at(gas.object()), amount("0"));
    EXPECT_EQ(sides.income.count(gas.object()), 0U);
    EXPECT_EQ(CategoryBreakdown::expenseTotal(context, march1, march31), amount("0"));
    EXPECT_EQ(CategoryBreakdown::incomeTotal(context, march1, march31), amount("30"));
}

TEST_F(BreakdownTest, PeriodsIncludeBothEndsAndOpenBoundsReachEverything) {
    newTransaction(dollars, "-1", day(2024, 2, 29), {}, food.object());
    newTransaction(dollars, "-2", march1, {}, food.object());
    newTransaction(dollars, "-4", march31, {}, food.object());
    newTransaction(dollars, "-8", day(2024, 4, 1), {}, food.object());

    EXPECT_EQ(CategoryBreakdown::categorySums(context, march1, march31).at(food.object()), amount("-6"));
    EXPECT_EQ(CategoryBreakdown::categorySums(context, std::nullopt, march31).at(food.object()),
              amount("-7"));
    EXPECT_EQ(CategoryBreakdown::categorySums(context, std::nullopt, std::nullopt).at(food.object()),
              amount("-15"));
    EXPECT_TRUE(CategoryBreakdown::categorySums(context, day(2024, 5, 1), day(2024, 5, 31)).empty());
    EXPECT_EQ(CategoryBreakdown::expenseTotal(context, day(2024, 5, 1), day(2024, 5, 31)), amount("0"));
}

TEST_F(BreakdownTest, ForeignAmountsAreSummedPerCurrencyAndCategoryRoundedThenConvertedOnce) {
    model::Account moreEuros = accountIn(QStringLiteral("Euro Cash"), QStringLiteral("EUR"));
    // Two euro accounts form one group: 1.00 EUR is 1.11 USD, where converting each account's
    // 0.50 on its own would give 0.56 + 0.56.
    newTransaction(euros, "-0.50", day(2024, 3, 2), {}, food.object());
    newTransaction(moreEuros, "-0.50", day(2024, 3, 3), {}, food.object());
    newTransaction(dollars, "-10", day(2024, 3, 4), {}, food.object());
    // 0.222 + 0.223 = 0.445 rounds to 0.45 EUR first, which is 0.50 USD; unrounded it would be 0.49.
    split(euros, day(2024, 3, 5), {{gas.object(), "-0.222"}, {travel.object(), "-1"}});
    newTransaction(euros, "-0.223", day(2024, 3, 6), {}, gas.object());
    // Three transactions of 0.50 EUR: 1.50 EUR is 1.67 USD, against 3 x 0.56 one by one.
    for (int day = 10; day < 13; ++day) {
        newTransaction(euros, "0.50", testsupport::day(2024, 3, day), {}, refunds.object());
    }

    const BreakdownTable sums = CategoryBreakdown::categorySums(context, march1, march31);

    EXPECT_EQ(sums.at(food.object()), amount("-11.11"));
    EXPECT_EQ(sums.at(gas.object()), amount("-0.50"));
    EXPECT_EQ(sums.at(travel.object()), amount("-1.11"));
    EXPECT_EQ(sums.at(refunds.object()), amount("1.67"));
}

TEST_F(BreakdownTest, AnAccountWithoutCurrencyIsAProgrammingError) {
    model::Account broken = newAccount(QStringLiteral("Broken"));
    newTransaction(broken, "-3", day(2024, 3, 2), {}, food.object());
    broken.setCurrencyCode(QString());

    EXPECT_THROW(CategoryBreakdown::categorySums(context, march1, march31), platform::InternalError);
}

TEST_F(BreakdownTest, FoldingIntoGroupsAndDrillingIntoOneGroup) {
    const model::CategoryGroup car =
        newGroup(QStringLiteral("Car"), {gas.object(), travel.object(), refunds.object()});
    const model::CategoryGroup other = newGroup(QStringLiteral("Other"), {salary.object()});
    newTransaction(dollars, "-100", day(2024, 3, 2), {}, gas.object());
    newTransaction(dollars, "-200", day(2024, 3, 3), {}, travel.object());
    newTransaction(dollars, "40", day(2024, 3, 4), {}, refunds.object());
    newTransaction(dollars, "-900", day(2024, 3, 5), {}, food.object());
    newTransaction(dollars, "-9", day(2024, 3, 6));
    newTransaction(dollars, "-3", day(2024, 3, 7), {}, salary.object());

    const reports::Breakdown top = CategoryBreakdown::breakdown(context, march1, march31, nullptr);
    EXPECT_EQ(top.expense.size(), 4U);
    // The group folds only its categories on this side: the refund stays apart on the income side.
    EXPECT_EQ(top.expense.at(car.object()), amount("-300"));
    EXPECT_EQ(top.expense.at(other.object()), amount("-3"));
    EXPECT_EQ(top.expense.at(food.object()), amount("-900"));
    EXPECT_EQ(top.expense.at(nullptr), amount("-9"));
    EXPECT_EQ(top.income.size(), 1U);
    EXPECT_EQ(top.income.at(car.object()), amount("40"));
    // The drill-down's share of the total: -300 of -1212.
    EXPECT_EQ(CategoryBreakdown::total(top.expense), amount("-1212"));

    const reports::Breakdown inCar = CategoryBreakdown::breakdown(context, march1, march31, car.object());
    EXPECT_EQ(inCar.expense.size(), 2U);
    EXPECT_EQ(inCar.expense.at(gas.object()), amount("-100"));
    EXPECT_EQ(inCar.expense.at(travel.object()), amount("-200"));
    EXPECT_EQ(inCar.income.size(), 1U);
    EXPECT_EQ(inCar.income.at(refunds.object()), amount("40"));
}

TEST_F(BreakdownTest, KeepingOneGroupDropsOtherGroupsLooseCategoriesAndTheUncategorisedEntry) {
    const model::CategoryGroup car = newGroup(QStringLiteral("Car"), {gas.object()});
    newGroup(QStringLiteral("Home"), {food.object()});
    const BreakdownTable table = {{gas.object(), amount("-1")},
                                  {food.object(), amount("-2")},
                                  {travel.object(), amount("-3")},
                                  {nullptr, amount("-4")}};

    const BreakdownTable kept = CategoryBreakdown::removeAllNotInGroup(car.object(), table);
    ASSERT_EQ(kept.size(), 1U);
    EXPECT_EQ(kept.at(gas.object()), amount("-1"));

    const BreakdownTable grouped = CategoryBreakdown::groupBreakdown(table);
    EXPECT_EQ(grouped.size(), 4U);
    EXPECT_EQ(grouped.at(car.object()), amount("-1"));
    EXPECT_EQ(grouped.at(travel.object()), amount("-3"));
    EXPECT_EQ(grouped.at(nullptr), amount("-4"));
}

TEST_F(BreakdownTest, DisplayOrderPutsTheLargestMagnitudeFirstOnEitherSide) {
    const char* amounts[] = {"-5",   "-120", "-7.5", "-60", "-1",  "-33",
                             "-250", "-12",  "-80",  "-2",  "-45", "-9"};
    BreakdownTable expense;
    for (int index = 0; index < 12; ++index) {
        const model::CategoryVT category =
            newCategory(QStringLiteral("Category %1").arg(index, 2, 10, QLatin1Char('0')));
        expense[category.object()] = amount(amounts[index]);
    }
    const std::vector<BreakdownEntry> order = CategoryBreakdown::displayOrder(expense, false);
    ASSERT_EQ(order.size(), 12U);
    std::vector<Amount> shown;
    for (const BreakdownEntry& entry : order) {
        shown.push_back(entry.amount);
    }
    EXPECT_THAT(shown, ::testing::ElementsAre(amount("-250"), amount("-120"), amount("-80"), amount("-60"),
                                              amount("-45"), amount("-33"), amount("-12"), amount("-9"),
                                              amount("-7.5"), amount("-5"), amount("-2"), amount("-1")));
    EXPECT_EQ(utf8(order.front().name), "Category 06");

    const BreakdownTable income = {{salary.object(), amount("10")},
                                   {refunds.object(), amount("300")},
                                   {nullptr, amount("10")},
                                   {gas.object(), amount("10")}};
    // Equal amounts follow their names.
    EXPECT_THAT(names(CategoryBreakdown::displayOrder(income, true)),
                ::testing::ElementsAre(QStringLiteral("Refunds"), QStringLiteral("Gas"),
                                       QStringLiteral("Salary"), QStringLiteral("Uncategorized")));
}

TEST_F(BreakdownTest, KeysAreNamedByCategoryGroupOrUncategorized) {
    const model::CategoryGroup car = newGroup(QStringLiteral("Car"), {gas.object()});
    EXPECT_EQ(utf8(CategoryBreakdown::nameOf(gas.object())), "Gas");
    EXPECT_EQ(utf8(CategoryBreakdown::nameOf(car.object())), "Car");
    EXPECT_EQ(utf8(CategoryBreakdown::nameOf(nullptr)), "Uncategorized");
}

TEST_F(BreakdownTest, TransactionsBehindACategoryAGroupOrTheUncategorisedEntry) {
    const model::CategoryGroup car = newGroup(QStringLiteral("Car"), {gas.object(), travel.object()});
    newTransaction(dollars, "-1", day(2024, 3, 2), QStringLiteral("fuel"), gas.object());
    split(dollars, day(2024, 3, 9), {{gas.object(), "-2"}, {travel.object(), "-3"}}, QStringLiteral("trip"));
    split(euros, day(2024, 3, 4), {{food.object(), "-4"}, {nullptr, "-5"}}, QStringLiteral("market"));
    newTransaction(dollars, "-6", day(2024, 3, 3), QStringLiteral("cash"));
    newTransaction(dollars, "-7", day(2024, 3, 20), QStringLiteral("train"), travel.object());
    newTransaction(dollars, "-8", day(2024, 4, 1), QStringLiteral("april fuel"), gas.object());
    newTransaction(dollars, "-9", day(2024, 2, 29), QStringLiteral("february cash"));

    EXPECT_THAT(titles(CategoryBreakdown::transactionsFor(context, gas.object(), march1, march31)),
                ::testing::ElementsAre(QStringLiteral("trip"), QStringLiteral("fuel")));
    // The trip has lines in both of the group's categories and is listed once.
    EXPECT_THAT(
        titles(CategoryBreakdown::transactionsFor(context, car.object(), march1, march31)),
        ::testing::ElementsAre(QStringLiteral("train"), QStringLiteral("trip"), QStringLiteral("fuel")));
    EXPECT_THAT(titles(CategoryBreakdown::transactionsFor(context, nullptr, march1, march31)),
                ::testing::ElementsAre(QStringLiteral("market"), QStringLiteral("cash")));
}

} // namespace
