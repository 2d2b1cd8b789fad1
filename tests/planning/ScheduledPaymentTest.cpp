#include "planning/ScheduledPayment.h"

#include "planning/PlanningFixture.h"
#include "planning/ScheduledItemFromTransaction.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::SizeIs;
using vantrel::model::Day;
using vantrel::model::PlainSplit;
using vantrel::model::ScheduledItem;
using vantrel::model::Transaction;
using vantrel::planning::PaymentDetails;
using vantrel::planning::ScheduledItemFromTransaction;
using vantrel::planning::ScheduledPayment;
using vantrel::testsupport::amount;
using vantrel::testsupport::day;

namespace {

class ScheduledPaymentTest : public vantrel::testsupport::PlanningFixture {
protected:
    void SetUp() override { useDollarAndEuroAccounts(); }

    PaymentDetails details(const Day& date, const char* value, const QString& notes = {}) {
        return PaymentDetails{date, amount(value), nullptr, notes, std::nullopt};
    }
};

TEST_F(ScheduledPaymentTest, PayingAOneTimeItemCreatesTheTransactionAndDeletesTheItem) {
    auto utilities = newCategory(QStringLiteral("Utilities"));
    auto item = oneTimeItem(*dollars, QStringLiteral("Water"), "-45", day(2024, 3, 20));
    item.setNotes(QStringLiteral("old notes"));

    PaymentDetails paid = details(day(2024, 3, 18), "-47.10", QStringLiteral("meter read"));
    paid.category = utilities.object();
    paid.checkNumber = 1042;
    const auto created = ScheduledPayment::pay(item, paid, clock);

    ASSERT_THAT(created, SizeIs(1));
    const Transaction& transaction = created.front();
    EXPECT_EQ(transaction.account(), dollars->object());
    EXPECT_EQ(transaction.date(), day(2024, 3, 18));
    EXPECT_EQ(transaction.title(), QStringLiteral("Water"));
    EXPECT_EQ(transaction.amount(), amount("-47.10"));
    EXPECT_EQ(transaction.category(), utilities.object());
    EXPECT_EQ(transaction.notes(), QStringLiteral("meter read"));
    EXPECT_EQ(transaction.checkNumber(), 1042);
    EXPECT_TRUE(item.isDeleted());
    EXPECT_EQ(dollars->balance(), amount("952.90"));
}

TEST_F(ScheduledPaymentTest, PayingOnAnotherDateAdvancesExactlyOneOccurrenceAndReplacesTheNotes) {
    auto item = monthlyItem(*dollars, QStringLiteral("Rent"), "-800", day(2024, 3, 20));
    item.setNotes(QStringLiteral("flat 3"));
    item.setEndsAfter(5);

    const auto created =
        ScheduledPayment::pay(item, details(day(2024, 3, 2), "-800", QStringLiteral("paid early")), clock);
    ASSERT_THAT(created, SizeIs(1));
    EXPECT_EQ(created.front().date(), day(2024, 3, 2));
    EXPECT_FALSE(item.isDeleted());
    EXPECT_EQ(item.nextDueDate(), day(2024, 4, 20));
    EXPECT_EQ(item.endsAfter(), 4);
    EXPECT_EQ(item.notes(), QStringLiteral("paid early"));
}

TEST_F(ScheduledPaymentTest, TransferAcrossCurrenciesConvertsTheOtherSide) {
    auto item = transferItem(*dollars, *euros, QStringLiteral("To savings"), "-100", day(2024, 3, 15));
    item.setRepeatType(QStringLiteral("Week"));
    item.setRepeatInterval(1);

    PaymentDetails paid = details(day(2024, 3, 15), "-100", QStringLiteral("weekly saving"));
    paid.checkNumber = 7;
    const auto created = ScheduledPayment::pay(item, paid, clock);

    ASSERT_THAT(created, SizeIs(2));
    const Transaction& from = created[0];
    const Transaction& to = created[1];
    EXPECT_EQ(from.account(), dollars->object());
    EXPECT_EQ(from.amount(), amount("-100"));
    EXPECT_EQ(from.notes(), QStringLiteral("weekly saving"));
    EXPECT_EQ(to.account(), euros->object());
    EXPECT_EQ(to.amount(), amount("90"));
    EXPECT_EQ(to.title(), QStringLiteral("To savings"));
    EXPECT_EQ(to.date(), day(2024, 3, 15));
    EXPECT_TRUE(to.notes().isEmpty());
    EXPECT_EQ(to.checkNumber(), 7);
    EXPECT_EQ(euros->balance(), amount("590"));
    EXPECT_EQ(item.nextDueDate(), day(2024, 3, 22));
}

TEST_F(ScheduledPaymentTest, TransferInOneCurrencyMovesTheSameAmount) {
    auto other = newAccount(QStringLiteral("C"));
    other.setCurrencyCode(QStringLiteral("USD"));
    auto item = transferItem(*dollars, other, QStringLiteral("Move"), "-33.33", day(2024, 3, 15));

    // A positive amount confirmed by the user runs the transfer the other way.
    const auto created =
        ScheduledPayment::createActualTransaction(item, details(day(2024, 3, 15), "12.5"), clock);
    ASSERT_THAT(created, SizeIs(2));
    EXPECT_EQ(created[0].amount(), amount("12.5"));
    EXPECT_EQ(created[1].amount(), amount("-12.5"));
    // Creating alone leaves the item as it was.
    EXPECT_FALSE(item.isDeleted());
    EXPECT_EQ(item.nextDueDate(), day(2024, 3, 15));
}

TEST_F(ScheduledPaymentTest, ItemFromAPastTransactionStartsAfterToday) {
    auto groceries = newCategory(QStringLiteral("Groceries"));
    Transaction transaction =
        newTransaction(*dollars, "-60.25", day(2024, 1, 20), QStringLiteral("Market"), groceries.object());
    transaction.setNotes(QStringLiteral("weekly shop"));

    const ScheduledItem item = ScheduledItemFromTransaction::create(transaction, today());
    EXPECT_EQ(item.title(), QStringLiteral("Market"));
    EXPECT_EQ(item.notes(), QStringLiteral("weekly shop"));
    EXPECT_EQ(item.amount(), amount("-60.25"));
    EXPECT_EQ(item.account(), dollars->object());
    EXPECT_EQ(item.category(), groceries.object());
    EXPECT_EQ(item.repeatType(), QStringLiteral("Month"));
    EXPECT_EQ(item.repeatInterval(), 1);
    EXPECT_FALSE(item.endsAfter());
    EXPECT_EQ(item.nextDueDate(), day(2024, 3, 20));

    // Dated today it is due, so it moves a month on; a future date stays.
    const Transaction todays = newTransaction(*dollars, "-5", today(), QStringLiteral("Coffee"));
    EXPECT_EQ(ScheduledItemFromTransaction::create(todays, today()).nextDueDate(), day(2024, 4, 15));
    const Transaction later = newTransaction(*dollars, "-5", day(2024, 5, 2), QStringLiteral("Coffee"));
    EXPECT_EQ(ScheduledItemFromTransaction::create(later, today()).nextDueDate(), day(2024, 5, 2));
}

TEST_F(ScheduledPaymentTest, ItemFromASplitTransactionHasNoCategory) {
    auto food = newCategory(QStringLiteral("Food"));
    auto home = newCategory(QStringLiteral("Home"));
    Transaction transaction = newTransaction(*dollars, "-100", day(2024, 3, 1), QStringLiteral("Store"));
    transaction.setMultipleCategoriesAndAmounts(
        {PlainSplit{food.object(), amount("-70")}, PlainSplit{home.object(), amount("-30")}});

    const ScheduledItem item = ScheduledItemFromTransaction::create(transaction, today());
    EXPECT_EQ(item.category(), nullptr);
    EXPECT_EQ(item.amount(), amount("-100"));
    EXPECT_EQ(item.nextDueDate(), day(2024, 4, 1));
}

} // namespace
