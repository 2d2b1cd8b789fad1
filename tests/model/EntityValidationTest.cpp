#include "model/Account.h"
#include "model/CategoryVT.h"
#include "model/DataModel.h"
#include "model/Global.h"
#include "model/ModelErrors.h"
#include "model/ModelValidation.h"
#include "model/Split.h"
#include "model/SplitSet.h"
#include "model/Transaction.h"
#include "platform/Clock.h"
#include "platform/InternalError.h"
#include "platform/objectstore/Context.h"
#include "platform/objectstore/MemoryStore.h"
#include "support/ModelValues.h"

#include <gtest/gtest.h>

#include <memory>

using namespace vantrel::model;
using vantrel::objectstore::Context;
using vantrel::objectstore::MemoryStore;
using vantrel::objectstore::ValidationError;
using vantrel::objectstore::ValidationPhase;
using vantrel::platform::FixedClock;
using vantrel::testsupport::amount;

namespace {

class EntityValidation : public ::testing::Test {
protected:
    EntityValidation()
        : clock(QDateTime(QDate(2026, 3, 4), QTime(12, 0), QTimeZone::utc()), QTimeZone::utc())
        , context(std::make_shared<MemoryStore>(DataModel::description())) {
        ModelValidation::install(context);
        Global::sharedInstanceInContext(context).setHomeCurrencyCode(QStringLiteral("USD"));
        account = std::make_unique<Account>(Account::insertInContext(context, clock));
        account->setType(QStringLiteral("checking"));
    }

    Transaction newTransaction(const char* value) {
        Transaction transaction = Transaction::insertInContext(context, clock);
        transaction.setAccount(account->object());
        transaction.setAmount(amount(value));
        return transaction;
    }

    std::optional<ValidationError> errorOf(const EntityObject& object,
                                           ValidationPhase phase = ValidationPhase::Insert) {
        return context.validate(*object.object(), phase);
    }

    FixedClock clock;
    Context context;
    std::unique_ptr<Account> account;
};

bool isSingle(const std::optional<ValidationError>& error, const QString& domain, int code,
              const QString& message) {
    return error && error->domain == domain && error->code == code && error->message == message &&
           error->detailedErrors.empty();
}

} // namespace

TEST_F(EntityValidation, NewTransactionsArePendingUncategorisedAndValid) {
    Transaction transaction = newTransaction("-12.50");
    EXPECT_TRUE(transaction.isFlagged());
    EXPECT_FALSE(transaction.ofxAmount().has_value());
    EXPECT_EQ(transaction.category(), nullptr);
    EXPECT_EQ(transaction.date(), vantrel::testsupport::day(2026, 3, 4));
    EXPECT_EQ(transaction.cloudID().size(), 36);
    EXPECT_EQ(transaction.cloudID(), transaction.cloudID().toUpper());
    EXPECT_TRUE(transaction.sortKey().startsWith(QStringLiteral("12:00:00.000 ")));
    EXPECT_FALSE(errorOf(transaction).has_value());
    EXPECT_TRUE(context.save().succeeded());
}

TEST_F(EntityValidation, AmountsCarryAtMostCents) {
    const QString general = ModelErrors::generalErrorDomain();
    EXPECT_TRUE(isSingle(errorOf(newTransaction("12.345")), general, 1,
                         QStringLiteral("An internal error has occurred. (Code: 9FE4R)")));
    EXPECT_FALSE(errorOf(newTransaction("12.34")).has_value());
    EXPECT_FALSE(errorOf(newTransaction("-0.5")).has_value());

    Transaction owner = newTransaction("12.345");
    SplitSet set = SplitSet::insertInContext(context);
    owner.replaceSplitSet(set.object());
    Split split = Split::insertInContext(context);
    split.setAmount(amount("12.345"));
    split.setSplitSet(set.object());
    EXPECT_TRUE(isSingle(errorOf(split), general, 1,
                         QStringLiteral("An internal error has occurred. (Code: 9FEW3)")));
}

TEST_F(EntityValidation, BankFieldsComeTogether) {
    Transaction transaction = newTransaction("-5.00");
    transaction.setOfxFitID(QStringLiteral("FIT1"));
    EXPECT_TRUE(isSingle(errorOf(transaction), QStringLiteral("VTVantrelErrorDomain"), 101,
                         QStringLiteral("Bank fields are inconsistent.")));
    transaction.setOfxAmount(amount("-5.00"));
    transaction.setOfxTitle(QStringLiteral("SHOP"));
    transaction.setOfxDate(vantrel::testsupport::day(2026, 3, 1));
    EXPECT_FALSE(errorOf(transaction).has_value());

    Transaction imported = newTransaction("-1.00");
    imported.setImported(true);
    EXPECT_TRUE(isSingle(errorOf(imported), ModelErrors::validationErrorDomain(), 1,
                         QStringLiteral("An internal error has occurred. (Code: GTEUW)")));
}

