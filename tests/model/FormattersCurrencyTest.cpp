#include "model/CurrencyFormatter.h"
#include "model/General.h"
#include "model/NumberPattern.h"
#include "support/ModelValues.h"

#include <gtest/gtest.h>

#include <string>

using vantrel::model::Amount;
using vantrel::model::CurrencyFormatter;
using vantrel::model::General;
using vantrel::model::NumberPattern;
using vantrel::model::ParseFailure;
using vantrel::model::ParseOutcome;
using vantrel::model::ParseResult;
using vantrel::testsupport::amount;
using vantrel::testsupport::utf8;

namespace {

std::string format(const char* locale, const char* code, const char* value) {
    return utf8(
        CurrencyFormatter(QString::fromLatin1(code), QString::fromLatin1(locale)).format(amount(value)));
}

struct CurrencyCase {
    const char* locale;
    const char* code;
    const char* value;
    const char* expected;
};

TEST(CurrencyFormatter, FollowsTheLocaleAndTheCurrencyDigits) {
    // -1234.565 is a tie at two places (half-even would end in 6); -1234.5 is a tie at none.
    const CurrencyCase cases[] = {
        {"en_US", "USD", "-1234.565", "-$1,234.57"},
        {"en_US", "EUR", "-1234.565", "-\u20AC1,234.57"},
        {"en_US", "JPY", "-1234.5", "-\u00A51,235"},
        {"de_DE", "USD", "-1234.565", "-1.234,57\u00A0$"},
        {"de_DE", "EUR", "-1234.565", "-1.234,57\u00A0\u20AC"},
        {"de_DE", "JPY", "-1234.5", "-1.235\u00A0\u00A5"},
        {"fr_FR", "USD", "-1234.565", "-1\u202F234,57\u00A0$US"},
        {"fr_FR", "EUR", "-1234.565", "-1\u202F234,57\u00A0\u20AC"},
        {"fr_FR", "JPY", "-1234.5", "-1\u202F235\u00A0JPY"},
        {"ja_JP", "USD", "-1234.565", "-$1,234.57"},
        {"ja_JP", "EUR", "-1234.565", "-\u20AC1,234.57"},
        {"ja_JP", "JPY", "-1234.5", "-\uFFE51,235"},
        {"ja_JP", "JPY", "2.5", "\uFFE53"},
        {"en_US", "USD", "2.345", "$2.35"},
        {"en_US", "BHD", "1.2345", "BHD\u00A01.235"},
        {"en_US", "USD", "123456789012345678901234567890.125", "$123,456,789,012,345,678,901,234,567,890.13"},
    };
    for (const CurrencyCase& c : cases) {
        EXPECT_EQ(format(c.locale, c.code, c.value), c.expected)
            << c.locale << " " << c.code << " " << c.value;
    }
}

TEST(CurrencyFormatter, ShowsZeroLikeOneWithItsDigitsZeroed) {
    const CurrencyCase cases[] = {
        {"en_US", "USD", "0", "$0.00"},
        {"de_DE", "EUR", "0", "0,00\u00A0\u20AC"},
        {"fr_FR", "USD", "0", "0,00\u00A0$US"},
        {"ja_JP", "JPY", "0", "\uFFE50"},
        {"en_US", "JPY", "0", "\u00A50"},
        // Values that round to zero show as zero, not "-$0.00".
        {"en_US", "USD", "-0.001", "$0.00"},
        {"en_US", "USD", "0.004", "$0.00"},
        {"en_US@cf=account", "USD", "-0.001", "$0.00"},
        // The locale's own digits: a Latin "1" replaced by "0" would leave Arabic-Indic one.
        {"ar_EG", "USD", "0", "\u200F\u0660\u066B\u0660\u0660\u00A0US$"},
    };
    for (const CurrencyCase& c : cases) {
        EXPECT_EQ(format(c.locale, c.code, c.value), c.expected)
            << c.locale << " " << c.code << " " << c.value;
    }
}

TEST(CurrencyFormatter, WholeUnitsForBalancesWithoutCents) {
    CurrencyFormatter formatter(QStringLiteral("USD"), QStringLiteral("en_US"));
    EXPECT_EQ(formatter.maximumFractionDigits(), 2);
    formatter.setMaximumFractionDigits(0);
    EXPECT_EQ(formatter.minimumFractionDigits(), 0);
    EXPECT_EQ(utf8(formatter.format(amount("1234.5"))), "$1,235");
    EXPECT_EQ(utf8(formatter.format(amount("-1234.49"))), "-$1,234");
    EXPECT_EQ(utf8(formatter.format(Amount())), "$0");
    EXPECT_EQ(utf8(formatter.format(amount("-0.4"))), "$0");

    CurrencyFormatter euros(QStringLiteral("EUR"), QStringLiteral("de_DE"));
    euros.setMaximumFractionDigits(0);
    EXPECT_EQ(utf8(euros.format(amount("-2.5"))), "-3\u00A0\u20AC");
}

TEST(CurrencyFormatter, NormalisesOrReplacesCurrencyCodes) {
    EXPECT_EQ(utf8(CurrencyFormatter(QStringLiteral(" usd "), QStringLiteral("en_US")).currencyCode()),
              "USD");
    EXPECT_EQ(format("en_US", "usd", "1"), "$1.00");
    // Damaged data still displays, with the generic currency sign.
    for (const char* bad : {"", "US", "USDX", "U$D", "\xC3\xA9\xC3\xA9\xC3\xA9"}) {
        const CurrencyFormatter formatter(QString::fromUtf8(bad), QStringLiteral("en_US"));
        EXPECT_EQ(utf8(formatter.currencyCode()), "XXX") << bad;
        EXPECT_EQ(utf8(formatter.format(amount("-1.5"))), "-\u00A41.50") << bad;
    }
    EXPECT_EQ(format("en_US@numbers=roman", "USD", "-1.5"), "-$1.50");
    EXPECT_TRUE(CurrencyFormatter::isWellFormedCode(u"chf"));
    EXPECT_FALSE(CurrencyFormatter::isWellFormedCode(u"CH1"));
}

TEST(CurrencyFormatter, ParsesWhatItFormats) {
    const CurrencyFormatter dollars(QStringLiteral("USD"), QStringLiteral("en_US"));
    const CurrencyFormatter euros(QStringLiteral("EUR"), QStringLiteral("de_DE"));
    for (const char* value : {"-1234.57", "0", "98765432109876543210987654321.99", "0.01"}) {
        for (const CurrencyFormatter* formatter : {&dollars, &euros}) {
            const QString text = formatter->format(amount(value));
            const ParseResult<Amount> parsed = formatter->parse(text);
            ASSERT_TRUE(parsed.hasValue()) << utf8(text) << ": " << utf8(parsed.reason());
            EXPECT_EQ(parsed.value(), amount(value)) << utf8(text);
        }
    }
    EXPECT_EQ(dollars.parse(u"  ").outcome(), ParseOutcome::NoValue);
    EXPECT_EQ(dollars.parse(u"\u20AC12.50").failure(), ParseFailure::WrongCurrency);
    EXPECT_EQ(dollars.parse(u"$12.50x").failure(), ParseFailure::TrailingText);
    EXPECT_EQ(dollars.parse(u"twelve").failure(), ParseFailure::NotANumber);
}

TEST(GeneralFormatter, ScreenFormattersShowNegativesWithAMinusSign) {
    const CurrencyFormatter accounting =
        General::formatterForCurrency(QStringLiteral("USD"), QStringLiteral("en_US@cf=account"));
    EXPECT_EQ(utf8(accounting.pattern()), "\u00A4#,##0.00");
    EXPECT_EQ(utf8(accounting.format(amount("-1234.5"))), "-$1,234.50");
    EXPECT_EQ(utf8(accounting.format(amount("1234.5"))), "$1,234.50");

    // The changed pattern must not override the currency's own digits.
    const CurrencyFormatter yen =
        General::formatterForCurrency(QStringLiteral("JPY"), QStringLiteral("en_US@cf=account"));
    EXPECT_EQ(utf8(yen.format(amount("-1234.5"))), "-\u00A51,235");
    EXPECT_EQ(utf8(yen.format(Amount())), "\u00A50");

    const CurrencyFormatter dutch =
        General::formatterForCurrency(QStringLiteral("EUR"), QStringLiteral("nl_NL@cf=account"));
    EXPECT_EQ(utf8(dutch.format(amount("-1234.5"))), "-\u20AC\u00A01.234,50");

    // Locales without parentheses keep their own negative form.
    EXPECT_EQ(utf8(General::formatterForCurrency(QStringLiteral("USD"), QStringLiteral("en_US"))
                       .format(amount("-1"))),
              "-$1.00");
    EXPECT_EQ(utf8(General::formatterForCurrency(QStringLiteral("EUR"), QStringLiteral("nl_NL"))
                       .format(amount("-1"))),
              "\u20AC\u00A0-1,00");
    EXPECT_EQ(
        utf8(General::formatterForHomeCurrency(QStringLiteral("EUR"), QStringLiteral("en_US@cf=account"))
                 .format(amount("-1"))),
        "-\u20AC1.00");
}

TEST(GeneralFormatter, PrintFormattersShowNegativesInParentheses) {
    const CurrencyCase cases[] = {
        {"en_US", "USD", "-1234.5", "($1,234.50)"},
        {"en_US", "USD", "1234.5", "$1,234.50"},
        {"en_US", "USD", "0", "$0.00"},
        {"de_DE", "EUR", "-1234.5", "(1.234,50\u00A0\u20AC)"},
        {"de_DE", "EUR", "1234.5", "1.234,50\u00A0\u20AC"},
        {"fr_FR", "EUR", "-1234.5", "(1\u202F234,50\u00A0\u20AC)"},
        {"ja_JP", "JPY", "-1234.5", "(\uFFE51,235)"},
        // The locale's own negative form without parentheses is replaced.
        {"nl_NL", "EUR", "-1234.5", "(\u20AC\u00A01.234,50)"},
        // Parentheses already there are kept.
        {"en_US@cf=account", "USD", "-1234.5", "($1,234.50)"},
    };
    for (const CurrencyCase& c : cases) {
        const CurrencyFormatter formatter =
            General::printFormatterForCurrency(QString::fromLatin1(c.code), QString::fromLatin1(c.locale));
        EXPECT_EQ(utf8(formatter.format(amount(c.value))), c.expected)
            << c.locale << " " << c.code << " " << c.value;
    }

    const CurrencyFormatter home =
        General::printFormatterForHomeCurrency(QStringLiteral("USD"), QStringLiteral("en_US"));
    EXPECT_EQ(utf8(home.pattern()), "\u00A4#,##0.00;(\u00A4#,##0.00)");
    const ParseResult<Amount> parsed = home.parse(u"($1,234.50)");
    ASSERT_TRUE(parsed.hasValue()) << utf8(parsed.reason());
    EXPECT_EQ(parsed.value(), amount("-1234.5"));
}

TEST(CurrencyFormatterPattern, SplitsAtTheFirstUnquotedSemicolon) {
    const NumberPattern::Parts plain = NumberPattern::split(u"\u00A4#,##0.00");
    EXPECT_EQ(utf8(plain.positive), "\u00A4#,##0.00");
    EXPECT_FALSE(plain.negative.has_value());

    const NumberPattern::Parts both = NumberPattern::split(u"\u00A4#,##0.00;(\u00A4#,##0.00)");
    EXPECT_EQ(utf8(both.positive), "\u00A4#,##0.00");
    EXPECT_EQ(both.negative, QStringLiteral("(\u00A4#,##0.00)"));

    const NumberPattern::Parts quoted = NumberPattern::split(u"#,##0 'a;b';-#,##0 'a;b'");
    EXPECT_EQ(utf8(quoted.positive), "#,##0 'a;b'");
    EXPECT_EQ(quoted.negative, QStringLiteral("-#,##0 'a;b'"));

    // '' is a literal quote and does not open quoted text.
    const NumberPattern::Parts doubled = NumberPattern::split(u"#,##0 o''clock;-#,##0");
    EXPECT_EQ(utf8(doubled.positive), "#,##0 o''clock");
    EXPECT_EQ(doubled.negative, QStringLiteral("-#,##0"));
}

TEST(CurrencyFormatterPattern, DetectsParenthesesOnlyInTheNegativeFormOutsideQuotes) {
    EXPECT_TRUE(NumberPattern::negativeUsesParentheses(u"\u00A4#,##0.00;(\u00A4#,##0.00)"));
    EXPECT_TRUE(NumberPattern::negativeUsesParentheses(u"#,##0.00 '(x)';(#,##0.00 '(x)')"));
    EXPECT_FALSE(NumberPattern::negativeUsesParentheses(u"\u00A4#,##0.00"));
    EXPECT_FALSE(NumberPattern::negativeUsesParentheses(u"(\u00A4#,##0.00)"));
    EXPECT_FALSE(NumberPattern::negativeUsesParentheses(u"\u00A4\u00A0#,##0.00;\u00A4\u00A0-#,##0.00"));
    EXPECT_FALSE(NumberPattern::negativeUsesParentheses(u"#,##0.00;-#,##0.00 '(neg)'"));
}

TEST(CurrencyFormatterPattern, RemovesOrAddsNegativeParentheses) {
    EXPECT_EQ(utf8(NumberPattern::withMinusForNegatives(u"\u00A4#,##0.00;(\u00A4#,##0.00)")),
              "\u00A4#,##0.00");
    EXPECT_EQ(utf8(NumberPattern::withMinusForNegatives(u"\u00A4\u00A0#,##0.00;\u00A4\u00A0-#,##0.00")),
              "\u00A4\u00A0#,##0.00;\u00A4\u00A0-#,##0.00");
    EXPECT_EQ(utf8(NumberPattern::withMinusForNegatives(u"#,##0.00;-#,##0.00 '(neg)'")),
              "#,##0.00;-#,##0.00 '(neg)'");

    EXPECT_EQ(utf8(NumberPattern::withParenthesesForNegatives(u"\u00A4#,##0.00")),
              "\u00A4#,##0.00;(\u00A4#,##0.00)");
    EXPECT_EQ(utf8(NumberPattern::withParenthesesForNegatives(u"#,##0.00\u00A0\u00A4")),
              "#,##0.00\u00A0\u00A4;(#,##0.00\u00A0\u00A4)");
    EXPECT_EQ(utf8(NumberPattern::withParenthesesForNegatives(u"\u00A4\u00A0#,##0.00;\u00A4\u00A0-#,##0.00")),
              "\u00A4\u00A0#,##0.00;(\u00A4\u00A0#,##0.00)");
    EXPECT_EQ(utf8(NumberPattern::withParenthesesForNegatives(u"\u00A4#,##0.00;(\u00A4#,##0.00)")),
              "\u00A4#,##0.00;(\u00A4#,##0.00)");
    EXPECT_EQ(utf8(NumberPattern::withParenthesesForNegatives(u"#,##0 'a;b'")), "#,##0 'a;b';(#,##0 'a;b')");
}

} // namespace
