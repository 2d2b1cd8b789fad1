#include "text/RegexError.h"

#include "platform/InternalError.h"
#include "text/Regex.h"

#include <gtest/gtest.h>

#include <functional>

namespace vantrel::text {
namespace {

using namespace Qt::StringLiterals;

RegexError errorFrom(const std::function<void()>& action) {
    try {
        action();
    } catch (const RegexError& error) {
        return error;
    }
    ADD_FAILURE() << "expected a RegexError";
    return RegexError::matchFailure(QString(), U_ZERO_ERROR);
}

// Takes exponential time to fail on a run of a's that does not end the subject.
const QString catastrophicPattern = u"(a+)+$"_s;
const QString catastrophicSubject = u"aaaaaaaaaaaaaaaaaaaaaaaaaaaaab"_s;

TEST(RegexError, BadPatternReportsWhereAndWhy) {
    const RegexError error = errorFrom([] { Regex(u"amount: (\\d+"); });
    EXPECT_EQ(error.kind(), RegexError::Kind::InvalidPattern);
    EXPECT_EQ(error.pattern(), u"amount: (\\d+"_s);
    EXPECT_EQ(error.errorName(), u"U_REGEX_MISMATCHED_PAREN"_s);
    EXPECT_EQ(error.line(), 1);
    EXPECT_EQ(error.offset(), 12);
    EXPECT_TRUE(error.message().contains(u"amount: (\\d+"_s));
    EXPECT_TRUE(error.message().contains(u"U_REGEX_MISMATCHED_PAREN"_s));
}

TEST(RegexError, CompileErrorPositionCountsLinesOfACommentedPattern) {
    const RegexError error = errorFrom([] { Regex(u"\\d+  # units\n  (x{3,1})", RegexOption::Comments); });
    EXPECT_EQ(error.errorName(), u"U_REGEX_MAX_LT_MIN"_s);
    EXPECT_EQ(error.line(), 2);
}

TEST(RegexError, EachKindOfBadPatternIsRejected) {
    for (const QString& pattern : {u"[a-"_s, u"*a"_s, u"a{2,1}"_s, u"(?<n>a)(?<n>b)"_s,
                                   u"\\p{NoSuchProperty}"_s, u"(?<=a+)b"_s, u"\\"_s, u"\\q"_s}) {
        const RegexError error = errorFrom([&] { Regex{pattern}; });
        EXPECT_EQ(error.kind(), RegexError::Kind::InvalidPattern) << pattern.toStdString();
        EXPECT_EQ(error.pattern(), pattern);
        EXPECT_TRUE(error.errorName().startsWith(u"U_"_s)) << error.errorName().toStdString();
    }
}

TEST(RegexError, CatastrophicBacktrackingIsATimeOutNotANoMatch) {
    const Regex regex(catastrophicPattern, {}, RegexLimits{10, 0});
    const std::vector<std::function<void()>> operations = {
        [&] { regex.isFoundIn(catastrophicSubject); },
        [&] { regex.matchesWhole(catastrophicSubject); },
        [&] { regex.firstMatch(catastrophicSubject); },
        [&] { regex.allMatches(catastrophicSubject); },
        [&] { regex.split(catastrophicSubject); },
        [&] { regex.replaceAll(catastrophicSubject, u"x"_s); },
        [&] { regex.replaceAllLiteral(catastrophicSubject, u"x"_s); },
    };
    for (const auto& operation : operations) {
        const RegexError error = errorFrom(operation);
        EXPECT_EQ(error.kind(), RegexError::Kind::TimeOut);
        EXPECT_EQ(error.errorName(), u"U_REGEX_TIME_OUT"_s);
        EXPECT_EQ(error.pattern(), catastrophicPattern);
        EXPECT_EQ(error.line(), -1);
    }
}

TEST(RegexError, DefaultLimitsStopCatastrophicBacktracking) {
    const Regex regex(catastrophicPattern);
    EXPECT_EQ(errorFrom([&] { regex.isFoundIn(catastrophicSubject); }).kind(), RegexError::Kind::TimeOut);
    // Within its limits the same pattern still works.
    EXPECT_TRUE(regex.isFoundIn(u"aaaa"_s));
    EXPECT_FALSE(regex.isFoundIn(u"aab"_s));
}

TEST(RegexError, TimeLimitAppliesToEachMatchNotToAWholeScan) {
    // Every match saves a few backtracking states; together they exceed the 10,000 of one unit.
    QString subject;
    for (int i = 0; i < 5000; ++i) {
        subject += u"abab1 "_s;
    }
    const Regex regex(u"(?:a|b)*1", {}, RegexLimits{1, 0});
    EXPECT_EQ(regex.allMatches(subject).size(), 5000U);
    EXPECT_EQ(regex.replaceAll(subject, u"$0"_s), subject);
}

TEST(RegexError, DeepBacktrackingBeyondTheStackLimitIsReported) {
    const QString subject(100000, u'a');
    const Regex regex(u"(a|b)*c", {}, RegexLimits{0, 64 * 1024});
    const RegexError error = errorFrom([&] { regex.matchesWhole(subject); });
    EXPECT_EQ(error.kind(), RegexError::Kind::StackOverflow);
    EXPECT_EQ(error.errorName(), u"U_REGEX_STACK_OVERFLOW"_s);
    EXPECT_FALSE(regex.withLimits(RegexLimits{0, 0}).matchesWhole(subject));
}

TEST(RegexError, BadReplacementTemplateFailsEvenWithoutAMatch) {
    const Regex regex(u"(?<amount>\\d+)");
    struct Case {
        QString replacement;
        QString errorName;
        int offset;
    };
    const std::vector<Case> cases = {
        {u"x$2"_s, u"U_INDEX_OUTOFBOUNDS_ERROR"_s, 1},
        {u"${memo}"_s, u"U_REGEX_INVALID_CAPTURE_GROUP_NAME"_s, 0},
        {u"${amount"_s, u"U_REGEX_INVALID_CAPTURE_GROUP_NAME"_s, 0},
        {u"ab$"_s, u"U_REGEX_INVALID_CAPTURE_GROUP_NAME"_s, 2},
        {u"$x"_s, u"U_REGEX_INVALID_CAPTURE_GROUP_NAME"_s, 0},
        {u"tail\\"_s, u"U_REGEX_BAD_ESCAPE_SEQUENCE"_s, 4},
    };
    for (const Case& c : cases) {
        const RegexError error = errorFrom([&] { regex.replaceAll(u"no digits"_s, c.replacement); });
        EXPECT_EQ(error.kind(), RegexError::Kind::InvalidReplacement) << c.replacement.toStdString();
        EXPECT_EQ(error.errorName(), c.errorName) << c.replacement.toStdString();
        EXPECT_EQ(error.offset(), c.offset) << c.replacement.toStdString();
        EXPECT_TRUE(error.message().contains(c.replacement));
    }
}

TEST(RegexError, NegativeLimitsAreAProgrammingFault) {
    EXPECT_THROW(Regex(u"a", {}, RegexLimits{-1, 0}), platform::InternalError);
    EXPECT_THROW(Regex(u"a").withLimits(RegexLimits{0, -1}), platform::InternalError);
}

} // namespace
} // namespace vantrel::text
