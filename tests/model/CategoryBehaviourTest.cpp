#include "model/Account.h"
#include "model/Budget.h"
#include "model/CategoryGroup.h"
#include "model/CategoryLimit.h"
#include "model/CategoryVT.h"
#include "model/Currency.h"
#include "model/DataModel.h"
#include "model/Global.h"
#include "model/ModelValidation.h"
#include "model/Split.h"
#include "model/SplitSet.h"
#include "model/Transaction.h"
#include "platform/Clock.h"
#include "platform/InternalError.h"
#include "platform/objectstore/Context.h"
#include "platform/objectstore/MemoryStore.h"
#include "support/ModelValues.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <utility>

using namespace vantrel::model;
using vantrel::objectstore::Context;
using vantrel::objectstore::ManagedObject;
using vantrel::objectstore::MemoryStore;
using vantrel::platform::FixedClock;
using vantrel::platform::InternalError;
using vantrel::testsupport::amount;
using vantrel::testsupport::day;
using vantrel::testsupport::utf8;

namespace {

class CategoryBehaviourTest : public ::testing::Test {
protected:
    CategoryBehaviourTest() {
        ModelValidation::install(context);
        Global::sharedInstanceInContext(context).setHomeCurrencyCode(QStringLiteral("USD"));
        addCurrency(QStringLiteral("USD"), amount("1.0"));
        addCurrency(QStringLiteral("EUR"), amount("0.9"));
        dollars = newAccount(QStringLiteral("USD"));
        euros = newAccount(QStringLiteral("EUR"));
    }

    void addCurrency(const QString& code, const Amount& rate) {
        Currency currency = Currency::insertInContext(context);
        currency.setCode(code);
        currency.setRate(rate);
    }

    ManagedObject* newAccount(const QString& currencyCode) {
        Account account = Account::insertInContext(context, clock);
        account.setType(QStringLiteral("checking"));
        account.setCurrencyCode(currencyCode);
        return account.object();
    }

    CategoryVT newCategory(const QString& name) {
        CategoryVT category = CategoryVT::insertInContext(context);
        category.setName(name);
        return category;
    }

    Transaction newTransaction(ManagedObject* account, const char* value, const Day& date,
                               ManagedObject* category = nullptr) {
        Transaction transaction = Transaction::insertInContext(context, clock);
        transaction.setAccount(account);
        transaction.setAmount(amount(value));
        transaction.setDate(date);
        transaction.setCategory(category);
        return transaction;
    }

    // A split transaction in dollars with one line per (category, amount) pair.
    Transaction newSplitTransaction(const Day& date,
                                    const std::vector<std::pair<ManagedObject*, const char*>>& lines) {
        Amount total;
        SplitSet set = SplitSet::insertInContext(context);
        for (const auto& [category, value] : lines) {
            Split split = Split::insertInContext(context);
            split.setAmount(amount(value));
            split.setCategory(category);
            split.setSplitSet(set.object());
            total += amount(value);
        }
        Transaction transaction = newTransaction(dollars, "0", date);
        transaction.setAmount(total);
        transaction.replaceSplitSet(set.object());
        return transaction;
    }

    std::vector<std::string> categoryNames() {
        std::vector<std::string> names;
        for (ManagedObject* object : context.all(u"Category")) {
            names.push_back(utf8(CategoryVT(object).name()));
        }
        return names;
    }

