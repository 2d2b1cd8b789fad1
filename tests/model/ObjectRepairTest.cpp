#include "model/ObjectRepair.h"

#include "model/Account.h"
#include "model/Budget.h"
#include "model/CategoryVT.h"
#include "model/DataModel.h"
#include "model/Global.h"
#include "model/ModelErrors.h"
#include "model/ModelValidation.h"
#include "model/ScheduledItem.h"
#include "model/Split.h"
#include "model/SplitSet.h"
#include "model/Transaction.h"
#include "platform/Clock.h"
#include "platform/InternalError.h"
#include "platform/LogCapture.h"
#include "platform/objectstore/Context.h"
#include "platform/objectstore/MemoryStore.h"
#include "support/ModelValues.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace vantrel::model;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using vantrel::objectstore::Context;
using vantrel::objectstore::ManagedObject;
using vantrel::objectstore::MemoryStore;
using vantrel::objectstore::ValidationError;
using vantrel::objectstore::ValidationPhase;
using vantrel::platform::FixedClock;
using vantrel::platform::InternalError;
using vantrel::platform::LogCapture;
using vantrel::testsupport::amount;
using vantrel::testsupport::day;

namespace {

class ObjectRepairTest : public ::testing::Test {
protected:
    ObjectRepairTest()
        : clock(QDateTime(QDate(2026, 3, 4), QTime(12, 0), QTimeZone::utc()), QTimeZone::utc())
        , context(std::make_shared<MemoryStore>(DataModel::description())) {
        ModelValidation::install(context);
        Global::sharedInstanceInContext(context).setHomeCurrencyCode(QStringLiteral("USD"));
        account = newAccount();
    }

    ManagedObject* newAccount() {
        Account created = Account::insertInContext(context, clock);
        created.setType(QStringLiteral("checking"));
        return created.object();
    }

    Transaction newTransaction(const char* value) {
        Transaction transaction = Transaction::insertInContext(context, clock);
        transaction.setAccount(account);
        transaction.setAmount(amount(value));
        return transaction;
    }

    void addSplits(Transaction& transaction, std::initializer_list<const char*> values) {
        SplitSet set = SplitSet::insertInContext(context);
        transaction.replaceSplitSet(set.object());
        for (const char* value : values) {
            Split split = Split::insertInContext(context);
            split.setAmount(amount(value));
            split.setSplitSet(set.object());
        }
    }

    CategoryVT newCategory(const QString& name, int uses, const QString& cloudID = QString()) {
        CategoryVT category = CategoryVT::insertInContext(context);
        category.setName(name);
        if (!cloudID.isNull()) {
            category.object()->setValue(u"cloudID", cloudID);
        }
        for (int i = 0; i < uses; ++i) {
            newTransaction("-1.00").setCategory(category.object());
        }
        return category;
    }

    // A valid one-time expense to start from.
    ScheduledItem newItem() {
        ScheduledItem item = ScheduledItem::insertInContext(context);
        item.setTitle(QStringLiteral("Rent"));
        item.setAmount(amount("-800"));
        item.setNextDueDate(kTuesday);
        item.setAccount(account);
        return item;
    }

    std::optional<ValidationError> errorOf(const EntityObject& object) {
        return context.validate(*object.object(), ValidationPhase::Update);
    }

    // Validates, repairs what was found, and tells whether the repair claimed success.
    bool validateAndRepair(const EntityObject& object) {
        const auto error = errorOf(object);
        EXPECT_TRUE(error.has_value()) << "expected the object to be invalid";
        return error && ObjectRepair::repairInvalidObject(*object.object(), *error);
    }

    static ValidationError missing(const QString& entity, const QString& property) {
        return ValidationError::missingMandatoryProperty(entity, property);
    }

