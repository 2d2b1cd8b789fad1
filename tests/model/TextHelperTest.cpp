#include "model/TextHelper.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

using vantrel::model::TextHelper;

namespace {

std::string utf8(const QString& text) {
    return text.toStdString();
}

TEST(TextHelper, PluralizesEveryCountButOne) {
    EXPECT_EQ(utf8(TextHelper::pluralize(QStringLiteral("transaction"), 1)), "1 transaction");
    EXPECT_EQ(utf8(TextHelper::pluralize(QStringLiteral("transaction"), 3)), "3 transactions");
    EXPECT_EQ(utf8(TextHelper::pluralize(QStringLiteral("transaction"), 0)), "0 transactions");
    EXPECT_EQ(utf8(TextHelper::pluralize(QStringLiteral("account"), -1)), "-1 accounts");
    EXPECT_EQ(utf8(TextHelper::pluralize(QStringLiteral("item"), 10'000'000'000)), "10000000000 items");
    // Placeholders in the noun are text, not format arguments.
    EXPECT_EQ(utf8(TextHelper::pluralize(QStringLiteral("%1 file"), 2)), "2 %1 files");
}

TEST(TextHelper, HashHasTheLengthAndAlphabet) {
    EXPECT_TRUE(TextHelper::hashWithLength(0).isEmpty());
    EXPECT_TRUE(TextHelper::hashWithLength(-4).isEmpty());
    const QString hash = TextHelper::hashWithLength(32);
    EXPECT_EQ(hash.size(), 32);
    EXPECT_NE(hash, TextHelper::hashWithLength(32));
}

TEST(TextHelper, HashDrawsEveryCharacterAboutEquallyOften) {
    constexpr int kPerCharacter = 2000;
    const QString hash = TextHelper::hashWithLength(36 * kPerCharacter);
    std::map<char16_t, int> counts;
    for (const QChar c : hash) {
        ++counts[c.unicode()];
    }
    ASSERT_EQ(counts.size(), 36u);
    for (const auto& [character, count] : counts) {
        const bool inAlphabet =
            (character >= u'0' && character <= u'9') || (character >= u'a' && character <= u'z');
        EXPECT_TRUE(inAlphabet) << static_cast<int>(character);
        // About 44 is one standard deviation: nine of them keeps this from ever failing by chance.
        EXPECT_NEAR(count, kPerCharacter, 400) << static_cast<char>(character);
    }
}

TEST(TextHelper, TimesRunsTheBlockCountTimes) {
    int runs = 0;
    TextHelper::times_vt(3, [&] { ++runs; });
    EXPECT_EQ(runs, 3);
    TextHelper::times_vt(0, [&] { ++runs; });
    TextHelper::times_vt(-2, [&] { ++runs; });
    EXPECT_EQ(runs, 3);
}

TEST(TextHelper, BlankMeansOnlyWhiteSpaceAndLineBreaks) {
    for (const char16_t* blank :
         {u"", u" ", u"\t\n\r\v\f", u"\u00A0", u"\u202F", u"\u2028\u2029", u"\u3000", u"\u0085"}) {
        EXPECT_TRUE(TextHelper::isBlank_vt(blank));
        EXPECT_FALSE(TextHelper::isPresent_vt(blank));
    }
    // A zero-width space is a format character, not white space.
    for (const char16_t* present : {u"a", u" a ", u"\n.\n", u"\u200B"}) {
        EXPECT_FALSE(TextHelper::isBlank_vt(present));
        EXPECT_TRUE(TextHelper::isPresent_vt(present));
    }
}

TEST(TextHelper, TrimmingRemovesWhiteSpaceAtBothEndsOnly) {
    EXPECT_EQ(utf8(TextHelper::trimmed_vt(u" \n\u00A0Rent  paid\t\u2028")), "Rent  paid");
    EXPECT_EQ(utf8(TextHelper::trimmed_vt(u"\r\n")), "");
    EXPECT_EQ(utf8(TextHelper::trimmed_vt(u"x")), "x");
}

TEST(TextHelper, NaturalListsAndCapitalizedWords) {
    EXPECT_EQ(utf8(TextHelper::naturalList({})), "");
    EXPECT_EQ(utf8(TextHelper::naturalList({"A"})), "A");
    EXPECT_EQ(utf8(TextHelper::naturalList({"A", "B"})), "A and B");
    EXPECT_EQ(utf8(TextHelper::naturalList({"A", "B", "C", "D"})), "A, B, C and D");
    EXPECT_EQ(utf8(TextHelper::capitalizedWords(QStringLiteral("CORNER  cAFE\tno.5 \u00C9COLE"))),
              "Corner  Cafe\tNo.5 \u00C9cole");
}

} // namespace
