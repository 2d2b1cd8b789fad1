#include "model/IntegrityCheck.h"

#include "model/Account.h"
#include "model/CategoryVT.h"
#include "model/DataModel.h"
#include "model/Global.h"
#include "model/ModelValidation.h"
#include "model/Split.h"
#include "model/SplitSet.h"
#include "model/Transaction.h"
#include "platform/Clock.h"
#include "platform/LogCapture.h"
#include "platform/objectstore/MemoryStore.h"
#include "support/ModelValues.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

using namespace vantrel::model;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;
using vantrel::objectstore::Context;
using vantrel::objectstore::ManagedObject;
using vantrel::objectstore::MemoryStore;
using vantrel::objectstore::ObjectID;
using vantrel::objectstore::ValidationPhase;
using vantrel::platform::FixedClock;
using vantrel::platform::LogCapture;
using vantrel::testsupport::amount;

namespace {

class IntegrityCheckTest : public ::testing::Test {
protected:
    IntegrityCheckTest()
        : clock(QDateTime(QDate(2026, 3, 4), QTime(12, 0), QTimeZone::utc()), QTimeZone::utc())
        , store(std::make_shared<MemoryStore>(DataModel::description())) {}

    // A context that checks the model's rules on save.
    std::unique_ptr<Context> validatingContext() {
        auto context = std::make_unique<Context>(store);
        ModelValidation::install(*context);
        return context;
    }

    Account newAccount(Context& context) {
        Global::sharedInstanceInContext(context).setHomeCurrencyCode(QStringLiteral("USD"));
        Account account = Account::insertInContext(context, clock);
        account.setType(QStringLiteral("checking"));
        account.setName(QStringLiteral("Checking"));
        return account;
    }

    Transaction newTransaction(Context& context, const Account& account, const char* value,
                               const char* sortKey) {
        Transaction transaction = Transaction::insertInContext(context, clock);
        transaction.setAccount(account.object());
        transaction.setAmount(amount(value));
        transaction.setSortKey(QString::fromLatin1(sortKey));
        return transaction;
    }

    void addSplits(Context& context, Transaction& transaction, std::initializer_list<const char*> values) {
        SplitSet set = SplitSet::insertInContext(context);
        transaction.replaceSplitSet(set.object());
        for (const char* value : values) {
            Split split = Split::insertInContext(context);
            split.setAmount(amount(value));
            split.setSplitSet(set.object());
        }
    }

    FixedClock clock;
    std::shared_ptr<MemoryStore> store;
};

TEST_F(IntegrityCheckTest, ReportsTheFirstInvalidObjectInModelOrder) {
    auto context = validatingContext();
    Account account = newAccount(*context);
    Transaction transaction = newTransaction(*context, account, "10.00", "T1");
    addSplits(*context, transaction, {"4.00", "6.00"});
    CategoryVT category = CategoryVT::insertInContext(*context);
    category.setName(QStringLiteral("Food"));
    ASSERT_TRUE(context->save().succeeded());

    LogCapture log;
    EXPECT_TRUE(IntegrityCheck::allManagedObjectsAreValid(*context));
    EXPECT_THAT(log.lines(), IsEmpty());

    transaction.setCategory(category.object());
    EXPECT_FALSE(IntegrityCheck::allManagedObjectsAreValid(*context));
    EXPECT_THAT(log.lines(), ElementsAre(QStringLiteral("Transaction/T1/"),
                                         QStringLiteral("Category and splits cannot both be present.")));

    // Accounts come before transactions in the model, so a broken account is the one reported.
    account.setType(QStringLiteral("piggy bank"));
    LogCapture second;
    EXPECT_FALSE(IntegrityCheck::allManagedObjectsAreValid(*context));
    EXPECT_THAT(second.lines(), ElementsAre(QStringLiteral("Account/Checking/%1/").arg(account.cloudID()),
                                            QStringLiteral("Type is invalid")));
}

TEST_F(IntegrityCheckTest, RepairsInASecondContextWhatFailedToSaveInTheFirst) {
    // Data no device would write alone, as a merge of two devices' changes leaves it: written
    // through a context without the model's rules.
    ObjectID conflicted;
    ObjectID blank;
    ObjectID doomed;
    {
        Context merged(store);
        Account account = newAccount(merged);
        Transaction transaction = newTransaction(merged, account, "10.00", "T1");
        addSplits(merged, transaction, {"4.00", "6.00"});
        CategoryVT food = CategoryVT::insertInContext(merged);
        food.setName(QStringLiteral("Food"));
        transaction.setCategory(food.object());
        conflicted = transaction.object()->id();

        CategoryVT unnamed = CategoryVT::insertInContext(merged);
        unnamed.setName(QStringLiteral(" "));
        unnamed.object()->setValue(u"cloudID", QStringLiteral("CAT-BLANK"));
        blank = unnamed.object()->id();

        doomed = newTransaction(merged, account, "-3.00", "T2").object()->id();
        ASSERT_TRUE(merged.save().succeeded());
    }

    auto failed = validatingContext();
    failed->object(conflicted)->setValue(u"title", QStringLiteral("Groceries"));
    failed->object(blank)->setValue(u"emoji", QStringLiteral("?"));
    failed->deleteObject(failed->object(doomed));
    Transaction added = newTransaction(*failed, Account(failed->all(u"Account").front()), "1.00", "T3");
    ASSERT_FALSE(failed->save().succeeded());

    auto reparation = validatingContext();
    LogCapture log;
    EXPECT_TRUE(IntegrityCheck::repairAfterFailedSave(*failed, *reparation));
    const QString conflictedCloudID = Transaction(reparation->object(conflicted)).cloudID();
    EXPECT_THAT(
        log.lines(),
        UnorderedElementsAre(
            QStringLiteral("Failed to retrieve invalid object: No object %1 in the store")
                .arg(added.object()->id().toText(DataModel::description())),
            QStringLiteral("Detected both splitSet and category for transaction with cloud ID %1, "
                           "keeping splitSet.")
                .arg(conflictedCloudID),
            QStringLiteral("Failed to repair updated object: Category/ /CAT-BLANK/ with error A category's "
                           "name cannot be blank.")));

    // Repairs are made in the reparation context only, as unsaved changes.
    Transaction repaired(reparation->object(conflicted));
    EXPECT_EQ(repaired.category(), nullptr);
    EXPECT_NE(repaired.splitSet(), nullptr);
    EXPECT_FALSE(reparation->validate(*repaired.object(), ValidationPhase::Update));
    EXPECT_NE(reparation->object(doomed), nullptr);
    EXPECT_NE(Transaction(failed->object(conflicted)).category(), nullptr);

    // Once saved, the repair is stored; what could not be repaired is still there and still invalid.
    ASSERT_TRUE(reparation->save().succeeded());
    auto reloaded = validatingContext();
    EXPECT_EQ(Transaction(reloaded->object(conflicted)).category(), nullptr);
    LogCapture check;
    EXPECT_FALSE(IntegrityCheck::allManagedObjectsAreValid(*reloaded));
    EXPECT_THAT(check.lines(), ElementsAre(QStringLiteral("Category/ /CAT-BLANK/"),
                                           QStringLiteral("A category's name cannot be blank.")));
}

} // namespace
