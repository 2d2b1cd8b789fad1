#include "MoneyFixture.h"
#include "model/ScheduledItem.h"
#include "platform/InternalError.h"

using namespace vantrel::model;
using vantrel::objectstore::ManagedObject;
using vantrel::platform::InternalError;
using vantrel::testsupport::amount;
using vantrel::testsupport::day;
using vantrel::testsupport::MoneyFixture;
using vantrel::testsupport::utf8;

namespace {

QString internalErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const InternalError& error) {
        return error.message();
    }
    return QStringLiteral("(no error)");
}

class AccountBehaviourTest : public MoneyFixture {
protected:
    QStringList namesInOrder() {
        QStringList names;
        for (const Account& account : Account::allInAccountOrder(context)) {
            names.push_back(QStringLiteral("%1:%2").arg(account.name()).arg(*account.index()));
        }
        return names;
    }

    ScheduledItem scheduled(Account& from, const QString& title, Account* to = nullptr) {
        ScheduledItem item = ScheduledItem::insertInContext(context);
        item.setTitle(title);
        item.setAccount(from.object());
        item.setToAccount(to == nullptr ? nullptr : to->object());
        return item;
    }
};

TEST_F(AccountBehaviourTest, TypesHaveDisplayNames) {
    EXPECT_EQ(Account::displayNameForType(QStringLiteral("checking")), QStringLiteral("Checking"));
    EXPECT_EQ(Account::displayNameForType(QStringLiteral("savings")), QStringLiteral("Savings"));
    EXPECT_EQ(Account::displayNameForType(QStringLiteral("credit_card")), QStringLiteral("Credit Card"));
    EXPECT_EQ(Account::displayNameForType(QStringLiteral("cash")), QStringLiteral("Cash"));
    EXPECT_EQ(Account::displayNameForType(QStringLiteral("other")), QStringLiteral("Other"));
    EXPECT_TRUE(Account::displayNameForType(QStringLiteral("Checking")).isNull());
    EXPECT_TRUE(Account::displayNameForType(QString()).isNull());
}

// ---- Order ---------------------------------------------------------------------------------

TEST_F(AccountBehaviourTest, MovingTheLastOfFourToTheTopRenumbersAll) {
    newAccount(QStringLiteral("A"));
    newAccount(QStringLiteral("B"));
    newAccount(QStringLiteral("C"));
    Account d = newAccount(QStringLiteral("D"));
    ASSERT_EQ(namesInOrder(), (QStringList{"A:0", "B:1", "C:2", "D:3"}));
    EXPECT_TRUE(d.isLastNode());

    d.moveToIndex(0);
    EXPECT_EQ(namesInOrder(), (QStringList{"D:0", "A:1", "B:2", "C:3"}));
    EXPECT_EQ(d.realIndex(), 0u);
    EXPECT_FALSE(d.isLastNode());
    EXPECT_EQ(Account::first(context), d);
    EXPECT_EQ(Account::accountAtIndex(context, 3).name(), QStringLiteral("C"));

    d.moveToIndex(4);
    EXPECT_EQ(namesInOrder(), (QStringList{"A:0", "B:1", "C:2", "D:3"}));
    EXPECT_EQ(utf8(internalErrorOf([&] { d.moveToIndex(5); })), "index too big");
    EXPECT_EQ(namesInOrder(), (QStringList{"A:0", "B:1", "C:2", "D:3"}));
}

TEST_F(AccountBehaviourTest, InactiveAccountsSortLastAndAreRenumberedWithTheOthers) {
    Account a = newAccount(QStringLiteral("A"));
    newAccount(QStringLiteral("B"));
    Account c = newAccount(QStringLiteral("C"));
    a.setClosed(true);
    EXPECT_EQ(namesInOrder(), (QStringList{"B:1", "C:2", "A:0"}));
    c.moveToIndex(0);
    EXPECT_EQ(namesInOrder(), (QStringList{"C:0", "B:1", "A:2"}));
    EXPECT_TRUE(a.isLastNode());
}

