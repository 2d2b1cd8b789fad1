#include "import/ImportOperation.h"

#include "import/ParseException.h"
#include "model/Account.h"
#include "model/CategoryVT.h"
#include "model/DataModel.h"
#include "model/Global.h"
#include "model/ModelValidation.h"
#include "model/Transaction.h"
#include "platform/Clock.h"
#include "platform/InternalError.h"
#include "platform/objectstore/Context.h"
#include "platform/objectstore/MemoryStore.h"
#include "support/ModelValues.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <vector>

using namespace vantrel;
using import::DateOrder;
using import::ImportChoices;
using import::ImportedAccount;
using import::ImportedSplit;
using import::ImportedTransaction;
using import::ImportOperation;
using import::ImportProgress;
using import::ParseException;
using model::Account;
using model::CategoryVT;
using model::Transaction;
using testsupport::amount;
using testsupport::day;
using testsupport::utf8;

namespace {

QString text(const char* value) {
    return QString::fromUtf8(value);
}

QString fixture(const char* name) {
    return QStringLiteral(VANTREL_TEST_DATA "/qif-app/") + text(name);
}

ImportedSplit split(const char* category, const char* value, const char* memo = nullptr) {
    ImportedSplit result;
    if (category != nullptr) {
        result.category = text(category);
    }
    result.amount = amount(value);
    if (memo != nullptr) {
        result.memo = text(memo);
    }
    return result;
}

// A record as the program-export readers give it: one split carrying the category unless told.
ImportedTransaction record(const char* date, const char* value, const char* payee = nullptr,
                           const char* category = nullptr) {
    ImportedTransaction result;
    result.dateString = text(date);
    result.amount = amount(value);
    if (payee != nullptr) {
        result.payee = text(payee);
    }
    result.isPending = false;
    result.splits = {split(category, value)};
    return result;
}

ImportedAccount accountEntry(const char* name, const char* type, std::vector<ImportedTransaction> records) {
    ImportedAccount result;
    result.name = text(name);
    result.type = text(type);
    result.transactions = std::move(records);
    return result;
}

// The DateFormatException a call throws, or a failed expectation.
template <typename Call>
ParseException dateFormatFailure(Call&& call) {
    try {
        call();
    } catch (const ParseException& failure) {
        EXPECT_EQ(failure.name(), text(ParseException::kDateFormat));
        return failure;
    }
    ADD_FAILURE() << "no failure";
    return ParseException(QString(), QString());
}

class ImportOperationTest : public ::testing::Test {
protected:
    ImportOperationTest() {
        model::ModelValidation::install(context);
        model::Global::sharedInstanceInContext(context).setHomeCurrencyCode(QStringLiteral("USD"));
        EXPECT_TRUE(context.save().succeeded());
    }

    ImportOperation qifRun(ImportChoices choices = {}, std::optional<objectstore::ObjectID> target = {}) {
        return ImportOperation(QStringLiteral("unused.qif"), target, std::move(choices), clock);
    }

    Account existingAccount(const QString& name) {
        Account account = Account::insertInContext(context, clock);
        account.setName(name);
        account.setType(QStringLiteral("checking"));
        account.setStartBalance(amount("10.00"));
        EXPECT_TRUE(context.save().succeeded());
        return account;
    }

    CategoryVT existingCategory(const QString& name) {
        CategoryVT category = CategoryVT::insertInContext(context);
        category.setName(name);
        EXPECT_TRUE(context.save().succeeded());
        return category;
    }

    static std::vector<Transaction> transactionsOf(const Account& account) {
        std::vector<Transaction> result;
        for (objectstore::ManagedObject* object : account.transactions()) {
            result.emplace_back(object);
        }
        std::sort(result.begin(), result.end(),
                  [](const Transaction& a, const Transaction& b) { return *a.date() < *b.date(); });
        return result;
    }

    Account onlyAccountNamed(const QString& name) {
        std::vector<Account> found;
        for (const Account& account : Account::allInAccountOrder(context)) {
            if (account.name() == name) {
                found.push_back(account);
            }
        }
        EXPECT_EQ(found.size(), 1U) << utf8(name);
        return found.front();
    }

    QString categoryName(objectstore::ManagedObject* category) {
        return category == nullptr ? QString() : CategoryVT(category).name();
    }

