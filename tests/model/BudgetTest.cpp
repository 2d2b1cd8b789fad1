#include "model/Budget.h"

#include "model/CategoryLimit.h"
#include "model/DataModel.h"
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
using vantrel::objectstore::Context;
using vantrel::objectstore::MemoryStore;
using vantrel::testsupport::amount;

namespace {

class BudgetTest : public ::testing::Test {
protected:
    CategoryLimit newLimit(const Budget& budget) {
        CategoryLimit limit = CategoryLimit::insertInContext(context);
        limit.setBudget(budget);
        limit.setCategory(context.insert(u"Category"));
        limit.setAmount(amount("-100"));
        return limit;
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

} // namespace
