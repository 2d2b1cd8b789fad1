#include "platform/objectstore/CompactAmount.h"

#include <gtest/gtest.h>

namespace vantrel::objectstore {
namespace {

using platform::Amount;

// Amount's == is numeric, so the scale has to be compared on its own.
void expectIdentical(const Amount& actual, const Amount& expected) {
    EXPECT_TRUE(actual.mantissa() == expected.mantissa()) << expected.toStdString();
    EXPECT_EQ(actual.exponent(), expected.exponent()) << expected.toStdString();
    EXPECT_EQ(actual.toString(), expected.toString());
}

TEST(CompactAmountTest, KeepsValueAndScale) {
    for (const char* text : {"0", "0.00", "12.50", "-12.50", "0.1", "-0.000001", "1E3", "-2.5E+7", "5E127",
                             "1E-128", "123456789012345678901234567890.12345678"}) {
        const Amount amount = *Amount::fromAscii(text);
        expectIdentical(CompactAmount(amount).amount(), amount);
    }
}

TEST(CompactAmountTest, MantissaLimitsOfTheInlineForm) {
    const std::int64_t largest = (std::int64_t{1} << (CompactAmount::kInlineMantissaBits - 1)) - 1;
    const std::int64_t smallest = -largest - 1;
    struct Case {
        __int128 mantissa;
        bool inlined;
    };
    const Case cases[] = {{largest, true},
                          {smallest, true},
                          {largest + 1, false},
                          {smallest - 1, false},
                          {-1, true},
                          {__int128{1} << 100, false},
                          {-(__int128{1} << 100), false}};
    for (const auto& c : cases) {
        for (const int exponent : {Amount::kMinExponent, -2, 0, 3, Amount::kMaxExponent}) {
            const Amount amount = Amount::fromParts(c.mantissa, exponent);
            const CompactAmount compact(amount);
            EXPECT_EQ(compact.isInline(), c.inlined);
            expectIdentical(compact.amount(), amount);
        }
    }
}

TEST(CompactAmountTest, MovesHandOverTheValueOnce) {
    const Amount large = Amount::fromParts(__int128{1} << 90, -4);
    CompactAmount a{large};
    CompactAmount b{*Amount::fromAscii("1.25")};
    b = std::move(a); // releases b's value; a is left at zero
    expectIdentical(b.amount(), large);
    expectIdentical(a.amount(), Amount());
    CompactAmount c(std::move(b));
    expectIdentical(c.amount(), large);
}

} // namespace
} // namespace vantrel::objectstore
