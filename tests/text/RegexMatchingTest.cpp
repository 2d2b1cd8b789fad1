#include "TextPrinters.h"
#include "platform/InternalError.h"
#include "text/Regex.h"

#include <gtest/gtest.h>

namespace vantrel::text {
namespace {

using namespace Qt::StringLiterals;

std::vector<qsizetype> startsOf(const std::vector<RegexMatch>& matches) {
    std::vector<qsizetype> starts;
    starts.reserve(matches.size());
    for (const RegexMatch& match : matches) {
        starts.push_back(match.capturedStart());
    }
    return starts;
}

QStringList textsOf(const std::vector<RegexMatch>& matches) {
    QStringList texts;
    for (const RegexMatch& match : matches) {
        texts.append(match.captured());
    }
    return texts;
}

TEST(RegexMatching, FoundAnywhereDiffersFromWholeMatch) {
    const Regex amount(u"\\d+\\.\\d\\d");
    EXPECT_TRUE(amount.isFoundIn(u"Total 12.50 EUR"_s));
    EXPECT_FALSE(amount.matchesWhole(u"Total 12.50 EUR"_s));
    EXPECT_TRUE(amount.matchesWhole(u"12.50"_s));
    EXPECT_FALSE(amount.isFoundIn(u"Total 12,50 EUR"_s));
    EXPECT_FALSE(amount.isFoundIn(QString()));
}

TEST(RegexMatching, WholeMatchGivesGroupsOnlyWhenEverythingMatches) {
    const Regex date(u"(\\d{4})-(\\d{2})-(\\d{2})");
    const auto match = date.wholeMatch(u"2024-02-29"_s);
    ASSERT_TRUE(match.has_value());
    EXPECT_EQ(match->captured(1), u"2024"_s);
    EXPECT_EQ(match->captured(3), u"29"_s);
    EXPECT_FALSE(date.wholeMatch(u"2024-02-29T10:00"_s).has_value());
}

TEST(RegexMatching, FirstMatchStartsLookingAtTheGivenIndex) {
    const Regex word(u"\\w+");
    const QString subject = u"pay rent now"_s;
    EXPECT_EQ(word.firstMatch(subject)->captured(), u"pay"_s);
    EXPECT_EQ(word.firstMatch(subject, 1)->captured(), u"ay"_s);
    EXPECT_EQ(word.firstMatch(subject, 3)->captured(), u"rent"_s);
    EXPECT_FALSE(word.firstMatch(subject, subject.size()).has_value());
    EXPECT_THROW(word.firstMatch(subject, subject.size() + 1), platform::InternalError);
    EXPECT_THROW(word.firstMatch(subject, -1), platform::InternalError);
}

TEST(RegexMatching, LookbehindSeesTextBeforeTheStartIndex) {
    const Regex afterCurrency(u"(?<=EUR )\\d+");
    const auto match = afterCurrency.firstMatch(u"EUR 40"_s, 4);
    ASSERT_TRUE(match.has_value());
    EXPECT_EQ(match->captured(), u"40"_s);
}

TEST(RegexMatching, AllMatchesAreNonOverlappingAndInOrder) {
    const Regex pair(u"aa");
    const auto matches = pair.allMatches(u"aaaaa"_s);
    EXPECT_EQ(startsOf(matches), (std::vector<qsizetype>{0, 2}));
    EXPECT_TRUE(Regex(u"x").allMatches(u"abc"_s).empty());
}

TEST(RegexMatching, EmptyMatchesAdvanceAndStillFindTheNonEmptyOnes) {
    const auto matches = Regex(u"x*").allMatches(u"axxb"_s);
    EXPECT_EQ(textsOf(matches), (QStringList{u""_s, u"xx"_s, u""_s, u""_s}));
    EXPECT_EQ(startsOf(matches), (std::vector<qsizetype>{0, 1, 3, 4}));
}

TEST(RegexMatching, CapturesReportTheirSpans) {
    const Regex line(u"(\\w+): (-?\\d+)");
    const auto match = line.firstMatch(u"  Rent: -900 monthly"_s);
    ASSERT_TRUE(match.has_value());
    EXPECT_EQ(match->captureCount(), 2);
    EXPECT_EQ(match->captured(), u"Rent: -900"_s);
    EXPECT_EQ(match->capturedStart(), 2);
    EXPECT_EQ(match->capturedEnd(), 12);
    EXPECT_EQ(match->captured(1), u"Rent"_s);
    EXPECT_EQ(match->capturedView(2), u"-900");
    EXPECT_EQ(match->capturedStart(2), 8);
    EXPECT_EQ(match->capturedLength(2), 4);
}

TEST(RegexMatching, NonParticipatingGroupIsNullNotEmpty) {
    const Regex signedAmount(u"(-)?(\\d+)(c?)");
    const auto unsignedMatch = signedAmount.firstMatch(u"42"_s);
    ASSERT_TRUE(unsignedMatch.has_value());
    EXPECT_FALSE(unsignedMatch->hasCaptured(1));
    EXPECT_TRUE(unsignedMatch->captured(1).isNull());
    EXPECT_EQ(unsignedMatch->capturedStart(1), -1);
    EXPECT_EQ(unsignedMatch->capturedEnd(1), -1);
    EXPECT_EQ(unsignedMatch->capturedLength(1), 0);

    // An optional group that matched nothing still took part.
    EXPECT_TRUE(unsignedMatch->hasCaptured(3));
    EXPECT_FALSE(unsignedMatch->captured(3).isNull());
    EXPECT_EQ(unsignedMatch->capturedStart(3), 2);

    const auto signedMatch = signedAmount.firstMatch(u"-42"_s);
    EXPECT_TRUE(signedMatch->hasCaptured(1));
    EXPECT_EQ(signedMatch->captured(1), u"-"_s);
}

TEST(RegexMatching, NamedGroupsResolveToTheirNumbers) {
    const Regex entry(u"(?<payee>[A-Za-z ]+);(?<amount>\\d+)?");
    EXPECT_EQ(entry.groupNumber(u"payee"), 1);
    EXPECT_EQ(entry.groupNumber(u"amount"), 2);
    EXPECT_EQ(entry.groupNumber(u"memo"), -1);

    const auto match = entry.firstMatch(u"Corner Shop;"_s);
    ASSERT_TRUE(match.has_value());
    EXPECT_EQ(match->captured(u"payee"), u"Corner Shop"_s);
    EXPECT_FALSE(match->hasCaptured(u"amount"));
    EXPECT_THROW(match->captured(u"memo"), platform::InternalError);
}

TEST(RegexMatching, AskingForAGroupThePatternLacksIsAProgrammingFault) {
    const auto match = Regex(u"(a)").firstMatch(u"a"_s);
    ASSERT_TRUE(match.has_value());
    EXPECT_THROW(match->captured(2), platform::InternalError);
    EXPECT_THROW(match->capturedStart(-1), platform::InternalError);
}

TEST(RegexMatching, MatchOutlivesTheSubjectItWasFoundIn) {
    std::optional<RegexMatch> match;
    {
        QString subject = u"memo: groceries"_s;
        match = Regex(u"memo: (\\w+)").firstMatch(subject);
        subject[6] = u'X';
    }
    ASSERT_TRUE(match.has_value());
    EXPECT_EQ(match->capturedView(1), u"groceries");
    EXPECT_EQ(match->subject(), u"memo: groceries"_s);
}

TEST(RegexMatching, PositionsAreUtf16IndicesAfterCharactersOutsideTheBmp) {
    // Each emoji takes two QString positions.
    const QString subject = u"\U0001F6D2 \U0001F4B6 12.50 \U0001F600 3"_s;
    const Regex number(u"\\d+(?:\\.\\d+)?");
    const auto matches = number.allMatches(subject);
    ASSERT_EQ(matches.size(), 2U);
    EXPECT_EQ(matches[0].capturedStart(), 6);
    EXPECT_EQ(matches[0].captured(), u"12.50"_s);
    EXPECT_EQ(subject.mid(matches[1].capturedStart(), matches[1].capturedLength()), u"3"_s);
    EXPECT_EQ(matches[1].capturedStart(), 15);
}

TEST(RegexMatching, ADotMatchesAWholeCodePointAndEmptyMatchesNeverSplitOne) {
    EXPECT_TRUE(Regex(u"^.$").matchesWhole(u"\U0001F600"_s));
    const auto matches = Regex(u"").allMatches(u"\U0001F600a"_s);
    EXPECT_EQ(startsOf(matches), (std::vector<qsizetype>{0, 2, 3}));
}

TEST(RegexMatching, OptionsChangeHowThePatternReads) {
    EXPECT_FALSE(Regex(u"rent").isFoundIn(u"RENT"_s));
    EXPECT_TRUE(Regex(u"rent", RegexOption::CaseInsensitive).isFoundIn(u"RENT"_s));
    EXPECT_TRUE(Regex(u"stra\u00DFe", RegexOption::CaseInsensitive).matchesWhole(u"STRASSE"_s));

    const QString lines = u"first\nsecond"_s;
    EXPECT_FALSE(Regex(u"^second$").isFoundIn(lines));
    EXPECT_TRUE(Regex(u"^second$", RegexOption::Multiline).isFoundIn(lines));

    EXPECT_FALSE(Regex(u"first.second").isFoundIn(lines));
    EXPECT_TRUE(Regex(u"first.second", RegexOption::DotAll).isFoundIn(lines));

    const Regex commented(u"\\d+  # whole units\n \\. \\d{2}  # cents", RegexOption::Comments);
    EXPECT_TRUE(commented.matchesWhole(u"12.50"_s));

    // "can't" is one word by Unicode's rules, two by the simple \w rule.
    EXPECT_EQ(Regex(u"\\b").allMatches(u"can't"_s).size(), 4U);
    EXPECT_EQ(Regex(u"\\b", RegexOption::UnicodeWordBoundaries).allMatches(u"can't"_s).size(), 2U);

    const Regex combined(u"^b.c$",
                         RegexOption::Multiline | RegexOption::DotAll | RegexOption::CaseInsensitive);
    EXPECT_TRUE(combined.isFoundIn(u"a\nB\nC"_s));
    EXPECT_EQ(combined.options(),
              RegexOption::Multiline | RegexOption::DotAll | RegexOption::CaseInsensitive);
}

TEST(RegexMatching, CopiesAndOtherLimitsKeepThePatternAndOptions) {
    const Regex original(u"(?<cents>\\d\\d)$", RegexOption::Multiline, RegexLimits{50, 4096});
    const std::vector<Regex> variants = {original, original.withLimits(RegexLimits{})};
    for (const Regex& regex : variants) {
        EXPECT_EQ(regex.pattern(), u"(?<cents>\\d\\d)$"_s);
        EXPECT_EQ(regex.options(), RegexOptions(RegexOption::Multiline));
        EXPECT_EQ(regex.groupNumber(u"cents"), 1);
        EXPECT_EQ(regex.firstMatch(u"1.25\n3"_s)->captured(1), u"25"_s);
    }
    EXPECT_EQ(variants[0].limits(), (RegexLimits{50, 4096}));
    EXPECT_EQ(variants[1].limits(), RegexLimits{});
}

} // namespace
} // namespace vantrel::text
