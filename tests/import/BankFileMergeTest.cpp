#include "import/BankFileMerge.h"

#include "import/CategoryUsageIndex.h"
#include "import/OfxReader.h"
#include "import/ParseException.h"
#include "model/Account.h"
#include "model/CategoryVT.h"
#include "model/DataModel.h"
#include "model/ModelValidation.h"
#include "model/Transaction.h"
#include "platform/Clock.h"
#include "platform/InternalError.h"
#include "platform/objectstore/Context.h"
#include "platform/objectstore/MemoryStore.h"
#include "support/ModelValues.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace vantrel;
using import::AccountDictionary;
using import::BankFileMerge;
using import::FileFormat;
using import::ImportedAccount;
using import::ImportedTransaction;
using import::ImportSummary;
using import::ParseException;
using testsupport::amount;
using testsupport::day;
using testsupport::utf8;

namespace {

// One OFX-style record: posting date as written, amount, optional name, id and check number.
struct Record {
    const char* posted;
    const char* value;
    const char* name = nullptr;
    const char* fitID = nullptr;
    std::optional<std::int64_t> checkNumber = std::nullopt;
    const char* memo = nullptr;
};

std::optional<QString> text(const char* value) {
    return value == nullptr ? std::nullopt : std::optional<QString>(QString::fromUtf8(value));
}

ImportedTransaction ofxRecord(const Record& r) {
    ImportedTransaction record;
    record.dtPosted = QString::fromLatin1(r.posted);
    record.amount = amount(r.value);
    record.name = text(r.name);
    record.fitID = text(r.fitID);
    record.checkNumber = r.checkNumber;
    record.memo = text(r.memo);
    return record;
}

AccountDictionary ofxFile(const std::vector<Record>& records) {
    AccountDictionary file;
    file.format = FileFormat::Ofx;
    ImportedAccount statement;
    statement.aggregateType = import::AggregateType::Bank;
    statement.acctType = QStringLiteral("CHECKING");
    statement.currency = QStringLiteral("USD");
    for (const Record& r : records) {
        statement.transactions.push_back(ofxRecord(r));
    }
    file.accounts.push_back(statement);
    return file;
}

AccountDictionary qifFile(const std::vector<std::pair<const char*, const char*>>& datesAndAmounts) {
    AccountDictionary file;
    file.format = FileFormat::Qif;
    ImportedAccount statement;
    for (const auto& [date, value] : datesAndAmounts) {
        ImportedTransaction record;
        record.dateString = QString::fromLatin1(date);
        record.amount = amount(value);
        record.name = QStringLiteral("SHOP");
        statement.transactions.push_back(record);
    }
    file.accounts.push_back(statement);
    return file;
}

std::string summaryText(const ImportSummary& s) {
    return "new " + std::to_string(s.newCount) + ", matched " + std::to_string(s.matched) + ", duplicate " +
           std::to_string(s.duplicate);
}

class BankFileMergeTest : public ::testing::Test {
protected:
    BankFileMergeTest() {
        model::ModelValidation::install(context);
        account.setName(QStringLiteral("Checking"));
        account.setType(QStringLiteral("checking"));
        account.setStartBalance(amount("0"));
    }

    std::string import(AccountDictionary file) {
        return summaryText(BankFileMerge(account, clock).importTransactions(file));
    }

    model::Transaction pending(const model::Day& date, const char* value, const QString& title = {}) {
        return account.createTransactionWithDate(date, title, amount(value), nullptr, QString(), std::nullopt,
                                                 clock);
    }

    model::CategoryVT category(const QString& name) {
        model::CategoryVT created = model::CategoryVT::insertInContext(context);
        created.setName(name);
        return created;
    }

    // The account's transactions created from bank records, oldest first.
    std::vector<model::Transaction> bankTransactions() const {
        std::vector<model::Transaction> found;
        const auto& ordered = account.orderedTransactions();
        for (auto it = ordered.rbegin(); it != ordered.rend(); ++it) {
            if (model::Transaction transaction(*it); transaction.isBank()) {
                found.push_back(transaction);
            }
        }
        return found;
    }

    void save() {
        const objectstore::SaveResult result = context.save();
        ASSERT_TRUE(result.succeeded())
            << (result.error ? utf8(result.error->message) : utf8(result.storeFailure));
    }

