#include "model/CategoryLimit.h"

#include "MoneyFixture.h"
#include "model/Budget.h"
#include "model/DataModel.h"
#include "platform/objectstore/Context.h"
#include "platform/objectstore/MemoryStore.h"
#include "support/ModelValues.h"

#include <gtest/gtest.h>

#include <memory>

using vantrel::model::Budget;
using vantrel::model::CategoryLimit;
using vantrel::model::DataModel;
using vantrel::objectstore::Context;
using vantrel::objectstore::MemoryStore;
using vantrel::objectstore::ValidationPhase;
using vantrel::testsupport::amount;
using vantrel::testsupport::day;

namespace {

class CategoryLimitTest : public ::testing::Test {
protected:
    CategoryLimit newLimit(const char* value) {
        CategoryLimit limit = CategoryLimit::insertInContext(context);
        limit.setBudget(budget);
        limit.setCategory(context.insert(u"Category"));
        limit.setAmount(amount(value));
        return limit;
    }

    std::shared_ptr<MemoryStore> store = std::make_shared<MemoryStore>(DataModel::description());
    Context context{store};
    Budget budget = Budget::insertInContext(context);
};

TEST_F(CategoryLimitTest, AmountWithCentsFailsAsAnInternalError) {
    for (const char* value : {"100.50", "-0.01", "7.000001"}) {
        const auto error = CategoryLimit::validate(*newLimit(value).object(), ValidationPhase::Insert);
        ASSERT_TRUE(error) << value;
        EXPECT_EQ(error->domain, QStringLiteral("org.vantrel.Vantrel.GeneralError"));
        EXPECT_EQ(error->code, 1);
        EXPECT_EQ(error->message, QStringLiteral("An internal error has occurred. (Code: 9FEF2)"));
        EXPECT_TRUE(error->detailedErrors.empty());
    }
}

TEST_F(CategoryLimitTest, WholeAmountsPass) {
    // 100.00 carries two places but is a whole number.
    for (const char* value : {"100", "-250", "0", "100.00", "1E3"}) {
        EXPECT_FALSE(CategoryLimit::validate(*newLimit(value).object(), ValidationPhase::Update)) << value;
    }
    CategoryLimit withoutAmount = newLimit("0");
    withoutAmount.setAmount(std::nullopt);
    EXPECT_FALSE(CategoryLimit::validate(*withoutAmount.object(), ValidationPhase::Insert));
}

TEST_F(CategoryLimitTest, ZeroAndBelowIsAnExpenseLimit) {
    EXPECT_TRUE(newLimit("0").isExpense());
    EXPECT_TRUE(newLimit("-40").isExpense());
    EXPECT_FALSE(newLimit("40").isExpense());
}

TEST_F(CategoryLimitTest, BudgetLinkIsTheBudgetsLimitList) {
    const CategoryLimit limit = newLimit("-40");
    ASSERT_TRUE(limit.budget());
    EXPECT_EQ(*limit.budget(), budget);
    ASSERT_EQ(budget.categoryLimits().size(), 1u);
    EXPECT_EQ(budget.categoryLimits().front(), limit);

    CategoryLimit moved = newLimit("-10");
    const Budget other = Budget::insertInContext(context);
    moved.setBudget(other);
    EXPECT_EQ(budget.categoryLimits().size(), 1u);
    ASSERT_EQ(other.categoryLimits().size(), 1u);
    EXPECT_EQ(other.categoryLimits().front(), moved);

    moved.setBudget(std::nullopt);
    EXPECT_FALSE(moved.budget());
    EXPECT_TRUE(other.categoryLimits().empty());
}

TEST_F(CategoryLimitTest, InsertGivesAFreshCloudID) {
    const CategoryLimit first = CategoryLimit::insertInContext(context);
    const CategoryLimit second = CategoryLimit::insertInContext(context);
    EXPECT_EQ(first.cloudID().size(), 36);
    EXPECT_NE(first.cloudID(), second.cloudID());
}

class CategoryLimitActualTest : public vantrel::testsupport::MoneyFixture {};

TEST_F(CategoryLimitActualTest, ActualIsTheCategoryAmountOverTheBudgetPeriodOrZero) {
    useDollarsAndEuros();
    vantrel::model::Account checking = newAccount(QStringLiteral("Checking"));
    checking.setCurrencyCode(QStringLiteral("USD"));
    vantrel::model::Account savings = newAccount(QStringLiteral("Savings"));
    savings.setCurrencyCode(QStringLiteral("EUR"));
    const vantrel::model::CategoryVT food = newCategory(QStringLiteral("Food"));
    Budget budget = Budget::insertInContext(context);
    budget.setStartDate(day(2023, 1, 31));
    budget.setMonths(1);
    CategoryLimit limit = CategoryLimit::insertInContext(context);
    limit.setBudget(budget);
    limit.setCategory(food.object());
    EXPECT_EQ(limit.actualAmount(), amount("0"));

    newTransaction(checking, "-10", day(2023, 1, 30), {}, food.object());
    newTransaction(checking, "-20", day(2023, 1, 31), {}, food.object());
    newTransaction(savings, "-45", day(2023, 2, 27), {}, food.object());
    newTransaction(checking, "-1000", day(2023, 2, 28), {}, food.object());
    // 31 January to 27 February; 45 euros are 50 dollars.
    EXPECT_EQ(limit.actualAmount(), amount("-70"));

    limit.setBudget(std::nullopt);
    EXPECT_EQ(limit.actualAmount(), amount("0"));
}

} // namespace