TEST_F(AccountBehaviourTest, LookupOutsideTheAccountsIsAnInternalError) {
    EXPECT_FALSE(Account::first(context));
    newAccount(QStringLiteral("A"));
    newAccount(QStringLiteral("B"));
    EXPECT_EQ(
        utf8(internalErrorOf([&] { Account::accountAtIndex(context, 2); })),
        "Child not found. Requested child at index 2 for Node <Accounts>, but there are only 2 children.");
    EXPECT_EQ(
        utf8(internalErrorOf([&] { Account::accountAtIndex(context, -1); })),
        "Child not found. Requested child at index -1 for Node <Accounts>, but there are only 2 children.");
}

TEST_F(AccountBehaviourTest, ValidIndexNeedsIndexAndSortKeyOnEveryAccount) {
    Account a = newAccount(QStringLiteral("A"));
    Account b = newAccount(QStringLiteral("B"));
    EXPECT_TRUE(Account::allHaveValidIndexInContext(context));
    b.setSortKey(QString());
    EXPECT_FALSE(Account::allHaveValidIndexInContext(context));
    b.setSortKey(QStringLiteral("abc"));
    a.setIndex(std::nullopt);
    EXPECT_FALSE(Account::allHaveValidIndexInContext(context));
}

// ---- Balances ------------------------------------------------------------------------------

TEST_F(AccountBehaviourTest, WithoutTransactionsTheBalanceIsTheStartBalance) {
    Account account = newAccount(QStringLiteral("A"), QStringLiteral("savings"), "250.75");
    EXPECT_EQ(account.balance(), amount("250.75"));
    EXPECT_EQ(account.reconciledBalance(), amount("250.75"));
    EXPECT_EQ(account.effectiveStartBalanceDate(), account.startBalanceDate());
    account.setStartBalance(std::nullopt);
    EXPECT_EQ(account.balance(), amount("0"));
}

TEST_F(AccountBehaviourTest, PendingEntriesLeaveTheClearedBalanceAndNewOnesStayInIt) {
    Account account = newAccount(QStringLiteral("A"), QStringLiteral("checking"), "100");
    Transaction cleared = newTransaction(account, "40", day(2024, 3, 1));
    cleared.setFlagged(false);
    Transaction future = newTransaction(account, "-20", today().monthsLater_VT(1));
    future.setFlagged(false);
    newTransaction(account, "-20", today()); // pending
    ASSERT_EQ(account.balance(), amount("100"));
    EXPECT_EQ(account.reconciledBalance(), amount("120"));

    Transaction fresh = newTransaction(account, "-7", today());
    fresh.setImported(true);
    fresh.setOfxAmount(amount("-7"));
    EXPECT_EQ(account.balance(), amount("93"));
    EXPECT_EQ(account.reconciledBalance(), amount("113"));
    EXPECT_EQ(account.numberOfPendingTransactions(), 1u);
    EXPECT_EQ(account.numberOfNewTransactions(), 1u);
    ASSERT_EQ(account.pendingTransactions().size(), 1u);
    EXPECT_EQ(account.pendingTransactions().front().amount(), amount("-20"));
    EXPECT_EQ(account.balance(), Transaction(account.orderedTransactions().front()).runningBalance());
}

TEST_F(AccountBehaviourTest, BalancesInTheHomeCurrency) {
    useDollarsAndEuros();
    Account dollars = newAccount(QStringLiteral("Dollars"), QStringLiteral("checking"), "10");
    Account euros = newAccount(QStringLiteral("Euros"), QStringLiteral("savings"), "90");
    euros.setCurrencyCode(QStringLiteral("EUR"));
    newTransaction(euros, "-0.9", today());
    newTransaction(euros, "-9", today()).setFlagged(false);

    EXPECT_FALSE(dollars.isForeign());
    EXPECT_TRUE(euros.isForeign());
    EXPECT_TRUE(euros.hasDifferentCurrencyThanAccount(dollars));
    EXPECT_FALSE(dollars.hasDifferentCurrencyThanAccount(dollars));
    EXPECT_EQ(euros.balance(), amount("80.1"));
    EXPECT_EQ(euros.balanceInHomeCurrency(), amount("89"));
    EXPECT_EQ(euros.reconciledBalanceInHomeCurrency(), amount("90"));
    EXPECT_EQ(dollars.balanceInHomeCurrency(), amount("10"));
    EXPECT_EQ(Account::totalStartingBalanceInContext(context), amount("110"));
    EXPECT_EQ(Account::overallBalanceInContext(context), amount("99"));
}