    template <typename Call>
    static ParseException failureOf(Call call) {
        try {
            call();
        } catch (const ParseException& e) {
            return e;
        }
        ADD_FAILURE() << "no parse failure";
        return ParseException(QString(), QString());
    }

    std::shared_ptr<objectstore::MemoryStore> store =
        std::make_shared<objectstore::MemoryStore>(model::DataModel::description());
    objectstore::Context context{store};
    platform::FixedClock clock{QDateTime(QDate(2024, 3, 20), QTime(12, 0), QTimeZone::utc()),
                               QTimeZone::utc()};
    model::Account account = model::Account::insertInContext(context, clock);
};

// ---- Duplicates ------------------------------------------------------------------------------

TEST_F(BankFileMergeTest, TheSameFileTwiceIsAllDuplicatesTheSecondTime) {
    const std::vector<Record> records{{"20240301", "-12.50", "COFFEE", "F1"},
                                      {"20240302120000[-5:EST]", "1500.00", "PAYROLL", "F2"},
                                      {"20240303", "-3.00", "FEE", "F3"}};
    EXPECT_EQ(import(ofxFile(records)), "new 3, matched 0, duplicate 0");
    EXPECT_EQ(import(ofxFile(records)), "new 0, matched 0, duplicate 3");
    EXPECT_EQ(account.transactions().size(), 3u);
}

TEST_F(BankFileMergeTest, AnIdRepeatedInOneFileIsADuplicateButLookAlikesWithoutIdAreBothKept) {
    EXPECT_EQ(import(ofxFile({{"20240301", "-5.00", "A", "SAME"}, {"20240309", "-7.00", "B", "SAME"}})),
              "new 1, matched 0, duplicate 1");
    ASSERT_EQ(bankTransactions().size(), 1u);
    EXPECT_EQ(bankTransactions().front().ofxAmount(), amount("-5.00"));

    const std::vector<Record> twins{{"20240305", "-4.20", "BAKERY"}, {"20240305", "-4.20", "BAKERY"}};
    EXPECT_EQ(import(ofxFile(twins)), "new 2, matched 0, duplicate 0");
    EXPECT_EQ(import(ofxFile(twins)), "new 0, matched 0, duplicate 2");
}

TEST_F(BankFileMergeTest, WithoutMatchingIdsRecordsCompareByDescriptionAmountAndDay) {
    import(ofxFile({{"20240305", "-4.20", "BAKERY"}, { "20240306", "-9.00", "BOOKS", "OLD-ID" }}));
    // A record with an id counts as seen only against bank data that has no id of its own.
    EXPECT_EQ(
        import(ofxFile({{"20240305", "-4.20", "BAKERY", "NEW-1"}, {"20240306", "-9.00", "BOOKS", "NEW-2"}})),
        "new 1, matched 0, duplicate 1");
    // Texts compare exactly, amounts as numbers, dates as days.
    EXPECT_EQ(import(ofxFile({{"20240305", "-4.2", "BAKERY"},
                              {"20240305", "-4.20", "Bakery"},
                              {"20240304", "-4.20", "BAKERY"}})),
              "new 2, matched 0, duplicate 1");
}

TEST_F(BankFileMergeTest, BankDataOfAnotherAccountIsNoDuplicate) {
    model::Account savings = model::Account::insertInContext(context, clock);
    savings.setName(QStringLiteral("Savings"));
    savings.setType(QStringLiteral("savings"));
    AccountDictionary elsewhere = ofxFile({{"20240301", "-5.00", "A", "F1"}});
    BankFileMerge(savings, clock).importTransactions(elsewhere);
    EXPECT_EQ(import(ofxFile({{"20240301", "-5.00", "A", "F1"}})), "new 1, matched 0, duplicate 0");
}

TEST_F(BankFileMergeTest, SpecialBankZeroComparesRecordsWithIdsByDescriptionAmountAndDate) {
    import(ofxFile({{ "20240305", "-4.20", "BAKERY", "A-1" }}));
    const std::vector<Record> reissued{{"20240305", "-4.20", "BAKERY", "B-1"}};
    EXPECT_EQ(import(ofxFile(reissued)), "new 1, matched 0, duplicate 0");

    account.setSpecialBank(0);
    EXPECT_EQ(import(ofxFile(reissued)), "new 0, matched 0, duplicate 1");
    EXPECT_EQ(import(ofxFile({{"20240306", "-1.00", "X", "C-1"}, {"20240307", "-1.00", "X", "C-1"}})),
              "new 2, matched 0, duplicate 0");
    EXPECT_TRUE(bankTransactions().back().ofxFitID().isNull());
}

TEST_F(BankFileMergeTest, UndoingAMatchAndImportingAgainFindsTheRestoredBankRecord) {
    model::Transaction typed = pending(day(2024, 3, 1), "-42.00", QStringLiteral("Groceries"));
    const std::vector<Record> file{{"20240303", "-42.00", "MARKET", "M-1"}};
    EXPECT_EQ(import(ofxFile(file)), "new 0, matched 1, duplicate 0");
    typed.undoMatch(clock);
    EXPECT_TRUE(typed.isPending());
    EXPECT_EQ(import(ofxFile(file)), "new 0, matched 0, duplicate 1");
    EXPECT_TRUE(typed.isPending());
}

// ---- Matching pending transactions ---------------------------------------------------------------

struct WindowCase {
    const char* posted;
    bool matches;
};

class PendingWindow : public BankFileMergeTest, public ::testing::WithParamInterface<WindowCase> {};

TEST_P(PendingWindow, ReachesFifteenDaysEitherWay) {
    const model::Transaction typed = pending(day(2024, 3, 1), "-42.00");
    const std::string summary = import(ofxFile({{GetParam().posted, "-42.00", "MARKET"}}));
    EXPECT_EQ(summary,
              GetParam().matches ? "new 0, matched 1, duplicate 0" : "new 1, matched 0, duplicate 0");
    EXPECT_EQ(typed.isPending(), !GetParam().matches);
}

INSTANTIATE_TEST_SUITE_P(Days, PendingWindow,
                         ::testing::Values(WindowCase{"20240314", true}, WindowCase{"20240316", true},
                                           WindowCase{"20240317", false}, WindowCase{"20240215", true},
                                           WindowCase{"20240214", false}));

TEST_F(BankFileMergeTest, AMatchConfirmsThePendingEntryAndKeepsWhatTheUserTyped) {
    objectstore::ManagedObject* food = category(QStringLiteral("Food")).object();
    model::Transaction typed = pending(day(2024, 3, 1), "-42.00", QStringLiteral("Weekly shop"));
    typed.setSingleCategory(food);
    typed.setNotes(QStringLiteral("milk"));
    typed.setCheckNumber(99);
    model::Transaction untitled = pending(day(2024, 3, 2), "-7.00", QStringLiteral("  "));

    EXPECT_EQ(import(ofxFile({{"20240304", "-42.00", "CITY MARKET", "M-1", 1234},
                              {"20240305", "-7.00", "corner KIOSK  ltd", "M-2"}})),
              "new 0, matched 2, duplicate 0");
    EXPECT_TRUE(typed.isMatched());
    EXPECT_FALSE(typed.isFlagged());
    EXPECT_EQ(typed.ofxAmount(), amount("-42.00"));
    EXPECT_EQ(typed.ofxDate(), day(2024, 3, 4));
    EXPECT_EQ(utf8(typed.ofxTitle()), "CITY MARKET");
    EXPECT_EQ(utf8(typed.ofxFitID()), "M-1");
    EXPECT_EQ(typed.ofxCheckNumber(), 1234);
    EXPECT_EQ(typed.checkNumber(), 1234);
    EXPECT_EQ(utf8(typed.title()), "Weekly shop");
    EXPECT_EQ(typed.date(), day(2024, 3, 1));
    EXPECT_EQ(typed.category(), food);
    EXPECT_EQ(utf8(typed.notes()), "milk");

    EXPECT_EQ(utf8(untitled.title()), "Corner Kiosk  Ltd");
    EXPECT_EQ(untitled.checkNumber(), std::nullopt);
    EXPECT_EQ(account.transactions().size(), 2u);
    save();
}

TEST_F(BankFileMergeTest, TheNearestPendingWinsAndEachIsMatchedOnce) {
    const model::Transaction early = pending(day(2024, 3, 1), "-42.00");
    const model::Transaction late = pending(day(2024, 3, 10), "-42.00");
    EXPECT_EQ(import(ofxFile({{"20240308", "-42.00", "MARKET", "1"}})), "new 0, matched 1, duplicate 0");
    EXPECT_TRUE(late.isMatched());
    EXPECT_TRUE(early.isPending());

    EXPECT_EQ(import(ofxFile({{"20240309", "-42.00", "MARKET", "2"}, {"20240309", "-42.00", "MARKET", "3"}})),
              "new 1, matched 1, duplicate 0");
    EXPECT_TRUE(early.isMatched());
}

TEST_F(BankFileMergeTest, AmountsMustBeEqualToMatch) {
    const model::Transaction typed = pending(day(2024, 3, 1), "-42.00");
    EXPECT_EQ(import(ofxFile({{"20240302", "-42.01", "MARKET"}, {"20240302", "42.00", "REFUND"}})),
              "new 2, matched 0, duplicate 0");
    EXPECT_TRUE(typed.isPending());
    EXPECT_EQ(import(ofxFile({{"20240303", "-42", "MARKET"}})), "new 0, matched 1, duplicate 0");
}

TEST_F(BankFileMergeTest, FindsTheTransactionToMergeOneRecordAtATime) {
    const model::Transaction typed = pending(day(2024, 3, 1), "-42.00");
    const BankFileMerge merge(account, clock);
    EXPECT_EQ(merge.findTransactionToMergeDate(day(2024, 3, 16), amount("-42")), typed);
    EXPECT_EQ(merge.findTransactionToMergeDate(day(2024, 3, 17), amount("-42")), std::nullopt);
    ImportedTransaction undated = ofxRecord({"20240301", "-42.00", "X"});
    EXPECT_THROW(merge.findTransactionToMerge(undated), platform::InternalError);
    EXPECT_THROW(merge.isDuplicateTransaction(undated), platform::InternalError);
}

// ---- New bank transactions ---------------------------------------------------------------------

TEST_F(BankFileMergeTest, NewRecordsBecomeFlaggedBankTransactionsWithTheMostUsedCategory) {
    objectstore::ManagedObject* food = category(QStringLiteral("Food")).object();
    objectstore::ManagedObject* fun = category(QStringLiteral("Fun")).object();
    model::Account other = model::Account::insertInContext(context, clock);
    other.setName(QStringLiteral("Cash"));
    other.setType(QStringLiteral("cash"));
    for (objectstore::ManagedObject* used : {food, food, fun}) {
        other.createTransactionWithDate(day(2024, 1, 5), QStringLiteral("coffee shop "), amount("-3"), used,
                                        QString(), std::nullopt, clock);
    }

    EXPECT_EQ(
        import(ofxFile({{"20240305", "-4.50", "COFFEE SHOP", "C-1", 321}, {"20240306", "-1", "NEWSAGENT"}})),
        "new 2, matched 0, duplicate 0");
    const std::vector<model::Transaction> created = bankTransactions();
    ASSERT_EQ(created.size(), 2u);
    const model::Transaction& coffee = created.front();
    EXPECT_EQ(utf8(coffee.title()), "Coffee Shop");
    EXPECT_EQ(coffee.amount(), amount("-4.50"));
    EXPECT_EQ(coffee.date(), day(2024, 3, 5));
    EXPECT_EQ(coffee.checkNumber(), 321);
    EXPECT_EQ(coffee.category(), food);
    EXPECT_TRUE(coffee.isImported());
    EXPECT_TRUE(coffee.isNew());
    EXPECT_EQ(utf8(coffee.ofxTitle()), "COFFEE SHOP");
    EXPECT_EQ(utf8(coffee.ofxFitID()), "C-1");
    EXPECT_EQ(created.back().category(), nullptr);
    save();
}

TEST_F(BankFileMergeTest, CategoriesChosenDuringTheMergeCountForLaterRecords) {
    objectstore::ManagedObject* fun = category(QStringLiteral("Fun")).object();
    objectstore::ManagedObject* food = category(QStringLiteral("Food")).object();
    pending(day(2024, 1, 1), "-1", QStringLiteral("Deli")).setSingleCategory(fun);
    pending(day(2024, 1, 2), "-1", QStringLiteral("deli")).setSingleCategory(food);
    model::Transaction untitled = pending(day(2024, 3, 1), "-8.00");
    untitled.setSingleCategory(food);
    // Fun wins the tie at first (the lower key); once the untitled entry is matched and named Deli,
    // Food leads.
    ASSERT_EQ(model::Transaction::mostUsedCategoryForName(context, QStringLiteral("DELI")), fun);
    EXPECT_EQ(
        import(ofxFile(
            {{"20240301", "-2.00", "CAFE"}, {"20240302", "-8.00", "DELI"}, {"20240303", "-3.00", "DELI"}})),
        "new 2, matched 1, duplicate 0");
    EXPECT_EQ(utf8(untitled.title()), "Deli");
    const std::vector<model::Transaction> created = bankTransactions();
    ASSERT_EQ(created.size(), 2u);
    EXPECT_EQ(utf8(created.back().title()), "Deli");
    EXPECT_EQ(created.back().category(), food);
}

// The index gives the answers of the store-wide lookup, whatever the titles look like.
TEST_F(BankFileMergeTest, CategoryIndexAgreesWithTheStoreLookup) {
    std::vector<objectstore::ManagedObject*> categories{nullptr};
    for (const char* name : {"A", "B", "C"}) {
        categories.push_back(category(QString::fromLatin1(name)).object());
    }
    const std::vector<QString> titles{
        QStringLiteral("Shop"),   QStringLiteral("shop "),  QStringLiteral("SHOP\t"),
        QStringLiteral("Shop  "), QStringLiteral("Shops"),  QStringLiteral(""),
        QStringLiteral("  "),     QStringLiteral("Straße"), QStringLiteral("STRASSE")};
    std::mt19937 random(7);
    for (int i = 0; i < 120; ++i) {
        model::Transaction t = pending(day(2024, 1, 1), "-1", titles[random() % titles.size()]);
        if (i % 5 == 0) {
            t.setMultipleCategoriesAndAmounts(
                {{categories[random() % 4], amount("-0.5")}, {categories[random() % 4], amount("-0.5")}});
        } else {
            t.setSingleCategory(categories[random() % 4]);
        }
    }
    const import::CategoryUsageIndex index(context);
    for (const QString& name : titles) {
        EXPECT_EQ(index.mostUsedCategoryForName(name),
                  model::Transaction::mostUsedCategoryForName(context, name))
            << utf8(name);
    }
}

// ---- Preprocessing -------------------------------------------------------------------------------

TEST_F(BankFileMergeTest, DescriptionsFallBackToTheMemoThenUnknown) {
    AccountDictionary file = ofxFile({{"20240301", "-20.00", nullptr, nullptr, std::nullopt, "ATM"},
                                      {"20240302", "-1.00"},
                                      {"20240303", "-2.00", "", nullptr, std::nullopt, "CARD"}});
    BankFileMerge(account, clock).preprocessActivityDictionary(file);
    const auto& records = file.accounts.front().transactions;
    EXPECT_EQ(utf8(records[0].name.value_or("-")), "ATM");
    EXPECT_EQ(utf8(records[1].name.value_or("-")), "Unknown");
    EXPECT_EQ(utf8(records[2].name.value_or("-")), "CARD");
    EXPECT_EQ(records[0].date, day(2024, 3, 1));
}

TEST_F(BankFileMergeTest, CheckNumbersThatRepeatTheIdOrAreZeroAreDropped) {
    AccountDictionary file = ofxFile({{"20240301", "-1", "A", "4711", 4711},
                                      {"20240301", "-1", "B", "X1", 0},
                                      {"20240301", "-1", "C", "X2", 17}});
    ImportedTransaction byReference = ofxRecord({"20240301", "-1", "D", nullptr, 88});
    byReference.referenceNumber = QStringLiteral("88");
    file.accounts.front().transactions.push_back(byReference);
    BankFileMerge(account, clock).preprocessActivityDictionary(file);
    const auto& records = file.accounts.front().transactions;
    EXPECT_EQ(records[0].checkNumber, std::nullopt);
    EXPECT_EQ(records[1].checkNumber, std::nullopt);
    EXPECT_EQ(records[2].checkNumber, 17);
    EXPECT_EQ(utf8(records[3].fitID.value_or("-")), "88");
    EXPECT_EQ(records[3].checkNumber, std::nullopt);
}

TEST_F(BankFileMergeTest, AFirstOfxImportIntoAnEmptyAccountStartsItAtTheLedgerBalance) {
    account.setStartBalance(amount("5"));
    account.setStartBalanceDate(day(2024, 2, 1));
    AccountDictionary file = ofxFile({{"20240301", "-150.00", "A", "1"},
                                      {"20240302", "-50.00", "B", "2"},
                                      {"20240303", "-999.00", "REPEAT", "2"}});
    file.accounts.front().ledgerBalance = amount("1000.00");
    EXPECT_EQ(import(file), "new 2, matched 0, duplicate 1");
    EXPECT_EQ(account.startBalance(), amount("1200.00"));
    EXPECT_EQ(account.startBalanceDate(), day(2024, 2, 1));
    EXPECT_EQ(account.balance(), amount("1000.00"));

    // Only the first import into an empty account: afterwards the ledger is left alone.
    file.accounts.front().ledgerBalance = amount("1.00");
    file.accounts.front().transactions.push_back(ofxRecord({"20240304", "-10", "C", "3"}));
    import(file);
    EXPECT_EQ(account.startBalance(), amount("1200.00"));
}

TEST_F(BankFileMergeTest, TheLedgerBalanceIsUsedForOfxFilesOnly) {
    account.setStartBalance(amount("5"));
    account.setQifDateOrder(QStringLiteral("MDY"));
    AccountDictionary file = qifFile({{"03/01/2024", "-1"}});
    file.accounts.front().ledgerBalance = amount("1000.00");
    import(file);
    EXPECT_EQ(account.startBalance(), amount("5"));
}

// ---- Date orders ---------------------------------------------------------------------------------

TEST_F(BankFileMergeTest, AGuessedDateOrderIsStoredAndUsedForLaterFiles) {
    EXPECT_EQ(import(qifFile({{"31/01/2024", "-1"}, {"01/02/2024", "-2"}})), "new 2, matched 0, duplicate 0");
    EXPECT_EQ(utf8(account.qifDateOrder()), "DMY");
    EXPECT_EQ(bankTransactions().back().date(), day(2024, 2, 1));
    // This file alone would not tell; the stored order reads it.
    import(qifFile({{ "02/03/2024", "-3" }}));
    EXPECT_EQ(bankTransactions().back().date(), day(2024, 3, 2));
}

TEST_F(BankFileMergeTest, AnUndecidableOrderAsksWithTheFirstDate) {
    const ParseException failure = failureOf([&] {
        import(qifFile({{"01/02/2024", "-1"}, { "02/01/2024", "-2" }}));
    });
    EXPECT_EQ(utf8(failure.name()), "VTParseAmbiguousDateException");
    EXPECT_EQ(utf8(failure.details().value(QStringLiteral("sampleText")).toString()), "01/02/2024");
    EXPECT_FALSE(failure.details().contains(QStringLiteral("parseFailed")));
    EXPECT_TRUE(account.qifDateOrder().isNull());
}

TEST_F(BankFileMergeTest, ADateThatDoesNotReadInTheStoredOrderSaysSo) {
    account.setQifDateOrder(QStringLiteral("DMY"));
    save();
    const ParseException failure = failureOf([&] {
        import(qifFile({{"01/12/2020", "-1"}, { "12/31/2020", "-2" }}));
    });
    EXPECT_EQ(utf8(failure.name()), "VTParseAmbiguousDateException");
    EXPECT_EQ(utf8(failure.details().value(QStringLiteral("sampleText")).toString()), "12/31/2020");
    EXPECT_TRUE(failure.details().contains(QStringLiteral("parseFailed")));
    EXPECT_FALSE(context.hasChanges());
}

// ---- Failures change nothing ---------------------------------------------------------------------

TEST_F(BankFileMergeTest, AFailureLeavesTheContextAsItWas) {
    const model::Transaction typed = pending(day(2024, 3, 1), "-42.00");
    save();
    const struct {
        Record bad;
        const char* reason;
    } cases[] = {
        {{"2024", "-1", "SHORT"}, "The posting date \"2024\" of a transaction is not a date."},
        {{"20241301", "-1", "MONTH 13"}, "The posting date \"20241301\" of a transaction is not a date."},
        {{"20240301", "-0.005", "FRACTION"}, "The amount -0.005 has more than two decimal places."},
    };
    for (const auto& c : cases) {
        AccountDictionary file =
            ofxFile({{"20240302", "-42.00", "MARKET"}, {"20240303", "-9", "NEW"}, c.bad});
        file.accounts.front().ledgerBalance = amount("100");
        const ParseException failure = failureOf([&] { import(file); });
        EXPECT_EQ(utf8(failure.name()), "VTParseException");
        EXPECT_EQ(utf8(failure.reason()), c.reason);
        EXPECT_FALSE(context.hasChanges()) << c.reason;
        EXPECT_TRUE(typed.isPending());
    }
    AccountDictionary undated = ofxFile({{"20240302", "-42.00", "MARKET"}});
    undated.accounts.front().transactions.front().dtPosted.reset();
    EXPECT_EQ(utf8(failureOf([&] { import(undated); }).reason()),
              "A transaction has no posting date (DTPOSTED).");
    EXPECT_FALSE(context.hasChanges());
}

TEST_F(BankFileMergeTest, TheMergeTakesExactlyOneStatement) {
    AccountDictionary none = ofxFile({});
    none.accounts.clear();
    EXPECT_THROW(import(none), platform::InternalError);
    AccountDictionary two = ofxFile({});
    two.accounts.push_back(two.accounts.front());
    EXPECT_THROW(import(two), platform::InternalError);
}

// ---- Institution fix-ups -------------------------------------------------------------------------

// Each case reads one record {"20240301", "-1", name, "F", 5, memo} from the given institution.
struct FixupCase {
    const char* label;
    const char* language;
    const char* org;
    const char* fid;
    const char* bankID;
    const char* acctType;
    const char* currency;
    const char* recordName;
    const char* recordMemo;
    // What is left after preprocessing.
    const char* name;
    const char* fitID;
    std::optional<std::int64_t> checkNumber;
};

class InstitutionFixups : public BankFileMergeTest, public ::testing::WithParamInterface<FixupCase> {};

TEST_P(InstitutionFixups, ApplyTheFirstRuleThatHolds) {
    const FixupCase& c = GetParam();
    AccountDictionary file = ofxFile({{"20240301", "-1", c.recordName, "F", 5, c.recordMemo}});
    file.language = text(c.language);
    file.fiOrg = text(c.org);
    file.fiFid = text(c.fid);
    ImportedAccount& statement = file.accounts.front();
    statement.bankID = text(c.bankID);
    statement.acctType = text(c.acctType);
    statement.currency = text(c.currency);
    BankFileMerge(account, clock).preprocessActivityDictionary(file);
    const ImportedTransaction& record = statement.transactions.front();
    EXPECT_EQ(utf8(record.name.value_or("-")), c.name);
    EXPECT_EQ(utf8(record.fitID.value_or("-")), c.fitID);
    EXPECT_EQ(record.checkNumber, c.checkNumber);
}

constexpr auto kDps = "DBT PURCHASE ON 01/02 @ 10:11 VISA DPS SHOP NAME CARD NBR: -1234";
constexpr auto kNone = std::nullopt;

INSTANTIATE_TEST_SUITE_P(
    Rules, InstitutionFixups,
    ::testing::Values(
        FixupCase{"Rule1", "POR", nullptr, nullptr, "0104", "CHECKING", "BRL", "N", "M", "N", "-", 5},
        FixupCase{"Rule1BeforeRule5", "POR", "Banco do Brasil", nullptr, "0104", "CHECKING", "BRL", "N", "M",
                  "N", "-", 5},
        FixupCase{"Rule2", nullptr, nullptr, nullptr, "130000100", "SAVINGS", "CAD", "N", "M", "M", "F", 5},
        FixupCase{"Rule2KeepsNameWithoutMemo", nullptr, nullptr, nullptr, "130000100", "SAVINGS", "CAD", "N",
                  nullptr, "N", "F", 5},
        FixupCase{"Rule3", nullptr, nullptr, nullptr, "296076301", "CHECKING", "USD", "N", "M", "M", "F", 5},
        FixupCase{"Rule3NeedsChecking", nullptr, nullptr, nullptr, "296076301", "SAVINGS", "USD", "N", "M",
                  "N", "F", 5},
        FixupCase{"Rule4", nullptr, "Banco Leon", "AVERAVER", nullptr, "CHECKING", "MXN", "N", "M", "N", "F",
                  kNone},
        FixupCase{"Rule5", "POR", "Banco do Brasil", "1", "001", "CHECKING", "BRL", "N", "M", "N", "F",
                  kNone},
        FixupCase{"Rule6", nullptr, "Citibank", "2102", nullptr, "CHECKING", "USD", "DEBIT PIN PURCHASE",
                  "GROCER", "GROCER", "F", 5},
        FixupCase{"Rule6OtherName", nullptr, "Citibank", "2102", nullptr, "CHECKING", "USD",
                  "DEBIT PURCHASES", "GROCER", "DEBIT PURCHASES", "F", 5},
        FixupCase{"Rule6EndsTheSearchBeforeRule8", nullptr, "Citibank", "2102", "272484894", "CHECKING",
                  "USD", "PAYROLL", kDps, "PAYROLL", "F", 5},
        FixupCase{"Rule7", nullptr, "CMEFCU", "20586", nullptr, "CHECKING", "USD",
                  "x POS Withdrawal #98765 y", "CAFE", "CAFE", "F", 5},
        FixupCase{"Rule7NeedsDigits", nullptr, "CMEFCU", "20586", nullptr, "CHECKING", "USD",
                  "POS Withdrawal #", "CAFE", "POS Withdrawal #", "F", 5},
        FixupCase{"Rule7EndsTheSearchBeforeRule8", nullptr, "CMEFCU", "20586", "272484894", "CHECKING", "USD",
                  "PAYROLL", kDps, "PAYROLL", "F", 5},
        FixupCase{"Rule6LeavesSavingsAlone", nullptr, "Citibank", "2102", nullptr, "SAVINGS", "USD",
                  "Not available", "GROCER", "Not available", "F", 5},
        FixupCase{"Rule8", nullptr, nullptr, nullptr, "272484894", "CHECKING", "USD", "N", kDps, "SHOP NAME",
                  "F", 5},
        FixupCase{"Rule8WholeMemo", nullptr, nullptr, nullptr, "272484894", "CHECKING", "USD", "N",
                  "ONLINE TRANSFER", "ONLINE TRANSFER", "F", 5},
        FixupCase{"Rule8BlankMemo", nullptr, nullptr, nullptr, "272484894", "CHECKING", "USD", "FEE", " ",
                  "FEE", "F", 5},
        FixupCase{"NoRule", "ENG", "Example Bank", "1001", "121000358", "CHECKING", "USD", "N", "M", "N", "F",
                  5}),
    [](const ::testing::TestParamInfo<FixupCase>& info) { return std::string(info.param.label); });

TEST_F(BankFileMergeTest, AChosenBankSettingSwitchesTheFixupsOff) {
    AccountDictionary file = ofxFile({{"20240301", "-1", "N", "F", 5, "M"}});
    file.language = QStringLiteral("POR");
    file.accounts.front().currency = QStringLiteral("BRL");
    file.accounts.front().bankID = QStringLiteral("0104");
    account.setSpecialBank(3);
    BankFileMerge(account, clock).preprocessActivityDictionary(file);
    EXPECT_EQ(utf8(file.accounts.front().transactions.front().fitID.value_or("-")), "F");
}

// ---- Files read from disk ------------------------------------------------------------------------

QString fixture(const char* name) {
    return QStringLiteral(VANTREL_TEST_DATA "/ofx/") + QString::fromLatin1(name);
}

TEST_F(BankFileMergeTest, AStatementFileMergesOnceAndThenOnlyFindsDuplicates) {
    AccountDictionary file = import::OfxReader::readFileForTransactions(fixture("bank-sgml.ofx"));
    EXPECT_EQ(import(file), "new 4, matched 0, duplicate 0");
    EXPECT_EQ(account.balance(), amount("1191.51"));
    EXPECT_EQ(import(import::OfxReader::readFileForTransactions(fixture("bank-xml.ofx"))),
              "new 0, matched 0, duplicate 4");
    save();
}

TEST_F(BankFileMergeTest, TheCitibankFileKeepsThePayrollName) {
    AccountDictionary file = import::OfxReader::readFileForTransactions(fixture("fixup6-citibank-2102.ofx"));
    BankFileMerge(account, clock).preprocessActivityDictionary(file);
    QStringList names;
    for (const ImportedTransaction& record : file.accounts.front().transactions) {
        names.append(record.name.value_or(QStringLiteral("-")));
    }
    EXPECT_TRUE(names.contains(QStringLiteral("PAYROLL DEPOSIT"))) << utf8(names.join(u'|'));
    EXPECT_TRUE(names.contains(QStringLiteral("DEBIT PURCHASE"))) << utf8(names.join(u'|'));
    EXPECT_FALSE(names.contains(QStringLiteral("Not available"))) << utf8(names.join(u'|'));
}

} // namespace
