#include "MoneyFixture.h"
#include "model/Split.h"
#include "model/SplitSet.h"
#include "platform/InternalError.h"

#include <QSet>

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

QStringList titlesOf(const std::vector<ManagedObject*>& objects) {
    QStringList titles;
    for (ManagedObject* object : objects) {
        titles.push_back(Transaction(object).title());
    }
    return titles;
}

QStringList titlesOf(const std::vector<Transaction>& transactions) {
    QStringList titles;
    for (const Transaction& transaction : transactions) {
        titles.push_back(transaction.title());
    }
    return titles;
}

class TransactionBehaviourTest : public MoneyFixture {
protected:
    Account checking = newAccount(QStringLiteral("Checking"), QStringLiteral("checking"), "100");
    CategoryVT food = newCategory(QStringLiteral("Food"));
    CategoryVT gas = newCategory(QStringLiteral("Gas"));
    CategoryVT rent = newCategory(QStringLiteral("Rent"));
};

// ---- Order and running balance -------------------------------------------------------------

TEST_F(TransactionBehaviourTest, LaterCreatedEntryOfTheSameDaySortsFirstAndBalancesAfterTheEarlierOne) {
    Transaction earlier = newTransaction(checking, "-20", day(2024, 3, 10), QStringLiteral("earlier"));
    Transaction later = newTransaction(checking, "-5", day(2024, 3, 10), QStringLiteral("later"));
    Transaction dayBefore = newTransaction(checking, "-1", day(2024, 3, 9), QStringLiteral("day before"));

    EXPECT_EQ(titlesOf(checking.orderedTransactions()), (QStringList{"later", "earlier", "day before"}));
    EXPECT_EQ(dayBefore.runningBalance(), amount("99"));
    EXPECT_EQ(earlier.runningBalance(), amount("79"));
    EXPECT_EQ(later.runningBalance(), amount("74"));
    EXPECT_EQ(checking.balance(), later.runningBalance());
}

TEST_F(TransactionBehaviourTest, EveryTransactionCountsWhateverTheStartBalanceDateAndOtherAccounts) {
    checking.setStartBalanceDate(day(2024, 3, 1));
    Account savings = newAccount(QStringLiteral("Savings"), QStringLiteral("savings"), "1000");
    newTransaction(savings, "-500", day(2024, 1, 1));
    Transaction old = newTransaction(checking, "-30", day(2023, 12, 31));
    Transaction future = newTransaction(checking, "10", day(2024, 6, 1));

    EXPECT_EQ(old.runningBalance(), amount("70"));
    EXPECT_EQ(future.runningBalance(), amount("80"));
    EXPECT_EQ(checking.balance(), amount("80"));
}

TEST_F(TransactionBehaviourTest, OrderedTransactionsFollowEditsMovesAndDeletes) {
    Transaction a = newTransaction(checking, "1", day(2024, 3, 1), QStringLiteral("a"));
    Transaction b = newTransaction(checking, "2", day(2024, 3, 2), QStringLiteral("b"));
    Transaction c = newTransaction(checking, "3", day(2024, 3, 3), QStringLiteral("c"));
    ASSERT_EQ(titlesOf(checking.orderedTransactions()), (QStringList{"c", "b", "a"}));

    a.setDate(day(2024, 3, 4));
    EXPECT_EQ(titlesOf(checking.orderedTransactions()), (QStringList{"a", "c", "b"}));

    Account savings = newAccount(QStringLiteral("Savings"));
    c.moveTo(savings);
    EXPECT_EQ(titlesOf(checking.orderedTransactions()), (QStringList{"a", "b"}));
    EXPECT_EQ(titlesOf(savings.orderedTransactions()), QStringList{"c"});
    EXPECT_EQ(c.amount(), amount("3"));
    EXPECT_EQ(c.date(), day(2024, 3, 3));

    context.deleteObject(b.object());
    EXPECT_EQ(titlesOf(checking.orderedTransactions()), QStringList{"a"});
}