    std::shared_ptr<objectstore::MemoryStore> store =
        std::make_shared<objectstore::MemoryStore>(model::DataModel::description());
    objectstore::Context context{store};
    platform::FixedClock clock{QDateTime(QDate(2024, 3, 15), QTime(12, 0), QTimeZone::utc()),
                               QTimeZone::utc()};
};

// ---- Whole-file import -----------------------------------------------------------------------

TEST_F(ImportOperationTest, FirstOpeningBalanceRecordBecomesTheStartBalanceAndASecondOneATransaction) {
    ImportOperation operation = qifRun();
    operation.importAccountsIntoContext(
        {accountEntry("Checking", "Bank",
                      {record("01/01/2020", "250.00", "Opening Balance", "[Checking]"),
                       record("01/15/2020", "-42.50", "Grocer", "Groceries"),
                       record("01/20/2020", "99.00", "Opening Balance", "[Checking]")})},
        context);

    Account checking = onlyAccountNamed(QStringLiteral("Checking"));
    EXPECT_EQ(checking.startBalance(), amount("250.00"));
    EXPECT_EQ(checking.startBalanceDate(), day(2020, 1, 1));
    EXPECT_EQ(checking.type(), QStringLiteral("checking"));
    const std::vector<Transaction> imported = transactionsOf(checking);
    ASSERT_EQ(imported.size(), 2U);
    EXPECT_EQ(imported[0].title(), QStringLiteral("Grocer"));
    EXPECT_EQ(imported[1].title(), QStringLiteral("Opening Balance"));
    EXPECT_EQ(imported[1].amount(), amount("99.00"));
    EXPECT_EQ(categoryName(imported[1].category()), QStringLiteral("Transfer"));
    EXPECT_EQ(operation.numberOfTransactionsAdded(), 2);
    EXPECT_EQ(operation.accountsAdded(), std::vector<objectstore::ManagedObject*>{checking.object()});
    EXPECT_TRUE(context.save().succeeded());
}

TEST_F(ImportOperationTest, OpeningBalanceNamingAnotherAccountIsAnOrdinaryTransfer) {
    ImportOperation operation = qifRun();
    operation.importAccountsIntoContext(
        {accountEntry("Checking", "Bank",
                      {record("01/01/2020", "250.00", "Opening Balance", "[Reserve]"),
                       record("01/15/2020", "-42.50", "Grocer", "Groceries")})},
        context);

    Account checking = onlyAccountNamed(QStringLiteral("Checking"));
    EXPECT_FALSE(checking.startBalance().has_value());
    // One day before the earliest transaction, which is the would-be opening balance itself.
    EXPECT_EQ(checking.startBalanceDate(), day(2019, 12, 31));
    const std::vector<Transaction> imported = transactionsOf(checking);
    ASSERT_EQ(imported.size(), 2U);
    EXPECT_EQ(categoryName(imported[0].category()), QStringLiteral("Transfer"));
    EXPECT_EQ(imported[0].amount(), amount("250.00"));
    // Neither a second account nor a counterpart transaction is made for the named account.
    EXPECT_EQ(context.count(u"Account"), 1U);
    EXPECT_EQ(context.count(u"Transaction"), 2U);
}

TEST_F(ImportOperationTest, AccountWithoutTransactionsStartsTheDayBeforeToday) {
    ImportOperation operation = qifRun();
    operation.importAccountsIntoContext({accountEntry("Wallet", "Cash", {})}, context);

    Account wallet = onlyAccountNamed(QStringLiteral("Wallet"));
    EXPECT_EQ(wallet.startBalanceDate(), day(2024, 3, 14));
    EXPECT_EQ(wallet.type(), QStringLiteral("cash"));
}

TEST_F(ImportOperationTest, QifTypesMapToAccountTypes) {
    EXPECT_EQ(ImportOperation::lookupAccountType(text("Bank")), QStringLiteral("checking"));
    EXPECT_EQ(ImportOperation::lookupAccountType(text("Cash")), QStringLiteral("cash"));
    EXPECT_EQ(ImportOperation::lookupAccountType(text("CCard")), QStringLiteral("credit_card"));
    EXPECT_EQ(ImportOperation::lookupAccountType(text("Oth A")), QStringLiteral("other"));
    EXPECT_EQ(ImportOperation::lookupAccountType(text("Oth L")), QStringLiteral("other"));
    EXPECT_EQ(ImportOperation::lookupAccountType(std::nullopt), QStringLiteral("other"));
}

TEST_F(ImportOperationTest, ImportingTheSameAccountsTwiceCreatesThemTwice) {
    existingAccount(QStringLiteral("Checking"));
    const std::vector<ImportedAccount> file{
        accountEntry("Checking", "Bank", {record("01/15/2020", "-42.50", "Grocer", "Groceries")})};
    qifRun().importAccountsIntoContext(file, context);
    qifRun().importAccountsIntoContext(file, context);

    int named = 0;
    for (const Account& account : Account::allInAccountOrder(context)) {
        named += account.name() == QStringLiteral("Checking") ? 1 : 0;
    }
    EXPECT_EQ(named, 3);
    EXPECT_EQ(context.count(u"Transaction"), 2U);
    // The category the first run created serves the second.
    EXPECT_EQ(CategoryVT::matchingName(context, QStringLiteral("Groceries")).size(), 1U);
    EXPECT_TRUE(context.save().succeeded());
}

TEST_F(ImportOperationTest, ProgressCountsEntriesOverAllAccountsAndEndsWithSaving) {
    std::vector<ImportProgress> seen;
    ImportChoices choices;
    choices.progress = [&seen](const ImportProgress& progress) { seen.push_back(progress); };
    ImportOperation operation = qifRun(std::move(choices));
    operation.importAccountsIntoContext(
        {accountEntry("Checking", "Bank",
                      {record("01/01/2020", "250.00", "Opening Balance", "[Checking]"),
                       record("01/15/2020", "-1.00")}),
         accountEntry("Visa", "CCard", {record("01/16/2020", "-2.00")})},
        context);

    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), (ImportProgress{0, 3, false, text(ImportOperation::kStartingUp)}));
    const auto saw = [&seen](const ImportProgress& wanted) {
        return std::find(seen.begin(), seen.end(), wanted) != seen.end();
    };
    EXPECT_TRUE(saw({0, 3, false, QStringLiteral("Importing Checking...")}));
    EXPECT_TRUE(saw({1, 3, false, QStringLiteral("Importing Checking...")}));
    EXPECT_TRUE(saw({2, 3, false, QStringLiteral("Importing Visa...")}));
    EXPECT_TRUE(saw({3, 3, false, QStringLiteral("Importing Visa...")}));
    EXPECT_EQ(seen.back(), (ImportProgress{3, 3, true, text(ImportOperation::kSavingChanges)}));
}

