#include "text/LikePattern.h"

#include <gtest/gtest.h>

using vantrel::text::LikeOption;
using vantrel::text::LikePattern;

TEST(LikePattern, IgnoresCaseAndDiacriticsAsAsked) {
    EXPECT_TRUE(LikePattern(u"Food").matches(u"FOOD"));
    EXPECT_TRUE(LikePattern(u"food").matches(u"Food"));
    EXPECT_TRUE(LikePattern(u"Cafe").matches(u"Café"));
    EXPECT_TRUE(LikePattern(u"CAFÉ").matches(u"cafe"));
    EXPECT_TRUE(LikePattern(u"strasse").matches(u"STRASSE"));
    EXPECT_FALSE(LikePattern(u"Food").matches(u"Foods"));
    EXPECT_FALSE(LikePattern(u"Food", LikeOption::None).matches(u"food"));
    EXPECT_TRUE(LikePattern(u"Cafe", LikeOption::DiacriticInsensitive).matches(u"Café"));
    EXPECT_FALSE(LikePattern(u"cafe", LikeOption::DiacriticInsensitive).matches(u"Café"));
    EXPECT_FALSE(LikePattern(u"Cafe", LikeOption::CaseInsensitive).matches(u"café"));
    // A precomposed and a decomposed é are the same letter.
    EXPECT_TRUE(LikePattern(u"caf\u00E9").matches(u"cafe\u0301"));
}

TEST(LikePattern, TreatsStarAndQuestionMarkAsWildcards) {
    EXPECT_TRUE(LikePattern(u"Gro*").matches(u"Groceries"));
    EXPECT_TRUE(LikePattern(u"*ies").matches(u"Groceries"));
    EXPECT_TRUE(LikePattern(u"G*c*s").matches(u"Groceries"));
    EXPECT_TRUE(LikePattern(u"F?od").matches(u"Food"));
    EXPECT_FALSE(LikePattern(u"F?od").matches(u"Fod"));
    EXPECT_TRUE(LikePattern(u"*").matches(u""));
    EXPECT_TRUE(LikePattern(u"").matches(u""));
    EXPECT_FALSE(LikePattern(u"").matches(u"x"));
    EXPECT_TRUE(LikePattern(u"a*b*c").matches(u"aXbYbZc"));
    EXPECT_FALSE(LikePattern(u"a*b*c").matches(u"aXbYbZ"));
    // A category named with a star matches more than itself: that is how the filter behaves.
    EXPECT_TRUE(LikePattern(u"Car*").matches(u"Car Insurance"));
}