TEST_F(TransactionBehaviourTest, OrderedTransactionsWorkOnAContextWithoutValidation) {
    vantrel::objectstore::Context bare(
        std::make_shared<vantrel::objectstore::MemoryStore>(DataModel::description()));
    Account account = Account::insertInContext(bare, clock);
    Transaction first = Transaction::insertInContext(bare, clock);
    first.setTitle(QStringLiteral("first"));
    first.setAccount(account.object());
    clock.advanceSeconds(1);
    Transaction second = Transaction::insertInContext(bare, clock);
    second.setTitle(QStringLiteral("second"));
    second.setAccount(account.object());

    EXPECT_EQ(titlesOf(account.orderedTransactions()), (QStringList{"second", "first"}));
    // A second account of the same context uses the ordering registered by the first call.
    Account other = Account::insertInContext(bare, clock);
    EXPECT_TRUE(other.orderedTransactions().empty());
}

TEST_F(TransactionBehaviourTest, AllInContextUsesTheDefaultOrderAcrossAccounts) {
    Account savings = newAccount(QStringLiteral("Savings"));
    newTransaction(checking, "1", day(2024, 3, 1), QStringLiteral("checking old"));
    newTransaction(savings, "1", day(2024, 3, 5), QStringLiteral("savings new"));
    newTransaction(checking, "1", day(2024, 3, 5), QStringLiteral("checking new"));

    EXPECT_EQ(titlesOf(Transaction::allInContext(context)),
              (QStringList{"checking new", "savings new", "checking old"}));
    const auto all = Transaction::allInContext(context);
    EXPECT_TRUE(Transaction::precedes(all[0], all[1]));
    EXPECT_FALSE(Transaction::precedes(all[1], all[0]));
}

TEST_F(TransactionBehaviourTest, DateBoundsAndReportRange) {
    EXPECT_FALSE(Transaction::dateOfEarliestTransactionInContext(context));
    EXPECT_FALSE(Transaction::dateOfLatestTransactionInContext(context));
    EXPECT_EQ(Transaction::reportDateRange(context, clock), std::pair(today(), today()));

    newTransaction(checking, "1", day(2024, 3, 10));
    EXPECT_EQ(Transaction::reportDateRange(context, clock), std::pair(day(2024, 3, 10), today()));

    newTransaction(checking, "1", day(2022, 5, 1));
    newTransaction(checking, "1", day(2025, 1, 2));
    EXPECT_EQ(Transaction::dateOfEarliestTransactionInContext(context), day(2022, 5, 1));
    EXPECT_EQ(Transaction::dateOfLatestTransactionInContext(context), day(2025, 1, 2));
    EXPECT_EQ(Transaction::reportDateRange(context, clock), std::pair(day(2022, 5, 1), day(2025, 1, 2)));
}

TEST_F(TransactionBehaviourTest, DateRangeIncludesBothEndsAndSelectsByCategory) {
    newTransaction(checking, "-1", day(2024, 2, 29), QStringLiteral("before"), food.object());
    newTransaction(checking, "-1", day(2024, 3, 1), QStringLiteral("first day food"), food.object());
    newTransaction(checking, "-1", day(2024, 3, 15), QStringLiteral("uncategorised"));
    Transaction split = newTransaction(checking, "-10", day(2024, 3, 20), QStringLiteral("split"));
    split.setMultipleCategoriesAndAmounts({{gas.object(), amount("-6")}, {nullptr, amount("-4")}});
    newTransaction(checking, "-1", day(2024, 3, 31), QStringLiteral("last day rent"), rent.object());
    newTransaction(checking, "-1", day(2024, 4, 1), QStringLiteral("after"));

    const auto inMarch = [&](ManagedObject* category) {
        QStringList titles =
            titlesOf(Transaction::allWithDateRange(context, day(2024, 3, 1), day(2024, 3, 31), category));
        titles.sort();
        return titles;
    };
    QStringList all = titlesOf(Transaction::allWithDateRange(context, day(2024, 3, 1), day(2024, 3, 31)));
    all.sort();
    EXPECT_EQ(all, (QStringList{"first day food", "last day rent", "split", "uncategorised"}));
    EXPECT_EQ(inMarch(food.object()), QStringList{"first day food"});
    EXPECT_EQ(inMarch(gas.object()), QStringList{"split"});
    EXPECT_EQ(inMarch(nullptr), (QStringList{"split", "uncategorised"}));
}

// ---- Category lines ------------------------------------------------------------------------