// ---- Date order ------------------------------------------------------------------------------

TEST_F(ImportOperationTest, GuessLooksOnlyAtTheFirstHundredDatesOverAllAccounts) {
    std::vector<ImportedTransaction> ambiguous;
    for (int i = 0; i < 150; ++i) {
        ambiguous.push_back(record(i == 119 ? "25/12/2021" : "05/05/2021", "-1.00"));
    }
    const std::vector<ImportedAccount> file{
        accountEntry("A", "Bank", {ambiguous.begin(), ambiguous.begin() + 60}),
        accountEntry("B", "Bank", {ambiguous.begin() + 60, ambiguous.end()})};
    const QStringList texts = ImportOperation::dateTextsForGuess(file);
    EXPECT_EQ(texts.size(), ImportOperation::kDateGuessSampleSize);
    EXPECT_FALSE(texts.contains(QStringLiteral("25/12/2021")));

    ImportOperation operation = qifRun();
    const ParseException failure =
        dateFormatFailure([&] { operation.importAccountsIntoContext(file, context); });
    EXPECT_EQ(failure.reason(), text(ImportOperation::kDateFormatCannotBeDetermined));
    EXPECT_EQ(failure.details().value(QStringLiteral("sampleText")).toString(), QStringLiteral("05/05/2021"));
    EXPECT_FALSE(failure.details().contains(QStringLiteral("dateFormat")));
    EXPECT_FALSE(context.hasChanges());
}

