#include "model/CheckNumberFormatter.h"
#include "support/ModelValues.h"

#include <gtest/gtest.h>

#include <string>

using vantrel::model::CheckNumberFormatter;
using vantrel::model::ParseFailure;
using vantrel::model::ParseOutcome;
using vantrel::testsupport::utf8;

namespace {

TEST(CheckNumberFormatter, FormatsWithoutGrouping) {
    EXPECT_EQ(utf8(CheckNumberFormatter(QStringLiteral("en_US")).format(1234567)), "1234567");
    EXPECT_EQ(utf8(CheckNumberFormatter(QStringLiteral("de_DE")).format(1001)), "1001");
    EXPECT_EQ(utf8(CheckNumberFormatter(QStringLiteral("fr_FR")).format(0)), "0");
    EXPECT_EQ(utf8(CheckNumberFormatter(QStringLiteral("ar_EG")).format(1001)), "\u0661\u0660\u0660\u0661");
}

TEST(CheckNumberFormatter, BlankTextIsNoValue) {
    const CheckNumberFormatter formatter(QStringLiteral("en_US"));
    for (const QString& text :
         {QString(), QStringLiteral(" "), QStringLiteral("\n\r\t "), QStringLiteral("\u2028")}) {
        const auto result = formatter.parse(text);
        EXPECT_EQ(result.outcome(), ParseOutcome::NoValue);
        EXPECT_TRUE(result.succeeded());
    }
}

TEST(CheckNumberFormatter, ParsesWholeNumbers) {
    const CheckNumberFormatter formatter(QStringLiteral("en_US"));
    EXPECT_EQ(formatter.parse(u"1001").value(), 1001);
    EXPECT_EQ(formatter.parse(u" 0042\n").value(), 42);
    EXPECT_EQ(formatter.parse(u"0").value(), 0);
    EXPECT_EQ(formatter.parse(u"9223372036854775807").value(), 9223372036854775807LL);
    EXPECT_EQ(CheckNumberFormatter(QStringLiteral("ar_EG")).parse(u"\u0661\u0662").value(), 12);
}

TEST(CheckNumberFormatter, RejectsEverythingElseWithAReason) {
    const CheckNumberFormatter formatter(QStringLiteral("en_US"));
    const auto fraction = formatter.parse(u"12.5");
    EXPECT_EQ(fraction.failure(), ParseFailure::NotAWholeNumber);
    EXPECT_FALSE(fraction.reason().isEmpty());
    EXPECT_EQ(CheckNumberFormatter(QStringLiteral("de_DE")).parse(u"12,5").failure(),
              ParseFailure::NotAWholeNumber);
    EXPECT_EQ(formatter.parse(u"-5").failure(), ParseFailure::OutOfRange);
    EXPECT_EQ(formatter.parse(u"9223372036854775808").failure(), ParseFailure::OutOfRange);
    EXPECT_EQ(formatter.parse(u"99999999999999999999999999999999999999999").failure(),
              ParseFailure::OutOfRange);
    EXPECT_EQ(formatter.parse(u"12a").failure(), ParseFailure::TrailingText);
    EXPECT_EQ(formatter.parse(u"1,001").outcome(), ParseOutcome::Failure);
    EXPECT_EQ(formatter.parse(u"#1001").failure(), ParseFailure::NotANumber);
    EXPECT_EQ(formatter.parse(u"NaN").outcome(), ParseOutcome::Failure);
}

} // namespace
