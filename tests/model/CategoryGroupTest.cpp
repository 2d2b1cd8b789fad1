#include "model/CategoryGroup.h"

#include "model/DataModel.h"
#include "platform/objectstore/Context.h"
#include "platform/objectstore/MemoryStore.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

using ::testing::UnorderedElementsAre;
using vantrel::model::CategoryGroup;
using vantrel::model::DataModel;
using vantrel::objectstore::Context;
using vantrel::objectstore::ManagedObject;
using vantrel::objectstore::MemoryStore;

namespace {

class CategoryGroupTest : public ::testing::Test {
protected:
    ManagedObject* newCategory(const CategoryGroup& group) {
        ManagedObject* category = context.insert(u"Category");
        category->setToOne(u"group", group.object());
        return category;
    }

    std::shared_ptr<MemoryStore> store = std::make_shared<MemoryStore>(DataModel::description());
    Context context{store};
};

TEST_F(CategoryGroupTest, ListsTheCategoriesInTheGroup) {
    const CategoryGroup food = CategoryGroup::insertInContext(context);
    const CategoryGroup home = CategoryGroup::insertInContext(context);
    ManagedObject* groceries = newCategory(food);
    ManagedObject* restaurants = newCategory(food);
    ManagedObject* rent = newCategory(home);
    context.insert(u"Category");

    EXPECT_THAT(food.categories(), UnorderedElementsAre(groceries, restaurants));
    EXPECT_THAT(home.categories(), UnorderedElementsAre(rent));
    EXPECT_NE(food.cloudID(), home.cloudID());
}

TEST_F(CategoryGroupTest, DeletingAGroupKeepsItsCategories) {
    const CategoryGroup group = CategoryGroup::insertInContext(context);
    ManagedObject* category = newCategory(group);
    context.deleteObject(group.object());
    EXPECT_FALSE(category->isDeleted());
    EXPECT_EQ(category->toOne(u"group"), nullptr);
}

} // namespace