TEST_F(TransactionBehaviourTest, OnePairMakesAPlainCategoryAndSeveralMakeASplitSet) {
    Transaction transaction = newTransaction(checking, "-100", today(), QString(), food.object());
    transaction.setMultipleCategoriesAndAmounts(
        {{food.object(), amount("-50")}, {gas.object(), amount("-30")}, {nullptr, amount("-20")}});
    ASSERT_NE(transaction.splitSet(), nullptr);
    EXPECT_EQ(transaction.category(), nullptr);
    EXPECT_EQ(transaction.amount(), amount("-100"));
    EXPECT_EQ(SplitSet(transaction.splitSet()).splits().size(), 3u);
    EXPECT_FALSE(transaction.hasSingleCategory());

    ManagedObject* oldSet = transaction.splitSet();
    const auto oldSplits = SplitSet(oldSet).splits();
    transaction.setMultipleCategoriesAndAmounts({{rent.object(), amount("-80")}});
    EXPECT_EQ(transaction.splitSet(), nullptr);
    EXPECT_EQ(transaction.category(), rent.object());
    EXPECT_EQ(transaction.amount(), amount("-80"));
    EXPECT_TRUE(oldSet->isDeleted());
    for (ManagedObject* split : oldSplits) {
        EXPECT_TRUE(split->isDeleted());
    }
    EXPECT_TRUE(context.save().succeeded());
}

TEST_F(TransactionBehaviourTest, ReplacingASplitSetDeletesTheOldOne) {
    Transaction transaction = newTransaction(checking, "-10", today());
    transaction.setMultipleCategoriesAndAmounts(
        {{food.object(), amount("-6")}, {gas.object(), amount("-4")}});
    ManagedObject* first = transaction.splitSet();
    transaction.setMultipleCategoriesAndAmounts(
        {{rent.object(), amount("-7")}, {gas.object(), amount("-3")}});
    EXPECT_NE(transaction.splitSet(), first);
    EXPECT_TRUE(first->isDeleted());
    EXPECT_EQ(context.count(u"Split"), 2u);
}

TEST_F(TransactionBehaviourTest, AnEmptyPairListIsAnInternalError) {
    Transaction transaction = newTransaction(checking, "-10", today());
    const QString id = transaction.object()->id().toText(context.model());
    EXPECT_EQ(
        utf8(internalErrorOf([&] { transaction.setMultipleCategoriesAndAmounts({}); })),
        utf8(QStringLiteral("argument should be in multiples of two, but got 0, the transaction was ") + id));
}

TEST_F(TransactionBehaviourTest, SplitViewsOfPlainAndSplitTransactions) {
    Transaction plain = newTransaction(checking, "-12", today(), QString(), food.object());
    EXPECT_EQ(plain.splits(), (std::vector<PlainSplit>{{food.object(), amount("-12")}}));
    EXPECT_EQ(plain.theCategory(), food.object());

    Transaction split = newTransaction(checking, "-20", today());
    split.setMultipleCategoriesAndAmounts({{nullptr, amount("-1")},
                                           {gas.object(), amount("-5")},
                                           {nullptr, amount("3")},
                                           {food.object(), amount("-5")},
                                           {rent.object(), amount("-12")}});
    EXPECT_EQ(split.sortedSplits(), (std::vector<PlainSplit>{{rent.object(), amount("-12")},
                                                             {food.object(), amount("-5")},
                                                             {gas.object(), amount("-5")},
                                                             {nullptr, amount("3")},
                                                             {nullptr, amount("-1")}}));
    EXPECT_EQ(utf8(internalErrorOf([&] { split.theCategory(); })),
              "should not call category with more than one splits");
    EXPECT_EQ(split.categoriesAndAmountsCompatible().size(), 5u);
}

TEST_F(TransactionBehaviourTest, ASplitSetOfOneLineCountsAsASingleCategory) {
    Transaction transaction = newTransaction(checking, "-10", today());
    transaction.setMultipleCategoriesAndAmounts(
        {{food.object(), amount("-6")}, {gas.object(), amount("-4")}});
    context.deleteObject(SplitSet(transaction.splitSet()).splits().front());
    EXPECT_TRUE(transaction.hasSingleCategory());
    EXPECT_FALSE(transaction.hasMultipleCategories());
}

TEST_F(TransactionBehaviourTest, SplitToSingleKeepsTheLargestLineFirstMetOnATie) {
    Transaction transaction = newTransaction(checking, "-10", today(), QString(), rent.object());
    EXPECT_EQ(transaction.splitToSingle(), rent.object());
    transaction.setMultipleCategoriesAndAmounts(
        {{food.object(), amount("-3")}, {gas.object(), amount("-8")}, {rent.object(), amount("1")}});
    EXPECT_EQ(transaction.splitToSingle(), gas.object());
    transaction.setMultipleCategoriesAndAmounts(
        {{food.object(), amount("-5")}, {gas.object(), amount("-5")}});
    const auto lines = transaction.splits();
    EXPECT_EQ(transaction.splitToSingle(), lines.front().category);
}

