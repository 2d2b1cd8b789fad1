#include "planning/BudgetEstimate.h"

#include "BudgetFixture.h"
#include "platform/InternalError.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace vantrel::model;
using vantrel::planning::BudgetEstimate;
using vantrel::platform::InternalError;
using vantrel::testsupport::amount;
using vantrel::testsupport::day;

namespace {

class BudgetEstimateTest : public vantrel::testsupport::BudgetFixture {
protected:
    Amount estimated(const Budget& budget, const CategoryVT& category) {
        CategoryLimit limit = setLimit(budget, category, "0");
        BudgetEstimate::estimate(limit, reference, clock);
        return *limit.amount();
    }

    // The day the history is read up to.
    Day reference = day(2024, 1, 31);
    CategoryVT food = newCategory(QStringLiteral("Food"));
    CategoryVT salary = newCategory(QStringLiteral("Salary"));
};

TEST_F(BudgetEstimateTest, AverageTimesTheBudgetDaysRoundedToWholeUnits) {
    // 31 days of history, both ends included: -99.20 is -3.20 a day.
    newTransaction(dollars, "-50", reference.daysAgo_VT(30), {}, food.object());
    newTransaction(dollars, "-49.20", reference, {}, food.object());
    EXPECT_EQ(estimated(newBudget(day(2024, 1, 1)), food), amount("-99"));
    // A year of 366 days at -3.20 a day.
    EXPECT_EQ(estimated(newBudget(day(2024, 1, 1), 12), food), amount("-1171"));
    // No amounts: zero.
    EXPECT_EQ(estimated(newBudget(day(2024, 1, 1)), salary), amount("0"));
}

TEST_F(BudgetEstimateTest, HalvesRoundAwayFromZero) {
    // Ten days of history at -2.50 and +2.50 a day, over a February of 29 days: 72.5 either way.
    newTransaction(dollars, "-25", reference.daysAgo_VT(9), {}, food.object());
    newTransaction(dollars, "25", reference.daysAgo_VT(9), {}, salary.object());
    const Budget february = newBudget(day(2024, 2, 1));
    EXPECT_EQ(estimated(february, food), amount("-73"));
    EXPECT_EQ(estimated(february, salary), amount("73"));
}

TEST_F(BudgetEstimateTest, ShortHistoryCountsFromTheFirstTransactionWithBothEnds) {
    // The database begins ten days back, so the average runs over 11 days.
    newTransaction(dollars, "-110", reference.daysAgo_VT(10), {}, food.object());
    EXPECT_EQ(estimated(newBudget(day(2024, 4, 1)), food), amount("-300"));
}

TEST_F(BudgetEstimateTest, LongHistoryUsesExactlyTheLast366Days) {
    newTransaction(dollars, "-100000", reference.daysAgo_VT(730), {}, food.object());
    newTransaction(dollars, "-100000", reference.daysAgo_VT(366), {}, food.object());
    newTransaction(euros, "-329.40", reference.daysAgo_VT(365), {}, food.object());
    newTransaction(dollars, "-366", reference, {}, food.object());
    newTransaction(dollars, "-100000", reference.daysLater_VT(1), {}, food.object());
    // (-366 - 366) / 366 = -2 a day over 30 days.
    EXPECT_EQ(estimated(newBudget(day(2024, 4, 1)), food), amount("-60"));
}

TEST_F(BudgetEstimateTest, EstimatingABudgetReplacesEveryLimitWithOnePerCategoryAsOfToday) {
    // Today is 15 March 2024; the database begins 29 days before it.
    const Day today = Day::today_VT(clock);
    newTransaction(dollars, "-300", today.daysAgo_VT(29), {}, food.object());
    newTransaction(dollars, "1500", today, {}, salary.object());
    newTransaction(dollars, "-1000", today.daysLater_VT(1), {}, food.object());
    Budget budget = newBudget(day(2024, 4, 1));
    const CategoryLimit old = setLimit(budget, food, "-5");
    CategoryLimit duplicate = CategoryLimit::insertInContext(context);
    duplicate.setBudget(budget);
    duplicate.setCategory(food.object());
    const Budget other = newBudget(day(2024, 4, 1));
    const CategoryLimit untouched = setLimit(other, food, "-7");

    BudgetEstimate::estimate(budget, std::nullopt, clock);
    EXPECT_TRUE(old.isDeleted());
    EXPECT_TRUE(duplicate.isDeleted());
    ASSERT_EQ(budget.categoryLimits().size(), 2u);
    EXPECT_EQ(budget.limitForCategory(food.object())->amount(), amount("-300"));
    EXPECT_EQ(budget.limitForCategory(salary.object())->amount(), amount("1500"));
    EXPECT_EQ(untouched.amount(), amount("-7"));
    EXPECT_FALSE(untouched.isDeleted());

    // As of an earlier day the history is shorter.
    BudgetEstimate::estimate(budget, today.daysAgo_VT(1), clock);
    EXPECT_EQ(budget.limitForCategory(food.object())->amount(), amount("-310"));
    EXPECT_EQ(budget.limitForCategory(salary.object())->amount(), amount("0"));
}

TEST_F(BudgetEstimateTest, CreatedBudgetIsEstimatedAndSaves) {
    newTransaction(dollars, "-62", Day::today_VT(clock).daysAgo_VT(30), {}, food.object());
    const Budget budget =
        BudgetEstimate::createBudget(context, QStringLiteral("March, 2024"), day(2024, 3, 1), 2, clock);
    EXPECT_EQ(budget.name(), QStringLiteral("March, 2024"));
    EXPECT_EQ(budget.startDate(), day(2024, 3, 1));
    EXPECT_EQ(budget.months(), 2);
    EXPECT_FALSE(budget.didShowEndNotice());
    EXPECT_EQ(budget.cloudID().size(), 36);
    // -2 a day over March and April.
    EXPECT_EQ(budget.limitForCategory(food.object())->amount(), amount("-122"));
    EXPECT_EQ(budget.limitForCategory(salary.object())->amount(), amount("0"));
    EXPECT_TRUE(context.save().succeeded());

    EXPECT_THROW(BudgetEstimate::createBudget(context, QStringLiteral("None"), day(2024, 3, 1), 0, clock),
                 InternalError);
}

} // namespace
