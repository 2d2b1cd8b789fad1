#include "model/RepeatRuleArchive.h"
#include "platform/InternalError.h"
#include "support/ModelValues.h"

#include <gtest/gtest.h>

#include <unordered_set>

using vantrel::model::Day;
using vantrel::model::DIMonth;
using vantrel::model::DIWeek;
using vantrel::model::RepeatRule;
using vantrel::model::RepeatRuleArchive;
using vantrel::platform::InternalError;
using vantrel::testsupport::day;

TEST(DIWeek, IncludesDaysOnItsWeekday) {
    const DIWeek sunday(1);
    EXPECT_TRUE(sunday.includes(day(2026, 12, 6)));
    EXPECT_FALSE(sunday.includes(day(2026, 12, 7)));
    EXPECT_TRUE(DIWeek(7).includes(day(2026, 12, 5)));
    EXPECT_EQ(DIWeek(2).description(), QStringLiteral("DIWeek: 2"));
    EXPECT_THROW(DIWeek(0), InternalError);
    EXPECT_THROW(DIWeek(8), InternalError);
}

TEST(DIMonth, FallsOnTheLastDayOfShortMonths) {
    const DIMonth thirtyFirst(31);
    EXPECT_TRUE(thirtyFirst.includes(day(2026, 4, 30)));
    EXPECT_FALSE(thirtyFirst.includes(day(2026, 4, 29)));
    EXPECT_TRUE(thirtyFirst.includes(day(2026, 1, 31)));
    EXPECT_FALSE(thirtyFirst.includes(day(2026, 1, 30)));

    const DIMonth last(DIMonth::kLastDay);
    EXPECT_TRUE(last.includes(day(2024, 2, 29)));
    EXPECT_FALSE(last.includes(day(2024, 2, 28)));
    EXPECT_TRUE(last.includes(day(2023, 2, 28)));

    EXPECT_TRUE(DIMonth(30).includes(day(2024, 2, 29)));
    EXPECT_TRUE(DIMonth(29).includes(day(2023, 2, 28)));
    EXPECT_FALSE(DIMonth(29).includes(day(2024, 2, 28)));
    EXPECT_TRUE(DIMonth(15).includes(day(2024, 2, 15)));
    EXPECT_FALSE(DIMonth(15).includes(day(2024, 2, 29)));
}

TEST(DIMonth, AcceptsOnlyDaysOfTheMonth) {
    try {
        DIMonth(5, QStringLiteral("Week"));
        FAIL() << "a unit other than Day must be refused";
    } catch (const InternalError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Only support day as unit for now"));
    }
    EXPECT_THROW(DIMonth(0), InternalError);
    EXPECT_THROW(DIMonth(32), InternalError);
    EXPECT_THROW(DIMonth(-2), InternalError);
    EXPECT_EQ(DIMonth(-1).description(), QStringLiteral("DIMonth: -1 Day"));
}

TEST(RepeatRules, CompareAndHashByValue) {
    EXPECT_EQ(DIMonth(3), DIMonth(3));
    EXPECT_NE(DIMonth(3), DIMonth(-1));
    EXPECT_EQ(DIWeek(4), DIWeek(4));
    std::unordered_set<DIMonth> months{DIMonth(1), DIMonth(1), DIMonth(-1), DIMonth(31)};
    EXPECT_EQ(months.size(), 3U);
    std::unordered_set<DIWeek> weeks{DIWeek(1), DIWeek(7), DIWeek(1)};
    EXPECT_EQ(weeks.size(), 2U);
}

TEST(RepeatRuleArchive, RoundTripsWithTheArchiveKeys) {
    const std::vector<RepeatRule> rules{DIWeek(2), DIMonth(-1), DIMonth(15)};
    const QString archive = RepeatRuleArchive::encode(rules);
    EXPECT_EQ(archive, QStringLiteral(R"([{"DIWeekWeekday":2},{"DIMonthCount":-1,"DIMonthUnit":"Day"},)"
                                      R"({"DIMonthCount":15,"DIMonthUnit":"Day"}])"));
    EXPECT_EQ(RepeatRuleArchive::decode(archive), rules);
    EXPECT_EQ(RepeatRuleArchive::decode(QStringLiteral("[]")), std::vector<RepeatRule>{});
}

TEST(RepeatRuleArchive, RefusesMalformedArchives) {
    for (const char* bad : {"", "not json", "{}", R"({"DIWeekWeekday":2})", "[1]", R"([{"Other":1}])",
                            R"([{"DIWeekWeekday":9}])", R"([{"DIWeekWeekday":"2"}])",
                            R"([{"DIWeekWeekday":2.5}])", R"([{"DIMonthCount":3,"DIMonthUnit":"Week"}])",
                            R"([{"DIMonthCount":3}])", R"([{"DIMonthCount":0,"DIMonthUnit":"Day"}])",
                            R"([{"DIWeekWeekday":2,"DIMonthCount":3,"DIMonthUnit":"Day"}])",
                            R"([{"DIWeekWeekday":2},{"DIWeekWeekday":0}])"}) {
        EXPECT_FALSE(RepeatRuleArchive::decode(QString::fromUtf8(bad)).has_value()) << bad;
    }
}