TEST_F(ImportOperationTest, AskBoxStopsBeforeAnythingIsCreatedWithOrWithoutAGuess) {
    ImportChoices ask;
    ask.shouldAskForDateFormat = true;
    ImportOperation guessed = qifRun(ask);
    ParseException failure = dateFormatFailure([&] {
        guessed.importAccountsIntoContext(
            {accountEntry("A", "Bank", {record("12/25/2021", "-1.00"), record("01/02/2022", "-1.00")})},
            context);
    });
    EXPECT_EQ(failure.reason(), text(ImportOperation::kAskForDateFormat));
    EXPECT_EQ(failure.details().value(QStringLiteral("sampleText")).toString(), QStringLiteral("12/25/2021"));
    EXPECT_EQ(failure.details().value(QStringLiteral("dateFormat")).toString(), QStringLiteral("MDY"));

    ImportOperation unguessed = qifRun(ask);
    failure = dateFormatFailure([&] {
        unguessed.importAccountsIntoContext({accountEntry("A", "Bank", {record("05/05/2021", "-1.00")})},
                                            context);
    });
    EXPECT_EQ(failure.reason(), text(ImportOperation::kAskForDateFormat));
    EXPECT_FALSE(failure.details().contains(QStringLiteral("dateFormat")));
    EXPECT_FALSE(context.hasChanges());

    // The order the user then picks is used as it is, without asking again.
    ask.userSelectedDateFormat = DateOrder::dmy();
    ImportOperation chosen = qifRun(ask);
    chosen.importAccountsIntoContext({accountEntry("A", "Bank", {record("05/06/2021", "-1.00")})}, context);
    EXPECT_EQ(transactionsOf(onlyAccountNamed(QStringLiteral("A"))).front().date(), day(2021, 6, 5));
}

TEST_F(ImportOperationTest, DateThatDoesNotReadNamesTheOrderAndWhereItCameFrom) {
    std::vector<ImportedTransaction> records;
    for (int i = 0; i < 100; ++i) {
        records.push_back(record("01/13/2021", "-1.00"));
    }
    records.push_back(record("02/30/2021", "-1.00"));
    ImportOperation detected = qifRun();
    ParseException failure = dateFormatFailure(
        [&] { detected.importAccountsIntoContext({accountEntry("A", "Bank", records)}, context); });
    EXPECT_EQ(failure.reason(), text(ImportOperation::kParsingFailedWithDetectedDateFormat));
    EXPECT_EQ(failure.details().value(QStringLiteral("sampleText")).toString(), QStringLiteral("02/30/2021"));
    EXPECT_EQ(failure.details().value(QStringLiteral("dateFormat")).toString(), QStringLiteral("MDY"));

    ImportChoices chosen;
    chosen.userSelectedDateFormat = DateOrder::dmy();
    ImportOperation selected = qifRun(chosen);
    failure = dateFormatFailure(
        [&] { selected.importAccountsIntoContext({accountEntry("A", "Bank", {records.front()})}, context); });
    EXPECT_EQ(failure.reason(), text(ImportOperation::kParsingFailedWithSelectedDateFormat));
    EXPECT_EQ(failure.details().value(QStringLiteral("sampleText")).toString(), QStringLiteral("01/13/2021"));
    EXPECT_EQ(failure.details().value(QStringLiteral("dateFormat")).toString(), QStringLiteral("DMY"));
}

TEST_F(ImportOperationTest, OpeningBalanceDateIsReadWithTheFilesOrder) {
    ImportOperation operation = qifRun();
    operation.importAccountsIntoContext(
        {accountEntry(
            "Checking", "Bank",
            {record("15/01/2020", "-1.00"), record("03/02/2020", "5.00", "Opening Balance", "[Checking]")})},
        context);
    EXPECT_EQ(onlyAccountNamed(QStringLiteral("Checking")).startBalanceDate(), day(2020, 2, 3));
}

// ---- One transaction -------------------------------------------------------------------------