TEST_F(AccountBehaviourTest, OverallBalanceOnADateConvertsEachForeignAccountTotalOnce) {
    useDollarsAndEuros();
    Account dollars = newAccount(QStringLiteral("Dollars"), QStringLiteral("checking"), "1");
    Account euros = newAccount(QStringLiteral("Euros"));
    euros.setCurrencyCode(QStringLiteral("EUR"));
    newTransaction(dollars, "5", day(2024, 3, 1));
    newTransaction(dollars, "7", day(2024, 3, 10));
    newTransaction(euros, "0.05", day(2024, 3, 1));
    newTransaction(euros, "0.05", day(2024, 3, 2));
    newTransaction(euros, "9", day(2024, 3, 11));

    // 0.10 EUR is 0.11 USD; each 0.05 on its own would round to 0.06.
    EXPECT_EQ(Account::overallBalanceOnDate(context, day(2024, 3, 2)), amount("6.11"));
    EXPECT_EQ(Account::overallBalanceOnDate(context, day(2024, 3, 10)), amount("13.11"));
    EXPECT_EQ(Account::overallBalanceOnDate(context, std::nullopt), amount("23.11"));
}

TEST_F(AccountBehaviourTest, PeriodTotalsIncludeBothEnds) {
    Account account = newAccount(QStringLiteral("A"), QStringLiteral("checking"), "1000");
    newTransaction(account, "-1", day(2024, 1, 31));
    newTransaction(account, "-10", day(2024, 2, 1));
    newTransaction(account, "-100", day(2024, 2, 29));
    newTransaction(account, "-1000", day(2024, 3, 1));

    EXPECT_EQ(account.totalFromDate(day(2024, 2, 1), day(2024, 2, 29)), amount("-110"));
    EXPECT_EQ(account.totalFromDate(std::nullopt, day(2024, 2, 1)), amount("-11"));
    EXPECT_EQ(account.totalFromDate(std::nullopt, std::nullopt), amount("-1111"));
    EXPECT_EQ(Account::totalFromDate(context, day(2024, 2, 1), day(2024, 2, 29)), amount("-110"));
    EXPECT_THROW(account.totalFromDate(day(2024, 2, 1), std::nullopt), InternalError);
    EXPECT_THROW(Account::totalFromDate(context, day(2024, 2, 1), std::nullopt), InternalError);
}

TEST_F(AccountBehaviourTest, BalanceTextsUseTheAccountsCurrencyWithOrWithoutCents) {
    useDollarsAndEuros();
    Account dollars = newAccount(QStringLiteral("Checking"), QStringLiteral("checking"), "1234.56");
    Account euros = newAccount(QStringLiteral("Euros"), QStringLiteral("savings"), "-10.5");
    euros.setCurrencyCode(QStringLiteral("EUR"));
    newTransaction(dollars, "-1000", today());
    const QString us = QStringLiteral("en_US");

    EXPECT_EQ(dollars.balanceStringWithCents(true, us), QStringLiteral("$234.56"));
    EXPECT_EQ(dollars.balanceStringWithCents(false, us), QStringLiteral("$235"));
    EXPECT_EQ(dollars.reconciledBalanceStringWithCents(true, us), QStringLiteral("$1,234.56"));
    EXPECT_EQ(dollars.nameWithBalance(us), QStringLiteral("Checking ($234.56)"));
    EXPECT_EQ(euros.balanceStringWithCents(true, us), QStringLiteral("-€10.50"));
    EXPECT_EQ(Account::overallBalanceStringWithCents(context, true, us), QStringLiteral("$222.89"));
    EXPECT_EQ(Account::overallBalanceStringWithCents(context, false, us), QStringLiteral("$223"));
}