TEST_F(TransactionBehaviourTest, ChangingTheAmountOfASplitAddsAnUncategorisedLine) {
    Transaction up = newTransaction(checking, "100", today());
    up.setMultipleCategoriesAndAmounts({{food.object(), amount("60")}, {gas.object(), amount("40")}});
    up.safelyChangeAmountTo(amount("120"));
    EXPECT_EQ(up.amount(), amount("120"));
    EXPECT_EQ(up.sortedSplits(),
              (std::vector<PlainSplit>{
                  {gas.object(), amount("40")}, {food.object(), amount("60")}, {nullptr, amount("20")}}));

    Transaction down = newTransaction(checking, "100", today());
    down.setMultipleCategoriesAndAmounts({{food.object(), amount("60")}, {gas.object(), amount("40")}});
    down.safelyChangeAmountTo(amount("90"));
    EXPECT_EQ(down.sortedSplits(),
              (std::vector<PlainSplit>{
                  {gas.object(), amount("40")}, {food.object(), amount("60")}, {nullptr, amount("-10")}}));
    EXPECT_TRUE(context.save().succeeded());
}

TEST_F(TransactionBehaviourTest, ChangingTheAmountOfASingleCategoryOrOneLineSplitKeepsOneCategory) {
    Transaction plain = newTransaction(checking, "-10", today(), QString(), food.object());
    plain.safelyChangeAmountTo(amount("-15"));
    EXPECT_EQ(plain.splits(), (std::vector<PlainSplit>{{food.object(), amount("-15")}}));
    EXPECT_EQ(plain.splitSet(), nullptr);

    Transaction oneLine = newTransaction(checking, "-10", today());
    oneLine.setMultipleCategoriesAndAmounts({{gas.object(), amount("-6")}, {food.object(), amount("-4")}});
    for (ManagedObject* split : SplitSet(oneLine.splitSet()).splits()) {
        if (Split(split).category() == food.object()) {
            context.deleteObject(split);
            break;
        }
    }
    oneLine.safelyChangeAmountTo(amount("-25"));
    EXPECT_EQ(oneLine.splitSet(), nullptr);
    EXPECT_EQ(oneLine.category(), gas.object());
    EXPECT_EQ(oneLine.amount(), amount("-25"));
    EXPECT_TRUE(context.save().succeeded());
}

TEST_F(TransactionBehaviourTest, FixingSplitsThatAlreadyAddUpChangesNothing) {
    Transaction transaction = newTransaction(checking, "-10", today());
    transaction.setMultipleCategoriesAndAmounts(
        {{food.object(), amount("-6")}, {gas.object(), amount("-4")}});
    ManagedObject* set = transaction.splitSet();
    transaction.fixSplitsIfNecessary();
    EXPECT_EQ(transaction.splitSet(), set);
    EXPECT_EQ(transaction.splits().size(), 2u);
}

TEST_F(TransactionBehaviourTest, RepairOfCategoryAndSplitSetKeepsTheSplits) {
    Transaction transaction = newTransaction(checking, "-10", today());
    transaction.setMultipleCategoriesAndAmounts(
        {{food.object(), amount("-6")}, {gas.object(), amount("-4")}});
    transaction.setCategory(rent.object());
    EXPECT_FALSE(context.save().succeeded());
    transaction.fixSplitSetAndCategoryBothSetError();
    EXPECT_EQ(transaction.category(), nullptr);
    EXPECT_EQ(transaction.splits().size(), 2u);
    EXPECT_TRUE(context.save().succeeded());
}

TEST_F(TransactionBehaviourTest, SettingASingleCategoryKeepsAMissingAmountMissing) {
    Transaction transaction = Transaction::insertInContext(context, clock);
    transaction.setAccount(checking.object());
    transaction.setSingleCategory(food.object());
    EXPECT_EQ(transaction.category(), food.object());
    EXPECT_FALSE(transaction.amount());
}

// ---- Clearing states -----------------------------------------------------------------------

