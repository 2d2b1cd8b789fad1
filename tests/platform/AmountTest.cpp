#include "platform/Amount.h"

#include "platform/InternalError.h"
#include "support/ModelValues.h"

#include <gtest/gtest.h>

#include <unordered_set>

using vantrel::platform::Amount;
using vantrel::platform::InternalError;
using vantrel::testsupport::amount;

namespace {

std::string text(const Amount& amount) {
    return amount.toStdString();
}

} // namespace

TEST(Amount, ParsesPlainDecimalsKeepingTheirScale) {
    EXPECT_EQ(text(amount("12.50")), "12.50");
    EXPECT_EQ(text(amount("-0.5")), "-0.5");
    EXPECT_EQ(text(amount(".5")), "0.5");
    EXPECT_EQ(text(amount("5.")), "5");
    EXPECT_EQ(text(amount("+7")), "7");
    EXPECT_EQ(text(amount("007.0100")), "7.0100");
    EXPECT_EQ(text(amount("1E3")), "1000");
    EXPECT_EQ(text(amount("1.5e-3")), "0.0015");
    EXPECT_EQ(text(amount("-0")), "0");
    EXPECT_EQ(text(amount("-0.00")), "0.00");
    EXPECT_EQ(amount("-0.00").sign(), 0);
    EXPECT_EQ(Amount::withString_vt(u"-1234.56")->toString(), QStringLiteral("-1234.56"));
}

TEST(Amount, RejectsAnythingButAPlainDecimal) {
    for (const char* bad : {"", "-", "+", ".", "-.", "1,000", "1.2.3", " 1", "1 ", "1e", "1e+", "abc", "12a",
                            "--1", "1e1234567", "0x10", "1_000", "NaN", "inf"}) {
        EXPECT_FALSE(Amount::fromAscii(bad).has_value()) << bad;
    }
    // Digits of other scripts are not plain decimal text.
    EXPECT_FALSE(Amount::withString_vt(u"\u0661\u0662").has_value());
    EXPECT_FALSE(Amount::withString_vt(u"\uFF11").has_value());
}

TEST(Amount, KeepsThirtyEightDigitsAndRefusesToDropMore) {
    EXPECT_EQ(text(amount("12345678901234567890123456789012345678")),
              "12345678901234567890123456789012345678");
    EXPECT_EQ(text(amount("-0.12345678901234567890123456789012345678")),
              "-0.12345678901234567890123456789012345678");
    // A 39th significant digit would be lost: refuse rather than round silently.
    EXPECT_FALSE(Amount::fromAscii("123456789012345678901234567890123456789").has_value());
    EXPECT_FALSE(Amount::fromAscii("0.000123456789012345678901234567890123456789").has_value());
    // Trailing zeros past 38 digits carry no information.
    EXPECT_EQ(amount("1.0000000000000000000000000000000000000000000"), amount("1"));
    // Beyond the exponent range.
    EXPECT_FALSE(Amount::fromAscii("1E200").has_value());
    EXPECT_FALSE(Amount::fromAscii("1E-200").has_value());
    EXPECT_EQ(amount("0E-200"), Amount());
}

TEST(Amount, ZeroCountsAsAnExpense) {
    EXPECT_TRUE(Amount().isExpense_vt());
    EXPECT_FALSE(Amount().isIncome_vt());
    EXPECT_TRUE(amount("-0.01").isExpense_vt());
    EXPECT_TRUE(amount("0.01").isIncome_vt());
    EXPECT_FALSE(amount("0.01").isExpense_vt());
}

