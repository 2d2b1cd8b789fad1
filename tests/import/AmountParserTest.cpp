#include "import/AmountParser.h"

#include "import/ParseException.h"
#include "platform/LogCapture.h"
#include "support/ModelValues.h"

#include <gtest/gtest.h>

#include <optional>

using namespace vantrel;
using import::AmountParser;
using import::ParseException;
using testsupport::amount;
using testsupport::utf8;

namespace {

struct AmountCase {
    const char* text;
    const char* expected;
};

class AmountParserReads : public ::testing::TestWithParam<AmountCase> {};

TEST_P(AmountParserReads, TheLastShortSeparatorIsTheDecimalOne) {
    const AmountCase& c = GetParam();
    EXPECT_EQ(AmountParser::readAmount(QString::fromUtf8(c.text)), amount(c.expected)) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Texts, AmountParserReads,
                         ::testing::Values(AmountCase{"12.50", "12.50"}, AmountCase{"1,234.56", "1234.56"},
                                           AmountCase{"1.234,56", "1234.56"},
                                           AmountCase{"$1 234,56", "1234.56"},
                                           // A separator followed by three digits groups thousands.
                                           AmountCase{"1,234", "1234"}, AmountCase{"1.234", "1234"},
                                           AmountCase{"12,3456", "123456"}, AmountCase{"1.234,5", "1234.5"},
                                           AmountCase{"12.5", "12.50"}, AmountCase{"100.", "100.00"},
                                           AmountCase{"1.2.34", "12.34"}, AmountCase{"USD 15", "15.00"},
                                           AmountCase{"+42.10", "42.10"}, AmountCase{"-1,000", "-1000"},
                                           AmountCase{"\u20AC -7,5", "-7.5"}, AmountCase{"(45.00)", "-45.00"},
                                           AmountCase{"(1,000.00)", "-1000.00"},
                                           AmountCase{"$(3.20) CR", "-3.20"}));

TEST(AmountParserTest, AnAbsentAmountIsAMissingAmount) {
    platform::LogCapture log;
    try {
        AmountParser::readAmount(std::nullopt);
        FAIL() << "an absent amount was read";
    } catch (const ParseException& e) {
        EXPECT_EQ(utf8(e.name()), "VTParseException");
        EXPECT_EQ(utf8(e.reason()), "Missing amount in record.");
    }
    EXPECT_TRUE(log.lines().isEmpty());
}

struct BadAmountCase {
    const char* text;
    const char* composed;
};

class AmountParserRejects : public ::testing::TestWithParam<BadAmountCase> {};

// A text that is no amount fails loudly and logs what it was turned into; a silent zero would
// import a wrong amount.
TEST_P(AmountParserRejects, WithTheReasonAndTheDiagnosticLine) {
    const BadAmountCase& c = GetParam();
    platform::LogCapture log;
    try {
        const auto read = AmountParser::readAmount(QString::fromUtf8(c.text));
        FAIL() << c.text << " was read as " << read.toStdString();
    } catch (const ParseException& e) {
        EXPECT_EQ(utf8(e.name()), "VTParseException");
        EXPECT_EQ(utf8(e.reason()), "Amount could not be parsed.");
    }
    const QString expectedLine = QStringLiteral("originalAmountString: %1, amountString: %2")
                                     .arg(QString::fromUtf8(c.text), c.composed);
    EXPECT_EQ(log.lines(), QStringList{expectedLine});
}

INSTANTIATE_TEST_SUITE_P(Texts, AmountParserRejects,
                         ::testing::Values(BadAmountCase{"12-34", "12-34.00"},
                                           // A minus inside the parentheses gives two signs.
                                           BadAmountCase{"(-5.00)", "--5.00"}, BadAmountCase{"abc", ".00"},
                                           BadAmountCase{"", ".00"}, BadAmountCase{"-", "-.00"},
                                           // More digits than an amount holds.
                                           BadAmountCase{"123456789012345678901234567890123456789",
                                                         "123456789012345678901234567890123456789.00"}));

} // namespace
