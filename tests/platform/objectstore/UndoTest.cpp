#include "ContextTestModel.h"
#include "platform/InternalError.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace vantrel::objectstore {
namespace {

using namespace testing;

class UndoTest : public ::testing::Test {
protected:
    std::shared_ptr<MemoryStore> store = makeStore();
    Context context{store};
    UndoManager& undo = context.undoManager();
    ManagedObject* checking = nullptr;
    ManagedObject* savings = nullptr;
    ManagedObject* rent = nullptr;
    ManagedObject* food = nullptr;

    // A saved graph with every kind of relationship in use.
    void SetUp() override {
        checking = account("Checking");
        savings = account("Savings");
        food = context.insert(u"Category");
        food->setValue(u"name", QStringLiteral("Food"));
        ManagedObject* group = context.insert(u"CategoryGroup");
        food->setToOne(u"group", group);
        rent = transaction(checking, "Rent");
        rent->setToOne(u"template", food);
        ManagedObject* set = context.insert(u"SplitSet");
        rent->setToOne(u"splitSet", set);
        for (const char* value : {"-60", "-40"}) {
            ManagedObject* split = context.insert(u"Split");
            split->setValue(u"amount", amount(value));
            split->setToOne(u"splitSet", set);
        }
        transaction(checking, "Lunch")->setToOne(u"category", food);
        ASSERT_TRUE(context.save().succeeded());
        undo.clear();
    }
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
    // Undo restores `before` exactly and redo restores `after`, twice over.
    void expectRoundTrip(const QStringList& before) {
        const auto after = snapshot(context);
        for (int round = 0; round < 2; ++round) {
            undo.undo();
            EXPECT_EQ(snapshot(context), before);
            undo.redo();
            EXPECT_EQ(snapshot(context), after);
        }
    }
};

TEST_F(UndoTest, CascadeDeleteIsRestoredWithEveryRelationship) {
    const auto before = snapshot(context);
    context.deleteObject(checking);
    EXPECT_EQ(context.count(u"Split"), 0u);
    EXPECT_TRUE(food->toMany(u"transactions").empty());
    expectRoundTrip(before);
    undo.undo();
    EXPECT_FALSE(context.hasChanges()); // back to exactly the saved state
}

TEST_F(UndoTest, UndoingASavedDeleteBringsTheObjectsBackAsNew) {
    const auto before = snapshot(context);
    context.deleteObject(checking);
    ASSERT_TRUE(context.save().succeeded());
    undo.undo();
    auto restored = snapshot(context);
    restored.replaceInStrings(" inserted", "");
    EXPECT_EQ(restored, before);
    // Checking, its two transactions, the split set and its two splits.
    EXPECT_EQ(context.insertedObjects().size(), 6u);
    ASSERT_TRUE(context.save().succeeded());
    EXPECT_EQ(snapshot(Context(store)), before);
}

TEST_F(UndoTest, RelationshipChangesRestoreBothSides) {
    const auto before = snapshot(context);
    rent->setToOne(u"account", savings);
    expectRoundTrip(before);

    const auto beforeMove = snapshot(context);
    ManagedObject* lunch = context.first(
        u"Transaction", [](const ManagedObject& t) { return t.value(u"title") == Value(QString("Lunch")); });
    lunch->setToOne(u"splitSet", rent->toOne(u"splitSet")); // takes rent's split set
    EXPECT_EQ(rent->toOne(u"splitSet"), nullptr);
    expectRoundTrip(beforeMove);
}

TEST_F(UndoTest, InsertOfAnUnsavedObjectIsUndoneEntirely) {
    const auto before = snapshot(context);
    undo.beginGroup();
    ManagedObject* t = transaction(savings, "New");
    t->setToOne(u"category", food);
    undo.endGroup();
    const ObjectID id = t->id();
    expectRoundTrip(before);
    undo.undo();
    EXPECT_EQ(context.object(id), nullptr);
    EXPECT_FALSE(context.hasChanges());
    EXPECT_TRUE(context.save().changes.isEmpty());
}

TEST_F(UndoTest, EachTopLevelCallIsAGroupAndNewChangesEndRedo) {
    rent->setValue(u"title", QStringLiteral("A"));
    rent->setValue(u"title", QStringLiteral("B"));
    undo.undo();
    EXPECT_EQ(rent->value(u"title"), Value(QString("A")));
    EXPECT_TRUE(undo.canRedo());
    rent->setValue(u"amount", amount("1"));
    EXPECT_FALSE(undo.canRedo());
    undo.undo();
    undo.undo();
    EXPECT_EQ(rent->value(u"title"), Value(QString("Rent")));
    EXPECT_FALSE(rent->isUpdated());
    EXPECT_FALSE(undo.canUndo());
}

TEST_F(UndoTest, DisabledAndMisusedStates) {
    undo.disable();
    rent->setValue(u"title", QStringLiteral("quiet"));
    undo.enable();
    EXPECT_FALSE(undo.canUndo());
    EXPECT_TRUE(rent->isUpdated());

    undo.beginGroup();
    rent->setValue(u"title", QStringLiteral("x"));
    EXPECT_THROW(undo.undo(), platform::InternalError);
    undo.endGroup();
    EXPECT_THROW(undo.endGroup(), platform::InternalError);
    EXPECT_THROW(undo.enable(), platform::InternalError);
}

} // namespace
} // namespace vantrel::objectstore

namespace vantrel::objectstore {
namespace {

// The desktop groups by event: what one click does is one undo step, and the next event starts a
// new one. Undo in the same event closes the open step first, so nothing is lost or split.
TEST_F(UndoTest, GroupingByEventMakesOneStepPerEventLoopPass) {
    undo.setGroupsByEvent(true);
    checking->setValue(u"name", QStringLiteral("Main"));
    transaction(checking, "Coffee");
    EXPECT_TRUE(undo.canUndo());
    QCoreApplication::processEvents();
    savings->setValue(u"name", QStringLiteral("Reserve"));
    QCoreApplication::processEvents();

    undo.undo();
    EXPECT_EQ(savings->value(u"name"), Value(QStringLiteral("Savings")));
    EXPECT_EQ(checking->value(u"name"), Value(QStringLiteral("Main")));
    undo.undo();
    EXPECT_EQ(checking->value(u"name"), Value(QStringLiteral("Checking")));
    EXPECT_EQ(context.count(u"Transaction"), 2);
    EXPECT_FALSE(undo.canUndo());

    // A change undone before the event loop ran is still a whole step.
    rent->setValue(u"title", QStringLiteral("Flat"));
    rent->setValue(u"title", QStringLiteral("House"));
    undo.undo();
    EXPECT_EQ(rent->value(u"title"), Value(QStringLiteral("Rent")));
    undo.redo();
    EXPECT_EQ(rent->value(u"title"), Value(QStringLiteral("House")));
}

} // namespace
} // namespace vantrel::objectstore
