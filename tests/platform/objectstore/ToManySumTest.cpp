#include "ContextTestModel.h"
#include "platform/InternalError.h"
#include "platform/objectstore/SqliteStore.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vantrel::objectstore {
namespace {

using namespace testing;

// Flagged and not matched to a bank record (no fitID): the test model's stand-in for a pending
// transaction, so that the filter reads attributes other than the summed one.
bool isPending(const ManagedObject& transaction) {
    const Value flagged = transaction.value(u"isFlagged");
    return std::holds_alternative<bool>(flagged) && std::get<bool>(flagged) &&
           isAbsent(transaction.value(u"fitID"));
}

void registerSums(Context& context) {
    context.registerToManySum(u"Account", u"transactions", "all", u"amount", {});
    context.registerToManySum(u"Account", u"transactions", "pending", u"amount", &isPending);
}

// Both sums of an owner, scale left out, so a failure shows the numbers.
QString sums(const Context& context, ManagedObject* owner) {
    return QStringLiteral("all=%1 pending=%2")
        .arg(context.toManySum(*owner, u"transactions", u"all").normalized().toString(),
             context.toManySum(*owner, u"transactions", u"pending").normalized().toString());
}

ManagedObject* addAccount(Context& context, const char* name) {
    ManagedObject* account = context.insert(u"Account");
    account->setValue(u"name", QString(name));
    return account;
}

ManagedObject* addTransaction(Context& context, ManagedObject* account, const char* value, bool flagged) {
    ManagedObject* transaction = context.insert(u"Transaction");
    if (value) {
        transaction->setValue(u"amount", amount(value));
    }
    transaction->setValue(u"isFlagged", flagged);
    transaction->setToOne(u"account", account);
    return transaction;
}

// Every test reads the sums before the change it makes, so the cached value is what is checked.
class ToManySumTest : public ::testing::Test {
protected:
    std::shared_ptr<MemoryStore> store = makeStore();
    Context context{store};
    ManagedObject* checking = addAccount(context, "Checking");
    ManagedObject* savings = addAccount(context, "Savings");
    ManagedObject* rent = nullptr;
    ManagedObject* coffee = nullptr;

    void SetUp() override {
        registerSums(context);
        rent = addTransaction(context, checking, "-100.00", false);
        coffee = addTransaction(context, checking, "-4.50", true);
        addTransaction(context, savings, "250", false);
        ASSERT_TRUE(context.save().succeeded());
    }

