#include "app/PaySheetModel.h"

#include "ScheduledItemFixture.h"

#include <gmock/gmock.h>

using namespace vantrel;
using app::Alert;
using app::PaySheetModel;
using testsupport::amount;
using testsupport::day;
using testsupport::utf8;

namespace {

class PaySheetModelTest : public testsupport::ScheduledItemFixture {
protected:
    PaySheetModelTest() {
        rent.setNotes(QStringLiteral("Flat 3"));
        rent.setCategory(housing);
        salary.setRepeatType(QString());
        salary.setRepeatInterval(std::nullopt);
        workspace.saveDatabase();
    }

    PaySheetModel sheetFor(const model::ScheduledItem& item) {
        return PaySheetModel(workspace, item, locale());
    }

    static void enter(PaySheetModel& sheet, const QString& text) { sheet.amountField().setText(text); }

    // The saved transactions of an account: date, amount, title and notes.
    std::vector<std::string> savedRegister(const model::Account& account) {
        const auto saved = reloaded();
        model::Account stored(in(*saved, account.object()));
        std::vector<std::string> lines;
        for (objectstore::ManagedObject* object : stored.orderedTransactions()) {
            const model::Transaction transaction(object);
            lines.push_back(utf8(transaction.date()->toIsoString() + QLatin1Char(' ') +
                                 transaction.amount()->rounded(2).toString() + QLatin1Char(' ') +
                                 transaction.title() + QLatin1Char(' ') + transaction.notes()));
        }
        return lines;
    }

