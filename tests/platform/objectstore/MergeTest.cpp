#include "ContextTestModel.h"

#include <gtest/gtest.h>

namespace vantrel::objectstore {
namespace {

using namespace testing;

// A main context and a background context on one store; the main one merges what the other saves.
class MergeTest : public ::testing::Test {
protected:
    std::shared_ptr<MemoryStore> store = makeStore();
    ObjectID accountID;
    ObjectID transactionID;

    void SetUp() override {
        Context seed(store);
        ManagedObject* a = seed.insert(u"Account");
        a->setValue(u"name", QStringLiteral("Checking"));
        ManagedObject* t = seed.insert(u"Transaction");
        t->setValue(u"title", QStringLiteral("Rent"));
        t->setValue(u"amount", amount("-100"));
        t->setToOne(u"account", a);
        ASSERT_TRUE(seed.save().succeeded());
        accountID = a->id();
        transactionID = t->id();
    }
};

TEST_F(MergeTest, BackgroundInsertsAppearInMainWithTheirRelationships) {
    Context main(store);
    Context background(store);
    main.addSaveObserver([](const ChangeSet&) { FAIL() << "merging is not saving"; });
    background.addSaveObserver([&main](const ChangeSet& changes) { main.mergeChanges(changes); });
    main.registerOrdering(u"Account", u"transactions", "byTitle",
                          [](const ManagedObject& a, const ManagedObject& b) {
                              return compareValues(a.value(u"title"), b.value(u"title")) < 0;
                          });
    ManagedObject* account = main.object(accountID);
    const auto& ordered = main.orderedToMany(*account, u"transactions", u"byTitle");
    main.lookup(u"Transaction", u"fitID", QString("x")); // build the index before the merge

    for (const char* title : {"Gas", "Auto"}) {
        ManagedObject* t = background.insert(u"Transaction");
        t->setValue(u"title", QString(title));
        t->setValue(u"fitID", QString(title));
        t->setToOne(u"account", background.object(accountID));
        ManagedObject* set = background.insert(u"SplitSet");
        set->setToOne(u"transaction", t);
        ASSERT_TRUE(background.save().succeeded());
    }

    EXPECT_EQ(snapshot(main), snapshot(background));
    EXPECT_EQ(titles(ordered), (QStringList{"Auto", "Gas", "Rent"}));
    EXPECT_EQ(main.lookup(u"Transaction", u"fitID", QString("Gas")).size(), 1u);
    EXPECT_FALSE(main.hasChanges());
    EXPECT_FALSE(main.undoManager().canUndo());

    main.mergeChanges(ChangeSet{{*store->find(transactionID)}, {}, {}}); // known already: skipped
    EXPECT_EQ(main.count(u"Transaction"), 3u);
}

TEST_F(MergeTest, UnsavedEditWinsWhileOtherPropertiesUpdate) {
    Context main(store);
    Context background(store);
    ManagedObject* t = main.object(transactionID);
    t->setValue(u"title", QStringLiteral("Rent (mine)"));

    ManagedObject* other = background.object(transactionID);
    other->setValue(u"title", QStringLiteral("Rent (theirs)"));
    other->setValue(u"amount", amount("-120"));
    const auto changes = background.save().changes;
    main.mergeChanges(changes);

    EXPECT_EQ(t->value(u"title"), Value(QString("Rent (mine)")));
    EXPECT_EQ(t->value(u"amount"), Value(amount("-120")));
    EXPECT_EQ(t->committedValue(u"title"), Value(QString("Rent (theirs)")));
    EXPECT_EQ(t->changedProperties(), std::vector<QString>{"title"});

    // Saving main now writes its own title over theirs, and nothing else.
    const auto result = main.save();
    ASSERT_TRUE(result.succeeded());
    ASSERT_EQ(result.changes.updated.size(), 1u);
    EXPECT_EQ(result.changes.updated[0].attributes.size(), 1u);
    EXPECT_TRUE(sameValue(store->find(transactionID)->attributes[2], amount("-120")));
}

TEST_F(MergeTest, AnEditThatMatchesTheMergedValueIsNoLongerAChange) {
    Context main(store);
    Context background(store);
    main.object(transactionID)->setValue(u"title", QStringLiteral("Same"));
    background.object(transactionID)->setValue(u"title", QStringLiteral("Same"));
    main.mergeChanges(background.save().changes);
    EXPECT_FALSE(main.hasChanges());
}

TEST_F(MergeTest, RelationshipMovesAndDeletesKeepInversesConsistent) {
    Context main(store);
    Context background(store);
    ManagedObject* savings = background.insert(u"Account");
    savings->setValue(u"name", QStringLiteral("Savings"));
    background.object(transactionID)->setToOne(u"account", savings);
    main.mergeChanges(background.save().changes);

    ManagedObject* t = main.object(transactionID);
    ManagedObject* mainSavings = main.object(savings->id());
    ASSERT_NE(mainSavings, nullptr);
    EXPECT_EQ(t->toOne(u"account"), mainSavings);
    EXPECT_TRUE(main.object(accountID)->toMany(u"transactions").empty());
    EXPECT_EQ(mainSavings->toMany(u"transactions"), std::vector<ManagedObject*>{t});

    background.deleteObject(savings); // cascades to the transaction
    main.mergeChanges(background.save().changes);
    EXPECT_EQ(main.object(transactionID), nullptr);
    EXPECT_EQ(main.count(u"Account"), 1u);
    EXPECT_FALSE(main.hasChanges());
    EXPECT_EQ(snapshot(main), snapshot(background));
}

TEST_F(MergeTest, MergedDeleteOfAnObjectWithUnsavedEditsRemovesIt) {
    Context main(store);
    Context background(store);
    ManagedObject* t = main.object(transactionID);
    t->setValue(u"title", QStringLiteral("edited"));
    background.deleteObject(background.object(transactionID));
    main.mergeChanges(background.save().changes);
    EXPECT_EQ(main.object(transactionID), nullptr);
    EXPECT_TRUE(main.object(accountID)->toMany(u"transactions").empty());
    EXPECT_FALSE(main.hasChanges());
    EXPECT_TRUE(main.save().succeeded());
}

} // namespace
} // namespace vantrel::objectstore
