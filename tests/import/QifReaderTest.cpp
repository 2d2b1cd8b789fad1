#include "import/QifReader.h"

#include "ParseFailureExpectation.h"
#include "import/ParseException.h"
#include "import/QifRecordScanner.h"
#include "import/TextFileReader.h"
#include "platform/InternalError.h"
#include "support/ModelValues.h"
#include "text/Regex.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

using namespace vantrel;
using import::AccountDictionary;
using import::FileFormat;
using import::ImportedAccount;
using import::ImportedSplit;
using import::ImportedTransaction;
using import::ParseException;
using import::QifReader;
using import::QifRecordScanner;
using import::QifSplitGroup;
using import::testing::expectFailure;
using testsupport::amount;
using testsupport::utf8;

namespace {

QString q(const char* text) {
    return QString::fromUtf8(text);
}

QString dataPath(const char* relative) {
    return QStringLiteral(VANTREL_TEST_DATA "/") + QString::fromUtf8(relative);
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << utf8(path);
    return file.readAll();
}

std::string optionalText(const std::optional<QString>& text) {
    return text ? "\"" + utf8(*text) + "\"" : std::string("none");
}

// Amounts compare by value: 1 and 1.00 are the same amount.
std::string value(const model::Amount& amount) {
    return amount.normalized().toStdString();
}

// Every key a QIF reader can set, so that a failing comparison says which one differs.
std::string describe(const ImportedTransaction& t) {
    std::ostringstream out;
    out << "date=" << optionalText(t.dateString) << " amount=" << value(t.amount)
        << " name=" << optionalText(t.name) << " payee=" << optionalText(t.payee)
        << " memo=" << optionalText(t.memo)
        << " check=" << (t.checkNumber ? std::to_string(*t.checkNumber) : std::string("none"))
        << " pending=" << (t.isPending ? (*t.isPending ? "yes" : "no") : "none") << " splits=[";
    for (const ImportedSplit& split : t.splits) {
        out << " {" << optionalText(split.category) << " " << value(split.amount) << " "
            << optionalText(split.memo) << "}";
    }
    out << " ]";
    return out.str();
}

std::string describe(const std::vector<ImportedTransaction>& transactions) {
    std::string text;
    for (const ImportedTransaction& t : transactions) {
        text += describe(t) + "\n";
    }
    return text;
}

std::string describe(const ImportedAccount& account) {
    return "name=" + optionalText(account.name) + " type=" + optionalText(account.type) +
           " balance=" + (account.balance ? value(*account.balance) : std::string("none")) + "\n" +
           describe(account.transactions);
}

void expectTransactions(const std::vector<ImportedTransaction>& actual,
                        const std::vector<ImportedTransaction>& expected) {
    EXPECT_EQ(describe(actual), describe(expected));
    EXPECT_TRUE(actual == expected); // also the keys a QIF file never gives
}

std::vector<ImportedTransaction> bankTransactions(const QString& text) {
    const AccountDictionary result = QifReader::parseForTransactions(text);
    EXPECT_EQ(result.format, FileFormat::Qif);
    EXPECT_EQ(result.accounts.size(), 1U);
    return result.accounts.empty() ? std::vector<ImportedTransaction>{}
                                   : result.accounts.front().transactions;
}

ImportedTransaction onlyBankTransaction(const QString& text) {
    const std::vector<ImportedTransaction> transactions = bankTransactions(text);
    EXPECT_EQ(transactions.size(), 1U) << utf8(text);
    return transactions.empty() ? ImportedTransaction{} : transactions.front();
}

ImportedTransaction onlyProgramTransaction(const QString& records) {
    const ImportedAccount account =
        QifReader::parseTransactionsOnlyStringFromApp(q("!Type:Bank\n") + records);
    EXPECT_EQ(account.transactions.size(), 1U) << utf8(records);
    return account.transactions.empty() ? ImportedTransaction{} : account.transactions.front();
}

ImportedTransaction bank(const char* date, const char* value, std::optional<QString> name, bool pending,
                         std::optional<std::int64_t> check = std::nullopt,
                         std::optional<QString> memo = std::nullopt) {
    ImportedTransaction t;
    t.dateString = q(date);
    t.amount = amount(value);
    t.name = std::move(name);
    t.memo = std::move(memo);
    t.checkNumber = check;
    t.isPending = pending;
    return t;
}

ImportedTransaction program(std::optional<QString> date, std::optional<QString> payee, const char* value,
                            std::vector<ImportedSplit> splits, bool pending = true,
                            std::optional<QString> memo = std::nullopt,
                            std::optional<std::int64_t> check = std::nullopt) {
    ImportedTransaction t;
    t.dateString = std::move(date);
    t.payee = std::move(payee);
    t.amount = amount(value);
    t.memo = std::move(memo);
    t.checkNumber = check;
    t.isPending = pending;
    t.splits = std::move(splits);
    return t;
}

ImportedSplit split(std::optional<QString> category, const char* value, std::optional<QString> memo = {}) {
    return ImportedSplit{std::move(category), amount(value), std::move(memo)};
}

QString withCrLf(QString text) {
    return text.replace(u'\n', QStringLiteral("\r\n"));
}

QString withCr(QString text) {
    return text.replace(u'\n', u'\r');
}

// ---------------------------------------------------------------------------------------------
// Record syntax

TEST(QifRecordScannerTest, RecordsEndAtLinesHoldingOnlyACaretAndTheTailBelongsToNone) {
    const QString text = q("D1\nT2\n^\nD3\n^  \t\nD4\n^x\nT5\n^\nD6\nT7\n");
    const std::vector<QStringView> records = QifRecordScanner::records(text);
    ASSERT_EQ(records.size(), 3U);
    EXPECT_EQ(utf8(records[0].toString()), "D1\nT2\n^\n");
    EXPECT_EQ(utf8(records[1].toString()), "D3\n^  \t\n");
    // "^x" is no record end: the third record runs on to the next plain "^".
    EXPECT_EQ(utf8(records[2].toString()), "D4\n^x\nT5\n^\n");
    EXPECT_TRUE(QifRecordScanner::records(q("D1\nT2\n")).empty());
    EXPECT_EQ(QifRecordScanner::records(q("^")).size(), 1U); // a last line without line end still counts
}

TEST(QifRecordScannerTest, FieldsTakeTheFirstLineWithTheirCodeAndBlankValuesAreAbsent) {
    const QString record = q("PFirst  \nPSecond\nM \t\nN\nT-1.00\n$12\nS[Visa]\n^\n");
    EXPECT_EQ(optionalText(QifRecordScanner::field(u'P', record)), "\"First  \""); // as written
    EXPECT_EQ(optionalText(QifRecordScanner::field(u'M', record)), "none");
    EXPECT_EQ(optionalText(QifRecordScanner::field(u'N', record)), "none");
    EXPECT_EQ(optionalText(QifRecordScanner::field(u'$', record)), "\"12\"");
    EXPECT_EQ(optionalText(QifRecordScanner::field(u'S', record)), "\"[Visa]\"");
    EXPECT_EQ(optionalText(QifRecordScanner::field(u'D', record)), "none");
    // A code must start its line.
    EXPECT_EQ(optionalText(QifRecordScanner::field(u'D', q(" D1/1/05\n^\n"))), "none");
}

TEST(QifRecordScannerTest, LfCrLfAndLoneCrLineEndsReadAlike) {
    const QString text = q("D1/15'05\nT-1.00\nPA  B\nC*\n^\nD2\nT3\n^\n");
    const std::vector<ImportedTransaction> expected = bankTransactions(text);
    ASSERT_EQ(expected.size(), 2U);
    expectTransactions(bankTransactions(withCrLf(text)), expected);
    expectTransactions(bankTransactions(withCr(text)), expected);
    // Mixed ends within one file.
    expectTransactions(bankTransactions(q("D1/15'05\r\nT-1.00\rPA  B\nC*\r\n^\rD2\nT3\r\n^")), expected);
}

// The regular expressions records, fields and split groups were first read with stay the reference.
// On small LF texts the scanner must agree with them exactly. Empty lines are left out: between
// split lines the split pattern skips one of them with LF ends but none with CR LF ends, where
// the scanner treats both alike.
TEST(QifRecordScannerTest, AgreesWithTheRecordFieldAndSplitPatternsOnGeneratedTexts) {
    const text::Regex recordPattern(u"(?ms)^.*?^\\^\\s*$");
    const text::Regex splitPattern(u"(?m)(^S.*$\\s{0,2}+)(^E.*$\\s{0,2}+)?(^\\$.*$\\s{0,2}+)");
    const auto fieldByPattern = [](QChar code, const QString& record) -> std::optional<QString> {
        const QString escaped = code == u'$' ? QStringLiteral("\\$") : QString(code);
        const auto match = text::Regex(QStringLiteral("(?m)^%1(.*)$").arg(escaped)).firstMatch(record);
        if (!match || QifRecordScanner::isBlank(match->capturedView(1))) {
            return std::nullopt;
        }
        return match->captured(1);
    };
    const std::vector<const char*> lineChoices = {
        "D1/2'05", "T-5.00", "S",  "SFood", "E",   "Enote", "$3",  "$",          "^",       "^  ", "^x",
        "PA  B",   "M",      "  ", "\t",    "N12", "C*",    " T9", "!Type:Bank", "L[Visa]", "x^"};
    std::mt19937 random(20240615);
    std::uniform_int_distribution<std::size_t> pick(0, lineChoices.size() - 1);
    std::uniform_int_distribution<int> length(0, 14);
    for (int round = 0; round < 400; ++round) {
        QString text;
        for (int i = length(random); i > 0; --i) {
            text += q(lineChoices[pick(random)]) + u'\n';
        }
        if (round % 3 == 0) {
            text.chop(1); // no line end after the last line
        }
        SCOPED_TRACE(utf8(text));
        const std::vector<text::RegexMatch> byPattern = recordPattern.allMatches(text);
        const std::vector<QStringView> byScanner = QifRecordScanner::records(text);
        ASSERT_EQ(byScanner.size(), byPattern.size());
        for (std::size_t r = 0; r < byScanner.size(); ++r) {
            const QString expectedRecord = byPattern[r].captured();
            const QString record = byScanner[r].toString();
            for (QChar code : {u'D', u'T', u'P', u'M', u'N', u'C', u'L', u'S', u'E', u'$'}) {
                EXPECT_EQ(optionalText(QifRecordScanner::field(code, record)),
                          optionalText(fieldByPattern(code, expectedRecord)))
                    << "field " << char(code.unicode()) << " of record " << r;
            }
            const std::vector<text::RegexMatch> groups = splitPattern.allMatches(expectedRecord);
            const std::vector<QifSplitGroup> scanned = QifRecordScanner::splitGroups(record);
            ASSERT_EQ(scanned.size(), groups.size()) << "record " << r;
            for (std::size_t g = 0; g < groups.size(); ++g) {
                const QString group = groups[g].captured();
                EXPECT_EQ(optionalText(scanned[g].category), optionalText(fieldByPattern(u'S', group)));
                EXPECT_EQ(optionalText(scanned[g].memo), optionalText(fieldByPattern(u'E', group)));
                EXPECT_EQ(optionalText(scanned[g].amount), optionalText(fieldByPattern(u'$', group)));
            }
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Bank flavour

TEST(QifBankFlavourTest, ReadsARecordWithItsDescriptionCleanedUp) {
    expectTransactions(bankTransactions(q("!Type:Bank\nD1/15'05\nT-12.50\nPStore  Name\n^\n")),
                       {bank("1/15'05", "-12.50", q("Store Name"), true)});
    // Every run of white space becomes one space; nothing is trimmed.
    EXPECT_EQ(utf8(QifReader::processName(q("\t A \u00a0\u2003 B\n\nC "))), " A B C ");
    const ImportedTransaction t = onlyBankTransaction(q("D1\nT1\nPNo\tTabs\nMA   memo  \n^\n"));
    EXPECT_EQ(optionalText(t.name), "\"No Tabs\"");
    EXPECT_EQ(optionalText(t.memo), "\"A memo \"");
    EXPECT_EQ(optionalText(t.payee), "none"); // the bank flavour has no payees
    EXPECT_TRUE(t.splits.empty());
}

TEST(QifBankFlavourTest, OnlyASingleClearedMarkMakesARecordNotPending) {
    for (const char* mark : {"*", "X", "R", "c"}) {
        EXPECT_EQ(onlyBankTransaction(q("D1\nT1\nC%1\n^\n").arg(q(mark))).isPending, false) << mark;
    }
    for (const char* mark : {"CC", "C?", "Cx", "Cr", "C**", "C* ", "C"}) {
        EXPECT_EQ(onlyBankTransaction(q("D1\nT1\n%1\n^\n").arg(q(mark))).isPending, true) << mark;
    }
    EXPECT_EQ(onlyBankTransaction(q("D1\nT1\n^\n")).isPending, true);
}

TEST(QifBankFlavourTest, CheckNumbersComeFromAnAllDigitNOrElseAnAllDigitC) {
    const auto check = [](const char* lines) { return onlyBankTransaction(q(lines)).checkNumber; };
    EXPECT_EQ(check("D1\nT1\nN1234\n^\n"), 1234);
    EXPECT_EQ(check("D1\nT1\nNATM\n^\n"), std::nullopt);
    EXPECT_EQ(check("D1\nT1\nNATM\nC567\n^\n"), 567);
    EXPECT_EQ(check("D1\nT1\nN12\nC567\n^\n"), 12);
    EXPECT_EQ(check("D1\nT1\nN12A\n^\n"), std::nullopt);
    EXPECT_EQ(check("D1\nT1\nN-12\n^\n"), std::nullopt);
    EXPECT_EQ(check("D1\nT1\nN0042\n^\n"), 42);
    // Beyond 64 bits it is a reference, not a number; the C fallback still applies.
    EXPECT_EQ(check("D1\nT1\nN123456789012345678901234567890\n^\n"), std::nullopt);
    EXPECT_EQ(check("D1\nT1\nN99999999999999999999\nC7\n^\n"), 7);
    EXPECT_EQ(check("D1\nT1\nN9223372036854775807\n^\n"), 9223372036854775807LL);
    EXPECT_EQ(onlyBankTransaction(q("D1\nT1\nC567\n^\n")).isPending, true);
}

TEST(QifBankFlavourTest, AmountsKeepTheirSignAndDropThousandsSeparators) {
    EXPECT_EQ(onlyBankTransaction(q("D1\nT1,234.56\n^\n")).amount, amount("1234.56"));
    EXPECT_EQ(onlyBankTransaction(q("D1\nT(15.00)\n^\n")).amount, amount("-15.00"));
    EXPECT_EQ(onlyBankTransaction(q("D1\nT-1.234,56\n^\n")).amount, amount("-1234.56"));
    // A 30-digit amount is exact; beyond what an amount holds it is a named failure.
    EXPECT_EQ(onlyBankTransaction(q("D1\nT123456789012345678901234567890.12\n^\n")).amount,
              amount("123456789012345678901234567890.12"));
    expectFailure(
        [] { QifReader::parseForTransactions(q("D1\nT1234567890123456789012345678901234567890\n^\n")); },
        ParseException::kParse, q("Amount could not be parsed."));
}

TEST(QifBankFlavourTest, FailuresNameWhatIsWrongAndLeaveNoResult) {
    expectFailure([] { QifReader::parseForTransactions(q("D1\nT1\n^\nT-2\nPNo date\n^\n")); },
                  ParseException::kParse, q("Missing date in record."));
    expectFailure([] { QifReader::parseForTransactions(q("D1\nT1\n^\nD2\nT  \n^\n")); },
                  ParseException::kParse, q("Missing amount in record."));
    expectFailure([] { QifReader::parseForTransactions(q("D1\nTabc\n^\n")); }, ParseException::kParse,
                  q("Amount could not be parsed."));
    // A program's export read as a bank file: the account record has no date.
    expectFailure([] { QifReader::parseForTransactions(q("!Account\nNChecking\nTBank\n^\n!Type:Bank\n")); },
                  ParseException::kParse, q("Missing date in record."));
    // An empty "^" record is a record without a date, not something to skip.
    expectFailure([] { QifReader::parseForTransactions(q("D1\nT1\n^\n^\n")); }, ParseException::kParse,
                  q("Missing date in record."));
}

TEST(QifBankFlavourTest, TheLastRecordWithoutItsCaretLineIsLost) {
    expectTransactions(bankTransactions(q("!Type:Bank\nD1\nT1\n^\nD2\nT2\nPLost\n")),
                       {bank("1", "1", std::nullopt, true)});
    EXPECT_TRUE(bankTransactions(q("")).empty());
    EXPECT_TRUE(bankTransactions(q("!Type:Bank\n")).empty());
}

TEST(QifBankFlavourTest, DialectFixturesReadAsWritten) {
    const auto read = [](const char* file) {
        return QifReader::parseFileForTransactions(dataPath(file)).accounts.at(0).transactions;
    };
    expectTransactions(
        read("qif/bank-apostrophe-dates-crlf.qif"),
        {
            bank("1/15'05", "-12.50", q("Store Name"), false, std::nullopt, q("Card purchase")),
            bank("1/16'05", "-1234.56", q("Rent"), false, 1234),
            bank("1/17'05", "-15.00", q("Cash machine"), true, 567),
            bank("1/18'05", "2000.00", q("Payroll"), false),
            bank("1/19'05", "-7.25", q("Coffee"), false),
            bank("1/20'05", "-3.00", q("Uncleared fee"), true),
        });
    expectTransactions(read("qif/bank-four-digit-years.qif"),
                       {
                           bank("01/15/2005", "-42.00", q("Hardware Store"), false, 301),
                           bank("01/20/2005", "1500", q("Salary"), true, std::nullopt, q("January")),
                           bank("02/01/2005", "-19.99", q("Streaming"), true),
                           bank("02/03/2005", "-60.00", q("Gym"), true),
                       });
    expectTransactions(
        read("qif/bank-day-first-dots.qif"),
        {
            bank("15.01.2005", "-1234.56", q("Möbelhaus"), false),
            bank("31.01.2005", "250.00", q("Gutschrift"), true, std::nullopt, q("Rückzahlung")),
            bank("01.02.2005", "-9.50", q("Kiosk"), true),
        });
}

// ---------------------------------------------------------------------------------------------
// Encodings

TEST(QifEncodingTest, TheSameBankFileReadsAlikeInEveryEncoding) {
    const std::vector<ImportedTransaction> accented = {
        bank("03/02/2024", "-18.40", q("Café de la Gare"), false, std::nullopt, q("Déjeuner à Lyon")),
        bank("03/04/2024", "1250.00", q("Salaire Hélène"), true, 88),
    };
    for (const char* file :
         {"encodings/bank-accented-utf8.qif", "encodings/bank-accented-utf8-bom.qif",
          "encodings/bank-accented-utf16le-bom.qif", "encodings/bank-accented-latin1.qif"}) {
        SCOPED_TRACE(file);
        expectTransactions(QifReader::parseFileForTransactions(dataPath(file)).accounts.at(0).transactions,
                           accented);
    }
    const std::vector<ImportedTransaction> euro = {
        bank("03/05/2024", "-5.00", q("Boulangerie Pérou"), true, std::nullopt, q("Pain €5 – réduit")),
        bank("03/06/2024", "-12.00", q("Cinéma"), false, std::nullopt, q("€12 séance")),
    };
    for (const char* file : {"encodings/bank-euro-utf8.qif", "encodings/bank-euro-utf8-bom.qif",
                             "encodings/bank-euro-utf16le-bom.qif", "encodings/bank-euro-windows1252.qif"}) {
        SCOPED_TRACE(file);
        expectTransactions(QifReader::parseFileForTransactions(dataPath(file)).accounts.at(0).transactions,
                           euro);
    }
}

TEST(QifEncodingTest, OnlyTheLatin1FallbackIsReadAgainAsWindows1252) {
    QTemporaryDir directory;
    ASSERT_TRUE(directory.isValid());
    const auto payeeOf = [&](const QByteArray& payee) {
        const QString path = directory.filePath(QStringLiteral("file.qif"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray("!Type:Bank\nD1\nT1\nP") + payee + QByteArray("\n^\n"));
        file.close();
        return QifReader::parseFileForTransactions(path).accounts.at(0).transactions.at(0).name;
    };
    // The five bytes Windows-1252 leaves undefined keep their control character.
    EXPECT_EQ(payeeOf("\x80\x81\x8D\x8F\x90\x9D\x9F \xE9"),
              QString::fromUtf16(u"\u20AC\u0081\u008D\u008F\u0090\u009D\u0178 \u00E9"));
    // Text that is valid UTF-8 is taken as written, control characters included.
    EXPECT_EQ(payeeOf("\xC2\x80 \xC3\xA9"), QString::fromUtf16(u"\u0080 \u00E9"));
}

TEST(QifEncodingTest, UnreadableOrBrokenFilesFailByName) {
    QTemporaryDir directory;
    ASSERT_TRUE(directory.isValid());
    const QString broken = directory.filePath(QStringLiteral("broken.qif"));
    {
        QFile file(broken);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        // A UTF-16 mark followed by an odd number of bytes and a lone surrogate.
        file.write(QByteArray("\xFF\xFE\x00\xD8!\x00T\x00y\x00p\x00e", 13));
    }
    for (const auto& read : std::vector<std::function<void()>>{
             [&] { QifReader::parseFileForTransactions(broken); },
             [&] { QifReader::fileContainsOnlyTransactions(broken); },
             [&] { QifReader::parseTransactionsOnlyFileFromApp(broken); },
         }) {
        expectFailure(read, ParseException::kEncoding, QString());
    }
    const QString missing = directory.filePath(QStringLiteral("missing.qif"));
    expectFailure([&] { QifReader::parseFileForTransactions(missing); }, ParseException::kParse,
                  q("Could not read file."));
    expectFailure([&] { QifReader::parseAccountsFileFromApp(missing); }, ParseException::kParse,
                  q("Could not read file."));
}

// ---------------------------------------------------------------------------------------------
// Program flavour: account blocks

TEST(QifProgramExportTest, ReadsEveryBlockFollowedByARecognisedTypeHeader) {
    const std::vector<ImportedAccount> accounts =
        QifReader::parseAccountsFileFromApp(dataPath("qif/program-export.qif"));
    // The account list under !Clear:AutoSwitch and the investment block are passed over.
    ASSERT_EQ(accounts.size(), 4U);

    EXPECT_EQ(optionalText(accounts[0].name), "\"Checking\"");
    EXPECT_EQ(optionalText(accounts[0].type), "\"Bank\"");
    EXPECT_EQ(accounts[0].balance, amount("1250.00"));
    expectTransactions(
        accounts[0].transactions,
        {
            program(q("01/01/2020"), q("Opening Balance"), "250.00", {split(q("[Checking]"), "250.00")},
                    false),
            program(q("01/03/2020"), q("Greengrocer"), "-84.20", {split(q("Groceries"), "-84.20")}, false,
                    q("Weekly shop"), 1041),
            program(q("01/05/2020"), q("Card payment"), "-150.00", {split(q("[Visa Card]"), "-150.00")}),
            program(q("01/09/2020"), q("Hardware Store"), "-120.00",
                    {split(q("Home:Repairs"), "-80.00", q("Paint")), split(q("Groceries"), "-40.00")}, true,
                    q("Home")),
        });

    EXPECT_EQ(optionalText(accounts[1].name), "\"Visa Card\"");
    EXPECT_EQ(optionalText(accounts[1].type), "\"CCard\"");
    EXPECT_EQ(accounts[1].balance, std::nullopt);
    expectTransactions(
        accounts[1].transactions,
        {
            program(q("01/05/2020"), std::nullopt, "150.00", {split(q("[Checking]"), "150.00")}, false),
            program(q("01/07/2020"), q("Bookshop"), "-45.99", {split(q("Books/Gifts"), "-45.99")}),
        });

    EXPECT_EQ(optionalText(accounts[2].name), "\"Car Loan\"");
    EXPECT_EQ(optionalText(accounts[2].type), "\"Oth L\"");
    EXPECT_EQ(accounts[2].balance, amount("-8000.00"));
    expectTransactions(accounts[2].transactions, {program(q("01/02/2020"), q("Opening Balance"), "-8000.00",
                                                          {split(q("[Car Loan]"), "-8000.00")})});

    // The same account name again is another entry; merging is the importer's business.
    EXPECT_EQ(optionalText(accounts[3].name), "\"Checking\"");
    EXPECT_EQ(accounts[3].balance, std::nullopt);
    expectTransactions(accounts[3].transactions,
                       {program(q("02/01/2020"), q("Coffee"), "-12.00", {split(q("Dining"), "-12.00")})});
}

TEST(QifProgramExportTest, SplitRecordsNeedTwoCategoryLines) {
    // One S/$ group is no split: its lines are ignored and L is the category.
    expectTransactions({onlyProgramTransaction(q("D1\nT-9.00\nLGroceries\nSDining\n$-9.00\n^\n"))},
                       {program(q("1"), std::nullopt, "-9.00", {split(q("Groceries"), "-9.00")})});
    expectTransactions({onlyProgramTransaction(q("D1\nT-9.00\n^\n"))},
                       {program(q("1"), std::nullopt, "-9.00", {split(std::nullopt, "-9.00")})});
    // Two groups: own amounts and memos; an empty category stays absent; a class stays in the name.
    expectTransactions(
        {onlyProgramTransaction(q("D1\nT-9.00\nLIgnored\nS[Savings]\nE\n$-4.00\nS\nEtip\n$-1.00\n"
                                  "SFood/Trip\n$(4.00)\n^\n"))},
        {program(q("1"), std::nullopt, "-9.00",
                 {split(q("[Savings]"), "-4.00"), split(std::nullopt, "-1.00", q("tip")),
                  split(q("Food/Trip"), "-4.00")})});
    // An S line whose "$" line is not next to it forms no group.
    expectTransactions(
        {onlyProgramTransaction(q("D1\nT-3.00\nSA\n$-1.00\nSB\nMnote\n$-2.00\nSC\n$-2.00\n^\n"))},
        {program(q("1"), std::nullopt, "-3.00", {split(q("A"), "-1.00"), split(q("C"), "-2.00")}, true,
                 q("note"))});
    expectFailure([] { onlyProgramTransaction(q("D1\nT-3.00\nSA\n$-1.00\nSB\n$\n^\n")); },
                  ParseException::kParse, q("Missing amount in record."));
    expectFailure([] { onlyProgramTransaction(q("D1\nT-3.00\nSA\n$-1.00\nSB\n$x\n^\n")); },
                  ParseException::kParse, q("Amount could not be parsed."));
}

TEST(QifProgramExportTest, ProgramRecordsKeepTextsAsWrittenAndMayLackADate) {
    expectTransactions({onlyProgramTransaction(q("PTwo  Spaces \nMMemo  here\nT5\nC*\nN77\n^\n"))},
                       {program(std::nullopt, q("Two  Spaces "), "5", {split(std::nullopt, "5")}, false,
                                q("Memo  here"), 77)});
    expectFailure([] { onlyProgramTransaction(q("D1\nPNo amount\n^\n")); }, ParseException::kParse,
                  q("Missing amount in record."));
}

TEST(QifProgramExportTest, ABlockNeedsExactlyOneAccountRecord) {
    const QString none = q("!Account\nNChecking\nTBank\n!Type:Bank\nD1\nT1\n^\n");
    expectFailure([&] { QifReader::parse(none); }, ParseException::kQifParseError,
                  q("Expected 1 records, but got 0:\n!Account\nNChecking\nTBank\n!Type:Bank\n"));
    const QString two = q("!Account\nNA\nTBank\n^\nNB\nTCash\n^\n!Type:Cash\nD1\nT1\n^\n");
    expectFailure([&] { QifReader::parse(two); }, ParseException::kQifParseError,
                  q("Expected 1 records, but got 2:\n!Account\nNA\nTBank\n^\nNB\nTCash\n^\n!Type:Cash\n"));
    // A later bad block fails the whole file: no half result.
    expectFailure(
        [] {
            QifReader::parse(q("!Account\nNA\nTBank\n^\n!Type:Bank\nD1\nT1\n^\n"
                               "!Account\nNB\n!Type:Bank\n"));
        },
        ParseException::kQifParseError, q("Expected 1 records, but got 0:\n!Account\nNB\n!Type:Bank\n"));
}

TEST(QifProgramExportTest, BlankLinesBelongToTheAccountRecordWhateverTheLineEnds) {
    const QString base = q("!Account\nNChecking\nTBank\n^\n!Type:Bank\nD1\nT-1\n^\n");
    const std::vector<ImportedAccount> expected = QifReader::parse(base);
    ASSERT_EQ(expected.size(), 1U);
    const std::vector<QString> variants = {
        q("!Account  \nNChecking\nTBank\n^\n!Type:Bank\t\nD1\nT-1\n^\n"),
        q("!Account\nNChecking\nTBank\n^\n\n!Type:Bank\nD1\nT-1\n^\n"),
        q("!Account\nNChecking\nTBank\n^\n\n\n!Type:Bank\nD1\nT-1\n^\n"),
        q("!Account\n\nNChecking\n   \nTBank\n^\n \t\n!Type:Bank\n\n\nD1\nT-1\n^\n"),
    };
    for (const QString& variant : variants) {
        for (const QString& text : {variant, withCrLf(variant), withCr(variant)}) {
            SCOPED_TRACE(utf8(text));
            const std::vector<ImportedAccount> accounts = QifReader::parse(text);
            ASSERT_EQ(accounts.size(), 1U);
            EXPECT_EQ(describe(accounts.front()), describe(expected.front()));
        }
    }
}

TEST(QifProgramExportTest, OnlyRecognisedTypeHeadersDirectlyAfterTheRecordMakeABlock) {
    for (const char* text : {
             "",
             "!Type:Bank\nD1\nT1\n^\n",                                   // no account block at all
             "!Account\nNBrokerage\nTInvst\n^\n!Type:Invst\nD1\nT1\n^\n", // investment accounts
             "!Account\n!Type:Bank\nD1\nT1\n^\n",                         // no account record
             "!Account\nNA\n^\n!type:bank\nD1\nT1\n^\n",                  // letter case counts
             "!Account\nNA\n^\n!Type:Banking\nD1\nT1\n^\n",
             "!Account\nNA\n^\n !Type:Bank\nD1\nT1\n^\n", // not at the line start: part of the record
             "!Account\nNA\n^\n!Option:AutoSwitch\n!Type:Bank\nD1\nT1\n^\n",
             "!Accounts\nNA\n^\n!Type:Bank\nD1\nT1\n^\n",
         }) {
        EXPECT_TRUE(QifReader::parse(q(text)).empty()) << text;
    }
    for (const char* type : {"Bank", "Cash", "CCard", "Oth A", "Oth L"}) {
        const std::vector<ImportedAccount> accounts =
            QifReader::parse(q("!Account\nNA\nT%1\n^\n!Type:%1\n").arg(q(type)));
        ASSERT_EQ(accounts.size(), 1U) << type;
        EXPECT_EQ(optionalText(accounts.front().type), "\"" + std::string(type) + "\"");
        EXPECT_TRUE(accounts.front().transactions.empty());
    }
}

TEST(QifProgramExportTest, TransactionsEndAtTheNextHeaderLine) {
    const std::vector<ImportedAccount> accounts =
        QifReader::parse(q("!Account\nNA\nTBank\n^\n!Type:Bank\nD1\nT1\n^\nD2\nT2\n"
                           "!Type:Memorized\nD3\nT3\n^\n!Account\nNB\nTCash\n^\n!Type:Cash\n!"
                           "Account\nNC\nTBank\n^\n!Type:Bank\nD4\nT4\n^"));
    ASSERT_EQ(accounts.size(), 3U);
    // Record 2 is cut short by the header and lost; the memorized list after it is not A's.
    expectTransactions(accounts[0].transactions,
                       {program(q("1"), std::nullopt, "1", {split(std::nullopt, "1")})});
    EXPECT_TRUE(accounts[1].transactions.empty());
    expectTransactions(accounts[2].transactions,
                       {program(q("4"), std::nullopt, "4", {split(std::nullopt, "4")})});
}

// ---------------------------------------------------------------------------------------------
// Program flavour: transactions only

TEST(QifTransactionsOnlyTest, ReadsTheFixtureWithTheHeaderType) {
    const ImportedAccount account =
        QifReader::parseTransactionsOnlyFileFromApp(dataPath("qif/program-transactions-only.qif"));
    EXPECT_EQ(optionalText(account.type), "\"CCard\"");
    EXPECT_EQ(optionalText(account.name), "none");
    EXPECT_EQ(account.balance, std::nullopt);
    expectTransactions(
        account.transactions,
        {
            program(q("12/28'21"), q("Fuel Stop"), "-64.10", {split(q("Auto:Fuel"), "-64.10")}),
            program(q("12/30'21"), std::nullopt, "-30.00",
                    {split(q("Dining"), "-18.00", q("Brunch")), split(q("Dining:Tips"), "-2.00"),
                     split(q("Groceries"), "-10.00")}),
            program(q("12/31'21"), std::nullopt, "500.00", {split(q("[Checking]"), "500.00")}, false,
                    std::nullopt, 2001),
        });
}

TEST(QifTransactionsOnlyTest, TheHeaderMustComeFirstAfterAnyBlankLines) {
    EXPECT_EQ(
        optionalText(QifReader::parseTransactionsOnlyStringFromApp(q("\n  \n\t\r\n!Type:Oth A  \n")).type),
        "\"Oth A\"");
    EXPECT_EQ(QifReader::parseTransactionsOnlyStringFromApp(withCr(q("\n\n!Type:Cash\nD1\nT1\n^\n")))
                  .transactions.size(),
              1U);
    for (const char* text :
         {"!Option:AutoSwitch\n!Type:Bank\nD1\nT1\n^\n", "", "\n\n", "  !Type:Bank\n", "D1\n!Type:Bank\n",
          "!Type:Invst\nD1\nT1\n^\n", "!Type:Bank Account\n", "!TYPE:Bank\n"}) {
        expectFailure([&] { QifReader::parseTransactionsOnlyStringFromApp(q(text)); },
                      ParseException::kQifParseError, q("Header line not found"));
    }
}

TEST(QifTransactionsOnlyTest, AnAccountLineDecidesTheRoad) {
    EXPECT_FALSE(QifReader::stringContainsOnlyTransactions(q("!Type:Bank\n^\n!Account\nNA\n")));
    EXPECT_FALSE(QifReader::stringContainsOnlyTransactions(q("!Account \t\r\nNA")));
    EXPECT_FALSE(QifReader::stringContainsOnlyTransactions(q("D1\r!Account")));
    EXPECT_TRUE(
        QifReader::stringContainsOnlyTransactions(q("!Type:Bank\n!Accounts\n !Account\nM!Account\n")));
    EXPECT_TRUE(QifReader::stringContainsOnlyTransactions(q("")));
    EXPECT_FALSE(QifReader::fileContainsOnlyTransactions(dataPath("qif/program-export.qif")));
    EXPECT_TRUE(QifReader::fileContainsOnlyTransactions(dataPath("qif/program-transactions-only.qif")));
    // Taking the wrong road is a programming fault of the caller.
    EXPECT_THROW(QifReader::parseAccountsFileFromApp(dataPath("qif/program-transactions-only.qif")),
                 platform::InternalError);
    EXPECT_THROW(QifReader::parseTransactionsOnlyFileFromApp(dataPath("qif/program-export.qif")),
                 platform::InternalError);
}

// ---------------------------------------------------------------------------------------------
// Bad input: a named failure or a clean result, never a crash or a half result

constexpr qsizetype kMegabyte = 1024 * 1024;

TEST(QifBadInputTest, AMegabyteLineWithoutRecordEndGivesNothing) {
    const QString line = QString(kMegabyte, u'x');
    EXPECT_TRUE(bankTransactions(q("!Type:Bank\nD1\nT1\nP") + line).empty());
    EXPECT_TRUE(QifReader::parse(q("!Account\nNA\nTBank\n") + line).empty());
    EXPECT_TRUE(QifReader::parseTransactionsOnlyStringFromApp(q("!Type:Bank\n") + line).transactions.empty());
    // The same line inside a complete record is kept whole.
    const ImportedTransaction t = onlyBankTransaction(q("D1\nT1\nP") + line + q("\n^\n"));
    ASSERT_TRUE(t.name.has_value());
    EXPECT_EQ(t.name->size(), kMegabyte);
}

TEST(QifBadInputTest, AMegabyteOfBlankLines) {
    for (const QString& blank : {QString(kMegabyte, u'\n'), QStringLiteral("\r\n").repeated(kMegabyte / 2),
                                 QStringLiteral(" \t\r").repeated(kMegabyte / 3)}) {
        EXPECT_TRUE(bankTransactions(blank).empty());
        EXPECT_TRUE(QifReader::stringContainsOnlyTransactions(blank));
        EXPECT_TRUE(QifReader::parse(blank).empty());
        expectFailure([&] { QifReader::parseTransactionsOnlyStringFromApp(blank); },
                      ParseException::kQifParseError, q("Header line not found"));
        const ImportedAccount account = QifReader::parseTransactionsOnlyStringFromApp(
            blank + q("!Type:Bank\n") + blank + q("D1\nT1\n^\n"));
        EXPECT_EQ(account.transactions.size(), 1U);
        // Blank lines inside the account record are part of it, however many.
        const std::vector<ImportedAccount> accounts = QifReader::parse(
            q("!Account\nNA\n") + blank + q("TBank\n^\n") + blank + q("!Type:Bank\nD1\nT1\n^\n"));
        ASSERT_EQ(accounts.size(), 1U);
        EXPECT_EQ(optionalText(accounts.front().type), "\"Bank\"");
    }
}

TEST(QifBadInputTest, ALongAccountRecordRunStillFindsItsBlock) {
    QString text = q("!Option:AutoSwitch\n!Account\nNBig\nTBank\n");
    while (text.size() < 1400 * 1024) {
        text += q("XNote line %1 of a long account description\n").arg(text.size());
    }
    text += q("^\n!Type:Bank\n");
    int count = 0;
    while (text.size() < 1500 * 1024) {
        text += q("D01/%1/2020\nT-%2.00\nPShop %2\nLFood\n^\n").arg(count % 28 + 1).arg(count);
        ++count;
    }
    text += q("!Account\nNSmall\nTCash\n^\n!Type:Cash\nD1\nT1\n^\n");
    const std::vector<ImportedAccount> accounts = QifReader::parse(text);
    ASSERT_EQ(accounts.size(), 2U);
    EXPECT_EQ(optionalText(accounts[0].name), "\"Big\"");
    ASSERT_EQ(accounts[0].transactions.size(), static_cast<std::size_t>(count));
    EXPECT_EQ(optionalText(accounts[0].transactions.back().payee),
              "\"Shop " + std::to_string(count - 1) + "\"");
    EXPECT_EQ(optionalText(accounts[1].name), "\"Small\"");
}

TEST(QifBadInputTest, EveryTruncationOfABankFileKeepsExactlyTheCompleteRecords) {
    const QByteArray bytes = fileBytes(dataPath("qif/bank-apostrophe-dates-crlf.qif"));
    const std::vector<ImportedTransaction> full = bankTransactions(import::TextFileReader::decode(bytes));
    ASSERT_EQ(full.size(), 6U);
    for (qsizetype cut = 0; cut < bytes.size(); ++cut) {
        const QString text = import::TextFileReader::decode(bytes.left(cut));
        const std::vector<ImportedTransaction> transactions = bankTransactions(text);
        const auto completeRecords = static_cast<std::size_t>(QifRecordScanner::records(text).size());
        ASSERT_EQ(transactions.size(), completeRecords) << cut;
        expectTransactions(transactions,
                           std::vector<ImportedTransaction>(full.begin(), full.begin() + completeRecords));
    }
}

TEST(QifBadInputTest, EveryTruncationOfAnExportGivesAPrefixOfItsAccounts) {
    const QByteArray bytes = fileBytes(dataPath("qif/program-export.qif"));
    const std::vector<ImportedAccount> full = QifReader::parse(import::TextFileReader::decode(bytes));
    for (qsizetype cut = 0; cut < bytes.size(); ++cut) {
        SCOPED_TRACE(cut);
        const std::vector<ImportedAccount> accounts =
            QifReader::parse(import::TextFileReader::decode(bytes.left(cut)));
        ASSERT_LE(accounts.size(), full.size());
        for (std::size_t i = 0; i < accounts.size(); ++i) {
            EXPECT_EQ(accounts[i].name, full[i].name);
            EXPECT_EQ(accounts[i].type, full[i].type);
            EXPECT_EQ(accounts[i].balance, full[i].balance);
            ASSERT_LE(accounts[i].transactions.size(), full[i].transactions.size());
            if (i + 1 < accounts.size()) {
                EXPECT_EQ(accounts[i].transactions.size(), full[i].transactions.size());
            }
            expectTransactions(accounts[i].transactions,
                               std::vector<ImportedTransaction>(
                                   full[i].transactions.begin(),
                                   full[i].transactions.begin() +
                                       static_cast<std::ptrdiff_t>(accounts[i].transactions.size())));
        }
    }
}

TEST(QifBadInputTest, StrayNulAndFfBytesAreKeptAsCharacters) {
    static const char raw[] = "!Type:Bank\nD01/15/2005\nT-1.00\nPNul\0Shop\n^\nD01/16/2005\nT-2.00\nP\xFF"
                              "Shop\n^\n\xFF\x00";
    const QByteArray bytes(raw, sizeof raw - 1);
    const QString text = import::TextFileReader::decode(bytes);
    const std::vector<ImportedTransaction> transactions = bankTransactions(text);
    ASSERT_EQ(transactions.size(), 2U);
    EXPECT_EQ(transactions[0].name, QString::fromUtf16(u"Nul\0Shop", 8));
    EXPECT_EQ(transactions[1].name, QString::fromUtf16(u"\u00ffShop"));
    EXPECT_EQ(transactions[1].amount, amount("-2.00"));
}

TEST(QifBadInputTest, DateTextsAreKeptAsWrittenForTheConsumerToJudge) {
    EXPECT_EQ(optionalText(onlyBankTransaction(q("D13/45/2005\nT1\n^\n")).dateString), "\"13/45/2005\"");
    EXPECT_EQ(optionalText(onlyProgramTransaction(q("D 2005-13-01 \nT1\n^\n")).dateString),
              "\" 2005-13-01 \"");
}

} // namespace
