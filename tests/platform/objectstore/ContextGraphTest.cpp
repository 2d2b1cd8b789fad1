#include "ContextTestModel.h"
#include "platform/InternalError.h"

#include <gtest/gtest.h>

namespace vantrel::objectstore {
namespace {

using namespace testing;
using platform::InternalError;

class ContextGraphTest : public ::testing::Test {
protected:
    std::shared_ptr<MemoryStore> store = makeStore();
    Context context{store};

    ManagedObject* account(const QString& name) {
        ManagedObject* object = context.insert(u"Account");
        object->setValue(u"name", name);
        return object;
    }
    ManagedObject* transaction(ManagedObject* owner, const QString& title) {
        ManagedObject* object = context.insert(u"Transaction");
        object->setValue(u"title", title);
        object->setToOne(u"account", owner);
        return object;
    }
};

TEST_F(ContextGraphTest, MovingAMemberUpdatesOldAndNewOwner) {
    ManagedObject* checking = account("Checking");
    ManagedObject* savings = account("Savings");
    ManagedObject* t = transaction(checking, "Rent");
    EXPECT_EQ(checking->toMany(u"transactions"), std::vector<ManagedObject*>{t});

    t->setToOne(u"account", savings);
    EXPECT_TRUE(checking->toMany(u"transactions").empty());
    EXPECT_EQ(savings->toMany(u"transactions"), std::vector<ManagedObject*>{t});

    checking->addToMany(u"transactions", t);
    EXPECT_EQ(t->toOne(u"account"), checking);
    EXPECT_TRUE(savings->toMany(u"transactions").empty());

    savings->removeFromMany(u"transactions", t); // not a member there: no effect
    EXPECT_EQ(t->toOne(u"account"), checking);
    checking->removeFromMany(u"transactions", t);
    EXPECT_EQ(t->toOne(u"account"), nullptr);
    EXPECT_TRUE(checking->toMany(u"transactions").empty());
}

TEST_F(ContextGraphTest, OneToOneUnsetsThePreviousPartnersOfBothEnds) {
    ManagedObject* a = transaction(account("A"), "a");
    ManagedObject* b = transaction(a->toOne(u"account"), "b");
    ManagedObject* first = context.insert(u"SplitSet");
    ManagedObject* second = context.insert(u"SplitSet");

    a->setToOne(u"splitSet", first);
    EXPECT_EQ(first->toOne(u"transaction"), a);

    b->setToOne(u"splitSet", first); // first leaves a
    EXPECT_EQ(a->toOne(u"splitSet"), nullptr);
    EXPECT_EQ(first->toOne(u"transaction"), b);

    second->setToOne(u"transaction", b); // from the other end: b leaves first
    EXPECT_EQ(b->toOne(u"splitSet"), second);
    EXPECT_EQ(first->toOne(u"transaction"), nullptr);

    b->setToOne(u"splitSet", nullptr);
    EXPECT_EQ(second->toOne(u"transaction"), nullptr);
}

TEST_F(ContextGraphTest, RelationshipMisuseIsAnInternalError) {
    ManagedObject* a = account("A");
    ManagedObject* t = transaction(a, "t");
    EXPECT_THROW(t->setToOne(u"category", a), InternalError);                 // wrong entity
    EXPECT_THROW(a->setToOne(u"transactions", t), InternalError);             // a to-many
    EXPECT_THROW(t->setValue(u"amount", QStringLiteral("1")), InternalError); // wrong type
    EXPECT_THROW(t->setValue(u"nope", Value()), InternalError);
    Context other(store);
    EXPECT_THROW(t->setToOne(u"account", other.insert(u"Account")), InternalError);
}

TEST_F(ContextGraphTest, CascadeDeletesTheWholeChain) {
    ManagedObject* a = account("A");
    ManagedObject* t = transaction(a, "t");
    ManagedObject* set = context.insert(u"SplitSet");
    t->setToOne(u"splitSet", set);
    ManagedObject* split = context.insert(u"Split");
    split->setToOne(u"splitSet", set);
    split->setValue(u"amount", amount("5"));
    ManagedObject* keep = account("B");
    ASSERT_TRUE(context.save().succeeded());
    const ObjectID splitID = split->id();

    context.deleteObject(a);
    EXPECT_EQ(context.count(u"Account"), 1u);
    EXPECT_EQ(context.count(u"Transaction"), 0u);
    EXPECT_EQ(context.count(u"SplitSet"), 0u);
    EXPECT_EQ(context.count(u"Split"), 0u);
    EXPECT_TRUE(split->isDeleted());
    EXPECT_EQ(context.object(splitID), nullptr);
    EXPECT_EQ(context.deletedObjects().size(), 4u);

    const auto result = context.save();
    ASSERT_TRUE(result.succeeded());
    EXPECT_EQ(result.changes.deleted.size(), 4u);
    EXPECT_EQ(store->count(0), 1u);
    EXPECT_EQ(store->count(3), 0u);
    EXPECT_EQ(context.all(u"Account"), std::vector<ManagedObject*>{keep});
}

TEST_F(ContextGraphTest, NullifyClearsTheOtherEnds) {
    ManagedObject* group = context.insert(u"CategoryGroup");
    ManagedObject* food = context.insert(u"Category");
    ManagedObject* fuel = context.insert(u"Category");
    food->setToOne(u"group", group);
    fuel->setToOne(u"group", group);
    ManagedObject* t = transaction(account("A"), "t");
    t->setToOne(u"template", food); // no inverse: must not dangle once food is gone

    context.deleteObject(group);
    EXPECT_EQ(food->toOne(u"group"), nullptr);
    EXPECT_EQ(fuel->toOne(u"group"), nullptr);
    EXPECT_FALSE(food->isDeleted());

    context.deleteObject(food);
    EXPECT_EQ(t->toOne(u"template"), nullptr);
}

TEST_F(ContextGraphTest, DenyRefusesAndChangesNothing) {
    ManagedObject* food = context.insert(u"Category");
    ManagedObject* a = account("A");
    ManagedObject* t = transaction(a, "t");
    t->setToOne(u"category", food);
    const auto before = snapshot(context);

    EXPECT_FALSE(context.canDelete(food));
    EXPECT_THROW(context.deleteObject(food), InternalError);
    EXPECT_EQ(snapshot(context), before);

    // Deleting the account cascades to the transaction; the category is untouched but loses it.
    context.deleteObject(a);
    EXPECT_TRUE(food->toMany(u"transactions").empty());
    EXPECT_TRUE(context.canDelete(food));
}

TEST_F(ContextGraphTest, DenyCountsOnlyObjectsOutsideTheCascade) {
    // A cascade that deletes every member of a Deny relationship with it is allowed.
    ManagedObject* set = context.insert(u"SplitSet");
    ManagedObject* t = transaction(account("A"), "t");
    t->setToOne(u"splitSet", set);
    ManagedObject* food = context.insert(u"Category");
    t->setToOne(u"category", food);
    EXPECT_TRUE(context.canDelete(t->toOne(u"account")));
    EXPECT_FALSE(context.canDelete(food));
}

TEST_F(ContextGraphTest, ChangeTrackingEdgeCases) {
    ManagedObject* a = account("A");
    ASSERT_TRUE(context.save().succeeded());
    EXPECT_FALSE(context.hasChanges());

    a->setValue(u"name", QStringLiteral("A")); // the same value
    EXPECT_FALSE(a->hasChanges());
    EXPECT_FALSE(context.hasChanges());

    a->setValue(u"startBalance", amount("1.50"));
    a->setValue(u"startBalance", amount("1.5")); // numerically the same
    EXPECT_TRUE(a->isUpdated());
    EXPECT_EQ(a->changedProperties(), std::vector<QString>{"startBalance"});
    EXPECT_TRUE(isAbsent(a->committedValue(u"startBalance")));

    a->setValue(u"startBalance", Value()); // back to the saved value
    EXPECT_FALSE(a->isUpdated());
    EXPECT_FALSE(context.hasChanges());

    ManagedObject* t = transaction(a, "gone");
    EXPECT_TRUE(a->toMany(u"transactions").size() == 1);
    context.deleteObject(t);
    EXPECT_FALSE(t->isInserted());
    EXPECT_FALSE(context.hasChanges()); // inserted then deleted is nothing
    const int applies = store->applyCount();
    const auto result = context.save();
    EXPECT_TRUE(result.succeeded());
    EXPECT_TRUE(result.changes.isEmpty());
    EXPECT_EQ(store->applyCount(), applies);
}

TEST_F(ContextGraphTest, DeletedObjectsCannotBeEdited) {
    ManagedObject* a = account("A");
    context.deleteObject(a);
    EXPECT_THROW(a->setValue(u"name", QStringLiteral("B")), InternalError);
    EXPECT_THROW(context.deleteObject(a), InternalError);
}

TEST_F(ContextGraphTest, ReloadingTheStoreRebuildsTheSameGraph) {
    ManagedObject* a = account("A");
    ManagedObject* t = transaction(a, "t");
    t->setValue(u"date", day(2024, 3, 1));
    t->setValue(u"amount", amount("-12.34"));
    t->setValue(u"checkNumber", std::int64_t{101});
    t->setValue(u"isFlagged", true);
    ManagedObject* set = context.insert(u"SplitSet");
    t->setToOne(u"splitSet", set);
    ManagedObject* food = context.insert(u"Category");
    food->setValue(u"name", QStringLiteral("Food"));
    t->setToOne(u"template", food);
    ASSERT_TRUE(context.save().succeeded());

    Context reloaded(store);
    EXPECT_EQ(snapshot(reloaded), snapshot(context));
    EXPECT_EQ(reloaded.object(t->id())->toOne(u"splitSet")->toOne(u"transaction")->id(), t->id());
}

} // namespace
} // namespace vantrel::objectstore
