#include "text/RegexCache.h"

#include "TextPrinters.h"
#include "platform/InternalError.h"
#include "text/RegexError.h"
#include "text/RegexFunctions.h"

#include <gtest/gtest.h>

#include <thread>

namespace vantrel::text {
namespace {

using namespace Qt::StringLiterals;

TEST(RegexCache, SamePatternWithOtherOptionsIsAnotherEntry) {
    RegexCache cache;
    const Regex plain = cache.get(u"rent"_s);
    const Regex folded = cache.get(u"rent"_s, RegexOption::CaseInsensitive);
    EXPECT_EQ(cache.size(), 2U);
    EXPECT_FALSE(plain.isFoundIn(u"RENT"_s));
    EXPECT_TRUE(folded.isFoundIn(u"RENT"_s));
    // Asking again returns the entries as they were compiled.
    EXPECT_FALSE(cache.get(u"rent"_s).isFoundIn(u"RENT"_s));
    EXPECT_TRUE(cache.get(u"rent"_s, RegexOption::CaseInsensitive).isFoundIn(u"RENT"_s));
    EXPECT_EQ(cache.size(), 2U);
}

TEST(RegexCache, LeastRecentlyUsedPatternIsDroppedFirst) {
    RegexCache cache(2);
    cache.get(u"a"_s);
    cache.get(u"b"_s);
    cache.get(u"a"_s);
    cache.get(u"c"_s);
    EXPECT_EQ(cache.size(), 2U);
    EXPECT_TRUE(cache.contains(u"a"_s));
    EXPECT_FALSE(cache.contains(u"b"_s));
    EXPECT_TRUE(cache.contains(u"c"_s));
}

TEST(RegexCache, DroppedPatternStaysUsableWhereItIsStillHeld) {
    RegexCache cache(1);
    const Regex held = cache.get(u"(\\d+) EUR"_s);
    cache.get(u"other"_s);
    ASSERT_FALSE(cache.contains(u"(\\d+) EUR"_s));
    EXPECT_EQ(held.firstMatch(u"pay 12 EUR"_s)->captured(1), u"12"_s);
    // Compiled afresh, with the same result.
    EXPECT_EQ(cache.get(u"(\\d+) EUR"_s).firstMatch(u"pay 12 EUR"_s)->captured(1), u"12"_s);
}

TEST(RegexCache, BadPatternFailsEveryTimeAndIsNotKept) {
    RegexCache cache(2);
    cache.get(u"kept"_s);
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_THROW(cache.get(u"(unclosed"_s), RegexError);
    }
    EXPECT_EQ(cache.size(), 1U);
    EXPECT_TRUE(cache.contains(u"kept"_s));
}

TEST(RegexCache, ZeroCapacityIsAProgrammingFault) {
    EXPECT_THROW(RegexCache(0), platform::InternalError);
}

TEST(RegexCache, EachThreadHasItsOwnBoundedCache) {
    const QString pattern = u"only on the main thread \\d"_s;
    cachedRegex(pattern);
    EXPECT_TRUE(RegexCache::forCurrentThread().contains(pattern));
    EXPECT_EQ(RegexCache::forCurrentThread().capacity(), RegexCache::defaultCapacity);

    bool seenElsewhere = true;
    std::thread other([&] { seenElsewhere = RegexCache::forCurrentThread().contains(pattern); });
    other.join();
    EXPECT_FALSE(seenElsewhere);

    for (int i = 0; i < 2 * static_cast<int>(RegexCache::defaultCapacity); ++i) {
        cachedRegex(QString::number(i));
    }
    EXPECT_EQ(RegexCache::forCurrentThread().size(), RegexCache::defaultCapacity);
}

TEST(RegexFunctions, ShorthandsBehaveLikeTheRegexMembers) {
    const QString subject = u"2024-01-05;Rent;-900"_s;
    EXPECT_TRUE(isFoundIn(u"Rent"_s, subject));
    EXPECT_TRUE(isFoundIn(u"rent"_s, subject, RegexOption::CaseInsensitive));
    EXPECT_FALSE(matchesWhole(u"\\d+"_s, subject));
    EXPECT_EQ(wholeMatch(u"(\\d{4})-.*"_s, subject)->captured(1), u"2024"_s);
    EXPECT_EQ(firstMatch(u"-?\\d+$"_s, subject)->captured(), u"-900"_s);
    EXPECT_EQ(allMatches(u"\\d+"_s, subject).size(), 4U);
    EXPECT_EQ(split(u";"_s, subject), (QStringList{u"2024-01-05"_s, u"Rent"_s, u"-900"_s}));
    EXPECT_EQ(replaceAll(u"(\\d{4})-(\\d\\d)-(\\d\\d)"_s, subject, u"$3.$2.$1"_s), u"05.01.2024;Rent;-900"_s);
    EXPECT_EQ(replaceAllLiteral(u";"_s, subject, u"$1"_s), u"2024-01-05$1Rent$1-900"_s);
    EXPECT_THROW(isFoundIn(u"(a+)+$"_s, u"aaaaaaaaaaaaaaaaaaaaaaaaaaaaab"_s), RegexError);
    EXPECT_THROW(isFoundIn(u"[unclosed"_s, subject), RegexError);
}

} // namespace
} // namespace vantrel::text