TEST_F(ImportOperationTest, RecordFieldsBecomeTheTransaction) {
    ImportedTransaction entry = record("2021-03-04", "-12.34", "Coffee Shop", "Food");
    entry.memo = text("with Sam");
    entry.checkNumber = 1042;
    entry.isPending = true;
    ImportOperation operation = qifRun();
    Transaction transaction = operation.createTransactionFromDictionary(entry, context, DateOrder::ymd());

    EXPECT_EQ(transaction.date(), day(2021, 3, 4));
    EXPECT_EQ(transaction.amount(), amount("-12.34"));
    EXPECT_EQ(transaction.title(), QStringLiteral("Coffee Shop"));
    EXPECT_EQ(transaction.notes(), QStringLiteral("with Sam"));
    EXPECT_EQ(transaction.checkNumber(), 1042);
    EXPECT_TRUE(transaction.isFlagged());
    EXPECT_EQ(categoryName(transaction.category()), QStringLiteral("Food"));

    entry.isPending = false;
    entry.splits = {split(nullptr, "-12.34")};
    Transaction cleared = operation.createTransactionFromDictionary(entry, context, DateOrder::ymd());
    EXPECT_FALSE(cleared.isFlagged());
    EXPECT_EQ(cleared.category(), nullptr);
}

TEST_F(ImportOperationTest, SplitMemosJoinTheNotes) {
    ImportedTransaction entry = record("01/20/2020", "-50.00", "Landlord");
    entry.memo = text("Rent");
    entry.splits = {split("Housing", "-30.00", "part 1"), split("Utilities", "-20.00", "part 2")};
    ImportOperation operation = qifRun();
    Transaction transaction = operation.createTransactionFromDictionary(entry, context, DateOrder::mdy());

    EXPECT_EQ(transaction.notes(), QStringLiteral("Rent / part 1 / part 2"));
    const std::vector<model::PlainSplit> lines = transaction.splits();
    ASSERT_EQ(lines.size(), 2U);
    EXPECT_EQ(categoryName(lines[0].category), QStringLiteral("Housing"));
    EXPECT_EQ(lines[0].amount, amount("-30.00"));
    EXPECT_EQ(categoryName(lines[1].category), QStringLiteral("Utilities"));

    // Without a memo the first split memo stands alone; blank split memos add nothing.
    entry.memo.reset();
    entry.splits = {split("Housing", "-30.00", "  "), split("Utilities", "-20.00", "part 2")};
    EXPECT_EQ(operation.createTransactionFromDictionary(entry, context, DateOrder::mdy()).notes(),
              QStringLiteral("part 2"));
}

TEST_F(ImportOperationTest, SplitsThatMissTheAmountGetAnUncategorisedLineSoTheSaveHolds) {
    ImportedTransaction entry = record("01/20/2020", "-60.00", "Landlord");
    entry.splits = {split("Housing", "-30.00"), split("Utilities", "-20.00")};
    Account account = existingAccount(QStringLiteral("Checking"));
    Transaction transaction = qifRun().createTransactionFromDictionary(entry, context, DateOrder::mdy());
    transaction.setAccount(account.object());

    const std::vector<model::PlainSplit> lines = transaction.splits();
    ASSERT_EQ(lines.size(), 3U);
    EXPECT_EQ(lines[2].category, nullptr);
    EXPECT_EQ(lines[2].amount, amount("-10.00"));
    EXPECT_TRUE(context.save().succeeded());
}

TEST_F(ImportOperationTest, TitlesFromTransferSplits) {
    const auto title = [](std::vector<ImportedSplit> splits) {
        return ImportOperation::titleFromSplits(splits).value_or(QStringLiteral("<none>"));
    };
    EXPECT_EQ(title({split("[Reserve]", "-30.00"), split("[Reserve]", "-20.00")}),
              QStringLiteral("To Reserve"));
    EXPECT_EQ(title({split("[Reserve]", "30.00")}), QStringLiteral("From Reserve"));
    EXPECT_EQ(title({split("[Reserve]", "30.00"), split("[Reserve]", "-30.00")}), QStringLiteral("Reserve"));
    EXPECT_EQ(title({split("[B]", "-1.00"), split("[A]", "-1.00"), split("[C]", "-1.00")}),
              QStringLiteral("A, B and C"));
    EXPECT_EQ(title({split("[Visa]", "-1.00"), split("[Cash]", "3.00")}), QStringLiteral("Cash and Visa"));
    EXPECT_EQ(title({split("[Visa]", "-1.00"), split("Groceries", "-1.00")}), QStringLiteral("<none>"));
    EXPECT_EQ(title({split(nullptr, "-1.00")}), QStringLiteral("<none>"));
    EXPECT_EQ(title({split("[Visa", "-1.00")}), QStringLiteral("<none>"));

    // Through a record: only an untitled one is filled in.
    ImportOperation operation = qifRun();
    ImportedTransaction untitled = record("01/20/2020", "-50.00");
    untitled.splits = {split("[Reserve]", "-30.00"), split("[Reserve]", "-20.00")};
    EXPECT_EQ(operation.createTransactionFromDictionary(untitled, context, DateOrder::mdy()).title(),
              QStringLiteral("To Reserve"));
    untitled.payee = text(" ");
    EXPECT_EQ(operation.createTransactionFromDictionary(untitled, context, DateOrder::mdy()).title(),
              QStringLiteral("To Reserve"));
    ImportedTransaction titled = untitled;
    titled.payee = text("Savings plan");
    EXPECT_EQ(operation.createTransactionFromDictionary(titled, context, DateOrder::mdy()).title(),
              QStringLiteral("Savings plan"));
    ImportedTransaction mixed = untitled;
    mixed.payee.reset();
    mixed.splits = {split("[Visa]", "-30.00"), split("Groceries", "-20.00")};
    EXPECT_TRUE(
        operation.createTransactionFromDictionary(mixed, context, DateOrder::mdy()).title().isEmpty());
}

