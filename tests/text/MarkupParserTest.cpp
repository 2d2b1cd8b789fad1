#include "text/MarkupParser.h"

#include "TextPrinters.h"

#include <gtest/gtest.h>

namespace vantrel::text {
namespace {

using namespace Qt::StringLiterals;
using Runs = std::vector<StyledRun>;

StyledRun plain(const QString& text) {
    return StyledRun{text, false, false};
}

StyledRun bold(const QString& text) {
    return StyledRun{text, true, false};
}

StyledRun italic(const QString& text) {
    return StyledRun{text, false, true};
}

StyledRun boldItalic(const QString& text) {
    return StyledRun{text, true, true};
}

TEST(MarkupParser, EmptyMarkupHasNoRuns) {
    EXPECT_TRUE(MarkupParser::parse(u"").empty());
    EXPECT_TRUE(MarkupParser::parse(QStringView()).empty());
}

TEST(MarkupParser, TextWithoutMarksIsOnePlainRun) {
    EXPECT_EQ(MarkupParser::parse(u"Groceries (25% of total)"), (Runs{plain(u"Groceries (25% of total)"_s)}));
}

TEST(MarkupParser, DoubleStarsAreBoldSingleMarksItalic) {
    EXPECT_EQ(MarkupParser::parse(u"**Groceries** (25% of total)"),
              (Runs{bold(u"Groceries"_s), plain(u" (25% of total)"_s)}));
    EXPECT_EQ(MarkupParser::parse(u"a *b* _c_ d"),
              (Runs{plain(u"a "_s), italic(u"b"_s), plain(u" "_s), italic(u"c"_s), plain(u" d"_s)}));
}

TEST(MarkupParser, BoldAndItalicNest) {
    EXPECT_EQ(MarkupParser::parse(u"***both***"), (Runs{boldItalic(u"both"_s)}));
    EXPECT_EQ(MarkupParser::parse(u"**bold _and italic_**"),
              (Runs{bold(u"bold "_s), boldItalic(u"and italic"_s)}));
    EXPECT_EQ(MarkupParser::parse(u"*italic **and bold***"),
              (Runs{italic(u"italic "_s), boldItalic(u"and bold"_s)}));
    EXPECT_EQ(MarkupParser::parse(u"_x **y** z_"),
              (Runs{italic(u"x "_s), boldItalic(u"y"_s), italic(u" z"_s)}));
}

TEST(MarkupParser, ATripleStarCanCloseInTwoSteps) {
    EXPECT_EQ(MarkupParser::parse(u"***a** b*"), (Runs{boldItalic(u"a"_s), italic(u" b"_s)}));
    EXPECT_EQ(MarkupParser::parse(u"***a* b**"), (Runs{boldItalic(u"a"_s), bold(u" b"_s)}));
}

TEST(MarkupParser, AdjacentRunsOfTheSameStyleMerge) {
    EXPECT_EQ(MarkupParser::parse(u"**a****b**"), (Runs{bold(u"ab"_s)}));
    EXPECT_EQ(MarkupParser::parse(u"*a*_b_"), (Runs{italic(u"ab"_s)}));
    EXPECT_EQ(MarkupParser::parse(u"a\\*b"), (Runs{plain(u"a*b"_s)}));
}

TEST(MarkupParser, BackslashEscapesAMarkCharacter) {
    EXPECT_EQ(MarkupParser::parse(u"\\*not italic\\*"), (Runs{plain(u"*not italic*"_s)}));
    EXPECT_EQ(MarkupParser::parse(u"\\_\\\\"), (Runs{plain(u"_\\"_s)}));
    EXPECT_EQ(MarkupParser::parse(u"*\\**"), (Runs{italic(u"*"_s)}));
    EXPECT_EQ(MarkupParser::parse(u"**5 \\* 3**"), (Runs{bold(u"5 * 3"_s)}));
}

TEST(MarkupParser, BackslashBeforeAnythingElseStays) {
    EXPECT_EQ(MarkupParser::parse(u"C:\\Users\\"), (Runs{plain(u"C:\\Users\\"_s)}));
    EXPECT_EQ(MarkupParser::parse(u"*C:\\Temp*"), (Runs{italic(u"C:\\Temp"_s)}));
}

TEST(MarkupParser, UnclosedMarksAreShownLiterally) {
    EXPECT_EQ(MarkupParser::parse(u"**Groceries"), (Runs{plain(u"**Groceries"_s)}));
    EXPECT_EQ(MarkupParser::parse(u"a _b"), (Runs{plain(u"a _b"_s)}));
    EXPECT_EQ(MarkupParser::parse(u"trailing*"), (Runs{plain(u"trailing*"_s)}));
    EXPECT_EQ(MarkupParser::parse(u"****"), (Runs{plain(u"****"_s)}));
    EXPECT_EQ(MarkupParser::parse(u"**bold *not closed**"), (Runs{bold(u"bold *not closed"_s)}));
    EXPECT_EQ(MarkupParser::parse(u"**a*"), (Runs{plain(u"*"_s), italic(u"a"_s)}));
    EXPECT_EQ(MarkupParser::parse(u"*a**"), (Runs{italic(u"a"_s), plain(u"*"_s)}));
}

TEST(MarkupParser, MarksNextToSpacesOrInsideWordsAreText) {
    EXPECT_EQ(MarkupParser::parse(u"2 * 3 * 4"), (Runs{plain(u"2 * 3 * 4"_s)}));
    EXPECT_EQ(MarkupParser::parse(u"* not a list *"), (Runs{plain(u"* not a list *"_s)}));
    EXPECT_EQ(MarkupParser::parse(u"snake_case_name"), (Runs{plain(u"snake_case_name"_s)}));
    EXPECT_EQ(MarkupParser::parse(u"fill in ____"), (Runs{plain(u"fill in ____"_s)}));
    EXPECT_EQ(MarkupParser::parse(u"_my_file_"), (Runs{italic(u"my_file"_s)}));
}

TEST(MarkupParser, CrossedMarksLoseNoText) {
    EXPECT_EQ(MarkupParser::parse(u"_a *b_ c*"), (Runs{italic(u"a *b"_s), plain(u" c*"_s)}));
}

TEST(MarkupParser, CharactersOutsideTheBmpKeepTheirPlace) {
    EXPECT_EQ(MarkupParser::parse(u"\U0001F6D2 **\U0001F4B6 12**"),
              (Runs{plain(u"\U0001F6D2 "_s), bold(u"\U0001F4B6 12"_s)}));
}

TEST(MarkupParser, RunsAlwaysAddUpToTheVisibleText) {
    const std::vector<std::pair<QString, QString>> cases = {
        {u"**a _b *c* d_ e**"_s, u"a b c d e"_s},
        {u"***"_s, u"***"_s},
        {u"*a **b"_s, u"*a **b"_s},
        {u"**a** **"_s, u"a **"_s},
        {u"\\"_s, u"\\"_s},
        {u"x_*y*_"_s, u"x_y_"_s},
    };
    for (const auto& [markup, visible] : cases) {
        QString joined;
        for (const StyledRun& run : MarkupParser::parse(markup)) {
            EXPECT_FALSE(run.text.isEmpty()) << markup.toStdString();
            joined += run.text;
        }
        EXPECT_EQ(joined, visible) << markup.toStdString();
    }
}

TEST(MarkupParser, EscapedTextShowsExactlyAsGiven) {
    for (const QString& name :
         {u"**Cash**"_s, u"snake_case"_s, u"C:\\*\\_"_s, u"*"_s, u"\\"_s, u"a\\\\*b*"_s}) {
        EXPECT_EQ(MarkupParser::parse(MarkupParser::escape(name)), (Runs{plain(name)})) << name.toStdString();
    }
    const QString markup = u"**"_s + MarkupParser::escape(u"Dining_out*") + u"** (5%)"_s;
    EXPECT_EQ(MarkupParser::parse(markup), (Runs{bold(u"Dining_out*"_s), plain(u" (5%)"_s)}));
}

} // namespace
} // namespace vantrel::text