TEST(Amount, RoundsPlainToCentsWithTiesAwayFromZero) {
    EXPECT_EQ(text(amount("2.345").roundToNearestCent_vt()), "2.35");
    EXPECT_EQ(text(amount("-2.345").roundToNearestCent_vt()), "-2.35");
    EXPECT_EQ(text(amount("0.005").roundToNearestCent_vt()), "0.01");
    EXPECT_EQ(text(amount("-0.005").roundToNearestCent_vt()), "-0.01");
    EXPECT_EQ(text(amount("2.344999").roundToNearestCent_vt()), "2.34");
    EXPECT_EQ(text(amount("0.0049999").roundToNearestCent_vt()), "0.00");
    EXPECT_EQ(text(amount("9.995").roundToNearestCent_vt()), "10.00");
    EXPECT_EQ(text(amount("2.5").rounded(0)), "3");
    EXPECT_EQ(text(amount("-2.5").rounded(0)), "-3");
    EXPECT_EQ(text(amount("1.5E-60").rounded(2)), "0.00");
    // Rounding gives the stated scale, so stored cents always print with two places.
    EXPECT_EQ(text(amount("2.5").roundToNearestCent_vt()), "2.50");
    EXPECT_EQ(text(amount("7").roundToNearestCent_vt()), "7.00");
    EXPECT_EQ(text(amount("1E3").roundToNearestCent_vt()), "1000.00");
    EXPECT_THROW((void)amount("1").rounded(-1), InternalError);
}

TEST(Amount, KnowsWhetherItHasAtMostSoManyPlaces) {
    EXPECT_TRUE(amount("12.30").hasAtMostPlaces(2));
    EXPECT_TRUE(amount("12.300000").hasAtMostPlaces(2));
    EXPECT_FALSE(amount("12.301").hasAtMostPlaces(2));
    EXPECT_TRUE(amount("1E5").hasAtMostPlaces(0));
    EXPECT_FALSE(amount("0.5").hasAtMostPlaces(0));
    EXPECT_TRUE(amount("0.1234567890").hasAtMostPlaces(10));
    EXPECT_FALSE(amount("1E-100").hasAtMostPlaces(10));
}

TEST(Amount, ComparesNumericallyAcrossScales) {
    EXPECT_EQ(amount("12.5"), amount("12.50"));
    EXPECT_EQ(amount("100"), amount("1E2"));
    EXPECT_EQ(amount("0.00"), Amount());
    EXPECT_LT(amount("0.9"), amount("1"));
    EXPECT_LT(amount("-10"), amount("-9.99"));
    EXPECT_LT(amount("-0.01"), Amount());
    EXPECT_LT(amount("99999999999999999999999999999999999999"), amount("1E38"));
    EXPECT_GT(amount("1E-5"), amount("-1E30"));
    EXPECT_GT(amount("0.10000000000000000000000000000000000001"), amount("0.1"));
    EXPECT_TRUE(amount("1").isLessThan_vt(amount("1.01")));
    EXPECT_TRUE(amount("1.01").isGreaterThan_vt(amount("1")));
    EXPECT_TRUE(amount("1.00").isLessThanOrEqualTo_vt(amount("1")));
    EXPECT_FALSE(amount("1.001").isLessThanOrEqualTo_vt(amount("1")));

    std::unordered_set<Amount> seen{amount("12.5"), amount("12.50"), amount("12.500"), amount("0"),
                                    amount("0.00"), amount("1E2"),   amount("100")};
    EXPECT_EQ(seen.size(), 3U);
}

TEST(Amount, ComparesWithATolerance) {
    EXPECT_TRUE(amount("10.00").isEqualTo_vt(amount("10.000000000005"), amount("0.00000000001")));
    EXPECT_FALSE(amount("10.00").isEqualTo_vt(amount("10.000000000005"), amount("0.000000000001")));
    EXPECT_TRUE(amount("-3").isEqualTo_vt(amount("-3.00"), Amount()));
    EXPECT_TRUE(amount("5").isEqualTo_vt(amount("5.01"), amount("0.01")));
    EXPECT_FALSE(amount("5").isEqualTo_vt(amount("5.01"), amount("0.0099")));
    // A difference that needs more than 38 digits still compares instead of failing.
    EXPECT_FALSE(amount("1E100").isEqualTo_vt(amount("1E-100"), amount("1")));
    EXPECT_TRUE(amount("1E-100").isEqualTo_vt(amount("-1E-90"), amount("0.01")));
}