TEST_F(TransactionBehaviourTest, StatesFollowTheImportedFlagAndTheBankAmount) {
    Transaction user = newTransaction(checking, "-5", today());
    EXPECT_EQ(user.deducedType(), Transaction::Kind::User);
    EXPECT_TRUE(user.isPending());
    EXPECT_FALSE(user.isNew());
    EXPECT_EQ(user.flag(), QStringLiteral("pending"));
    user.setFlagged(false);
    EXPECT_TRUE(user.flag().isNull());
    EXPECT_TRUE(user.allBankFieldsAreNil());

    Transaction bank = newTransaction(checking, "-5", today());
    bank.setImported(true);
    bank.setOfxAmount(amount("-5"));
    EXPECT_EQ(bank.deducedType(), Transaction::Kind::Bank);
    EXPECT_TRUE(bank.isNew());
    EXPECT_FALSE(bank.isPending());
    EXPECT_EQ(bank.flag(), QStringLiteral("new"));
    EXPECT_FALSE(bank.allBankFieldsAreNil());

    bank.setImported(false);
    EXPECT_TRUE(bank.isMatched());
    EXPECT_TRUE(bank.isNew());
}

TEST_F(TransactionBehaviourTest, ANewEntryInACashAccountIsNotPending) {
    Account wallet = newAccount(QStringLiteral("Wallet"), QStringLiteral("cash"));
    EXPECT_FALSE(newTransaction(wallet, "-3", today()).isPending());
    EXPECT_TRUE(newTransaction(checking, "-3", today()).isPending());
}

class MatchTest : public TransactionBehaviourTest {
protected:
    Transaction bankEntry(const char* value) {
        Transaction bank = newTransaction(checking, value, day(2024, 3, 12));
        bank.setImported(true);
        bank.setOfxAmount(amount(value));
        bank.setOfxTitle(QStringLiteral("ACME hardware STORE"));
        bank.setOfxDate(day(2024, 3, 12));
        bank.setOfxCheckNumber(1042);
        bank.setOfxFitID(QStringLiteral("FIT-1"));
        return bank;
    }
};

TEST_F(MatchTest, MatchingTakesTheBankFieldsAndDeletesTheBankEntry) {
    Transaction mine = newTransaction(checking, "-42.10", day(2024, 3, 11), QStringLiteral("Hardware"));
    Transaction bank = bankEntry("-42.10");
    ManagedObject* bankObject = bank.object();
    mine.matchWith(bank);

    EXPECT_TRUE(bankObject->isDeleted());
    EXPECT_TRUE(mine.isMatched());
    EXPECT_FALSE(mine.isFlagged());
    EXPECT_EQ(mine.ofxAmount(), amount("-42.10"));
    EXPECT_EQ(mine.ofxTitle(), QStringLiteral("ACME hardware STORE"));
    EXPECT_EQ(mine.ofxDate(), day(2024, 3, 12));
    EXPECT_EQ(mine.ofxFitID(), QStringLiteral("FIT-1"));
    EXPECT_EQ(mine.checkNumber(), 1042);
    EXPECT_EQ(mine.title(), QStringLiteral("Hardware"));
    EXPECT_EQ(mine.date(), day(2024, 3, 11));
    EXPECT_FALSE(mine.isImported());
    EXPECT_TRUE(context.save().succeeded());
}

TEST_F(MatchTest, MatchingKeepsTheUsersOwnCheckNumber) {
    Transaction mine = newTransaction(checking, "-42.10", day(2024, 3, 11));
    mine.setCheckNumber(7);
    Transaction bank = bankEntry("-42.10");
    mine.matchWith(bank);
    EXPECT_EQ(mine.checkNumber(), 7);
    EXPECT_EQ(mine.ofxCheckNumber(), 1042);
}

TEST_F(MatchTest, MatchingRefusesOtherAmountsAccountsAndClearedEntries) {
    Transaction bank = bankEntry("-42.10");
    Transaction otherAmount = newTransaction(checking, "-42.11", today());
    EXPECT_THROW(otherAmount.matchWith(bank), InternalError);

    Account savings = newAccount(QStringLiteral("Savings"));
    Transaction otherAccount = newTransaction(savings, "-42.10", today());
    EXPECT_THROW(otherAccount.matchWith(bank), InternalError);

    Transaction cleared = newTransaction(checking, "-42.10", today());
    cleared.setFlagged(false);
    EXPECT_THROW(cleared.matchWith(bank), InternalError);

    Transaction notBank = newTransaction(checking, "-42.10", today());
    Transaction user = newTransaction(checking, "-42.10", today());
    EXPECT_THROW(user.matchWith(notBank), InternalError);
    EXPECT_FALSE(bank.isDeleted());
}

