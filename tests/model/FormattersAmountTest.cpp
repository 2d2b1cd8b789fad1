#include "model/AmountFormatter.h"
#include "model/IcuBridge.h"
#include "support/ModelValues.h"

#include <gtest/gtest.h>

#include <string>

using vantrel::model::Amount;
using vantrel::model::AmountFormatter;
using vantrel::model::IcuBridge;
using vantrel::model::ParseFailure;
using vantrel::model::ParseOutcome;
using vantrel::model::ParseResult;
using vantrel::testsupport::amount;
using vantrel::testsupport::utf8;

namespace {

testing::AssertionResult isValue(const ParseResult<Amount>& result, const char* expected) {
    if (!result.hasValue()) {
        return testing::AssertionFailure() << "no value; reason: " << utf8(result.reason());
    }
    if (result.value() != amount(expected)) {
        return testing::AssertionFailure()
               << "value " << result.value().toStdString() << ", expected " << expected;
    }
    return testing::AssertionSuccess();
}

std::string format(const char* locale, const char* value) {
    return utf8(AmountFormatter(QString::fromLatin1(locale)).format(amount(value)));
}

TEST(AmountFormatter, UsesTheLocaleGroupingAndSeparators) {
    EXPECT_EQ(format("en_US", "-1234567.5"), "-1,234,567.50");
    EXPECT_EQ(format("de_DE", "-1234567.5"), "-1.234.567,50");
    EXPECT_EQ(format("fr_FR", "-1234567.5"), "-1\u202F234\u202F567,50");
    EXPECT_EQ(format("ja_JP", "-1234567.5"), "-1,234,567.50");
    EXPECT_EQ(format("en_US", "7"), "7.00");
    EXPECT_EQ(format("de_DE", "0.1"), "0,10");
}

TEST(AmountFormatter, RoundsTiesAwayFromZero) {
    // Half-even would give 2.34, 0.12 and 1,234.56; going through double would give 2.34 and
    // 1,234.56 as well.
    EXPECT_EQ(format("en_US", "2.345"), "2.35");
    EXPECT_EQ(format("en_US", "-2.345"), "-2.35");
    EXPECT_EQ(format("en_US", "0.125"), "0.13");
    EXPECT_EQ(format("de_DE", "1234.565"), "1.234,57");
    EXPECT_EQ(format("en_US", "-0.005"), "-0.01");
    EXPECT_EQ(format("en_US", "2.3449"), "2.34");

    AmountFormatter whole(QStringLiteral("en_US"));
    whole.setFractionDigits(0);
    EXPECT_EQ(utf8(whole.format(amount("2.5"))), "3");
    EXPECT_EQ(utf8(whole.format(amount("-2.5"))), "-3");
    EXPECT_EQ(utf8(whole.format(amount("1234.5"))), "1,235");
}

TEST(AmountFormatter, FormatsAmountsBeyondDoublePrecisionExactly) {
    EXPECT_EQ(format("en_US", "123456789012345678901234567890.125"),
              "123,456,789,012,345,678,901,234,567,890.13");
    EXPECT_EQ(format("de_DE", "-99999999999999999999999999999999.995"),
              "-100.000.000.000.000.000.000.000.000.000.000,00");
}

TEST(AmountFormatter, ShowsValuesThatRoundToZeroWithoutSign) {
    EXPECT_EQ(format("en_US", "-0.001"), "0.00");
    EXPECT_EQ(format("en_US", "0.004"), "0.00");
    EXPECT_EQ(format("en_US", "0"), "0.00");

    AmountFormatter whole(QStringLiteral("en_US"));
    whole.setFractionDigits(0);
    EXPECT_EQ(utf8(whole.format(amount("-0.4"))), "0");
}

TEST(AmountFormatter, AssumesNegativeShowsZeroAsAnExpense) {
    struct Case {
        const char* locale;
        const char* zero;
    };
    for (const Case& c : {Case{"en_US", "-0.00"}, Case{"de_DE", "-0,00"}, Case{"fr_FR", "-0,00"},
                          Case{"ja_JP", "-0.00"}, Case{"sv_SE", "\u22120,00"}}) {
        AmountFormatter formatter{QString::fromLatin1(c.locale)};
        EXPECT_FALSE(formatter.assumesNegative());
        formatter.setAssumesNegative(true);
        EXPECT_EQ(utf8(formatter.format(Amount())), c.zero) << c.locale;
        EXPECT_EQ(utf8(formatter.format(amount("-0.001"))), c.zero) << c.locale;
    }

    AmountFormatter formatter(QStringLiteral("en_US"));
    formatter.setAssumesNegative(true);
    EXPECT_EQ(utf8(formatter.format(amount("5"))), "5.00");
    EXPECT_EQ(utf8(formatter.format(amount("-5"))), "-5.00");
    formatter.setFractionDigits(0);
    EXPECT_EQ(utf8(formatter.format(Amount())), "-0");
}

TEST(AmountFormatter, FractionDigitBoundsStayConsistent) {
    AmountFormatter formatter(QStringLiteral("en_US"));
    EXPECT_EQ(formatter.minimumFractionDigits(), 2);
    EXPECT_EQ(formatter.maximumFractionDigits(), 2);

    formatter.setMinimumFractionDigits(0);
    EXPECT_EQ(utf8(formatter.format(amount("12.5"))), "12.5");
    EXPECT_EQ(utf8(formatter.format(amount("12"))), "12");

    formatter.setMinimumFractionDigits(4);
    EXPECT_EQ(formatter.maximumFractionDigits(), 4);
    EXPECT_EQ(utf8(formatter.format(amount("1.23456"))), "1.2346");

    formatter.setMaximumFractionDigits(1);
    EXPECT_EQ(formatter.minimumFractionDigits(), 1);
    EXPECT_EQ(utf8(formatter.format(amount("0.05"))), "0.1");

    formatter.setFractionDigits(-3);
    EXPECT_EQ(formatter.maximumFractionDigits(), 0);
    formatter.setFractionDigits(500);
    EXPECT_EQ(formatter.maximumFractionDigits(), Amount::kMaxDigits);
}

TEST(AmountFormatter, UnusableLocaleIdsStillFormatAndParse) {
    // ICU falls back to its default locale for unknown ids, and roman numerals have no decimal
    // pattern at all.
    for (const char* id : {"@@not a locale@@", "", "xx_YY", "en_US@numbers=roman", "\xC3\xA9"}) {
        const AmountFormatter formatter{QString::fromUtf8(id)};
        const QString text = formatter.format(amount("-1234.5"));
        EXPECT_NE(text.indexOf(u"234"), -1) << id << ": " << utf8(text);
        EXPECT_TRUE(isValue(formatter.parse(text), "-1234.5")) << id;
    }
    EXPECT_EQ(utf8(AmountFormatter(QStringLiteral("en_US@numbers=roman")).format(amount("1234.5"))),
              "1,234.50");
}

TEST(AmountFormatter, ParsesTheLocaleFormatExactly) {
    EXPECT_TRUE(isValue(AmountFormatter(QStringLiteral("en_US")).parse(u"1,234.50"), "1234.5"));
    EXPECT_TRUE(isValue(AmountFormatter(QStringLiteral("en_US")).parse(u"1234.5"), "1234.5"));
    EXPECT_TRUE(isValue(AmountFormatter(QStringLiteral("de_DE")).parse(u"1.234,50"), "1234.5"));
    EXPECT_TRUE(isValue(AmountFormatter(QStringLiteral("de_DE")).parse(u"-12,5"), "-12.5"));
    EXPECT_TRUE(isValue(AmountFormatter(QStringLiteral("fr_FR")).parse(u"1\u202F234,50"), "1234.5"));
    EXPECT_TRUE(isValue(AmountFormatter(QStringLiteral("ja_JP")).parse(u"-1,234.50"), "-1234.5"));
    EXPECT_TRUE(isValue(AmountFormatter(QStringLiteral("en_US")).parse(u"  -12.50 \n"), "-12.5"));
    EXPECT_TRUE(isValue(AmountFormatter(QStringLiteral("en_US")).parse(u".5"), "0.5"));
    // The typographic minus and a typed hyphen both work whichever the locale displays.
    EXPECT_TRUE(isValue(AmountFormatter(QStringLiteral("en_US")).parse(u"\u221212.50"), "-12.5"));
    EXPECT_TRUE(isValue(AmountFormatter(QStringLiteral("sv_SE")).parse(u"-12,50"), "-12.5"));

    // 30 digits: any trip through double would lose the last ones.
    EXPECT_TRUE(
        isValue(AmountFormatter(QStringLiteral("en_US")).parse(u"123,456,789,012,345,678,901,234,567,890.12"),
                "123456789012345678901234567890.12"));
    EXPECT_TRUE(isValue(AmountFormatter(QStringLiteral("de_DE")).parse(u"-0,000000000000000000000000000001"),
                        "-1E-30"));
}

TEST(AmountFormatter, ParsingBlankOrALoneMinusGivesNoValue) {
    const AmountFormatter formatter(QStringLiteral("en_US"));
    for (const QString& text :
         {QString(), QStringLiteral("-"), QStringLiteral(" - "), QStringLiteral("\u2212"),
          QStringLiteral(" \t\n"), QStringLiteral("\u00A0")}) {
        const ParseResult<Amount> result = formatter.parse(text);
        EXPECT_EQ(result.outcome(), ParseOutcome::NoValue) << utf8(text);
        EXPECT_TRUE(result.succeeded());
        EXPECT_FALSE(result.hasValue());
    }
    EXPECT_EQ(AmountFormatter(QStringLiteral("he_IL")).parse(u"\u200E-").outcome(), ParseOutcome::NoValue);
    EXPECT_EQ(formatter.parse(u"--").outcome(), ParseOutcome::Failure);
}

TEST(AmountFormatter, RejectsTextThatIsNotACompleteAmount) {
    const AmountFormatter formatter(QStringLiteral("en_US"));

    const ParseResult<Amount> trailing = formatter.parse(u"  12abc");
    EXPECT_EQ(trailing.failure(), ParseFailure::TrailingText);
    EXPECT_EQ(trailing.errorPosition(), 4);
    EXPECT_FALSE(trailing.reason().isEmpty());
    EXPECT_THROW(static_cast<void>(trailing.value()), vantrel::platform::InternalError);

    EXPECT_EQ(formatter.parse(u"abc").failure(), ParseFailure::NotANumber);
    // Misplaced grouping is more likely a typo than 123.
    EXPECT_EQ(formatter.parse(u"1,23").outcome(), ParseOutcome::Failure);
    EXPECT_EQ(AmountFormatter(QStringLiteral("de_DE")).parse(u"12.50").outcome(), ParseOutcome::Failure);
    EXPECT_EQ(formatter.parse(u"1e3").outcome(), ParseOutcome::Failure);
    EXPECT_EQ(formatter.parse(u"NaN").outcome(), ParseOutcome::Failure);
    EXPECT_EQ(formatter.parse(u"\u221E").outcome(), ParseOutcome::Failure);
    EXPECT_EQ(formatter.parse(u"(12)").outcome(), ParseOutcome::Failure);
    EXPECT_EQ(formatter.parse(u"1234567890123456789012345678901234567890").failure(),
              ParseFailure::OutOfRange);
}

TEST(AmountFormatter, FormattedTextParsesBackToTheRoundedValue) {
    for (const char* locale :
         {"en_US", "de_DE", "fr_FR", "ja_JP", "sv_SE", "de_CH", "hi_IN", "ar_EG", "he_IL"}) {
        const AmountFormatter formatter{QString::fromLatin1(locale)};
        for (const char* value : {"0", "-0.01", "1234567.891", "-98765432109876543210987654321.5", "1E20"}) {
            const QString text = formatter.format(amount(value));
            const ParseResult<Amount> parsed = formatter.parse(text);
            ASSERT_TRUE(parsed.hasValue()) << locale << " " << utf8(text) << ": " << utf8(parsed.reason());
            EXPECT_EQ(parsed.value(), amount(value).rounded(2)) << locale << " " << utf8(text);
        }
    }
}

TEST(AmountFormatterDecimalText, ReadsIcuDecimalNumbersExactly) {
    const auto read = [](const char* text) { return IcuBridge::amountFromDecimalNumber(text); };
    EXPECT_TRUE(isValue(read("12.5"), "12.5"));
    EXPECT_TRUE(
        isValue(read("-1.2345678901234567890123456789012E+29"), "-123456789012345678901234567890.12"));
    EXPECT_TRUE(isValue(read("1E-36"), "0.000000000000000000000000000000000001"));
    EXPECT_TRUE(isValue(read("0.00100"), "0.001"));
    EXPECT_TRUE(isValue(read("-0"), "0"));
    EXPECT_TRUE(isValue(read("1E130"), "1E130"));

    for (const char* bad : {"", "NaN", "Infinity", "-Infinity", "1E", "1.2.3", "--1", "1E+x"}) {
        EXPECT_EQ(read(bad).failure(), ParseFailure::NotANumber) << bad;
    }
    EXPECT_EQ(read("123456789012345678901234567890123456789").failure(), ParseFailure::OutOfRange);
    EXPECT_EQ(read("1E200").failure(), ParseFailure::OutOfRange);
    EXPECT_EQ(read("1E-200").failure(), ParseFailure::OutOfRange);
    EXPECT_EQ(read("1E99999999999999999999").failure(), ParseFailure::OutOfRange);
}

TEST(AmountFormatterDecimalText, WritesAmountsInIcuDecimalSyntax) {
    const Amount large = amount("-99999999999999999999999999999999999999E-5");
    EXPECT_TRUE(isValue(IcuBridge::amountFromDecimalNumber(IcuBridge::decimalNumber(large)),
                        "-999999999999999999999999999999999.99999"));
}

TEST(AmountFormatterDecimalText, FindsLeadingMinusSigns) {
    EXPECT_EQ(IcuBridge::leadingMinusLength(u"-12"), 1);
    EXPECT_EQ(IcuBridge::leadingMinusLength(u"\u221212"), 1);
    EXPECT_EQ(IcuBridge::leadingMinusLength(u"\uFF0D12"), 1);
    EXPECT_EQ(IcuBridge::leadingMinusLength(u"\u200E-12"), 2);
    EXPECT_EQ(IcuBridge::leadingMinusLength(u"\u061C-\u200F"), 3);
    EXPECT_EQ(IcuBridge::leadingMinusLength(u"12-"), 0);
    EXPECT_EQ(IcuBridge::leadingMinusLength(u"\u200E"), 0);
    EXPECT_EQ(IcuBridge::leadingMinusLength(u""), 0);
}

} // namespace