TEST_F(EntityValidation, SplitsAddUpAndExcludeASingleCategory) {
    Transaction transaction = newTransaction("10.01");
    SplitSet set = SplitSet::insertInContext(context);
    transaction.replaceSplitSet(set.object());
    for (const char* value : {"4.00", "6.00"}) {
        Split split = Split::insertInContext(context);
        split.setAmount(amount(value));
        split.setSplitSet(set.object());
    }
    EXPECT_TRUE(isSingle(errorOf(transaction), QStringLiteral("VTVantrelErrorDomain"), 100,
                         QStringLiteral("Split amounts does not add up to transaction amount.")));

    // With a category as well, only the conflict is reported: the sum is not checked.
    CategoryVT category = CategoryVT::insertInContext(context);
    transaction.setCategory(category.object());
    EXPECT_TRUE(isSingle(errorOf(transaction), QStringLiteral("VTVantrelErrorDomain"), 108,
                         QStringLiteral("Category and splits cannot both be present.")));

    transaction.setCategory(nullptr);
    transaction.setAmount(amount("10.00"));
    EXPECT_FALSE(errorOf(transaction).has_value());
}

TEST_F(EntityValidation, SeveralFailuresOfOneObjectCombine) {
    Transaction transaction = newTransaction("1.001");
    transaction.setOfxFitID(QStringLiteral("FIT"));
    const auto error = errorOf(transaction);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->code, ValidationError::kMultipleErrorsCode);
    ASSERT_EQ(error->detailedErrors.size(), 2U);
    // In the order found: the amount rule runs before the record checks.
    EXPECT_EQ(error->detailedErrors[0].code, 1);
    EXPECT_EQ(error->detailedErrors[0].message,
              QStringLiteral("An internal error has occurred. (Code: 9FE4R)"));
    EXPECT_EQ(error->detailedErrors[1].code, 101);

    const auto result = context.save();
    EXPECT_FALSE(result.succeeded());
    EXPECT_TRUE(context.hasChanges());
}

TEST_F(EntityValidation, CategoryNamesAreUniqueIgnoringCaseAndDiacritics) {
    CategoryVT food = CategoryVT::insertInContext(context);
    food.setName(QStringLiteral("Food"));
    CategoryVT other = CategoryVT::insertInContext(context);
    other.setName(QStringLiteral("food"));
    EXPECT_TRUE(
        isSingle(errorOf(other), QStringLiteral("VTVantrelErrorDomain"), 102,
                 QStringLiteral("The name food has already been taken. Please choose a different name")));
    other.setName(QStringLiteral("Café"));
    food.setName(QStringLiteral("FOOD"));
    EXPECT_FALSE(errorOf(food).has_value());
    EXPECT_FALSE(errorOf(other).has_value());

    other.setName(QStringLiteral("   \n"));
    EXPECT_TRUE(isSingle(errorOf(other), QStringLiteral("VTVantrelErrorDomain"), 0,
                         QStringLiteral("A category's name cannot be blank.")));
    other.setName(QString());
    EXPECT_FALSE(errorOf(other).has_value());
}

TEST_F(EntityValidation, NewCategoriesTakeTheNextFreeDefaultName) {
    EXPECT_EQ(CategoryVT::insertInContext(context).name(), QStringLiteral("New Category"));
    EXPECT_EQ(CategoryVT::insertInContext(context).name(), QStringLiteral("New Category 2"));
    EXPECT_EQ(CategoryVT::insertInContext(context).name(), QStringLiteral("New Category 3"));
    EXPECT_FALSE(CategoryVT::insertInContext(context).isDefault());
}

TEST_F(EntityValidation, AccountsNeedAKnownTypeAndAPlaceInTheOrder) {
    EXPECT_FALSE(errorOf(*account).has_value());
    EXPECT_EQ(account->index(), 0);
    EXPECT_EQ(account->sortKey().size(), 8);
    EXPECT_EQ(account->currencyCode(), QStringLiteral("USD"));
    EXPECT_EQ(account->startBalanceDate(), vantrel::testsupport::day(2026, 3, 3));
    EXPECT_EQ(Account::insertInContext(context, clock).index(), 1);

    account->setType(QStringLiteral("brokerage"));
    EXPECT_TRUE(
        isSingle(errorOf(*account), ModelErrors::generalErrorDomain(), 1, QStringLiteral("Type is invalid")));
    account->setType(QStringLiteral("cash"));
    account->setIndex(std::nullopt);
    EXPECT_TRUE(isSingle(errorOf(*account), ModelErrors::generalErrorDomain(), 1,
                         QStringLiteral("Node Error: Index is Invalid")));
}

TEST_F(EntityValidation, ThereIsExactlyOneGlobal) {
    const Global first = Global::sharedInstanceInContext(context);
    const Global second = Global::sharedInstanceInContext(context);
    EXPECT_EQ(first, second);
    EXPECT_EQ(context.count(u"Global"), 1U);
    EXPECT_EQ(first.cloudID(), QStringLiteral("Global"));
    EXPECT_EQ(first.databaseID().size(), 36);
    context.insert(u"Global");
    EXPECT_THROW(Global::sharedInstanceInContext(context), vantrel::platform::InternalError);
}