// ---- Categories ------------------------------------------------------------------------------

TEST_F(ImportOperationTest, CategoryNamesReuseMatchesIgnoringCaseAndAccents) {
    const CategoryVT groceries = existingCategory(QStringLiteral("Groceries"));
    const CategoryVT cafe = existingCategory(QStringLiteral("Café"));
    ImportOperation operation = qifRun();

    EXPECT_EQ(operation.categoryForName(text("groceries"), context), groceries.object());
    EXPECT_EQ(operation.categoryForName(text("CAFE"), context), cafe.object());
    objectstore::ManagedObject* hobbies = operation.categoryForName(text("Hobbies"), context);
    ASSERT_NE(hobbies, nullptr);
    EXPECT_EQ(operation.categoryForName(text("hobbies"), context), hobbies);
    EXPECT_EQ(operation.categoryForName(std::nullopt, context), nullptr);
    EXPECT_EQ(operation.categoryForName(text("   "), context), nullptr);
    EXPECT_EQ(operation.categoriesAdded(), std::vector<objectstore::ManagedObject*>{hobbies});
    EXPECT_EQ(categoryName(hobbies), QStringLiteral("Hobbies"));
    EXPECT_TRUE(context.save().succeeded());
}

TEST_F(ImportOperationTest, BracketedNamesGiveTheTransferCategoryMadeOnceWhenMissing) {
    ImportOperation operation = qifRun();
    objectstore::ManagedObject* transfer = operation.categoryForName(text("[Visa Card]"), context);
    ASSERT_NE(transfer, nullptr);
    EXPECT_EQ(categoryName(transfer), QStringLiteral("Transfer"));
    EXPECT_EQ(operation.categoryForName(text("[Reserve]"), context), transfer);
    EXPECT_EQ(operation.categoriesAdded(), std::vector<objectstore::ManagedObject*>{transfer});
    EXPECT_EQ(context.count(u"Account"), 0U);

    // An existing one is used and not counted as added.
    EXPECT_TRUE(context.save().succeeded());
    ImportOperation later = qifRun();
    EXPECT_EQ(later.categoryForName(text("[Reserve]"), context), transfer);
    EXPECT_TRUE(later.categoriesAdded().empty());
}

// ---- Transactions-only and abort -------------------------------------------------------------

TEST_F(ImportOperationTest, TransactionsOnlyFileGoesIntoTheTargetAccountAsItIs) {
    Account target = existingAccount(QStringLiteral("Checking"));
    const std::optional<model::Day> startDate = target.startBalanceDate();
    std::vector<ImportProgress> seen;
    ImportChoices choices;
    choices.progress = [&seen](const ImportProgress& progress) { seen.push_back(progress); };
    ImportOperation operation = qifRun(std::move(choices), target.object()->id());
    ImportedAccount file;
    file.type = text("Bank");
    file.transactions = {record("01/01/2020", "250.00", "Opening Balance", "[Checking]"),
                         record("01/15/2020", "-42.50", "Grocer", "Groceries")};
    operation.importTransactionsIntoTargetAccount(file, context);

    EXPECT_EQ(transactionsOf(target).size(), 2U);
    EXPECT_EQ(target.startBalance(), amount("10.00"));
    EXPECT_EQ(target.startBalanceDate(), startDate);
    EXPECT_EQ(operation.transactionsAdded().size(), 2U);
    EXPECT_TRUE(operation.accountsAdded().empty());
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), (ImportProgress{0, 2, false, QStringLiteral("Importing 2 transactions...")}));
    EXPECT_EQ(seen.back(), (ImportProgress{2, 2, true, text(ImportOperation::kSavingChanges)}));

    // A file without transactions changes nothing, not even with the ask box ticked.
    ImportChoices ask;
    ask.shouldAskForDateFormat = true;
    ImportOperation empty = qifRun(ask, target.object()->id());
    EXPECT_NO_THROW(empty.importTransactionsIntoTargetAccount(ImportedAccount{}, context));
    EXPECT_EQ(empty.numberOfTransactionsAdded(), 0);
}

