#include "TextPrinters.h"
#include "text/Regex.h"
#include "text/RegexError.h"

#include <gtest/gtest.h>

namespace vantrel::text {
namespace {

using namespace Qt::StringLiterals;

TEST(RegexSplit, SeparatorsAtTheEndsGiveEmptyPieces) {
    const Regex separator(u"\\s*;\\s*");
    EXPECT_EQ(separator.split(u"a ; b;c"_s), (QStringList{u"a"_s, u"b"_s, u"c"_s}));
    EXPECT_EQ(separator.split(u";a;"_s), (QStringList{u""_s, u"a"_s, u""_s}));
    EXPECT_EQ(separator.split(u"a;;b"_s), (QStringList{u"a"_s, u""_s, u"b"_s}));
    EXPECT_EQ(separator.split(u";"_s), (QStringList{u""_s, u""_s}));
}

TEST(RegexSplit, SkippingEmptyPartsDropsOnlyEmptyPieces) {
    const Regex separator(u";");
    EXPECT_EQ(separator.split(u";a;;b;"_s, EmptyParts::Skip), (QStringList{u"a"_s, u"b"_s}));
    EXPECT_TRUE(separator.split(u";;"_s, EmptyParts::Skip).isEmpty());
    EXPECT_TRUE(separator.split(QString(), EmptyParts::Skip).isEmpty());
}

TEST(RegexSplit, WithoutAMatchTheWholeSubjectIsTheOnlyPiece) {
    const Regex separator(u",");
    EXPECT_EQ(separator.split(u"no separators here"_s), (QStringList{u"no separators here"_s}));
    EXPECT_EQ(separator.split(QString()), (QStringList{QString()}));
}

TEST(RegexSplit, GroupsInTheSeparatorAreNotInsertedIntoTheResult) {
    EXPECT_EQ(Regex(u"(-)|(\\+)").split(u"1-2+3"_s), (QStringList{u"1"_s, u"2"_s, u"3"_s}));
}

TEST(RegexSplit, EmptySeparatorSplitsBetweenCodePoints) {
    EXPECT_EQ(Regex(u"").split(u"a\U0001F600b"_s, EmptyParts::Skip),
              (QStringList{u"a"_s, u"\U0001F600"_s, u"b"_s}));
}

TEST(RegexReplace, TemplatesInsertNumberedAndNamedGroups) {
    const Regex date(u"(?<day>\\d{2})\\.(?<month>\\d{2})\\.(\\d{4})");
    EXPECT_EQ(date.replaceAll(u"from 31.12.2023 to 01.01.2024"_s, u"$3-$2-$1"_s),
              u"from 2023-12-31 to 2024-01-01"_s);
    EXPECT_EQ(date.replaceAll(u"31.12.2023"_s, u"${month}/${day}"_s), u"12/31"_s);
    EXPECT_EQ(date.replaceAll(u"31.12.2023"_s, u"[$0]"_s), u"[31.12.2023]"_s);
}

TEST(RegexReplace, DigitsAfterTheHighestGroupNumberAreLiteral) {
    // One group: "$10" is group 1 and a literal 0.
    EXPECT_EQ(Regex(u"(\\d)").replaceAll(u"5"_s, u"$10"_s), u"50"_s);
    const Regex twelveGroups(u"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)(l)");
    EXPECT_EQ(twelveGroups.replaceAll(u"abcdefghijkl"_s, u"$12$1"_s), u"la"_s);
}

TEST(RegexReplace, BackslashMakesTheNextCharacterLiteral) {
    EXPECT_EQ(Regex(u"(\\d+)").replaceAll(u"costs 5"_s, u"\\$$1.00 \\\\"_s), u"costs $5.00 \\"_s);
}

TEST(RegexReplace, NonParticipatingGroupInsertsNothing) {
    EXPECT_EQ(Regex(u"(-)?(\\d+)").replaceAll(u"3 -4"_s, u"<$1$2>"_s), u"<3> <-4>"_s);
}

TEST(RegexReplace, LiteralReplacementIgnoresTemplateSyntax) {
    const Regex amount(u"(\\d+)");
    EXPECT_EQ(amount.replaceAllLiteral(u"pay 5 and 6"_s, u"$1\\"_s), u"pay $1\\ and $1\\"_s);
}

TEST(RegexReplace, EmptyMatchesAreReplacedToo) {
    EXPECT_EQ(Regex(u"^").replaceAll(u"line"_s, u"> "_s), u"> line"_s);
    EXPECT_EQ(Regex(u"x*").replaceAllLiteral(u"ab"_s, u"-"_s), u"-a-b-"_s);
    EXPECT_EQ(Regex(u"^", RegexOption::Multiline).replaceAll(u"a\nb"_s, u"> "_s), u"> a\n> b"_s);
}

TEST(RegexReplace, SubjectWithoutAMatchComesBackUnchanged) {
    const QString subject = u"nothing to see"_s;
    EXPECT_EQ(Regex(u"\\d").replaceAll(subject, u"#"_s), subject);
    EXPECT_EQ(Regex(u"\\d").replaceAll(QString(), u"#"_s), QString());
}

TEST(RegexReplace, TextAroundCharactersOutsideTheBmpSurvives) {
    EXPECT_EQ(Regex(u"\\s+").replaceAll(u"\U0001F600  \U0001F4B6\t12"_s, u" "_s),
              u"\U0001F600 \U0001F4B6 12"_s);
}

TEST(RegexEscape, EscapedTextMatchesOnlyItselfUnderEveryOption) {
    const QString literal = u"a.b*c (x) $5 [\\d] {2} ^|? # caf\u00E9\n\U0001F600"_s;
    const QString pattern = Regex::escape(literal);
    for (const RegexOptions options :
         {RegexOptions(), RegexOptions(RegexOption::Comments),
          RegexOption::Comments | RegexOption::DotAll | RegexOption::Multiline}) {
        const Regex regex(pattern, options);
        EXPECT_TRUE(regex.matchesWhole(literal)) << pattern.toStdString();
        EXPECT_FALSE(regex.isFoundIn(u"aXb*c (x) $5 [\\d] {2} ^|? # caf\u00E9\n\U0001F600"_s));
    }
}

} // namespace
} // namespace vantrel::text