TEST_F(MatchTest, UndoingAMatchRecreatesTheBankEntry) {
    Transaction mine = newTransaction(checking, "-42.10", day(2024, 3, 11), QStringLiteral("Hardware"));
    Transaction bank = bankEntry("-42.10");
    mine.matchWith(bank);

    const Transaction restored = mine.undoMatch(clock);
    EXPECT_EQ(restored.title(), QStringLiteral("Acme Hardware Store"));
    EXPECT_EQ(restored.amount(), amount("-42.10"));
    EXPECT_EQ(restored.date(), day(2024, 3, 12));
    EXPECT_EQ(restored.checkNumber(), 1042);
    EXPECT_TRUE(restored.isBank());
    EXPECT_TRUE(restored.isNew());
    EXPECT_EQ(restored.ofxTitle(), QStringLiteral("ACME hardware STORE"));
    EXPECT_EQ(restored.ofxFitID(), QStringLiteral("FIT-1"));
    EXPECT_EQ(restored.ofxCheckNumber(), 1042);
    EXPECT_EQ(restored.account(), checking.object());

    EXPECT_TRUE(mine.allBankFieldsAreNil());
    EXPECT_TRUE(mine.isPending());
    EXPECT_EQ(mine.checkNumber(), 1042);
    EXPECT_TRUE(context.save().succeeded());
    EXPECT_THROW(mine.undoMatch(clock), InternalError);
}

// ---- Derived texts -------------------------------------------------------------------------

TEST_F(TransactionBehaviourTest, CategoryBasedTitleNamesTheLinesByAmountWithoutRepeats) {
    Transaction none = newTransaction(checking, "-1", today());
    EXPECT_EQ(none.categoryBasedTitle(), QStringLiteral("Uncategorized"));
    Transaction one = newTransaction(checking, "-1", today(), QString(), food.object());
    EXPECT_EQ(one.categoryBasedTitle(), QStringLiteral("Food"));

    Transaction two = newTransaction(checking, "-45", today());
    two.setMultipleCategoriesAndAmounts(
        {{food.object(), amount("-30")}, {gas.object(), amount("-10")}, {food.object(), amount("-5")}});
    EXPECT_EQ(two.categoryBasedTitle(), QStringLiteral("Food and Gas"));

    Transaction three = newTransaction(checking, "-45", today());
    three.setMultipleCategoriesAndAmounts(
        {{rent.object(), amount("-30")}, {nullptr, amount("-10")}, {gas.object(), amount("-5")}});
    EXPECT_EQ(three.categoryBasedTitle(), QStringLiteral("Gas, Uncategorized and Rent"));
}

TEST_F(TransactionBehaviourTest, KeywordsHoldTitleCategoriesNotesAndTheExactAbsoluteAmount) {
    Transaction full = newTransaction(checking, "-12.5", today(), QStringLiteral("Corner Shop"));
    full.setMultipleCategoriesAndAmounts({{food.object(), amount("-10")}, {nullptr, amount("-2.5")}});
    full.setNotes(QStringLiteral("milk"));
    EXPECT_EQ(full.keywords(), QStringLiteral("Corner Shop Food milk 12.50"));

    Transaction bare = newTransaction(checking, "3", today());
    EXPECT_EQ(bare.keywords(), QStringLiteral("3.00"));

    // A float holds 167772.17 as 167772.171875 but 167772.15 as 167772.15625, which "%.2f" shows as
    // 167772.16: the exact decimal keeps both.
    Transaction large = newTransaction(checking, "-167772.15", today(), QStringLiteral("Car"));
    EXPECT_EQ(large.keywords(), QStringLiteral("Car 167772.15"));
    large.setAmount(amount("123456789.99"));
    EXPECT_EQ(large.keywords(), QStringLiteral("Car 123456789.99"));
    large.setAmount(amount("1E3"));
    EXPECT_EQ(large.keywords(), QStringLiteral("Car 1000.00"));
}

TEST_F(TransactionBehaviourTest, DateTextAndPresence) {
    Transaction transaction = newTransaction(checking, "1", day(2024, 2, 29), QStringLiteral(" \u00a0"));
    EXPECT_EQ(transaction.utcDateString(), QStringLiteral("2024-02-29 00:00:00 +0000"));
    EXPECT_FALSE(transaction.hasTitle());
    EXPECT_FALSE(transaction.hasNote());
    transaction.setTitle(QStringLiteral("Rent"));
    transaction.setNotes(QStringLiteral("March"));
    EXPECT_TRUE(transaction.hasTitle());
    EXPECT_TRUE(transaction.hasNote());
}