// ---- Transactions of the account -----------------------------------------------------------

TEST_F(AccountBehaviourTest, EarliestAndBankDates) {
    Account account = newAccount(QStringLiteral("A"));
    EXPECT_FALSE(account.dateOfEarliestTransaction());
    EXPECT_FALSE(account.dateOfLatestOFXTransaction());
    newTransaction(account, "1", day(2024, 2, 10));
    newTransaction(account, "1", day(2024, 3, 20));
    Transaction bank = newTransaction(account, "1", day(2024, 3, 5));
    bank.setOfxAmount(amount("1"));
    bank.setOfxDate(day(2024, 3, 4));
    EXPECT_EQ(account.dateOfEarliestTransaction(), day(2024, 2, 10));
    EXPECT_EQ(account.dateOfLatestOFXTransaction(), day(2024, 3, 5));
}

TEST_F(AccountBehaviourTest, EffectiveStartDateIsTheDayBeforeAnEarlierFirstTransaction) {
    Account account = newAccount(QStringLiteral("A"));
    account.setStartBalanceDate(day(2024, 3, 1));
    newTransaction(account, "1", day(2024, 3, 1));
    EXPECT_EQ(account.effectiveStartBalanceDate(), day(2024, 2, 29));
    account.setStartBalanceDate(day(2024, 2, 28));
    EXPECT_EQ(account.effectiveStartBalanceDate(), day(2024, 2, 28));
    newTransaction(account, "1", day(2023, 12, 25));
    EXPECT_EQ(account.effectiveStartBalanceDate(), day(2023, 12, 24));
}

TEST_F(AccountBehaviourTest, ScheduleListNamesOwnItemsThenIncomingTransfers) {
    Account checking = newAccount(QStringLiteral("Checking"));
    Account savings = newAccount(QStringLiteral("Savings"));
    EXPECT_FALSE(checking.hasScheduledItems());
    EXPECT_TRUE(checking.displayableScheduleList().isEmpty());

    scheduled(savings, QStringLiteral("Top up"), &checking);
    EXPECT_TRUE(checking.hasScheduledItems());
    EXPECT_EQ(checking.displayableScheduleList(), QStringLiteral("  •  Top up (Transfer)\n"));

    scheduled(checking, QStringLiteral("Rent"));
    scheduled(checking, QStringLiteral("Save"), &savings);
    QString ownItems = checking.displayableScheduleList();
    EXPECT_TRUE(ownItems == QStringLiteral("  •  Rent\n  •  Save (Transfer)\n  •  Top up (Transfer)\n") ||
                ownItems == QStringLiteral("  •  Save (Transfer)\n  •  Rent\n  •  Top up (Transfer)\n"))
        << utf8(ownItems);
}

TEST_F(AccountBehaviourTest, DestroyingTakesTransactionsAndScheduledItemsAlong) {
    Account checking = newAccount(QStringLiteral("Checking"));
    Account savings = newAccount(QStringLiteral("Savings"));
    Transaction mine = newTransaction(checking, "-5", today());
    mine.setMultipleCategoriesAndAmounts({{nullptr, amount("-2")}, {nullptr, amount("-3")}});
    Transaction theirs = newTransaction(savings, "-5", today());
    ScheduledItem own = scheduled(checking, QStringLiteral("Rent"));
    ScheduledItem incoming = scheduled(savings, QStringLiteral("Top up"), &checking);
    ScheduledItem unrelated = scheduled(savings, QStringLiteral("Gym"));

    checking.destroy();
    EXPECT_TRUE(checking.isDeleted());
    EXPECT_TRUE(mine.isDeleted());
    EXPECT_EQ(context.count(u"Split"), 0u);
    EXPECT_TRUE(own.isDeleted());
    EXPECT_TRUE(incoming.isDeleted());
    EXPECT_FALSE(theirs.isDeleted());
    EXPECT_FALSE(unrelated.isDeleted());
    EXPECT_EQ(savings.balance(), amount("-5"));
}

} // namespace
