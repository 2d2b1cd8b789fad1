#include "import/OfxReader.h"

#include "ParseFailureExpectation.h"
#include "import/ParseException.h"
#include "support/ModelValues.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

namespace vantrel::import {
namespace {

using testing::expectFailure;
using testsupport::amount;
using testsupport::day;
using testsupport::utf8;

QString fixture(const char* name) {
    return QStringLiteral(VANTREL_TEST_DATA "/ofx/") + QString::fromLatin1(name);
}

AccountDictionary readFixture(const char* name) {
    return OfxReader::readFileForTransactions(fixture(name));
}

void expectParseFailure(const QString& text, const char* reason) {
    expectFailure([&] { OfxReader::readTransactions(text); }, ParseException::kParse,
                  QString::fromUtf8(reason));
}

std::string text(const std::optional<QString>& value) {
    return value ? utf8(*value) : std::string("<absent>");
}

// A minimal SGML bank statement around the given transaction records.
QString bankStatement(const QString& records, const QString& extra = {}) {
    return QStringLiteral(
               "<OFX><BANKMSGSRSV1><STMTTRNRS><STMTRS>\n<CURDEF>USD\n<BANKACCTFROM>\n<BANKID>111\n"
               "<ACCTID>9999\n<ACCTTYPE>CHECKING\n</BANKACCTFROM>\n<BANKTRANLIST>\n<DTSTART>20230101\n"
               "<DTEND>20230131\n") +
           records +
           QStringLiteral("</BANKTRANLIST>\n<LEDGERBAL>\n<BALAMT>10.00\n<DTASOF>20230131\n</LEDGERBAL>\n") +
           extra + QStringLiteral("</STMTRS></STMTTRNRS></BANKMSGSRSV1></OFX>\n");
}

QString record(const QString& amountText, const QString& fields = {}) {
    return QStringLiteral("<STMTTRN>\n<TRNTYPE>DEBIT\n<DTPOSTED>20230115\n<TRNAMT>%1\n%2</STMTTRN>\n")
        .arg(amountText, fields);
}

ImportedTransaction onlyRecord(const QString& statementText) {
    const AccountDictionary dictionary = OfxReader::readTransactions(statementText);
    EXPECT_EQ(dictionary.accounts.size(), 1U);
    EXPECT_EQ(dictionary.accounts.at(0).transactions.size(), 1U);
    return dictionary.accounts.at(0).transactions.at(0);
}

// ---- Dates and names --------------------------------------------------------------------------

TEST(OfxReaderTest, ParseDateTakesTheFirstEightDigitsAndIgnoresTheRest) {
    EXPECT_EQ(OfxReader::parseDate(u"20230115120000[-5:EST]"), day(2023, 1, 15));
    EXPECT_EQ(OfxReader::parseDate(u"20230115"), day(2023, 1, 15));
    EXPECT_EQ(OfxReader::parseDate(u"20231231235959.999[+14:LINT]"), day(2023, 12, 31));
    EXPECT_EQ(OfxReader::parseDate(u"20240229"), day(2024, 2, 29));
    EXPECT_EQ(OfxReader::parseDate(u"19000101"), day(1900, 1, 1));
}

TEST(OfxReaderTest, ParseDateGivesNoneForTextThatIsNoDay) {
    for (const QString& bad :
         {QStringLiteral("20231315"), QStringLiteral("20230230"), QStringLiteral("20230100"),
          QStringLiteral("20230229"), QStringLiteral("00000101"), QStringLiteral("2023011"), QString(),
          QStringLiteral("2023-01-15"), QStringLiteral(" 20230115"), QStringLiteral("2023O115"),
          QStringLiteral("\u0662\u0660\u0662\u0663\u0660\u0661\u0661\u0665")}) {
        EXPECT_FALSE(OfxReader::parseDate(bad).has_value()) << utf8(bad);
    }
}

TEST(OfxReaderTest, ProcessNameCollapsesWhiteSpaceAndUnescapesAmpersands) {
    EXPECT_EQ(utf8(OfxReader::processName(u"A  &amp;amp; B")), "A & B");
    EXPECT_EQ(utf8(OfxReader::processName(u"Tab\there\r\n  and\u00a0there")), "Tab here and there");
    EXPECT_EQ(utf8(OfxReader::processName(u"AT&AMP;T &Amp;aMp;amp; Co")), "AT&T & Co");
    EXPECT_EQ(utf8(OfxReader::processName(u"&&amp;")), "&&");
    // Not an escape: no semicolon, or another entity.
    EXPECT_EQ(utf8(OfxReader::processName(u"R&amp D &lt;x&gt;")), "R&amp D &lt;x&gt;");
    // Leading and trailing runs become one space; the element search trims, this does not.
    EXPECT_EQ(utf8(OfxReader::processName(u"  x  ")), " x ");
}

// ---- Fixtures ----------------------------------------------------------------------------------

TEST(OfxReaderTest, SgmlBankStatementGivesEveryKey) {
    const AccountDictionary dictionary = readFixture("bank-sgml.ofx");
    EXPECT_EQ(dictionary.format, FileFormat::Ofx);
    EXPECT_EQ(text(dictionary.language), "ENG");
    EXPECT_EQ(text(dictionary.fiOrg), "Example Bank");
    EXPECT_EQ(text(dictionary.fiFid), "1001");
    ASSERT_EQ(dictionary.accounts.size(), 1U);
    const ImportedAccount& account = dictionary.accounts[0];
    EXPECT_EQ(account.aggregateType, AggregateType::Bank);
    EXPECT_EQ(text(account.acctID), "000123456789");
    EXPECT_EQ(text(account.bankID), "121000358");
    EXPECT_EQ(text(account.acctType), "CHECKING");
    EXPECT_EQ(text(account.currency), "USD");
    EXPECT_EQ(account.startDate, day(2023, 1, 1));
    EXPECT_EQ(account.endDate, day(2023, 1, 31));
    EXPECT_EQ(account.ledgerBalance, amount("1191.51"));
    EXPECT_EQ(account.ledgerBalanceDate, day(2023, 1, 31));
    EXPECT_EQ(account.availableBalance, amount("1141.51"));
    EXPECT_EQ(account.availableBalanceDate, day(2023, 1, 31));
    EXPECT_FALSE(account.name || account.type || account.balance);

    ASSERT_EQ(account.transactions.size(), 4U);
    const ImportedTransaction& first = account.transactions[0];
    EXPECT_EQ(text(first.dtPosted), "20230115120000[-5:EST]");
    EXPECT_EQ(utf8(first.amount.toString()), "-12.50");
    EXPECT_EQ(text(first.fitID), "123");
    EXPECT_EQ(text(first.name), "A & B");
    EXPECT_EQ(text(first.transactionType), "DEBIT");
    EXPECT_FALSE(first.memo || first.checkNumber || first.referenceNumber || first.date || first.dateString);
    EXPECT_FALSE(first.payee || first.isPending);
    EXPECT_TRUE(first.splits.empty());

    EXPECT_EQ(account.transactions[1].checkNumber, 123);
    EXPECT_EQ(text(account.transactions[2].name), "PAYROLL ACME INC");
    EXPECT_EQ(text(account.transactions[2].memo), "Salary January");
    EXPECT_EQ(text(account.transactions[2].dtPosted), "20230120080000.000[-5:EST]");
    EXPECT_EQ(account.transactions[3].amount, amount("-45.99"));
    EXPECT_EQ(text(account.transactions[3].memo), "Card 1234");
}

TEST(OfxReaderTest, XmlFormReadsLikeSgmlForm) {
    EXPECT_TRUE(readFixture("bank-xml.ofx") == readFixture("bank-sgml.ofx"));
}

TEST(OfxReaderTest, CreditCardStatementHasNoBankKeys) {
    const AccountDictionary dictionary = readFixture("creditcard.ofx");
    ASSERT_EQ(dictionary.accounts.size(), 1U);
    const ImportedAccount& card = dictionary.accounts[0];
    EXPECT_EQ(card.aggregateType, AggregateType::CreditCard);
    EXPECT_EQ(text(card.acctID), "4111111111111111");
    EXPECT_FALSE(card.bankID || card.acctType || card.availableBalance || card.availableBalanceDate);
    EXPECT_EQ(card.ledgerBalance, amount("-412.80"));
    ASSERT_EQ(card.transactions.size(), 3U);
    EXPECT_EQ(text(card.transactions[1].memo), "Purchase");
    EXPECT_EQ(card.transactions[2].amount, amount("300"));
}

TEST(OfxReaderTest, TwoStatementsComeInFileOrder) {
    const AccountDictionary dictionary = readFixture("two-statements.ofx");
    ASSERT_EQ(dictionary.accounts.size(), 2U);
    EXPECT_EQ(dictionary.accounts[0].aggregateType, AggregateType::Bank);
    EXPECT_EQ(text(dictionary.accounts[0].acctType), "SAVINGS");
    EXPECT_EQ(dictionary.accounts[0].transactions.size(), 2U);
    EXPECT_EQ(dictionary.accounts[1].aggregateType, AggregateType::CreditCard);
    EXPECT_EQ(text(dictionary.accounts[1].acctID), "5500000000004444");
    ASSERT_EQ(dictionary.accounts[1].transactions.size(), 1U);
    EXPECT_EQ(text(dictionary.accounts[1].transactions[0].fitID), "TWO-C1");
}

TEST(OfxReaderTest, LowerCaseTagsAreFound) {
    const AccountDictionary dictionary = readFixture("lowercase.ofx");
    EXPECT_EQ(text(dictionary.language), "FRA");
    EXPECT_EQ(text(dictionary.fiOrg), "Banque Exemple");
    ASSERT_EQ(dictionary.accounts.size(), 1U);
    EXPECT_EQ(dictionary.accounts[0].aggregateType, AggregateType::Bank);
    EXPECT_EQ(text(dictionary.accounts[0].currency), "EUR");
    ASSERT_EQ(dictionary.accounts[0].transactions.size(), 2U);
    EXPECT_EQ(text(dictionary.accounts[0].transactions[0].name), "Boulangerie");
    EXPECT_EQ(dictionary.accounts[0].transactions[0].amount, amount("-7.40"));
}

TEST(OfxReaderTest, CheckNumbersAndReferenceNumbersAreKeptAsTheBankWroteThem) {
    const AccountDictionary dictionary = readFixture("check-numbers.ofx");
    ASSERT_EQ(dictionary.accounts.size(), 1U);
    const auto& records = dictionary.accounts[0].transactions;
    ASSERT_EQ(records.size(), 4U);
    // The reader keeps a check number equal to the FITID and a zero; the merge decides about them.
    EXPECT_EQ(records[0].checkNumber, 4711);
    EXPECT_EQ(text(records[0].fitID), "4711");
    EXPECT_EQ(records[1].checkNumber, 0);
    EXPECT_EQ(text(records[2].referenceNumber), "REF-7781");
    EXPECT_FALSE(records[2].fitID.has_value());
    EXPECT_FALSE(records[3].checkNumber.has_value()); // A12
}

TEST(OfxReaderTest, QfxAndLatin1FilesReadAsOfx) {
    const AccountDictionary qfx = readFixture("statement.qfx");
    EXPECT_EQ(qfx.format, FileFormat::Ofx);
    ASSERT_EQ(qfx.accounts.size(), 1U);
    EXPECT_EQ(text(qfx.accounts[0].acctID), "000777888999");
    EXPECT_EQ(qfx.accounts[0].transactions.size(), 2U);

    const AccountDictionary latin1 = readFixture("fixup5-banco-do-brasil.ofx");
    ASSERT_EQ(latin1.accounts.size(), 1U);
    ASSERT_EQ(latin1.accounts[0].transactions.size(), 2U);
    EXPECT_EQ(text(latin1.accounts[0].transactions[0].name), utf8(QStringLiteral("Conta de \u00c1gua")));
    EXPECT_EQ(text(latin1.accounts[0].transactions[1].memo), utf8(QStringLiteral("Caixa eletr\u00f4nico")));
}

// The institution fix-ups of the merge key on these values; a fixture that lost one would test
// nothing there.
TEST(OfxReaderTest, InstitutionFixturesCarryTheValuesTheFixUpsNeed) {
    struct Case {
        const char* file;
        const char* language;
        const char* org;
        const char* fid;
        const char* bankID;
        const char* acctType;
        const char* currency;
    };
    const Case cases[] = {
        {"fixup1-por-brl-0104.ofx", "POR", "Caixa Exemplo", "0104", "0104", "CHECKING", "BRL"},
        {"fixup2-cad-130000100.ofx", "ENG", "Canadian Example", "130", "130000100", "CHECKING", "CAD"},
        {"fixup3-296076301-usd-checking.ofx", "ENG", "Example Union", "2960", "296076301", "CHECKING", "USD"},
        {"fixup4-banco-leon.ofx", "SPA", "Banco Leon", "AVERAVER", "510000001", "CHECKING", "USD"},
        {"fixup5-banco-do-brasil.ofx", "POR", "Banco do Brasil", "1", "001", "CHECKING", "BRL"},
        {"fixup6-citibank-2102.ofx", "ENG", "Citibank", "2102", "272484894", "CHECKING", "USD"},
        {"fixup7-cmefcu-20586.ofx", "ENG", "CMEFCU", "20586", "241075056", "CHECKING", "USD"},
        {"fixup8-272484894-dbt-purchase.ofx", "ENG", "Example Savings Bank", "2724", "272484894", "CHECKING",
         "USD"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const AccountDictionary dictionary = readFixture(c.file);
        EXPECT_EQ(text(dictionary.language), c.language);
        EXPECT_EQ(text(dictionary.fiOrg), c.org);
        EXPECT_EQ(text(dictionary.fiFid), c.fid);
        ASSERT_EQ(dictionary.accounts.size(), 1U);
        EXPECT_EQ(text(dictionary.accounts[0].bankID), c.bankID);
        EXPECT_EQ(text(dictionary.accounts[0].acctType), c.acctType);
        EXPECT_EQ(text(dictionary.accounts[0].currency), c.currency);
        EXPECT_GE(dictionary.accounts[0].transactions.size(), 2U);
    }
    const AccountDictionary dbt = readFixture("fixup8-272484894-dbt-purchase.ofx");
    EXPECT_EQ(text(dbt.accounts[0].transactions[0].memo),
              "DBT PURCHASE ON 01/02 @ 10:11 VISA DPS SHOP NAME CARD NBR: -1234");
}

// ---- Statement structure -----------------------------------------------------------------------

TEST(OfxReaderTest, RequiredElementsMustOccurExactlyOnce) {
    // A record carrying its own account aggregate puts a second ACCTID into the statement.
    expectParseFailure(
        bankStatement(record(QStringLiteral("-1.00"), QStringLiteral("<BANKACCTTO>\n<ACCTID>55\n"
                                                                     "</BANKACCTTO>\n"))),
        "Expected 1 ACCTID(s), got 2 instead");
    QString withoutLedger = bankStatement(record(QStringLiteral("-1.00")));
    withoutLedger.replace(QStringLiteral("<LEDGERBAL>"), QStringLiteral("<OTHERBAL>"));
    expectParseFailure(withoutLedger, "Expected 1 LEDGERBAL(s), got 0 instead");
    expectParseFailure(
        bankStatement({}, QStringLiteral("<LEDGERBAL><BALAMT>1<DTASOF>20230101</LEDGERBAL>\n")),
        "Expected 1 LEDGERBAL(s), got 2 instead");
    expectParseFailure(bankStatement(QStringLiteral("<STMTTRN><TRNAMT>1</STMTTRN>\n")),
                       "Expected 1 DTPOSTED(s), got 0 instead");
    expectParseFailure(bankStatement(QStringLiteral("<STMTTRN><DTPOSTED>20230101<TRNAMT></STMTTRN>\n")),
                       "Expected 1 TRNAMT(s), got 0 instead");
    expectParseFailure(bankStatement(QStringLiteral("<DTSTART>20230102\n")),
                       "Expected 1 DTSTART(s), got 2 instead");
    expectParseFailure(bankStatement({}, QStringLiteral("<AVAILBAL><BALAMT>1</AVAILBAL>\n")),
                       "Expected 1 DTASOF(s), got 0 instead");
    expectParseFailure(QStringLiteral("<FI><ORG>Bank</FI>") + bankStatement({}),
                       "Expected 1 FID(s), got 0 instead");
}

TEST(OfxReaderTest, OptionalElementsMayOccurAtMostOnce) {
    expectParseFailure(bankStatement(record(QStringLiteral("1"), QStringLiteral("<NAME>a\n<NAME>b\n"))),
                       "Expected 0 or 1 NAME(s), got 2 instead");
    expectParseFailure(bankStatement(record(QStringLiteral("1"), QStringLiteral("<FITID>a\n<FITID>b\n"))),
                       "Expected 0 or 1 FITID(s), got 2 instead");
    expectParseFailure(bankStatement({}, QStringLiteral("<CURDEF>EUR\n")),
                       "Expected 0 or 1 CURDEF(s), got 2 instead");
    expectParseFailure(QStringLiteral("<LANGUAGE>ENG<LANGUAGE>POR") + bankStatement({}),
                       "Expected 0 or 1 LANGUAGE(s), got 2 instead");
}

TEST(OfxReaderTest, EmptyOptionalElementsAreAbsent) {
    const ImportedTransaction entry = onlyRecord(bankStatement(
        record(QStringLiteral("1"), QStringLiteral("<NAME>\n<MEMO>   \n<CHECKNUM>\n<FITID>\n<REFNUM>\n"))));
    EXPECT_FALSE(entry.name || entry.memo || entry.checkNumber || entry.fitID || entry.referenceNumber);
    EXPECT_EQ(text(entry.transactionType), "DEBIT");
}

TEST(OfxReaderTest, CheckNumberMustBeAllDigits) {
    const auto checkNumberOf = [](const char* written) {
        return onlyRecord(
                   bankStatement(record(QStringLiteral("1"), QStringLiteral("<CHECKNUM>%1\n").arg(written))))
            .checkNumber;
    };
    EXPECT_EQ(checkNumberOf("00123"), 123);
    EXPECT_EQ(checkNumberOf("9223372036854775807"), INT64_MAX);
    EXPECT_FALSE(checkNumberOf("A12").has_value());
    EXPECT_FALSE(checkNumberOf("12 3").has_value());
    EXPECT_FALSE(checkNumberOf("-5").has_value());
    EXPECT_FALSE(checkNumberOf("9223372036854775808").has_value()); // too large for a check number
}

TEST(OfxReaderTest, LaterListsAndBalancesReplaceEarlierOnes) {
    const QString secondList = QStringLiteral("<BANKTRANLIST><DTSTART>20230201<DTEND>20230228\n") +
                               record(QStringLiteral("7")) + record(QStringLiteral("8")) +
                               QStringLiteral("</BANKTRANLIST>\n");
    const QString balances = QStringLiteral("<AVAILBAL><BALAMT>1<DTASOF>20230101</AVAILBAL>\n"
                                            "<AVAILBAL><BALAMT>2<DTASOF>20230102</AVAILBAL>\n");
    const AccountDictionary dictionary =
        OfxReader::readTransactions(bankStatement(record(QStringLiteral("5")), secondList + balances));
    const ImportedAccount& account = dictionary.accounts.at(0);
    ASSERT_EQ(account.transactions.size(), 2U);
    EXPECT_EQ(account.transactions[0].amount, amount("7"));
    EXPECT_EQ(account.startDate, day(2023, 2, 1));
    EXPECT_EQ(account.endDate, day(2023, 2, 28));
    EXPECT_EQ(account.availableBalance, amount("2"));
    EXPECT_EQ(account.availableBalanceDate, day(2023, 1, 2));
}

TEST(OfxReaderTest, LastInstitutionWinsAndAStatementWithoutListHasNoRecords) {
    QString statement = bankStatement({});
    statement.replace(QStringLiteral("<BANKTRANLIST>\n<DTSTART>20230101\n<DTEND>20230131\n</BANKTRANLIST>\n"),
                      QString());
    const AccountDictionary dictionary = OfxReader::readTransactions(
        QStringLiteral("<FI><ORG>First<FID>1</FI><FI><ORG>Second<FID>2</FI>") + statement);
    EXPECT_EQ(text(dictionary.fiOrg), "Second");
    EXPECT_EQ(text(dictionary.fiFid), "2");
    EXPECT_FALSE(dictionary.language.has_value());
    ASSERT_EQ(dictionary.accounts.size(), 1U);
    EXPECT_TRUE(dictionary.accounts[0].transactions.empty());
    EXPECT_FALSE(dictionary.accounts[0].startDate || dictionary.accounts[0].endDate);
}

TEST(OfxReaderTest, TextWithoutStatementGivesNoAccounts) {
    for (const QString& empty : {QString(), QStringLiteral("OFXHEADER:100\n<OFX></OFX>"),
                                 QStringLiteral("<STMTRS></STMTRS>"), QStringLiteral("not an ofx file")}) {
        const AccountDictionary dictionary = OfxReader::readTransactions(empty);
        EXPECT_EQ(dictionary.format, FileFormat::Ofx);
        EXPECT_TRUE(dictionary.accounts.empty()) << utf8(empty);
    }
}

// ---- Bad input ---------------------------------------------------------------------------------

TEST(OfxReaderTest, AmountsMustBePlainDecimals) {
    for (const char* bad : {"12,50", "-1,234.00", "1e3", "$12.00", "12.50 USD", "1.2.3", "-", ".", "- 5",
                            "0x10", "12.5-", "1,5"}) {
        SCOPED_TRACE(bad);
        expectParseFailure(bankStatement(record(QString::fromLatin1(bad))), "Amount could not be parsed.");
    }
    QString badBalance = bankStatement({});
    badBalance.replace(QStringLiteral("<BALAMT>10.00"), QStringLiteral("<BALAMT>10,00"));
    expectParseFailure(badBalance, "Amount could not be parsed.");

    EXPECT_EQ(onlyRecord(bankStatement(record(QStringLiteral("+.5")))).amount, amount("0.5"));
    EXPECT_EQ(onlyRecord(bankStatement(record(QStringLiteral("-7.")))).amount, amount("-7"));
}

TEST(OfxReaderTest, LongAmountsAreExactOrRefused) {
    const QString thirtyDigits = QStringLiteral("-123456789012345678901234567.891");
    EXPECT_EQ(utf8(onlyRecord(bankStatement(record(thirtyDigits))).amount.toString()), utf8(thirtyDigits));
    // More significant digits than an Amount holds.
    expectParseFailure(bankStatement(record(QStringLiteral("1234567890123456789012345678901234567.891"))),
                       "Amount could not be parsed.");
}

TEST(OfxReaderTest, DatePostedIsKeptAsWrittenEvenWhenItIsNoDay) {
    const ImportedTransaction entry =
        onlyRecord(bankStatement(QStringLiteral("<STMTTRN><DTPOSTED>20231301120000<TRNAMT>1</STMTTRN>\n")));
    EXPECT_EQ(text(entry.dtPosted), "20231301120000");
    EXPECT_FALSE(OfxReader::parseDate(*entry.dtPosted).has_value());
    EXPECT_FALSE(entry.date.has_value());
    // A statement period that is no day leaves the period open instead of failing.
    QString badPeriod = bankStatement({});
    badPeriod.replace(QStringLiteral("<DTSTART>20230101"), QStringLiteral("<DTSTART>20231340"));
    EXPECT_FALSE(OfxReader::readTransactions(badPeriod).accounts.at(0).startDate.has_value());
}

TEST(OfxReaderTest, UnclosedAggregatesAreRefusedInsteadOfDropped) {
    expectParseFailure(bankStatement(QStringLiteral("<STMTTRN><DTPOSTED>20230101<TRNAMT>1\n")),
                       "Missing closing tag </STMTTRN>; the file may be incomplete.");
    QString openList = bankStatement(record(QStringLiteral("1")));
    openList.remove(QStringLiteral("</BANKTRANLIST>"));
    expectParseFailure(openList, "Missing closing tag </BANKTRANLIST>; the file may be incomplete.");
    QString openStatement = bankStatement(record(QStringLiteral("1")));
    openStatement.remove(QStringLiteral("</STMTRS>"));
    expectParseFailure(openStatement, "Missing closing tag </STMTRS>; the file may be incomplete.");
    // A record without its closing tag in the middle of a list runs into the next one.
    expectParseFailure(
        bankStatement(QStringLiteral("<STMTTRN><DTPOSTED>20230101<TRNAMT>1\n") + record(QStringLiteral("2"))),
        "Expected 1 DTPOSTED(s), got 2 instead");
    // Leaf elements are never closed in SGML and need not be.
    EXPECT_EQ(onlyRecord(bankStatement(record(QStringLiteral("3"), QStringLiteral("<NAME>x\n")))).amount,
              amount("3"));
}

// Whatever the cut, a truncated file gives exactly the statements it holds in full, or fails by
// name when it ends inside one: never a statement with some of its records.
TEST(OfxReaderTest, TruncatedFileNeverGivesAPartialStatement) {
    QFile file(fixture("two-statements.ofx"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString whole = QString::fromLatin1(file.readAll());
    const AccountDictionary complete = OfxReader::readTransactions(whole);
    ASSERT_EQ(complete.accounts.size(), 2U);
    const auto count = [](QStringView text, const char* tag) {
        return text.count(QString::fromLatin1(tag), Qt::CaseInsensitive);
    };
    for (qsizetype length = 0; length < whole.size(); ++length) {
        const QStringView cut = QStringView(whole).first(length);
        const qsizetype opened = count(cut, "<STMTRS>") + count(cut, "<CCSTMTRS>");
        const qsizetype closed = count(cut, "</STMTRS>") + count(cut, "</CCSTMTRS>");
        try {
            const AccountDictionary dictionary = OfxReader::readTransactions(cut);
            ASSERT_EQ(opened, closed) << "an incomplete statement was read; cut at " << length;
            ASSERT_EQ(dictionary.accounts.size(), static_cast<std::size_t>(closed)) << "cut at " << length;
            for (std::size_t i = 0; i < dictionary.accounts.size(); ++i) {
                ASSERT_TRUE(dictionary.accounts[i] == complete.accounts[i]) << "cut at " << length;
            }
        } catch (const ParseException& e) {
            ASSERT_EQ(utf8(e.name()), ParseException::kParse) << "cut at " << length;
            ASSERT_GT(opened, closed) << "a complete text failed; cut at " << length;
        }
    }
}

TEST(OfxReaderTest, HugeNamesAndBlankRunsReadInFull) {
    const QString longName = QString(1024 * 1024, u'N');
    const ImportedTransaction named =
        onlyRecord(bankStatement(record(QStringLiteral("1"), QStringLiteral("<NAME>") + longName + u'\n')));
    EXPECT_EQ(named.name->size(), longName.size());

    const QString blankLines = QString(1024 * 1024, u'\n');
    const QString spaced = bankStatement(
        blankLines + record(QStringLiteral("2"), QStringLiteral("<MEMO>a") + blankLines + u'b' + u'\n') +
        blankLines);
    const ImportedTransaction entry = onlyRecord(spaced);
    EXPECT_EQ(entry.amount, amount("2"));
    EXPECT_EQ(text(entry.memo), "a b");

    const AccountDictionary onlyBlank = OfxReader::readTransactions(blankLines);
    EXPECT_TRUE(onlyBlank.accounts.empty());
}

TEST(OfxReaderTest, StrayCharactersGiveACleanResultOrANamedFailure) {
    QString withStrays =
        bankStatement(record(QStringLiteral("4"), QStringLiteral("<NAME>a\u0000b\u0007<\n")));
    withStrays.prepend(QStringLiteral("\u0000\u00ff<<>>></>"));
    withStrays.append(QStringLiteral("<STMTRS"));
    const ImportedTransaction entry = onlyRecord(withStrays);
    EXPECT_EQ(entry.amount, amount("4"));
    EXPECT_EQ(entry.name->size(), 4); // "a", NUL, "b", BEL: kept as the bank wrote them
}

// ---- Files -------------------------------------------------------------------------------------

TEST(OfxReaderTest, FileFailuresAreNamed) {
    expectFailure([] { readFixture("no-such-file.ofx"); }, ParseException::kParse,
                  QStringLiteral("Could not read file."));
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("broken.ofx"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("\xEF\xBB\xBF<OFX>caf\xE9</OFX>")); // a UTF-8 mark over Latin-1 bytes
    file.close();
    expectFailure([&] { OfxReader::readFileForTransactions(path); }, ParseException::kEncoding, QString());
}

} // namespace
} // namespace vantrel::import