    const Day kTuesday = day(2026, 12, 8);
    FixedClock clock;
    Context context;
    ManagedObject* account = nullptr;
};

TEST_F(ObjectRepairTest, SplitAmountMismatchTakesTheSumOfTheSplits) {
    Transaction transaction = newTransaction("10.01");
    addSplits(transaction, {"4.00", "6.50"});
    ASSERT_TRUE(ModelErrors::isModelError(*errorOf(transaction), ModelErrors::SplitAmountMismatch));

    LogCapture log;
    EXPECT_TRUE(validateAndRepair(transaction));
    EXPECT_THAT(log.lines(), ElementsAre(QStringLiteral("Split amount mismatch detected for transaction with "
                                                        "cloud ID %1, fixing it.")
                                             .arg(transaction.cloudID())));
    EXPECT_EQ(transaction.amount(), amount("10.50"));
    EXPECT_FALSE(errorOf(transaction));
}

TEST_F(ObjectRepairTest, InconsistentBankFieldsAreAllCleared) {
    Transaction transaction = newTransaction("-5.00");
    transaction.setOfxFitID(QStringLiteral("FIT1"));
    transaction.setOfxCheckNumber(12);
    transaction.setOfxAmount(amount("-5.00"));

    LogCapture log;
    EXPECT_TRUE(validateAndRepair(transaction));
    EXPECT_THAT(log.lines(), ElementsAre(QStringLiteral(
                                 "Detected inconsistent bank fields. Setting bank fields to nil.")));
    EXPECT_TRUE(transaction.ofxFitID().isNull());
    EXPECT_FALSE(transaction.ofxCheckNumber());
    EXPECT_FALSE(transaction.ofxAmount());
    EXPECT_FALSE(transaction.ofxDate());
    EXPECT_TRUE(transaction.ofxTitle().isNull());
    EXPECT_EQ(transaction.amount(), amount("-5.00"));
    EXPECT_FALSE(errorOf(transaction));
}

TEST_F(ObjectRepairTest, CategoryBesideSplitsIsDroppedThenTheSumIsRepairedOnTheNextRound) {
    Transaction transaction = newTransaction("10.01");
    addSplits(transaction, {"4.00", "6.00"});
    ManagedObject* splitSet = transaction.splitSet();
    transaction.setCategory(newCategory(QStringLiteral("Food"), 0).object());

    // Alone: the sum is not judged while it is unclear which of the two is right.
    const auto first = errorOf(transaction);
    ASSERT_TRUE(first);
    EXPECT_FALSE(first->isMultiple());
    EXPECT_TRUE(ModelErrors::isModelError(*first, ModelErrors::CategoryAndSplitSetBothPresent));

    LogCapture log;
    EXPECT_TRUE(ObjectRepair::repairInvalidObject(*transaction.object(), *first));
    EXPECT_EQ(transaction.category(), nullptr);
    EXPECT_EQ(transaction.splitSet(), splitSet);

    const auto second = errorOf(transaction);
    ASSERT_TRUE(second);
    EXPECT_TRUE(ModelErrors::isModelError(*second, ModelErrors::SplitAmountMismatch));
    EXPECT_TRUE(ObjectRepair::repairInvalidObject(*transaction.object(), *second));
    EXPECT_EQ(transaction.amount(), amount("10.00"));
    EXPECT_FALSE(errorOf(transaction));
    const QString cloudID = transaction.cloudID();
    EXPECT_THAT(log.lines(), ElementsAre(QStringLiteral("Detected both splitSet and category for transaction "
                                                        "with cloud ID %1, keeping splitSet.")
                                             .arg(cloudID),
                                         QStringLiteral("Split amount mismatch detected for transaction with "
                                                        "cloud ID %1, fixing it.")
                                             .arg(cloudID)));
}

TEST_F(ObjectRepairTest, EachScheduledItemErrorIsRepairedWithItsLogLine) {
    struct Case {
        ModelErrors::Code code;
        std::function<void(ScheduledItem&)> spoil;
        const char* logLine;
        std::function<void(const ScheduledItem&)> check;
    };
    ManagedObject* savings = newAccount();
    const std::vector<Case> cases = {
        {ModelErrors::ScheduledItemHasBothInstructionAndURL,
         [](ScheduledItem& item) {
             item.setPaymentURL(QStringLiteral("https://bank.example"));
             item.setPaymentInstructions(QStringLiteral("Call first"));
         },
         "fixed VTScheduledItemHasBothInstructionAndURLError",
         [](const ScheduledItem& item) {
             EXPECT_TRUE(item.paymentInstructions().isNull());
             EXPECT_EQ(item.paymentURL(), QStringLiteral("https://bank.example"));
         }},
        {ModelErrors::ScheduledItemHasRemindedWithoutReminder,
         [](ScheduledItem& item) { item.setHasReminded(true); },
         "fixed VTScheduledItemHasRemindedIsYesWhenNoReminderError",
         [](const ScheduledItem& item) { EXPECT_FALSE(item.hasReminded()); }},
        {ModelErrors::ScheduledItemRepeatSettingInvalid, [](ScheduledItem& item) { item.setEndsAfter(4); },
         "fixed VTScheduledItemRepeatSettingInvalidError",
         [](const ScheduledItem& item) { EXPECT_FALSE(item.endsAfter()); }},
        {ModelErrors::ScheduledItemNextDueDateInvalid,
         [](ScheduledItem& item) {
             item.setRepeatType(QLatin1String(ScheduledItem::kWeekRepeat));
             item.setRepeatInterval(1);
             item.setRepeatRules(std::vector<RepeatRule>{DIWeek(2)}); // Mondays; due on a Tuesday
         },
         "fixed VTScheduledItemNextDueDateInvalidError",
         [](const ScheduledItem& item) { EXPECT_EQ(item.nextDueDate(), day(2026, 12, 14)); }},
        {ModelErrors::ScheduledItemTransferAmountInvalid,
         [savings](ScheduledItem& item) {
             item.setToAccount(savings);
             item.setAmount(amount("5"));
         },
         "fixed VTScheduledItemTransferAmountInvalidError",
         [](const ScheduledItem& item) { EXPECT_EQ(item.amount(), amount("-5")); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.logLine);
        ScheduledItem item = newItem();
        c.spoil(item);
        const auto error = errorOf(item);
        ASSERT_TRUE(error);
        EXPECT_TRUE(ModelErrors::isModelError(*error, c.code));

        LogCapture log;
        EXPECT_TRUE(ObjectRepair::repairInvalidObjectWithSingleError(*item.object(), *error));
        EXPECT_THAT(log.lines(), ElementsAre(QLatin1String(c.logLine)));
        c.check(item);
        EXPECT_FALSE(errorOf(item));
    }
}

TEST_F(ObjectRepairTest, AllErrorsOfOneScheduledItemAreRepairedTogether) {
    ScheduledItem item = newItem();
    item.setRepeatType(QLatin1String(ScheduledItem::kWeekRepeat));
    item.setRepeatRules(std::vector<RepeatRule>{DIWeek(2)});
    item.setPaymentURL(QStringLiteral("https://bank.example"));
    item.setPaymentInstructions(QStringLiteral("Call first"));
    item.setHasReminded(true);
    item.setToAccount(newAccount());
    item.setAmount(amount("5"));
    const auto error = errorOf(item);
    ASSERT_TRUE(error);
    ASSERT_TRUE(error->isMultiple());
    ASSERT_EQ(error->detailedErrors.size(), 5U);

    LogCapture log;
    EXPECT_TRUE(ObjectRepair::repairInvalidObject(*item.object(), *error));
    EXPECT_EQ(log.lines().size(), 5);
    EXPECT_FALSE(errorOf(item));
    EXPECT_TRUE(context.save().succeeded());
}

TEST_F(ObjectRepairTest, OrphansAreDeletedButAnAccountIsOnlyLogged) {
    Split orphan = Split::insertInContext(context);
    orphan.setAmount(amount("3.00"));
    const auto error = errorOf(orphan);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code, ValidationError::kMissingMandatoryPropertyCode);

    LogCapture log;
    EXPECT_TRUE(ObjectRepair::repairInvalidObject(*orphan.object(), *error));
    EXPECT_TRUE(orphan.isDeleted());

    // The category's class is named as the application knows it.
    CategoryVT category = newCategory(QStringLiteral("Travel"), 0);
    EXPECT_TRUE(ObjectRepair::repairInvalidObjectWithSingleError(
        *category.object(), missing(QStringLiteral("Category"), QStringLiteral("group"))));
    EXPECT_TRUE(category.isDeleted());

    EXPECT_FALSE(ObjectRepair::repairInvalidObjectWithSingleError(
        *account, missing(QStringLiteral("Account"), QStringLiteral("lastTransferSetting"))));
    EXPECT_FALSE(account->isDeleted());

    Transaction transaction = newTransaction("1.00");
    EXPECT_FALSE(ObjectRepair::repairInvalidObjectWithSingleError(
        *transaction.object(), missing(QStringLiteral("Transaction"), QStringLiteral("title"))));
    EXPECT_FALSE(transaction.isDeleted());

    EXPECT_THAT(log.lines(),
                ElementsAre(QStringLiteral("Orphaned Split is missing splitSet, deleting it silently"),
                            QStringLiteral("Orphaned CategoryVT is missing group, deleting it silently"),
                            QStringLiteral("Prevent Account from being deleted as orphaned. The property "
                                           "lastTransferSetting is missing"),
                            QStringLiteral("Unexpected missing mandatory attribute for Transaction.title")));

    EXPECT_THROW(
        ObjectRepair::repairInvalidObjectWithSingleError(
            *transaction.object(), missing(QStringLiteral("Transaction"), QStringLiteral("nonsense"))),
        InternalError);
}

TEST_F(ObjectRepairTest, MultipleErrorsStopWithSuccessOnceTheOrphanIsGone) {
    Transaction transaction = newTransaction("10.00");
    addSplits(transaction, {"10.00"});
    transaction.setCategory(newCategory(QStringLiteral("Food"), 0).object());
    transaction.setAccount(nullptr);
    // Listed after the conflict, the missing account is still handled first.
    const ValidationError error =
        ValidationError::combine(missing(QStringLiteral("Transaction"), QStringLiteral("account")),
                                 ModelErrors::categoryAndSplitSetBothPresent());
    ASSERT_TRUE(error.isMultiple());
    ASSERT_EQ(error.detailedErrors.front().code, ModelErrors::CategoryAndSplitSetBothPresent);

    LogCapture log;
    EXPECT_TRUE(ObjectRepair::repairInvalidObject(*transaction.object(), error));
    EXPECT_TRUE(transaction.isDeleted());
    EXPECT_THAT(log.lines(),
                ElementsAre(QStringLiteral("Orphaned Transaction is missing account, deleting it silently")));
}

TEST_F(ObjectRepairTest, ErrorsWithoutARepairAreReportedAsNotRepaired) {
    CategoryVT blank = newCategory(QStringLiteral("  "), 0);
    LogCapture log;
    EXPECT_FALSE(validateAndRepair(blank));
    EXPECT_EQ(blank.name(), QStringLiteral("  "));

    Transaction transaction = newTransaction("1.005");
    transaction.setImported(true);
    const auto error = errorOf(transaction);
    ASSERT_TRUE(error && error->isMultiple());
    EXPECT_FALSE(ObjectRepair::repairInvalidObject(*transaction.object(), *error));

    ValidationError foreign;
    foreign.domain = QStringLiteral("SomeOtherDomain");
    foreign.code = ModelErrors::SplitAmountMismatch;
    EXPECT_FALSE(ObjectRepair::repairInvalidObjectWithSingleError(*transaction.object(), foreign));
    EXPECT_EQ(transaction.amount(), amount("1.005"));
    EXPECT_FALSE(transaction.isDeleted());
    EXPECT_THAT(log.lines(), IsEmpty());
}

TEST_F(ObjectRepairTest, DuplicateCategoriesKeepTheMostUsedAndRenameOrDeleteTheOthers) {
    Budget budget = Budget::insertInContext(context);
    budget.setName(QStringLiteral("Home"));
    CategoryVT food = newCategory(QStringLiteral("Food"), 5);
    CategoryVT lower = newCategory(QStringLiteral("food"), 0);
    CategoryVT upper = newCategory(QStringLiteral("FOOD"), 2);
    ASSERT_EQ(lower.categoryLimits().size(), 1U);
    ManagedObject* lowerLimit = lower.categoryLimits().front();

    LogCapture log;
    EXPECT_TRUE(validateAndRepair(lower));
    EXPECT_THAT(log.lines(),
                ElementsAre(QStringLiteral("Detected duplicate category: food"),
                            QStringLiteral("Renamed category"), QStringLiteral("Delete category"),
                            QStringLiteral("Has category limit")));
    EXPECT_EQ(food.name(), QStringLiteral("Food"));
    EXPECT_EQ(upper.name(), QStringLiteral("FOOD 2"));
    EXPECT_TRUE(lower.isDeleted());
    EXPECT_TRUE(lowerLimit->isDeleted());
    EXPECT_FALSE(errorOf(food));
    EXPECT_FALSE(errorOf(upper));
    EXPECT_TRUE(context.save().succeeded());
}

TEST_F(ObjectRepairTest, EquallyUsedDuplicatesKeepTheNameOnTheSmallerCloudID) {
    CategoryVT later = newCategory(QStringLiteral("Rent"), 1, QStringLiteral("B-2"));
    CategoryVT earlier = newCategory(QStringLiteral("rent"), 1, QStringLiteral("A-1"));
    CategoryVT third = newCategory(QStringLiteral("RENT"), 1, QStringLiteral("C-3"));

    LogCapture log;
    EXPECT_TRUE(validateAndRepair(later));
    EXPECT_EQ(earlier.name(), QStringLiteral("rent"));
    EXPECT_EQ(later.name(), QStringLiteral("Rent 2"));
    EXPECT_EQ(third.name(), QStringLiteral("RENT 3"));
    EXPECT_THAT(log.lines(),
                ElementsAre(QStringLiteral("Detected duplicate category: Rent"),
                            QStringLiteral("Renamed category"), QStringLiteral("Renamed category")));
}

TEST_F(ObjectRepairTest, DuplicateNamesAreMatchedAsPatterns) {
    CategoryVT gas = newCategory(QStringLiteral("Gas"), 1);
    CategoryVT pattern = newCategory(QStringLiteral("G*"), 0);
    ASSERT_FALSE(errorOf(gas)); // "Gas" as a pattern matches only itself
    LogCapture log;
    EXPECT_TRUE(validateAndRepair(pattern));
    EXPECT_TRUE(pattern.isDeleted());
    EXPECT_EQ(gas.name(), QStringLiteral("Gas"));

    // A name nobody else has leaves nothing to resolve, which counts as repaired.
    CategoryVT alone = newCategory(QStringLiteral("Books"), 0);
    EXPECT_TRUE(ObjectRepair::repairInvalidObjectWithSingleError(
        *alone.object(), ModelErrors::duplicateCategoryName(QStringLiteral("Books"))));
    EXPECT_EQ(alone.name(), QStringLiteral("Books"));
    EXPECT_FALSE(alone.isDeleted());
    EXPECT_THAT(log.lines(), ElementsAre(QStringLiteral("Detected duplicate category: G*"),
                                         QStringLiteral("Delete category")));
}

} // namespace