TEST_F(ImportOperationTest, AbortStopsBeforeTheNextTransactionAndNothingIsSaved) {
    Account target = existingAccount(QStringLiteral("Checking"));
    const int appliedBefore = store->applyCount();
    std::atomic<bool> abort{false};
    ImportChoices choices;
    choices.abortImport = &abort;
    // The user presses Abort while the second transaction is being made.
    choices.progress = [&abort](const ImportProgress& progress) {
        if (progress.value == 2) {
            abort = true;
        }
    };
    ImportOperation operation = qifRun(std::move(choices), target.object()->id());
    ImportedAccount file;
    file.transactions = {record("01/15/2020", "-1.00"), record("01/16/2020", "-2.00"),
                         record("01/17/2020", "-3.00"), record("01/18/2020", "-4.00")};
    try {
        operation.importTransactionsIntoTargetAccount(file, context);
        FAIL() << "no abort";
    } catch (const ParseException& failure) {
        EXPECT_EQ(failure.name(), text(ParseException::kAbort));
    }
    EXPECT_EQ(operation.numberOfTransactionsAdded(), 2);
    EXPECT_EQ(store->applyCount(), appliedBefore);
    objectstore::Context fresh(store);
    EXPECT_EQ(fresh.count(u"Transaction"), 0U);
}

// ---- The CSV run -----------------------------------------------------------------------------

TEST_F(ImportOperationTest, CsvRunAddsToTheTargetAndAFailureLeavesTheContextAsStored) {
    Account target = existingAccount(QStringLiteral("Checking"));
    ImportedAccount mapped;
    mapped.transactions = {record("03/05/2021", "-12.00", "Coffee", "Treats"),
                           record("03/25/2021", "100.00", "Salary", "Income")};
    ImportOperation good(mapped, target.object()->id(), {}, clock);
    good.performCsvImport(context);
    EXPECT_EQ(transactionsOf(target).size(), 2U);
    EXPECT_EQ(good.idsOfTransactionsAdded().size(), 2U);
    EXPECT_EQ(good.idsOfCategoriesAdded().size(), 2U);
    ASSERT_TRUE(context.save().succeeded());

    // The third record names a new category before its date fails: none of it may stay.
    mapped.transactions.push_back(record("03/26/2021", "-5.00", "Cinema", "Outings"));
    mapped.transactions.push_back(record("13/45/2021", "-5.00", "Broken"));
    ImportOperation bad(mapped, target.object()->id(), {}, clock);
    EXPECT_THROW(bad.performCsvImport(context), ParseException);
    EXPECT_FALSE(context.hasChanges());
    EXPECT_EQ(transactionsOf(target).size(), 2U);
    EXPECT_FALSE(CategoryVT::findByName(context, QStringLiteral("Outings")).has_value());
    EXPECT_TRUE(bad.transactionsAdded().empty());

    // Unsaved edits of the user would go with a rollback: the run refuses to start.
    target.setName(QStringLiteral("Everyday"));
    ImportOperation refused(mapped, target.object()->id(), {}, clock);
    EXPECT_THROW(refused.performCsvImport(context), platform::InternalError);
    EXPECT_EQ(target.name(), QStringLiteral("Everyday"));
}

// ---- QIF files end to end -------------------------------------------------------------------