// ---- Completion ----------------------------------------------------------------------------

TEST_F(TransactionBehaviourTest, PayeesBeginningWithTheTypedTextShortestFirst) {
    for (const char* title : {"Starbucks Reserve", "starbucks", "Stop & Shop", "Starbucks", "Starbucks",
                              "Target", "Restaurant St"}) {
        newTransaction(checking, "-1", today(), QString::fromUtf8(title));
    }
    EXPECT_EQ(Transaction::payeesMatching(context, QStringLiteral("st")),
              (QStringList{"Starbucks", "starbucks", "Stop & Shop", "Starbucks Reserve"}));
    EXPECT_TRUE(Transaction::payeesMatching(context, QStringLiteral("Zz")).isEmpty());
}

TEST_F(TransactionBehaviourTest, MostUsedCategoryCountsLinesOfTitlesEqualIgnoringCaseAndTrailingSpace) {
    newTransaction(checking, "-1", today(), QStringLiteral("Shell"), gas.object());
    newTransaction(checking, "-1", today(), QStringLiteral("SHELL  "), gas.object());
    newTransaction(checking, "-1", today(), QStringLiteral("shell\t"), gas.object());
    newTransaction(checking, "-1", today(), QStringLiteral("Shell Station"), food.object());
    newTransaction(checking, "-1", today(), QStringLiteral("Shell Station"), food.object());
    newTransaction(checking, "-1", today(), QStringLiteral("  shell"), food.object());
    newTransaction(checking, "-1", today(), QStringLiteral("  shell"), food.object());
    Transaction split = newTransaction(checking, "-2", today(), QStringLiteral("shell"));
    split.setMultipleCategoriesAndAmounts({{food.object(), amount("-1")}, {nullptr, amount("-1")}});

    // Gas 3, Food 1 (a split line); the other titles do not count.
    EXPECT_EQ(Transaction::mostUsedCategoryForName(context, QStringLiteral("shell")), gas.object());
    split.setMultipleCategoriesAndAmounts({{food.object(), amount("-1")},
                                           {nullptr, amount("-0.5")},
                                           {food.object(), amount("-0.25")},
                                           {food.object(), amount("-0.25")}});
    newTransaction(checking, "-1", today(), QStringLiteral("Shell"), food.object());
    EXPECT_EQ(Transaction::mostUsedCategoryForName(context, QStringLiteral("shell")), food.object());
}

TEST_F(TransactionBehaviourTest, MostUsedQueriesTakeTheNameLiterally) {
    newTransaction(checking, "-1", today(), QStringLiteral("AAB (x)"), food.object());
    newTransaction(checking, "-1", today(), QStringLiteral("Uncategorised"));
    EXPECT_EQ(Transaction::mostUsedCategoryForName(context, QStringLiteral("A+B (x)")), nullptr);
    EXPECT_EQ(Transaction::mostUsedCategoryForName(context, QStringLiteral("A.B*")), nullptr);
    newTransaction(checking, "-1", today(), QStringLiteral("a+b (X) "), rent.object());
    EXPECT_EQ(Transaction::mostUsedCategoryForName(context, QStringLiteral("A+B (x)")), rent.object());
    EXPECT_EQ(Transaction::mostUsedCategoryForName(context, QStringLiteral("Uncategorised")), nullptr);
    EXPECT_EQ(Transaction::mostUsedAccountForName(context, QStringLiteral("Nobody")), nullptr);
}

TEST_F(TransactionBehaviourTest, MostUsedAccountCountsTransactionsPerAccount) {
    Account savings = newAccount(QStringLiteral("Savings"));
    newTransaction(checking, "-1", today(), QStringLiteral("Payroll"));
    newTransaction(savings, "-1", today(), QStringLiteral("payroll "));
    newTransaction(savings, "-1", today(), QStringLiteral("PAYROLL"));
    newTransaction(checking, "-1", today(), QStringLiteral("Payroll bonus"));
    newTransaction(checking, "-1", today(), QStringLiteral("Payroll bonus"));
    EXPECT_EQ(Transaction::mostUsedAccountForName(context, QStringLiteral("Payroll")), savings.object());
}

} // namespace