    const FixedClock clock{QDateTime(QDate(2024, 6, 15), QTime(10, 0), QTimeZone::utc()), QTimeZone::utc()};
    std::shared_ptr<MemoryStore> store = std::make_shared<MemoryStore>(DataModel::description());
    Context context{store};
    ManagedObject* dollars = nullptr;
    ManagedObject* euros = nullptr;
};

std::vector<char32_t> codePoints(const QString& text) {
    const QList<uint> points = text.toUcs4();
    return {points.begin(), points.end()};
}

TEST_F(CategoryBehaviourTest, DefaultCategoriesAreTheSevenInOrderWithTheirEmojiAndAZeroLimitEach) {
    const Budget budget = Budget::insertInContext(context);
    CategoryVT::loadDefaultCategories(context);

    EXPECT_THAT(categoryNames(), ::testing::ElementsAre("Food", "Shopping", "Transportation", "Gas", "Travel",
                                                        "Income", "Transfer"));
    const std::vector<std::vector<char32_t>> emoji = {{0x1F374},        {0x1F455},        {0x1F686},
                                                      {0x26FD, 0xFE0F}, {0x2708, 0xFE0F}, {0x1F60A}};
    const auto categories = context.all(u"Category");
    for (std::size_t i = 0; i < categories.size(); ++i) {
        const CategoryVT category(categories[i]);
        SCOPED_TRACE(utf8(category.name()));
        EXPECT_TRUE(category.isDefault());
        EXPECT_EQ(category.group(), nullptr);
        if (i < emoji.size()) {
            EXPECT_EQ(codePoints(category.emoji()), emoji[i]);
        }
    }
    EXPECT_TRUE(CategoryVT(categories.back()).emoji().isNull());

    ASSERT_EQ(budget.categoryLimits().size(), 7u);
    for (const CategoryLimit& limit : budget.categoryLimits()) {
        EXPECT_EQ(limit.amount(), amount("0"));
    }
    EXPECT_TRUE(context.save().succeeded());
}

TEST_F(CategoryBehaviourTest, DefaultNamesTakeTheFirstFreeNumberAndTakenNamesIgnoreCaseAndAccents) {
    newCategory(QStringLiteral("new category"));
    EXPECT_EQ(CategoryVT::nextAvailableDefaultName(context), QStringLiteral("New Category 2"));
    newCategory(QStringLiteral("New Category 3"));
    EXPECT_EQ(CategoryVT::insertInContext(context).name(), QStringLiteral("New Category 2"));
    EXPECT_EQ(CategoryVT::nextAvailableDefaultName(context), QStringLiteral("New Category 4"));

    newCategory(QStringLiteral("Café"));
    EXPECT_TRUE(CategoryVT::nameAlreadyTaken(context, QStringLiteral("CAFE")));
    EXPECT_FALSE(CategoryVT::nameAlreadyTaken(context, QStringLiteral("Cafeteria")));
    ASSERT_TRUE(CategoryVT::findByName(context, QStringLiteral("cafe")).has_value());
    EXPECT_EQ(CategoryVT::findByName(context, QStringLiteral("cafe"))->name(), QStringLiteral("Café"));
    EXPECT_FALSE(CategoryVT::findByName(context, QStringLiteral("Tea")).has_value());
}

TEST_F(CategoryBehaviourTest, ACloudIDSharedByTwoCategoriesIsAnInternalError) {
    const CategoryVT food = newCategory(QStringLiteral("Food"));
    EXPECT_EQ(CategoryVT::withCloudID(context, food.cloudID()), food);
    EXPECT_FALSE(CategoryVT::withCloudID(context, QStringLiteral("unknown")).has_value());

    ManagedObject* copy = context.insert(u"Category");
    copy->setValue(EntityObject::attributeIndex(u"Category", u"cloudID"), food.cloudID());
    try {
        CategoryVT::withCloudID(context, food.cloudID());
        FAIL() << "two categories with one cloudID were accepted";
    } catch (const InternalError& error) {
        EXPECT_EQ(utf8(error.message()), "More than one categories with same cloudID detected");
    }
}

TEST_F(CategoryBehaviourTest, UsesCountSplitLinesAndUnsplitTransactionsOfTheCategory) {
    const CategoryVT food = newCategory(QStringLiteral("Food"));
    const CategoryVT gas = newCategory(QStringLiteral("Gas"));
    newTransaction(dollars, "-10", day(2024, 6, 1), food.object());
    newTransaction(euros, "-20", day(2024, 6, 2), food.object());
    newSplitTransaction(day(2024, 6, 3), {{food.object(), "-5"}, {gas.object(), "-7"}});
    EXPECT_EQ(food.numberOfUses(), 3u);
    EXPECT_EQ(gas.numberOfUses(), 1u);

    // A transaction holding both a category and a split set (a state repair undoes) counts by its
    // split lines only.
    Transaction both = newSplitTransaction(day(2024, 6, 4), {{gas.object(), "-1"}});
    both.setCategory(food.object());
    EXPECT_EQ(food.numberOfUses(), 3u);
    EXPECT_EQ(gas.numberOfUses(), 2u);

    CategoryGroup car = CategoryGroup::insertInContext(context);
    CategoryVT(gas).setGroup(car.object());
    CategoryVT(food).setGroup(car.object());
    newCategory(QStringLiteral("Parking")).setGroup(car.object());
    EXPECT_EQ(car.numberOfUses(), 5u);
    EXPECT_EQ(CategoryGroup::insertInContext(context).numberOfUses(), 0u);
    EXPECT_FALSE(car.emoji().isNull());
    EXPECT_TRUE(car.emoji().isEmpty());
}

TEST_F(CategoryBehaviourTest, AmountOverAPeriodSumsHomeCurrencyAmountsDatedWithinBothEnds) {
    const CategoryVT food = newCategory(QStringLiteral("Food"));
    const CategoryVT travel = newCategory(QStringLiteral("Travel"));
    EXPECT_EQ(food.amountFromDate(day(2000, 1, 1), day(2030, 1, 1)), std::nullopt);

    newTransaction(dollars, "-10", day(2024, 5, 31), food.object());
    newTransaction(dollars, "-20", day(2024, 6, 1), food.object());
    newTransaction(dollars, "-30", day(2024, 6, 30), food.object());
    newTransaction(dollars, "-40", day(2024, 7, 1), food.object());
    newSplitTransaction(day(2024, 6, 15), {{food.object(), "-5.50"}, {travel.object(), "-1"}});
    newSplitTransaction(day(2024, 7, 2), {{food.object(), "-100"}});
    EXPECT_EQ(food.amountFromDate(day(2024, 6, 1), day(2024, 6, 30)), amount("-55.50"));
    EXPECT_EQ(food.amountFromDate(day(2024, 7, 3), day(2024, 12, 31)), std::nullopt);

    // Used only in a euro account: 0.9 euro is one dollar.
    newTransaction(euros, "-90", day(2024, 6, 10), travel.object());
    newTransaction(euros, "45", day(2024, 6, 11), travel.object());
    EXPECT_EQ(travel.amountFromDate(day(2024, 6, 10), day(2024, 6, 11)), amount("-50"));

    // Amounts that cancel out are a zero sum, not "no amounts".
    const CategoryVT refunds = newCategory(QStringLiteral("Refunds"));
    newTransaction(dollars, "-8", day(2024, 6, 5), refunds.object());
    newTransaction(dollars, "8", day(2024, 6, 6), refunds.object());
    EXPECT_EQ(refunds.amountFromDate(day(2024, 6, 1), day(2024, 6, 30)), amount("0"));
}

TEST_F(CategoryBehaviourTest, UncategorizedAmountTakesLinesAndUnsplitTransactionsWithoutCategory) {
    const CategoryVT food = newCategory(QStringLiteral("Food"));
    EXPECT_EQ(CategoryVT::uncategorizedAmountFromDate(context, day(2024, 6, 1), day(2024, 6, 30)),
              std::nullopt);

    newTransaction(dollars, "-10", day(2024, 6, 1), food.object());
    EXPECT_EQ(CategoryVT::uncategorizedAmountFromDate(context, day(2024, 6, 1), day(2024, 6, 30)),
              std::nullopt);

    newTransaction(dollars, "-3", day(2024, 6, 1));
    newTransaction(euros, "-9", day(2024, 6, 30));
    newTransaction(dollars, "-1000", day(2024, 7, 1));
    newSplitTransaction(day(2024, 6, 20), {{food.object(), "-5"}, {nullptr, "-2"}, {nullptr, "-0.25"}});
    EXPECT_EQ(CategoryVT::uncategorizedAmountFromDate(context, day(2024, 6, 1), day(2024, 6, 30)),
              amount("-15.25"));
}

TEST_F(CategoryBehaviourTest, AveragePerDayReachesBackAtMostAYearAndIncludesBothEnds) {
    const CategoryVT food = newCategory(QStringLiteral("Food"));
    const CategoryVT rent = newCategory(QStringLiteral("Rent"));
    const Day end = day(2024, 6, 15);
    // Without any transaction the average is zero.
    EXPECT_EQ(food.averageAmountPerDay(end, clock), 0.0F);

    // The database begins two years back: the window is the 366 days ending at `end`.
    newTransaction(dollars, "-5000", end.daysAgo_VT(730));
    newTransaction(dollars, "-1000", end.daysAgo_VT(366), food.object());
    newTransaction(dollars, "-366", end.daysAgo_VT(365), food.object());
    newTransaction(dollars, "-366", end, food.object());
    newTransaction(dollars, "-50", end.daysLater_VT(1), food.object());
    EXPECT_EQ(food.averageAmountPerDay(end, clock), -2.0F);
    // Today is the default end.
    EXPECT_EQ(food.averageAmountPerDay(std::nullopt, clock), -2.0F);
    // Used, but not within the window.
    newTransaction(dollars, "-10", end.daysAgo_VT(400), rent.object());
    EXPECT_EQ(rent.averageAmountPerDay(end, clock), 0.0F);
}

TEST_F(CategoryBehaviourTest, AveragePerDayOfAYoungDatabaseStartsAtItsFirstTransaction) {
    const CategoryVT food = newCategory(QStringLiteral("Food"));
    const Day end = day(2024, 6, 15);
    newTransaction(dollars, "100", end.daysAgo_VT(9));
    newTransaction(dollars, "-25", end.daysAgo_VT(3), food.object());
    // Ten days, both ends included; the quotient is taken in single precision.
    EXPECT_EQ(food.averageAmountPerDay(end, clock), -2.5F);
    newTransaction(dollars, "-1", end.daysAgo_VT(2), food.object());
    EXPECT_EQ(food.averageAmountPerDay(end, clock), -26.0F / 10.0F);

    // A database that begins after the end date averages zero.
    EXPECT_EQ(food.averageAmountPerDay(end.daysAgo_VT(10), clock), 0.0F);

    // One transaction long before, with nothing for years after it, makes the window a full year.
    newTransaction(euros, "-1", end.daysAgo_VT(5000));
    EXPECT_EQ(food.averageAmountPerDay(end, clock), -26.0F / 366.0F);
}

TEST(CategoryNameOrder, IgnoresLetterCase) {
    EXPECT_LT(CategoryVT::compareNames(QStringLiteral("apple"), QStringLiteral("Banana")), 0);
    EXPECT_GT(CategoryVT::compareNames(QStringLiteral("Zeta"), QStringLiteral("alpha")), 0);
    EXPECT_EQ(CategoryVT::compareNames(QStringLiteral("FOOD"), QStringLiteral("food")), 0);
}

} // namespace