TEST(Amount, NegatesAndTakesTheAbsoluteValue) {
    EXPECT_EQ(text(amount("12.50").negate_vt()), "-12.50");
    EXPECT_EQ(text(amount("-12.50").negate_vt()), "12.50");
    EXPECT_EQ(amount("0").negate_vt().sign(), 0);
    EXPECT_EQ(text(amount("-3.1").absolute_vt()), "3.1");
    EXPECT_EQ(text(amount("3.1").absolute_vt()), "3.1");
    EXPECT_EQ(text(-amount("99999999999999999999999999999999999999")),
              "-99999999999999999999999999999999999999");
}

TEST(Amount, AddsAndSubtractsExactly) {
    EXPECT_EQ(amount("0.1") + amount("0.2"), amount("0.3"));
    EXPECT_EQ(text(amount("12.50") + amount("3")), "15.50");
    EXPECT_EQ(text(amount("12.50") - amount("12.50")), "0.00");
    EXPECT_EQ(text(amount("-5.25") + amount("2")), "-3.25");
    EXPECT_EQ(text(amount("12345678901234567890123456789012345678") + amount("1")),
              "12345678901234567890123456789012345679");
    EXPECT_EQ(text(amount("-12345678901234567890123456789012345678") - amount("1")),
              "-12345678901234567890123456789012345679");
    // The carry makes a 39-digit integer, which is exactly 1E38.
    EXPECT_EQ(amount("99999999999999999999999999999999999999") + amount("1"), amount("1E38"));
    // Scales far apart, still within 38 digits.
    EXPECT_EQ(text(amount("1E30") + amount("0.01")), "1000000000000000000000000000000.01");
    EXPECT_EQ(text(amount("0.00") + amount("1E100")), text(amount("1E100")));
    Amount total;
    for (int i = 0; i < 1000; ++i) {
        total += amount("0.01");
    }
    EXPECT_EQ(text(total), "10.00");
}

TEST(Amount, RaisesAnInternalErrorWhenASumDoesNotFit) {
    const Amount largest = amount("99999999999999999999999999999999999999");
    EXPECT_THROW((void)(largest + amount("0.1")), InternalError);
    EXPECT_THROW((void)(largest + largest + amount("0.5")), InternalError);
    EXPECT_THROW((void)(amount("1E100") + amount("1E-100")), InternalError);
    EXPECT_THROW((void)(amount("-1E30") - amount("0.000000001")), InternalError);
    EXPECT_THROW((void)(Amount::fromParts(1, Amount::kMaxExponent) * amount("1E38")), InternalError);
}

TEST(Amount, MultipliesExactly) {
    EXPECT_EQ(text(amount("1234567890123456789") * amount("9876543210987654321")),
              "12193263113702179522374638011112635269");
    EXPECT_EQ(text(amount("-12345678901234567890123456789012345678") * amount("1")),
              "-12345678901234567890123456789012345678");
    EXPECT_EQ(text(amount("12.50") * amount("2.00")), "25.0000");
    EXPECT_EQ(text(amount("-0.5") * amount("0.5")), "-0.25");
    // Trailing zeros of a wide product are dropped rather than overflowing.
    EXPECT_EQ(amount("10000000000000000000") * amount("10000000000000000000000"), amount("1E41"));
}

TEST(Amount, RaisesAnInternalErrorWhenAProductDoesNotFit) {
    EXPECT_THROW((void)(amount("10000000000000000001") * amount("10000000000000000001")), InternalError);
    EXPECT_THROW((void)(amount("99999999999999999999999999999999999999") *
                        amount("99999999999999999999999999999999999999")),
                 InternalError);
    EXPECT_THROW((void)(amount("1E100") * amount("1E100")), InternalError);
    EXPECT_THROW((void)(amount("1E-100") * amount("1E-100")), InternalError);
}

