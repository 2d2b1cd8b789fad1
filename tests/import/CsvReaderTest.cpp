#include "import/CsvReader.h"

#include "import/CsvTables.h"
#include "import/ParseException.h"
#include "import/SimpleCsvParser.h"
#include "platform/LogCapture.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <functional>

namespace vantrel::import {
namespace {

using testsupport::amount;
using testsupport::csvFixture;
using testsupport::rowsOf;
using testsupport::Table;
using testsupport::utf8;

CsvRows fixtureRows(const char* name) {
    std::optional<CsvRows> rows = SimpleCsvParser::parseFile(csvFixture(name));
    if (!rows) {
        throw std::runtime_error("fixture without rows");
    }
    return *rows;
}

CsvSettings mapping(std::map<CsvField, int> columns, bool hasHeader = false) {
    CsvSettings settings;
    settings.columnMapping = std::move(columns);
    settings.hasHeader = hasHeader;
    return settings;
}

const CsvSettings kDatePayeeAmount =
    mapping({{CsvField::Date, 0}, {CsvField::Payee, 1}, {CsvField::Amount, 2}});

// The reason and the "string" detail of the CSV failure the action raises.
void expectCsvFailure(const std::function<void()>& action, const char* reason,
                      std::optional<std::string> offendingText) {
    platform::LogCapture quiet; // the amount parser logs what it could not read
    try {
        action();
        ADD_FAILURE() << "expected " << reason;
    } catch (const ParseException& e) {
        EXPECT_EQ(utf8(e.name()), "VTCSVParseException");
        EXPECT_EQ(utf8(e.reason()), reason);
        if (offendingText) {
            EXPECT_EQ(utf8(e.details().value(QStringLiteral("string")).toString()), *offendingText);
        } else {
            EXPECT_FALSE(e.details().contains(QStringLiteral("string")));
        }
    }
}

void expectReadFailure(const CsvRows& rows, const CsvSettings& settings, const char* reason,
                       std::optional<std::string> offendingText) {
    expectCsvFailure([&] { CsvReader::readRows(rows, settings); }, reason, std::move(offendingText));
}

std::vector<model::Amount> amountsOf(const ImportedAccount& account) {
    std::vector<model::Amount> amounts;
    for (const ImportedTransaction& transaction : account.transactions) {
        amounts.push_back(transaction.amount);
    }
    return amounts;
}

TEST(CsvReaderTest, BankFlavourGivesDateTextAmountAndNameOnly) {
    const AccountDictionary dictionary = CsvReader::readRows(
        fixtureRows("comma.csv"),
        mapping({{CsvField::Date, 0}, {CsvField::Payee, 1}, {CsvField::Amount, 2}, {CsvField::Memo, 3}},
                true));
    EXPECT_EQ(dictionary.format, FileFormat::Csv);
    ASSERT_EQ(dictionary.accounts.size(), 1u);
    const ImportedAccount& account = dictionary.accounts.front();
    ASSERT_EQ(account.transactions.size(), 3u);
    ImportedTransaction expected;
    expected.dateString = QStringLiteral("01/15/2024");
    expected.amount = amount("-12.50");
    expected.name = QStringLiteral("Smith, John");
    EXPECT_EQ(account.transactions.front(), expected); // no memo, payee, splits or pending state
    EXPECT_EQ(amountsOf(account), (std::vector{amount("-12.50"), amount("45.00"), amount("-900.00")}));
    EXPECT_FALSE(dictionary.language || dictionary.fiOrg || account.acctID);
}

TEST(CsvReaderTest, ProgramFlavourGivesOneSplitAndOptionalFieldsWhenMapped) {
    const CsvRows rows = rowsOf({{"01/15/2024", "Coffee", "-4.50", "Food", "morning", "1042"},
                                 {"01/16/2024", "", "10.00", "", "", "12a"},
                                 {"01/17/2024", "Gift", "5.00", "[Savings]", "x", " 7 "}});
    CsvSettings settings = mapping({{CsvField::Date, 0},
                                    {CsvField::Payee, 1},
                                    {CsvField::Amount, 2},
                                    {CsvField::Category, 3},
                                    {CsvField::Memo, 4},
                                    {CsvField::CheckNumber, 5}});
    const ImportedAccount account = CsvReader::accountDictionaryFromRows(rows, settings);
    ASSERT_EQ(account.transactions.size(), 3u);
    const ImportedTransaction& first = account.transactions.at(0);
    EXPECT_EQ(first.dateString, QStringLiteral("01/15/2024"));
    EXPECT_EQ(first.amount, amount("-4.50"));
    EXPECT_EQ(first.payee, QStringLiteral("Coffee"));
    EXPECT_EQ(first.memo, QStringLiteral("morning"));
    EXPECT_EQ(first.checkNumber, 1042);
    EXPECT_EQ(first.isPending, false);
    EXPECT_FALSE(first.name);
    EXPECT_EQ(first.splits,
              (std::vector{ImportedSplit{QStringLiteral("Food"), amount("-4.50"), std::nullopt}}));
    // A check number that is not a number is dropped; spaces around one are not part of it.
    EXPECT_FALSE(account.transactions.at(1).checkNumber);
    EXPECT_EQ(account.transactions.at(2).checkNumber, 7);
    EXPECT_EQ(account.transactions.at(2).splits.at(0).category, QStringLiteral("[Savings]"));

    // Unmapped optional columns leave their keys out, except the split's category, which is empty.
    settings = mapping({{CsvField::Date, 0}, {CsvField::Amount, 2}});
    const ImportedTransaction bare = CsvReader::accountDictionaryFromRows(rows, settings).transactions.at(0);
    EXPECT_FALSE(bare.payee || bare.memo || bare.checkNumber);
    EXPECT_EQ(bare.splits, (std::vector{ImportedSplit{QString(), amount("-4.50"), std::nullopt}}));
    EXPECT_EQ(bare.isPending, false);
}

TEST(CsvReaderTest, OnlyTheFirstRowIsSkippedAsTheHeader) {
    const CsvRows rows =
        rowsOf({{"Date", "Payee", "Amount"}, {"01/15/2024", "A", "1.00"}, {"Date", "Payee", "Amount"}});
    expectReadFailure(rows, mapping(kDatePayeeAmount.columnMapping, true), CsvReader::kInvalidDateFormat,
                      "Date");
    const CsvRows headerOnly = rowsOf({{"Date", "Payee", "Amount"}});
    const AccountDictionary empty =
        CsvReader::readRows(headerOnly, mapping(kDatePayeeAmount.columnMapping, true));
    ASSERT_EQ(empty.accounts.size(), 1u);
    EXPECT_TRUE(empty.accounts.front().transactions.empty());
    EXPECT_TRUE(CsvReader::accountDictionaryFromRows({}, kDatePayeeAmount).transactions.empty());
}

TEST(CsvReaderTest, DepositAndWithdrawalColumnsGiveSignedAmounts) {
    CsvSettings settings = mapping(
        {{CsvField::Date, 0}, {CsvField::Payee, 1}, {CsvField::Deposit, 2}, {CsvField::Withdrawal, 3}}, true);
    settings.separateDepositWithdrawal = true;
    const AccountDictionary dictionary = CsvReader::readRows(fixtureRows("deposit_withdrawal.csv"), settings);
    CsvSettings bodyOnly = settings;
    bodyOnly.hasHeader = false;
    // A withdrawal in parentheses (or with a minus) is still money leaving, not a double negation.
    EXPECT_EQ(amountsOf(dictionary.accounts.front()),
              (std::vector{amount("-12.50"), amount("100.00"), amount("-3.00")}));
    EXPECT_EQ(
        amountsOf(CsvReader::readRows(rowsOf({{"1/2/2024", "x", "", "-7.25"}}), bodyOnly).accounts.front()),
        (std::vector{amount("-7.25")}));
    // Withdrawal wins over deposit when both are filled in.
    EXPECT_EQ(
        amountsOf(
            CsvReader::readRows(rowsOf({{"1/2/2024", "x", "5.00", "2.00"}}), bodyOnly).accounts.front()),
        (std::vector{amount("-2.00")}));
    expectReadFailure(rowsOf({{"1/2/2024", "x", "", " "}}), bodyOnly, CsvReader::kInvalidAmountFormat, "");
    expectReadFailure(rowsOf({{"1/2/2024", "x", "", "n/a"}}), bodyOnly, CsvReader::kInvalidAmountFormat,
                      "-n/a");
}

TEST(CsvReaderTest, ASignColumnIsPutInFrontOfTheAmount) {
    CsvSettings settings = mapping(
        {{CsvField::Date, 0}, {CsvField::Payee, 1}, {CsvField::AmountSign, 2}, {CsvField::Amount, 3}}, true);
    settings.separateAmountSign = true;
    CsvRows rows = fixtureRows("sign_column.csv");
    expectReadFailure(rows, settings, CsvReader::kInvalidAmountFormat, "DR9.99");
    rows.pop_back();
    EXPECT_EQ(amountsOf(CsvReader::readRows(rows, settings).accounts.front()),
              (std::vector{amount("-12.50"), amount("40.00")}));
}

TEST(CsvReaderTest, AmountTextsMustLookLikeAmountsAndParse) {
    struct Case {
        const char* text;
        const char* expected; // nullptr: an invalid amount
    };
    const Case cases[] = {
        {"$12.50", "12.50"},     {"(1,234.56)", "-1234.56"},
        {"1.234,56", "1234.56"}, {"123456789012345678901234567890.12", "123456789012345678901234567890.12"},
        {"USD 12.50", nullptr},  {"12/50", nullptr},
        {"-", nullptr},          {"", nullptr},
        {"1-2", nullptr},        {"1234567890123456789012345678901234567890", nullptr}, // beyond 38 digits
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const CsvRows rows = rowsOf({{"01/15/2024", "Payee", c.text}});
        if (c.expected) {
            EXPECT_EQ(
                CsvReader::readRows(rows, kDatePayeeAmount).accounts.front().transactions.front().amount,
                amount(c.expected));
        } else {
            expectReadFailure(rows, kDatePayeeAmount, CsvReader::kInvalidAmountFormat, c.text);
        }
    }
}

TEST(CsvReaderTest, LooksLikeAmountNeedsADigitAndNoLetterOrSlash) {
    EXPECT_TRUE(CsvReader::looksLikeAmountString(QStringLiteral("-10.00")));
    EXPECT_TRUE(CsvReader::looksLikeAmountString(QStringLiteral("\u20ac 3")));
    EXPECT_FALSE(CsvReader::looksLikeAmountString(QStringLiteral("--.")));
    EXPECT_FALSE(CsvReader::looksLikeAmountString(QStringLiteral("3 z")));
    EXPECT_FALSE(CsvReader::looksLikeAmountString(QStringLiteral("1/2")));
}

// The reader only checks that a text looks like a date; the order and the day itself are the
// consumer's business, so a month 13 passes here and fails there.
TEST(CsvReaderTest, DateTextsAreKeptAsWrittenWhenTheyLookLikeDates) {
    const CsvRows rows = rowsOf({{"13/45/2024", "A", "1"}, {"20240115", "B", "2"}});
    const AccountDictionary dictionary = CsvReader::readRows(rows, kDatePayeeAmount);
    EXPECT_EQ(dictionary.accounts.front().transactions.at(0).dateString, QStringLiteral("13/45/2024"));
    EXPECT_EQ(dictionary.accounts.front().transactions.at(1).dateString, QStringLiteral("20240115"));
    expectReadFailure(rowsOf({{"Pending", "A", "1"}}), kDatePayeeAmount, CsvReader::kInvalidDateFormat,
                      "Pending");
    // The date is checked before the amount.
    expectReadFailure(rowsOf({{"", "A", "x"}}), kDatePayeeAmount, CsvReader::kInvalidDateFormat, "");
}

TEST(CsvReaderTest, AMappingThatDoesNotFitTheRowsFailsWithUnknownReason) {
    const CsvRows rows = rowsOf({{"01/15/2024", "A", "1.00"}});
    expectReadFailure(rows, mapping({{CsvField::Date, 0}, {CsvField::Payee, 1}, {CsvField::Amount, 3}}),
                      CsvReader::kUnknownReason, std::nullopt);
    expectCsvFailure(
        [&] {
            CsvReader::accountDictionaryFromRows(
                rows, mapping({{CsvField::Date, 0}, {CsvField::Amount, 2}, {CsvField::Memo, 9}}));
        },
        CsvReader::kUnknownReason, std::nullopt);
    // A required field that is not mapped at all is no reason to read column 0 instead.
    expectReadFailure(rows, mapping({{CsvField::Payee, 1}, {CsvField::Amount, 2}}), CsvReader::kUnknownReason,
                      std::nullopt);
    CsvSettings signWithoutColumn = kDatePayeeAmount;
    signWithoutColumn.separateAmountSign = true;
    expectReadFailure(rows, signWithoutColumn, CsvReader::kUnknownReason, std::nullopt);
}

TEST(CsvSettingsTest, KeysAndTitlesInMenuOrder) {
    const std::vector<std::pair<const char*, const char*>> expected{
        {"CSVDateKey", "Date"},
        {"CSVPayeeKey", "Payee"},
        {"CSVAmountKey", "Amount"},
        {"CSVAmountSignKey", "Amount Sign"},
        {"CSVDepositKey", "Deposit"},
        {"CSVWithdrawal", "Withdrawal"},
        {"CSVCategoryKey", "Category"},
        {"CSVMemoKey", "Notes"},
        {"CSVCheckNumberKey", "Check Number"},
    };
    ASSERT_EQ(CsvSettings::allFields().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const CsvField field = CsvSettings::allFields().at(i);
        EXPECT_EQ(utf8(CsvSettings::keyFor(field)), expected[i].first);
        EXPECT_EQ(utf8(CsvSettings::titleFor(field)), expected[i].second);
        EXPECT_EQ(CsvSettings::fieldForKey(QString::fromLatin1(expected[i].first)), field);
    }
    EXPECT_FALSE(CsvSettings::fieldForKey(QStringLiteral("CSVWithdrawalKey")));
}

TEST(CsvSettingsTest, JsonRoundTripKeepsExactlyTheStoredKeys) {
    CsvSettings settings =
        mapping({{CsvField::Date, 4}, {CsvField::Deposit, 0}, {CsvField::Withdrawal, 1}}, true);
    settings.separateDepositWithdrawal = true;
    const QString json = settings.toJson();
    EXPECT_EQ(CsvSettings::fromJson(json), settings);
    const QJsonObject object = QJsonDocument::fromJson(json.toUtf8()).object();
    EXPECT_EQ(object.keys(), (QStringList{"CSVColumnMappingKey", "CSVHasHeaderKey",
                                          "CSVSeparateAmountSignKey", "CSVSeparateDepositWithdrawalKey"}));
    EXPECT_EQ(object.value("CSVColumnMappingKey").toObject(),
              (QJsonObject{{"CSVDateKey", 4}, {"CSVDepositKey", 0}, {"CSVWithdrawal", 1}}));
    EXPECT_EQ(object.value("CSVHasHeaderKey"), QJsonValue(true));
    EXPECT_EQ(object.value("CSVSeparateAmountSignKey"), QJsonValue(false));

    CsvSettings other = mapping({{CsvField::CheckNumber, 8}, {CsvField::AmountSign, 2}});
    other.separateAmountSign = true;
    EXPECT_EQ(CsvSettings::fromJson(other.toJson()), other);
    EXPECT_EQ(CsvSettings::fromJson(CsvSettings{}.toJson()), CsvSettings{});
}

TEST(CsvSettingsTest, FromJsonRejectsAnythingMalformed) {
    const QString good =
        QStringLiteral(R"({"CSVColumnMappingKey":{"CSVDateKey":0,"CSVAmountKey":2},"CSVHasHeaderKey":false,)"
                       R"("CSVSeparateDepositWithdrawalKey":false,"CSVSeparateAmountSignKey":false})");
    ASSERT_TRUE(CsvSettings::fromJson(good));
    const auto variant = [&good](const char* from, const char* to) {
        QString text = good;
        return text.replace(QString::fromLatin1(from), QString::fromLatin1(to));
    };
    const QStringList bad{
        QString(),
        QStringLiteral("not json"),
        QStringLiteral("[]"),
        QStringLiteral("{}"),
        variant("\"CSVAmountKey\":2", "\"CSVAmountKey\":-1"),
        variant("\"CSVAmountKey\":2", "\"CSVAmountKey\":0"), // two fields in one column
        variant("\"CSVAmountKey\":2", "\"CSVAmountKey\":1.5"),
        variant("\"CSVAmountKey\":2", "\"CSVAmountKey\":\"2\""),
        variant("\"CSVAmountKey\":2", "\"CSVAmountKey\":1e12"),
        variant("\"CSVAmountKey\":2", "\"CSVWithdrawalKey\":2"), // unknown field key
        variant("\"CSVHasHeaderKey\":false", "\"CSVHasHeaderKey\":0"),
        variant("\"CSVHasHeaderKey\":false,", ""), // a key missing
        variant("\"CSVHasHeaderKey\":false", "\"CSVHasHeaderKey\":false,\"Extra\":1"),
        variant("{\"CSVDateKey\":0,\"CSVAmountKey\":2}", "[0,2]"),
        variant("\"CSVSeparateDepositWithdrawalKey\":false,\"CSVSeparateAmountSignKey\":false",
                "\"CSVSeparateDepositWithdrawalKey\":true,\"CSVSeparateAmountSignKey\":true"),
    };
    for (const QString& text : bad) {
        SCOPED_TRACE(utf8(text));
        EXPECT_FALSE(CsvSettings::fromJson(text));
    }
}

} // namespace
} // namespace vantrel::import