    QString sumsOf(ManagedObject* owner) const { return sums(context, owner); }
    void undo() { context.undoManager().undo(); }
    void redo() { context.undoManager().redo(); }
};

TEST_F(ToManySumTest, CountsPresentAmountsOfMembersThatPassTheFilter) {
    addTransaction(context, checking, nullptr, true); // no amount: counts as nothing
    EXPECT_EQ(sumsOf(checking), "all=-104.5 pending=-4.5");
    EXPECT_EQ(sumsOf(savings), "all=250 pending=0");
    EXPECT_EQ(sumsOf(addAccount(context, "Empty")), "all=0 pending=0");
}

TEST_F(ToManySumTest, RegistrationIsCheckedAndCanBeAskedAbout) {
    EXPECT_TRUE(context.hasToManySum(u"Account", u"transactions", u"all"));
    EXPECT_FALSE(context.hasToManySum(u"Account", u"transactions", u"cleared"));
    EXPECT_FALSE(context.hasOrdering(u"Account", u"transactions", u"all"));
    context.registerOrdering(
        u"Account", u"transactions", "byKey",
        [](const ManagedObject& a, const ManagedObject& b) { return a.id().key < b.id().key; });
    EXPECT_TRUE(context.hasOrdering(u"Account", u"transactions", u"byKey"));
    EXPECT_FALSE(context.hasToManySum(u"Account", u"transactions", u"byKey"));

    const auto registering = [this](const char* relationship, QString name, const char16_t* attribute) {
        context.registerToManySum(u"Account", QString(relationship), std::move(name), attribute, {});
    };
    EXPECT_THROW(registering("transactions", "all", u"amount"), platform::InternalError); // twice
    EXPECT_THROW(registering("transactions", "titles", u"title"), platform::InternalError);
    EXPECT_THROW(registering("transactions", "nothing", u"noSuchAttribute"), platform::InternalError);
    EXPECT_THROW(context.registerToManySum(u"Transaction", u"account", "one", u"amount", {}),
                 platform::InternalError);
    EXPECT_THROW(context.toManySum(*checking, u"transactions", u"cleared"), platform::InternalError);
    EXPECT_THROW(context.hasToManySum(u"Account", u"noSuchRelationship", u"all"), platform::InternalError);

    Context other(store);
    EXPECT_THROW(other.toManySum(*checking, u"transactions", u"all"), platform::InternalError);
}

TEST_F(ToManySumTest, InsertedMemberJoinsAndUndoRedoFollow) {
    EXPECT_EQ(sumsOf(checking), "all=-104.5 pending=-4.5");
    addTransaction(context, checking, "-20", true);
    EXPECT_EQ(sumsOf(checking), "all=-124.5 pending=-24.5");
    undo();
    EXPECT_EQ(sumsOf(checking), "all=-104.5 pending=-4.5");
    redo();
    EXPECT_EQ(sumsOf(checking), "all=-124.5 pending=-24.5");
}

TEST_F(ToManySumTest, AmountEditAndUndoRedoFollow) {
    EXPECT_EQ(sumsOf(checking), "all=-104.5 pending=-4.5");
    coffee->setValue(u"amount", amount("-5.25"));
    EXPECT_EQ(sumsOf(checking), "all=-105.25 pending=-5.25");
    coffee->setValue(u"amount", Value()); // cleared: counts as nothing
    EXPECT_EQ(sumsOf(checking), "all=-100 pending=0");
    undo();
    EXPECT_EQ(sumsOf(checking), "all=-105.25 pending=-5.25");
    undo();
    EXPECT_EQ(sumsOf(checking), "all=-104.5 pending=-4.5");
    redo();
    EXPECT_EQ(sumsOf(checking), "all=-105.25 pending=-5.25");
}

TEST_F(ToManySumTest, EditsOfAttributesTheFilterReadsAndUndoRedoFollow) {
    EXPECT_EQ(sumsOf(checking), "all=-104.5 pending=-4.5");
    rent->setValue(u"isFlagged", true);
    EXPECT_EQ(sumsOf(checking), "all=-104.5 pending=-104.5");
    coffee->setValue(u"fitID", QStringLiteral("BANK-1")); // matched: no longer pending
    EXPECT_EQ(sumsOf(checking), "all=-104.5 pending=-100");
    undo();
    EXPECT_EQ(sumsOf(checking), "all=-104.5 pending=-104.5");
    undo();
    EXPECT_EQ(sumsOf(checking), "all=-104.5 pending=-4.5");
    redo();
    EXPECT_EQ(sumsOf(checking), "all=-104.5 pending=-104.5");
}

TEST_F(ToManySumTest, ReparentedMemberMovesBetweenOwnersAndBack) {
    EXPECT_EQ(sumsOf(checking), "all=-104.5 pending=-4.5");
    EXPECT_EQ(sumsOf(savings), "all=250 pending=0");
    coffee->setToOne(u"account", savings);
    EXPECT_EQ(sumsOf(checking), "all=-100 pending=0");
    EXPECT_EQ(sumsOf(savings), "all=245.5 pending=-4.5");
    savings->addToMany(u"transactions", rent); // the same move from the other end
    EXPECT_EQ(sumsOf(checking), "all=0 pending=0");
    EXPECT_EQ(sumsOf(savings), "all=145.5 pending=-4.5");
    undo();
    EXPECT_EQ(sumsOf(checking), "all=-100 pending=0");
    EXPECT_EQ(sumsOf(savings), "all=245.5 pending=-4.5");
    undo();
    EXPECT_EQ(sumsOf(checking), "all=-104.5 pending=-4.5");
    EXPECT_EQ(sumsOf(savings), "all=250 pending=0");
    redo();
    EXPECT_EQ(sumsOf(checking), "all=-100 pending=0");
    EXPECT_EQ(sumsOf(savings), "all=245.5 pending=-4.5");
}

TEST_F(ToManySumTest, DeletedMemberLeavesAndUndoRedoFollow) {
    EXPECT_EQ(sumsOf(checking), "all=-104.5 pending=-4.5");
    context.deleteObject(coffee);
    EXPECT_EQ(sumsOf(checking), "all=-100 pending=0");
    undo();
    EXPECT_EQ(sumsOf(checking), "all=-104.5 pending=-4.5");
    redo();
    EXPECT_EQ(sumsOf(checking), "all=-100 pending=0");
    ASSERT_TRUE(context.save().succeeded());
    undo(); // the deletion was saved: the transaction comes back as a new object
    EXPECT_EQ(sumsOf(checking), "all=-104.5 pending=-4.5");
}

TEST_F(ToManySumTest, DeletedOwnerHasNoSumAndComesBackWithItsMembers) {
    EXPECT_EQ(sumsOf(checking), "all=-104.5 pending=-4.5");
    context.deleteObject(checking); // cascades to its transactions
    EXPECT_THROW(context.toManySum(*checking, u"transactions", u"all"), platform::InternalError);
    undo();
    EXPECT_EQ(sumsOf(checking), "all=-104.5 pending=-4.5");
}

TEST_F(ToManySumTest, RollbackRestoresTheSavedSums) {
    ManagedObject* gas = addTransaction(context, savings, "-40", true);
    ASSERT_TRUE(context.save().succeeded());
    EXPECT_EQ(sumsOf(checking), "all=-104.5 pending=-4.5");
    EXPECT_EQ(sumsOf(savings), "all=210 pending=-40");

    rent->setValue(u"amount", amount("-90"));
    coffee->setValue(u"isFlagged", false);
    gas->setToOne(u"account", checking);
    addTransaction(context, savings, "1000", true);
    EXPECT_EQ(sumsOf(checking), "all=-134.5 pending=-40");
    EXPECT_EQ(sumsOf(savings), "all=1250 pending=1000");
    context.rollback();
    EXPECT_EQ(sumsOf(checking), "all=-104.5 pending=-4.5");
    EXPECT_EQ(sumsOf(savings), "all=210 pending=-40");

    context.deleteObject(coffee);
    context.deleteObject(savings);
    EXPECT_EQ(sumsOf(checking), "all=-100 pending=0");
    context.rollback();
    EXPECT_EQ(sumsOf(checking), "all=-104.5 pending=-4.5");
    EXPECT_EQ(sumsOf(savings), "all=210 pending=-40");
}

TEST_F(ToManySumTest, FilterThatThrowsFailsTheSumNotTheEdit) {
    context.registerToManySum(u"Account", u"transactions", "fragile", u"amount",
                              [](const ManagedObject& transaction) {
                                  if (transaction.value(u"title") == Value(QString("boom"))) {
                                      throw std::runtime_error("unreadable");
                                  }
                                  return true;
                              });
    const auto fragile = [this] { return context.toManySum(*checking, u"transactions", u"fragile"); };
    EXPECT_EQ(fragile(), amount("-104.5"));
    EXPECT_NO_THROW(rent->setValue(u"title", QStringLiteral("boom")));
    EXPECT_THROW(fragile(), std::runtime_error);
    coffee->setValue(u"amount", amount("-5"));
    rent->setValue(u"title", QStringLiteral("Rent"));
    EXPECT_EQ(fragile(), amount("-105"));
}

// A main context merges what a background context saves to the same store.
class ToManySumMergeTest : public ::testing::TestWithParam<bool> {
protected:
    QTemporaryDir directory;
    ModelDescription model = contextTestModel(); // the SQLite store refers to it
    std::shared_ptr<PersistentStore> store =
        GetParam()
            ? std::shared_ptr<PersistentStore>(SqliteStore::open(directory.filePath("sums.vantrel"), model))
            : std::shared_ptr<PersistentStore>(makeStore());
};

TEST_P(ToManySumMergeTest, MergedChangesReachTheSums) {
    ObjectID checkingID;
    ObjectID savingsID;
    ObjectID rentID;
    ObjectID coffeeID;
    {
        Context seed(store);
        ManagedObject* checking = addAccount(seed, "Checking");
        ManagedObject* savings = addAccount(seed, "Savings");
        rentID = addTransaction(seed, checking, "-100", false)->id();
        coffeeID = addTransaction(seed, checking, "-4.50", true)->id();
        addTransaction(seed, savings, "250", false);
        ASSERT_TRUE(seed.save().succeeded());
        checkingID = checking->id();
        savingsID = savings->id();
    }
    Context main(store);
    Context background(store);
    registerSums(main);
    background.addSaveObserver([&main](const ChangeSet& changes) { main.mergeChanges(changes); });
    ManagedObject* checking = main.object(checkingID);
    ManagedObject* savings = main.object(savingsID);
    const auto check = [&](const char* checkingSums, const char* savingsSums) {
        EXPECT_EQ(sums(main, checking), checkingSums);
        EXPECT_EQ(sums(main, savings), savingsSums);
    };
    const auto saveBackground = [&] { ASSERT_TRUE(background.save().succeeded()); };
    check("all=-104.5 pending=-4.5", "all=250 pending=0");

    background.object(rentID)->setValue(u"amount", amount("-90"));
    saveBackground();
    check("all=-94.5 pending=-4.5", "all=250 pending=0");

    background.object(rentID)->setValue(u"isFlagged", true);
    saveBackground();
    check("all=-94.5 pending=-94.5", "all=250 pending=0");

    addTransaction(background, background.object(savingsID), "-30", true);
    saveBackground();
    check("all=-94.5 pending=-94.5", "all=220 pending=-30");

    background.object(coffeeID)->setToOne(u"account", background.object(savingsID));
    saveBackground();
    check("all=-90 pending=-90", "all=215.5 pending=-34.5");

    background.deleteObject(background.object(rentID));
    saveBackground();
    check("all=0 pending=0", "all=215.5 pending=-34.5");
    EXPECT_FALSE(main.hasChanges());
}

TEST_P(ToManySumMergeTest, UnsavedEditKeepsCountingOverAMergedOne) {
    ObjectID accountID;
    ObjectID rentID;
    {
        Context seed(store);
        ManagedObject* account = addAccount(seed, "Checking");
        rentID = addTransaction(seed, account, "-100", false)->id();
        addTransaction(seed, account, "-5", false);
        ASSERT_TRUE(seed.save().succeeded());
        accountID = account->id();
    }
    Context main(store);
    Context background(store);
    registerSums(main);
    ManagedObject* account = main.object(accountID);
    main.object(rentID)->setValue(u"amount", amount("-80"));
    EXPECT_EQ(sums(main, account), "all=-85 pending=0");

    ManagedObject* theirs = background.object(rentID);
    theirs->setValue(u"amount", amount("-120"));
    theirs->setValue(u"isFlagged", true);
    main.mergeChanges(background.save().changes);
    EXPECT_EQ(sums(main, account), "all=-85 pending=-80");
    main.rollback(); // back to the merged saved values
    EXPECT_EQ(sums(main, account), "all=-125 pending=-120");
}

INSTANTIATE_TEST_SUITE_P(Stores, ToManySumMergeTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? std::string("Sqlite") : std::string("Memory");
                         });

} // namespace
} // namespace vantrel::objectstore
