#include "app/BudgetDeletion.h"

#include "AppWorkspaceFixture.h"
#include "model/Budget.h"
#include "model/CategoryLimit.h"

using namespace vantrel;
using testsupport::utf8;

namespace {

class BudgetDeletionTest : public testsupport::AppWorkspaceFixture {};

TEST_F(BudgetDeletionTest, AsksAndDeletesTheBudgetWithItsLimitsOnly) {
    model::Budget budget = model::Budget::insertInContext(context);
    budget.setName(QStringLiteral("March"));
    budget.setStartDate(testsupport::day(2024, 3, 1));
    budget.setMonths(1);
    model::CategoryLimit limit = model::CategoryLimit::insertInContext(context);
    limit.setBudget(budget);
    objectstore::ManagedObject* food = newCategory(QStringLiteral("Food"));
    limit.setCategory(food);
    limit.setAmount(testsupport::amount("-100"));
    context.save();

    alerts.answer(QStringLiteral("Cancel"));
    EXPECT_FALSE(app::BudgetDeletion(workspace).run(budget));
    ASSERT_EQ(alerts.shown().size(), 1u);
    EXPECT_EQ(utf8(alerts.shown()[0].message), "Are you sure you want to delete the budget \"March\"?");
    EXPECT_EQ(context.count(u"Budget"), 1u);

    alerts.answer(QStringLiteral("Delete"));
    EXPECT_TRUE(app::BudgetDeletion(workspace).run(budget));
    EXPECT_EQ(context.count(u"Budget"), 0u);
    EXPECT_EQ(context.count(u"CategoryLimit"), 0u);
    EXPECT_FALSE(food->isDeleted());
    EXPECT_FALSE(context.hasChanges());
}

} // namespace