TEST_F(ImportOperationTest, WholeQifFileIsImportedAndSavedWithTheIdsOfWhatItAdded) {
    const CategoryVT groceries = existingCategory(QStringLiteral("Groceries"));
    ImportOperation operation(fixture("accounts.qif"), std::nullopt, {}, clock);
    const objectstore::SaveResult saved = operation.import(context);
    ASSERT_TRUE(saved.succeeded());

    // What another context on the store sees.
    objectstore::Context fresh(store);
    ASSERT_EQ(operation.idsOfAccountsAdded().size(), 2U);
    Account checking(fresh.object(operation.idsOfAccountsAdded()[0]));
    Account visa(fresh.object(operation.idsOfAccountsAdded()[1]));
    ASSERT_NE(checking.object(), nullptr);
    ASSERT_NE(visa.object(), nullptr);
    EXPECT_EQ(checking.name(), QStringLiteral("Checking"));
    EXPECT_EQ(checking.startBalance(), amount("250.00"));
    EXPECT_EQ(checking.startBalanceDate(), day(2020, 1, 1));
    EXPECT_EQ(visa.type(), QStringLiteral("credit_card"));
    EXPECT_EQ(visa.startBalanceDate(), day(2020, 1, 31));
    EXPECT_EQ(fresh.count(u"Account"), 2U);

    const std::vector<Transaction> inChecking = transactionsOf(checking);
    ASSERT_EQ(inChecking.size(), 3U);
    EXPECT_EQ(inChecking[0].title(), QStringLiteral("Grocer"));
    EXPECT_EQ(inChecking[0].category(), fresh.object(groceries.object()->id()));
    EXPECT_FALSE(inChecking[0].isFlagged());
    EXPECT_EQ(inChecking[1].notes(), QStringLiteral("Rent / part 1 / part 2"));
    EXPECT_EQ(inChecking[1].splits().size(), 2U);
    EXPECT_EQ(inChecking[1].title(), QString());
    EXPECT_EQ(inChecking[2].title(), QStringLiteral("To Visa"));
    EXPECT_EQ(inChecking[2].checkNumber(), 1001);
    EXPECT_TRUE(inChecking[2].isFlagged());
    EXPECT_EQ(categoryName(inChecking[2].category()), QStringLiteral("Transfer"));

    EXPECT_EQ(operation.numberOfTransactionsAdded(), 4);
    EXPECT_EQ(operation.idsOfTransactionsAdded().size(), 4U);
    QStringList added;
    for (const objectstore::ObjectID& id : operation.idsOfCategoriesAdded()) {
        added << CategoryVT(fresh.object(id)).name();
    }
    added.sort();
    EXPECT_EQ(added,
              (QStringList{QStringLiteral("Books"), QStringLiteral("Housing"), QStringLiteral("Transfer")}));
}

TEST_F(ImportOperationTest, TransactionsOnlyQifFileIsImportedIntoTheTargetAndSaved) {
    Account target = existingAccount(QStringLiteral("Everyday"));
    ImportOperation operation(fixture("transactions.qif"), target.object()->id(), {}, clock);
    ASSERT_TRUE(operation.import(context).succeeded());

    objectstore::Context fresh(store);
    const std::vector<Transaction> imported = transactionsOf(Account(fresh.object(target.object()->id())));
    ASSERT_EQ(imported.size(), 2U);
    EXPECT_EQ(imported[0].title(), QStringLiteral("Coffee"));
    EXPECT_TRUE(imported[0].isFlagged());
    EXPECT_EQ(imported[1].amount(), amount("1000.00"));
    EXPECT_FALSE(imported[1].isFlagged());
    EXPECT_EQ(operation.idsOfTransactionsAdded().size(), 2U);
    EXPECT_TRUE(operation.idsOfAccountsAdded().empty());
}

TEST_F(ImportOperationTest, UnreadableQifFileFailsByNameAndSavesNothing) {
    const int appliedBefore = store->applyCount();
    ImportOperation operation(fixture("bad-amount.qif"), std::nullopt, {}, clock);
    try {
        operation.import(context);
        FAIL() << "no failure";
    } catch (const ParseException& failure) {
        EXPECT_EQ(failure.name(), text(ParseException::kParse));
        EXPECT_EQ(failure.reason(), QStringLiteral("Amount could not be parsed."));
    }
    EXPECT_EQ(store->applyCount(), appliedBefore);
    EXPECT_TRUE(operation.idsOfAccountsAdded().empty());
}

} // namespace
