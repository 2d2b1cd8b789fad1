#include "model/Budget.h"

#include "model/CategoryLimit.h"
#include "model/DataModel.h"
#include "platform/InternalError.h"
#include "platform/objectstore/Context.h"
#include "platform/objectstore/MemoryStore.h"
#include "support/ModelValues.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

using ::testing::UnorderedElementsAre;
using vantrel::model::Budget;
using vantrel::model::CategoryLimit;
using vantrel::model::DataModel;
using vantrel::model::Day;
using vantrel::objectstore::Context;
using vantrel::objectstore::MemoryStore;
using vantrel::platform::InternalError;
using vantrel::testsupport::amount;
using vantrel::testsupport::day;

namespace {

class BudgetTest : public ::testing::Test {
protected:
    CategoryLimit newLimit(const Budget& budget, const char* value = "-100") {
        CategoryLimit limit = CategoryLimit::insertInContext(context);
        limit.setBudget(budget);
        limit.setCategory(context.insert(u"Category"));
        limit.setAmount(amount(value));
        return limit;
    }

    Budget newBudget(const Day& start, int months) {
        Budget budget = Budget::insertInContext(context);
        budget.setStartDate(start);
        budget.setMonths(months);
        return budget;
    }

    std::shared_ptr<MemoryStore> store = std::make_shared<MemoryStore>(DataModel::description());
    Context context{store};
};

TEST_F(BudgetTest, EachBudgetListsOnlyItsOwnLimits) {
    const Budget first = Budget::insertInContext(context);
    const Budget second = Budget::insertInContext(context);
    const CategoryLimit a = newLimit(first);
    const CategoryLimit b = newLimit(first);
    const CategoryLimit c = newLimit(second);
    EXPECT_THAT(first.categoryLimits(), UnorderedElementsAre(a, b));
    EXPECT_THAT(second.categoryLimits(), UnorderedElementsAre(c));
}

TEST_F(BudgetTest, DeletingABudgetTakesItsLimits) {
    const Budget budget = Budget::insertInContext(context);
    const CategoryLimit limit = newLimit(budget);
    context.deleteObject(budget.object());
    EXPECT_TRUE(limit.isDeleted());
}

TEST_F(BudgetTest, PeriodRunsWholeMonthsAndEndsTheDayBeforeTheNextStart) {
    const Budget february = newBudget(day(2023, 2, 1), 1);
    EXPECT_EQ(february.endDate(), day(2023, 2, 28));
    EXPECT_EQ(february.days(), 28);
    const Budget leapFebruary = newBudget(day(2024, 2, 1), 1);
    EXPECT_EQ(leapFebruary.endDate(), day(2024, 2, 29));
    EXPECT_EQ(leapFebruary.days(), 29);
    // A month after 31 January is clamped to 28 February; the period ends the day before.
    const Budget fromJanuaryEnd = newBudget(day(2023, 1, 31), 1);
    EXPECT_EQ(fromJanuaryEnd.endDate(), day(2023, 2, 27));
    EXPECT_EQ(fromJanuaryEnd.days(), 28);
    const Budget year = newBudget(day(2024, 1, 1), 12);
    EXPECT_EQ(year.endDate(), day(2024, 12, 31));
    EXPECT_EQ(year.days(), 366);
    const Budget acrossYears = newBudget(day(2023, 11, 15), 3);
    EXPECT_EQ(acrossYears.endDate(), day(2024, 2, 14));
}

TEST_F(BudgetTest, DaysLeftAndStartAndEndCountBothEndsOfThePeriod) {
    const Budget budget = newBudget(day(2024, 4, 1), 1);
    EXPECT_EQ(budget.daysLeft(day(2024, 4, 1)), 30);
    EXPECT_EQ(budget.daysLeft(day(2024, 4, 30)), 1);
    EXPECT_EQ(budget.daysLeft(day(2024, 5, 2)), -1);

    EXPECT_FALSE(budget.hasStarted(day(2024, 3, 31)));
    EXPECT_TRUE(budget.hasStarted(day(2024, 4, 1)));
    EXPECT_TRUE(budget.hasStarted(day(2024, 6, 1)));
    EXPECT_FALSE(budget.hasEnded(day(2024, 4, 30)));
    EXPECT_TRUE(budget.hasEnded(day(2024, 5, 1)));
    EXPECT_FALSE(budget.hasEnded(day(2024, 3, 1)));
}

TEST_F(BudgetTest, TodayPercentageIsTheFractionOfTheStartToEndSpanAndIsNotClamped) {
    const Budget budget = newBudget(day(2024, 4, 1), 1);
    // 29 days lie between the first and the last day.
    EXPECT_DOUBLE_EQ(budget.todayPercentage(day(2024, 4, 1)), 0.0);
    EXPECT_DOUBLE_EQ(budget.todayPercentage(day(2024, 4, 15)), 14.0 / 29.0);
    EXPECT_DOUBLE_EQ(budget.todayPercentage(day(2024, 4, 30)), 1.0);
    EXPECT_DOUBLE_EQ(budget.todayPercentage(day(2024, 5, 30)), 59.0 / 29.0);
    EXPECT_DOUBLE_EQ(budget.todayPercentage(day(2024, 3, 31)), -1.0 / 29.0);
}

TEST_F(BudgetTest, MissingMonthsReadAsOneAndAMissingStartIsAnInternalError) {
    Budget budget = newBudget(day(2024, 4, 1), 1);
    budget.setMonths(std::nullopt);
    EXPECT_EQ(budget.endDate(), day(2024, 4, 30));
    budget.setStartDate(std::nullopt);
    EXPECT_THROW(budget.endDate(), InternalError);
    EXPECT_THROW(budget.days(), InternalError);
}

TEST_F(BudgetTest, LimitTotalsSplitAtZeroWithZeroOnTheExpenseSide) {
    const Budget budget = newBudget(day(2024, 4, 1), 1);
    EXPECT_EQ(budget.expenseLimitTotal(), amount("0"));
    EXPECT_EQ(budget.incomeLimitTotal(), amount("0"));
    newLimit(budget, "-100");
    newLimit(budget, "-250");
    newLimit(budget, "0");
    newLimit(budget, "3000");
    newLimit(budget, "1");
    CategoryLimit withoutAmount = newLimit(budget, "0");
    withoutAmount.setAmount(std::nullopt);
    newLimit(newBudget(day(2024, 4, 1), 1), "-999");
    EXPECT_EQ(budget.expenseLimitTotal(), amount("-350"));
    EXPECT_EQ(budget.incomeLimitTotal(), amount("3001"));
}

TEST_F(BudgetTest, LimitForCategoryIsThisBudgetsLimitOfThatCategory) {
    const Budget budget = newBudget(day(2024, 4, 1), 1);
    const Budget other = newBudget(day(2024, 4, 1), 1);
    const CategoryLimit mine = newLimit(budget);
    CategoryLimit theirs = CategoryLimit::insertInContext(context);
    theirs.setBudget(other);
    theirs.setCategory(mine.category());
    EXPECT_EQ(budget.limitForCategory(mine.category()), mine);
    EXPECT_EQ(other.limitForCategory(mine.category()), theirs);
    EXPECT_FALSE(budget.limitForCategory(context.insert(u"Category")));
    EXPECT_FALSE(budget.limitForCategory(nullptr));
}

} // namespace