    objectstore::ManagedObject* housing = newCategory(QStringLiteral("Housing"));
    model::ScheduledItem rent = newItem(QStringLiteral("Rent"), checking, "-1200", day(2024, 2, 28));
    model::ScheduledItem salary = newItem(QStringLiteral("Salary"), checking, "2500", day(2024, 3, 15));
    model::ScheduledItem saving =
        newTransfer(QStringLiteral("Saving"), checking, savings, "-100", day(2024, 3, 2));
};

TEST_F(PaySheetModelTest, OpensWithTheVerbTitleDueDateAndTheItemsValues) {
    const PaySheetModel pay = sheetFor(rent);
    EXPECT_EQ(utf8(pay.verb()), "Pay");
    EXPECT_EQ(utf8(pay.sheetTitle()), "Pay Rent");
    EXPECT_EQ(utf8(pay.dueText()), "Due: 2/28/24");
    EXPECT_EQ(pay.date(), day(2024, 3, 1));
    EXPECT_EQ(utf8(pay.amountField().text()), "-1,200.00");
    EXPECT_TRUE(pay.amountField().shouldAssumeSign());
    EXPECT_EQ(utf8(pay.currencyCode()), "USD");
    EXPECT_EQ(pay.category(), housing);
    EXPECT_EQ(utf8(pay.notes()), "Flat 3");

    const PaySheetModel deposit = sheetFor(salary);
    EXPECT_EQ(utf8(deposit.verb()), "Deposit");
    EXPECT_EQ(utf8(deposit.sheetTitle()), "Deposit Salary");
    EXPECT_FALSE(deposit.amountField().shouldAssumeSign());
    EXPECT_EQ(utf8(deposit.amountField().text()), "2,500.00");

    EXPECT_EQ(utf8(sheetFor(saving).verb()), "Pay");
}

TEST_F(PaySheetModelTest, ShowsTheLinkOrElseTheInstructions) {
    rent.setPaymentInstructions(QStringLiteral("Pay by cheque"));
    EXPECT_EQ(utf8(sheetFor(rent).instructions()), "Pay by cheque");
    EXPECT_TRUE(sheetFor(rent).linkURL().isEmpty());

    rent.setPaymentInstructions(QString());
    rent.setPaymentURL(QStringLiteral("landlord.example.com/pay"));
    const PaySheetModel pay = sheetFor(rent);
    EXPECT_EQ(utf8(pay.linkURL()), "http://landlord.example.com/pay");
    EXPECT_EQ(utf8(pay.linkTitle()), "landlord.example.com/pay");
    EXPECT_TRUE(pay.instructions().isEmpty());
}

TEST_F(PaySheetModelTest, EmptyAmountIsRefusedWithTheKindOfItemNamed) {
    PaySheetModel pay = sheetFor(rent);
    enter(pay, QString());
    EXPECT_FALSE(pay.confirm());
    EXPECT_EQ(alerts.last(), (Alert{QStringLiteral("Please specify the amount of your payment."),
                                    QStringLiteral("You must confirm the amount of your payment."),
                                    {}}));

    PaySheetModel deposit = sheetFor(salary);
    enter(deposit, QStringLiteral("-"));
    EXPECT_FALSE(deposit.confirm());
    EXPECT_EQ(alerts.last(), (Alert{QStringLiteral("Please specify the amount of your deposit."),
                                    QStringLiteral("You must confirm the amount of your deposit."),
                                    {}}));
    EXPECT_TRUE(savedRegister(checking).empty());
    EXPECT_TRUE(posted.isEmpty());
}

TEST_F(PaySheetModelTest, PositiveAmountForAPaymentAsksBeforeMakingADeposit) {
    const Alert question{
        QStringLiteral("Are you sure you want to make a deposit?"),
        QStringLiteral("This scheduled transaction is a payment. Specifying a positive amount will "
                       "make a deposit into the account \"Checking\"."),
        {QStringLiteral("Make the Deposit"), QStringLiteral("Cancel")}};
    PaySheetModel pay = sheetFor(rent);
    enter(pay, QStringLiteral("50"));
    alerts.answer(QStringLiteral("Cancel"));
    EXPECT_FALSE(pay.confirm());
    EXPECT_EQ(alerts.last(), question);
    EXPECT_TRUE(savedRegister(checking).empty());
    EXPECT_EQ(rent.nextDueDate(), day(2024, 2, 28));

    alerts.answer(QStringLiteral("Make the Deposit"));
    EXPECT_TRUE(pay.confirm());
    EXPECT_EQ(alerts.last(), question);
    EXPECT_THAT(savedRegister(checking), ::testing::ElementsAre("2024-03-01 50.00 Rent Flat 3"));
}

TEST_F(PaySheetModelTest, PositiveAmountForATransferAsksToReverseIt) {
    PaySheetModel pay = sheetFor(saving);
    enter(pay, QStringLiteral("100"));
    alerts.answer(QStringLiteral("Cancel"));
    EXPECT_FALSE(pay.confirm());
    EXPECT_EQ(alerts.last(),
              (Alert{QStringLiteral("Are you sure you want to specify a positive amount for the transfer?"),
                     QStringLiteral(
                         "Specifying a positive amount will cause the transfer to occur in the opposite "
                         "direction. In this case, money will be transfered from the account \"Savings\" "
                         "to the account \"Checking\"."),
                     {QStringLiteral("Make the Transfer"), QStringLiteral("Cancel")}}));
    EXPECT_TRUE(savedRegister(savings).empty());
}

TEST_F(PaySheetModelTest, NegativeAmountForADepositAsksBeforeMakingAPayment) {
    PaySheetModel pay = sheetFor(salary);
    enter(pay, QStringLiteral("-20"));
    alerts.answer(QStringLiteral("Make the Payment"));
    EXPECT_TRUE(pay.confirm());
    EXPECT_EQ(alerts.last(),
              (Alert{QStringLiteral("Are you sure you want to make a payment?"),
                     QStringLiteral(
                         "This scheduled transaction is a deposit. Specifying a negative amount will make a "
                         "payment from the account \"Checking\"."),
                     {QStringLiteral("Make the Payment"), QStringLiteral("Cancel")}}));
    EXPECT_THAT(savedRegister(checking), ::testing::ElementsAre("2024-03-01 -20.00 Salary "));
}

TEST_F(PaySheetModelTest, PayingLogsOnTheChosenDateRoundedAndAdvancesTheItemOnce) {
    PaySheetModel pay = sheetFor(rent);
    pay.setDate(day(2024, 2, 29));
    enter(pay, QStringLiteral("-1,199.995"));
    pay.setNotes(QStringLiteral("late"));
    EXPECT_TRUE(pay.confirm());
    EXPECT_TRUE(alerts.shown().empty());
    EXPECT_THAT(savedRegister(checking), ::testing::ElementsAre("2024-02-29 -1200.00 Rent late"));
    const auto saved = reloaded();
    const model::ScheduledItem stored = savedItem(idOf(rent), *saved).value();
    EXPECT_EQ(stored.nextDueDate(), day(2024, 3, 28));
    EXPECT_EQ(utf8(stored.notes()), "late");
    EXPECT_EQ(model::Transaction(model::Account(in(*saved, checking.object())).orderedTransactions().front())
                  .theCategory(),
              in(*saved, housing));
    EXPECT_EQ(posted, QStringList{QStringLiteral("RefreshAllViews")});
}

TEST_F(PaySheetModelTest, PayingATransferBooksBothAccountsConverted) {
    PaySheetModel pay = sheetFor(saving);
    enter(pay, QStringLiteral("-90"));
    EXPECT_TRUE(pay.confirm());
    EXPECT_THAT(savedRegister(checking), ::testing::ElementsAre("2024-03-01 -90.00 Saving "));
    // 90 dollars at 0.9 euros each.
    EXPECT_THAT(savedRegister(savings), ::testing::ElementsAre("2024-03-01 81.00 Saving "));
}

TEST_F(PaySheetModelTest, PayingAOneTimeItemDeletesIt) {
    const objectstore::ObjectID id = idOf(salary);
    PaySheetModel pay = sheetFor(salary);
    EXPECT_TRUE(pay.confirm());
    EXPECT_FALSE(savedItem(id, *reloaded()).has_value());
    EXPECT_THAT(savedRegister(checking), ::testing::ElementsAre("2024-03-01 2500.00 Salary "));
}

TEST_F(PaySheetModelTest, AccountWithoutCentsRoundsToWholeUnits) {
    addCurrency("JPY", "Japanese Yen", "150");
    model::Account yen = newAccount(QStringLiteral("Tokyo"));
    yen.setCurrencyCode(QStringLiteral("JPY"));
    model::ScheduledItem fee = newItem(QStringLiteral("Fee"), yen, "-500", day(2024, 3, 1));
    workspace.saveDatabase();
    PaySheetModel pay = sheetFor(fee);
    EXPECT_TRUE(pay.amountField().noCents());
    EXPECT_EQ(utf8(pay.amountField().text()), "-500");
    enter(pay, QStringLiteral("-499.5"));
    EXPECT_TRUE(pay.confirm());
    EXPECT_THAT(savedRegister(yen), ::testing::ElementsAre("2024-03-01 -500.00 Fee "));
}

} // namespace