TEST(Amount, MultipliesWithOneRoundingAtTheStatedPlaces) {
    EXPECT_EQ(text(amount("0.5").multipliedBy(amount("0.05"), 2)), "0.03");
    EXPECT_EQ(text(amount("-0.5").multipliedBy(amount("0.05"), 2)), "-0.03");
    EXPECT_EQ(text(amount("100.00").multipliedBy(amount("1.2345678901"), 2)), "123.46");
    EXPECT_EQ(text(amount("3").multipliedBy(amount("5"), 2)), "15.00");
    // A full-precision factor would overflow an exact product; rounding once at the end is exact.
    const Amount third = amount("1").dividedBy(amount("3"));
    EXPECT_THROW((void)(amount("12.34") * third), InternalError);
    EXPECT_EQ(text(amount("12.34").multipliedBy(third, 2)), "4.11");
    EXPECT_EQ(text(amount("-99999999999999999999.99").multipliedBy(third, 2)), "-33333333333333333333.33");
}

TEST(Amount, DividesToThirtyEightDigits) {
    EXPECT_EQ(text(amount("1").dividedBy(amount("3"))), "0.33333333333333333333333333333333333333");
    EXPECT_EQ(text(amount("2").dividedBy(amount("3"))), "0.66666666666666666666666666666666666667");
    EXPECT_EQ(text(amount("-7").dividedBy(amount("9"))), "-0.77777777777777777777777777777777777778");
    EXPECT_EQ(text(amount("10").dividedBy(amount("4"))), "2.5");
    EXPECT_EQ(text(amount("-1").dividedBy(amount("8"))), "-0.125");
    EXPECT_EQ(text(amount("1.2").dividedBy(amount("0.0004"))), "3000");
    EXPECT_EQ(text(amount("0").dividedBy(amount("7"))), "0");
    EXPECT_EQ(text(amount("12345678901234567890123456789012345678")
                       .dividedBy(amount("12345678901234567890123456789012345678"))),
              "1");
    EXPECT_THROW((void)amount("1").dividedBy(Amount()), InternalError);
}

TEST(Amount, DividesWithOneRoundingAtTheStatedPlaces) {
    EXPECT_EQ(text(amount("1").dividedBy(amount("3"), 2)), "0.33");
    EXPECT_EQ(text(amount("2").dividedBy(amount("3"), 2)), "0.67");
    EXPECT_EQ(text(amount("1").dividedBy(amount("8"), 2)), "0.13");
    EXPECT_EQ(text(amount("-1").dividedBy(amount("8"), 2)), "-0.13");
    EXPECT_EQ(text(amount("1").dividedBy(amount("-8"), 2)), "-0.13");
    EXPECT_EQ(text(amount("10").dividedBy(amount("0.001"), 2)), "10000.00");
    EXPECT_EQ(text(amount("1.3").dividedBy(amount("1.1"), 10)), "1.1818181818");
    EXPECT_EQ(text(amount("1E-50").dividedBy(amount("3"), 2)), "0.00");
    EXPECT_EQ(amount("1E30").dividedBy(amount("1E-30"), 2), amount("1E60"));
    EXPECT_THROW((void)amount("1E30").dividedBy(amount("3E-30"), 2), InternalError);
    EXPECT_THROW((void)amount("1").dividedBy(Amount(), 2), InternalError);
}

TEST(Amount, BuildsFromWholeUnitsCentsAndParts) {
    EXPECT_EQ(text(Amount(42)), "42");
    EXPECT_EQ(text(Amount(-42)), "-42");
    EXPECT_EQ(text(Amount::fromCents(-1999)), "-19.99");
    EXPECT_EQ(text(Amount::fromParts(5, -3)), "0.005");
    EXPECT_EQ(Amount::fromParts(static_cast<__int128>(1) << 100, 0).toStdString(),
              "1267650600228229401496703205376");
    // Trailing zeros past 38 digits fold into the exponent; other digits would be lost.
    const __int128 tenTo38 = static_cast<__int128>(10000000000000000000ULL) * 10000000000000000000ULL;
    EXPECT_EQ(Amount::fromParts(tenTo38, 0), amount("1E38"));
    EXPECT_THROW((void)Amount::fromParts(tenTo38 + 1, 0), InternalError);
    EXPECT_THROW((void)Amount::fromParts(1, -200), InternalError);
}
