#include "import/DateParser.h"

#include "import/FixedPatternDateParser.h"
#include "import/ParseException.h"
#include "platform/InternalError.h"
#include "support/ModelValues.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using namespace vantrel;
using import::DateComponents;
using import::DateOrder;
using import::DateParser;
using import::FixedPatternDateParser;
using import::ParseException;
using testsupport::day;
using testsupport::utf8;

namespace {

std::string orderText(const std::optional<DateOrder>& order) {
    return order ? utf8(order->text()) : std::string("none");
}

std::string dayText(const std::optional<model::Day>& value) {
    return value ? utf8(value->toIsoString()) : std::string("none");
}

QStringList texts(const std::vector<const char*>& items) {
    QStringList result;
    for (const char* item : items) {
        result.append(QString::fromUtf8(item));
    }
    return result;
}

template <typename Call>
void expectParseFailure(Call call, const char* name, const char* reason) {
    try {
        call();
        FAIL() << "no failure raised";
    } catch (const ParseException& e) {
        EXPECT_EQ(utf8(e.name()), name);
        EXPECT_EQ(utf8(e.reason()), reason);
    }
}

struct ComponentsCase {
    const char* text;
    DateComponents expected;
};

class DateComponentsSplit : public ::testing::TestWithParam<ComponentsCase> {};

TEST_P(DateComponentsSplit, IntoThreeNumbersInTextOrder) {
    const ComponentsCase& c = GetParam();
    EXPECT_EQ(DateParser::dateComponentsFromString(QString::fromUtf8(c.text)), c.expected) << c.text;
    EXPECT_TRUE(DateParser::looksLikeDateString(QString::fromUtf8(c.text))) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Texts, DateComponentsSplit,
                         ::testing::Values(ComponentsCase{"12/31/2023", {12, 31, 2023}},
                                           ComponentsCase{"Posted 12/31/2023 10:45", {12, 31, 2023}},
                                           ComponentsCase{"2023-12-31", {2023, 12, 31}},
                                           ComponentsCase{"20231231", {2023, 12, 31}},
                                           ComponentsCase{"05.03.07", {5, 3, 7}},
                                           ComponentsCase{"on 1 - 2 -- 3 at noon", {1, 2, 3}},
                                           // The largest number an int holds is still a number.
                                           ComponentsCase{"2147483647/1/1", {2147483647, 1, 1}}));

class DateComponentsMissing : public ::testing::TestWithParam<const char*> {};

TEST_P(DateComponentsMissing, FailWithExpectedThreeComponents) {
    const QString text = QString::fromUtf8(GetParam());
    expectParseFailure([&] { DateParser::dateComponentsFromString(text); }, "VTParseException",
                       "Expected three date components.");
}

INSTANTIATE_TEST_SUITE_P(Texts, DateComponentsMissing,
                         ::testing::Values("", "12/31", "2023123", "no date here",
                                           // Too large for an int: no date, never a wrapped number.
                                           "2147483648/1/1", "99999999999/1/1", "1/1/99999999999999999999"));

TEST(DateParserTest, LooksLikeDateStringOnlyWhenThreeNumbersAreFound) {
    EXPECT_TRUE(DateParser::looksLikeDateString(QStringLiteral("99999999999/1/1")));
    EXPECT_FALSE(DateParser::looksLikeDateString(QStringLiteral("12/31")));
    EXPECT_FALSE(DateParser::looksLikeDateString(QStringLiteral("2023123")));
    EXPECT_FALSE(DateParser::looksLikeDateString(QString()));
}

struct ParseCase {
    const char* text;
    DateOrder order;
    const char* expected; // "yyyy-MM-dd" or "none"
};

class DateParserParses : public ::testing::TestWithParam<ParseCase> {};

TEST_P(DateParserParses, InTheGivenOrder) {
    const ParseCase& c = GetParam();
    EXPECT_EQ(dayText(DateParser::parseDate(QString::fromUtf8(c.text), c.order)), c.expected)
        << c.text << " " << utf8(c.order.text());
}

INSTANTIATE_TEST_SUITE_P(Orders, DateParserParses,
                         ::testing::Values(ParseCase{"12/31/2023", DateOrder::mdy(), "2023-12-31"},
                                           ParseCase{"31/12/2023", DateOrder::dmy(), "2023-12-31"},
                                           ParseCase{"2023-12-31", DateOrder::ymd(), "2023-12-31"},
                                           ParseCase{"20240229", DateOrder::ymd(), "2024-02-29"},
                                           ParseCase{"02/30/2023", DateOrder::mdy(), "none"},
                                           ParseCase{"02/29/2023", DateOrder::mdy(), "none"},
                                           ParseCase{"32/01/2023", DateOrder::dmy(), "none"},
                                           ParseCase{"00/01/2023", DateOrder::dmy(), "none"},
                                           ParseCase{"13/01/2023", DateOrder::mdy(), "none"},
                                           ParseCase{"01/00/2023", DateOrder::mdy(), "none"},
                                           ParseCase{"1000000/01/01", DateOrder::ymd(), "none"},
                                           ParseCase{"1/1/2147483647", DateOrder::mdy(), "none"}));

// One- and two-digit years follow the POSIX %y rule instead of landing in the first century.
INSTANTIATE_TEST_SUITE_P(TwoDigitYears, DateParserParses,
                         ::testing::Values(ParseCase{"12/31/23", DateOrder::mdy(), "2023-12-31"},
                                           ParseCase{"31.12.00", DateOrder::dmy(), "2000-12-31"},
                                           ParseCase{"1/2/5", DateOrder::mdy(), "2005-01-02"},
                                           ParseCase{"1/2/69", DateOrder::mdy(), "2069-01-02"},
                                           ParseCase{"1/2/70", DateOrder::mdy(), "1970-01-02"},
                                           ParseCase{"1/2/99", DateOrder::mdy(), "1999-01-02"},
                                           ParseCase{"24-02-29", DateOrder::ymd(), "2024-02-29"},
                                           ParseCase{"1/2/100", DateOrder::mdy(), "0100-01-02"},
                                           ParseCase{"1/2/0099", DateOrder::mdy(), "1999-01-02"}));

TEST(DateParserTest, ParseDatePassesOnASplittingFailure) {
    expectParseFailure([] { DateParser::parseDate(QStringLiteral("99999999999/1/1"), DateOrder::ymd()); },
                       "VTParseException", "Expected three date components.");
    expectParseFailure([] { DateParser::parseDate(QStringLiteral("12/31"), DateOrder::mdy()); },
                       "VTParseException", "Expected three date components.");
}

struct GuessCase {
    std::vector<const char*> column;
    const char* expected;
};

class DateOrderGuess : public ::testing::TestWithParam<GuessCase> {};

TEST_P(DateOrderGuess, OfAColumn) {
    const QStringList column = texts(GetParam().column);
    EXPECT_EQ(orderText(DateParser::guessDateOrder(column)), GetParam().expected) << utf8(column.join(u' '));
}

INSTANTIATE_TEST_SUITE_P(
    FourDigitYear, DateOrderGuess,
    ::testing::Values(
        // The first text's year decides the branch; a leading year needs nothing else.
        GuessCase{{"2023-12-31", "not a date"}, "YMD"}, GuessCase{{"12/2023/01", "31/12/2023"}, "none"},
        // The first decisive text in file order wins.
        GuessCase{{"31/12/2023", "12/31/2023"}, "DMY"}, GuessCase{{"12/31/2023", "31/12/2023"}, "MDY"},
        GuessCase{{"01/02/2023", "05/06/2023", "13/06/2023"}, "DMY"},
        // Undecided: the field with more distinct values is the day.
        GuessCase{{"01/02/2023", "03/04/2023"}, "none"}, GuessCase{{"01/02/2023", "03/02/2023"}, "DMY"},
        GuessCase{{"01/02/2023", "01/03/2023"}, "MDY"}, GuessCase{{"12/12/2023"}, "none"}));

INSTANTIATE_TEST_SUITE_P(TwoDigitYears, DateOrderGuess,
                         ::testing::Values(GuessCase{{"01/15/23", "02/20/23"}, "MDY"},
                                           GuessCase{{"15/01/23", "20/02/23", "25/03/23"}, "none"},
                                           GuessCase{{"15/01/23", "20/02/23", "25/03/23", "28/03/23"}, "DMY"},
                                           GuessCase{{"23/01/15", "23/01/20", "23/02/25"}, "YMD"},
                                           GuessCase{{"01/01/23", "02/02/23", "03/03/24"}, "none"},
                                           // A field of 0 or above 99 makes the column undecidable.
                                           GuessCase{{"01/15/23", "01/01/00"}, "none"},
                                           GuessCase{{"01/15/23", "01/16/2023"}, "none"},
                                           // So does a text without three numbers, which is not passed on.
                                           GuessCase{{"01/15/23", "junk"}, "none"},
                                           GuessCase{{"01/15/23", "99999999999/1/1"}, "none"}));

TEST(DateParserTest, GuessPassesOnSplittingFailuresOfAFourDigitYearColumn) {
    expectParseFailure(
        [] {
            DateParser::guessDateOrder(texts({"not a date", "12/31/2023"}));
        },
        "VTParseException", "Expected three date components.");
    expectParseFailure(
        [] {
            DateParser::guessDateOrder(texts({"01/02/2023", "junk", "31/12/2023"}));
        },
        "VTParseException", "Expected three date components.");
}

TEST(DateParserTest, GuessingFromNoTextsIsAProgrammingFault) {
    EXPECT_THROW(DateParser::guessDateOrder({}), platform::InternalError);
}

TEST(DateParserTest, MaxFieldIsTheStrictlyLargestSet) {
    const std::set<int> one{1};
    const std::set<int> two{1, 2};
    const std::set<int> three{1, 2, 3};
    EXPECT_EQ(DateParser::maxFieldFirstMiddleLast(three, two, one), 0);
    EXPECT_EQ(DateParser::maxFieldFirstMiddleLast(one, two, one), 1);
    EXPECT_EQ(DateParser::maxFieldFirstMiddleLast(one, two, three), 2);
    EXPECT_EQ(DateParser::maxFieldFirstMiddleLast(two, two, one), -1);
    EXPECT_EQ(DateParser::maxFieldFirstMiddleLast(two, one, two), -1);
    EXPECT_EQ(DateParser::maxFieldFirstMiddleLast(one, three, three), -1);
    EXPECT_EQ(DateParser::maxFieldFirstMiddleLast(one, one, one), -1);
}

TEST(DateParserTest, CheckAcceptsOneToNinetyNine) {
    EXPECT_NO_THROW(DateParser::check(1));
    EXPECT_NO_THROW(DateParser::check(99));
    for (const int value : {0, 100, -1, 2023}) {
        SCOPED_TRACE(value);
        expectParseFailure([value] { DateParser::check(value); }, "Invalid field value",
                           "The value should be between 1 and 99");
    }
}

TEST(DateOrderTest, ReadsAndWritesOnlyTheThreeTexts) {
    for (const DateOrder order : {DateOrder::mdy(), DateOrder::dmy(), DateOrder::ymd()}) {
        EXPECT_EQ(DateOrder::fromText(order.text()), order);
    }
    EXPECT_EQ(utf8(DateOrder::dmy().text()), "DMY");
    EXPECT_FALSE(DateOrder::fromText(u"mdy"));
    EXPECT_FALSE(DateOrder::fromText(u"YDM"));
    EXPECT_FALSE(DateOrder::fromText(u""));
}

TEST(FixedPatternDateParserTest, ReadsOnlyTextsThatFitThePattern) {
    EXPECT_EQ(FixedPatternDateParser::parseDate(u"2023-12-31", QStringLiteral("yyyy-MM-dd")),
              day(2023, 12, 31));
    EXPECT_EQ(FixedPatternDateParser::parseDate(u"20240229", QStringLiteral("yyyyMMdd")), day(2024, 2, 29));
    EXPECT_EQ(FixedPatternDateParser::parseDate(u"Dec 31, 2023", QStringLiteral("MMM dd, yyyy")),
              day(2023, 12, 31));
    EXPECT_EQ(FixedPatternDateParser::parseDate(u"1582-10-10", QStringLiteral("yyyy-MM-dd")),
              day(1582, 10, 10));
    for (const char16_t* text : {u"2023-02-30", u"2023-13-01", u"31/12/2023", u"2023-12-31 10:00", u""}) {
        EXPECT_EQ(dayText(FixedPatternDateParser::parseDate(text, QStringLiteral("yyyy-MM-dd"))), "none")
            << utf8(QString::fromUtf16(text));
    }
}

TEST(FixedPatternDateParserTest, OneParserReadsManyTexts) {
    const FixedPatternDateParser parser(QStringLiteral("yyyy-MM-dd"));
    EXPECT_EQ(parser.parse(u"2024-01-01"), day(2024, 1, 1));
    EXPECT_EQ(parser.parse(u"1999-12-31"), day(1999, 12, 31));
}

} // namespace
