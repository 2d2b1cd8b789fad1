#include "model/Day.h"

#include "platform/Clock.h"
#include "platform/InternalError.h"
#include "support/ModelValues.h"

#include <gtest/gtest.h>

using vantrel::model::Day;
using vantrel::platform::FixedClock;
using vantrel::platform::InternalError;
using vantrel::testsupport::day;

namespace {

QDateTime utc(int year, int month, int day, int hour, int minute) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute), QTimeZone::utc());
}

} // namespace

TEST(Day, AgreesWithQDateOnEveryDayOfEightCenturies) {
    const QDate first(1600, 1, 1);
    Day day = Day::fromQDate(first);
    for (QDate date = first; date.year() <= 2400; date = date.addDays(1), day = day.daysLater_VT(1)) {
        ASSERT_EQ(day.year_VT(), date.year());
        ASSERT_EQ(day.month_VT(), date.month());
        ASSERT_EQ(day.day_vt(), date.day());
        ASSERT_EQ(day.weekday_vt(), date.dayOfWeek() % 7 + 1) << date.toString(Qt::ISODate).toStdString();
        ASSERT_EQ(day.daysInMonth(), date.daysInMonth());
        ASSERT_EQ(day.toQDate(), date);
        ASSERT_EQ(Day::fromQDate(date), day);
    }
}

TEST(Day, IsMidnightUtc) {
    EXPECT_EQ(day(2026, 12, 6).toInstant(), utc(2026, 12, 6, 0, 0));
    EXPECT_EQ(day(1970, 1, 1).daysSinceEpoch(), 0);
    EXPECT_EQ(day(1969, 12, 31).daysSinceEpoch(), -1);
    // Any instant becomes the UTC day it falls in, whatever zone it is expressed in.
    EXPECT_EQ(Day::fromInstant(utc(2026, 3, 4, 23, 59)), day(2026, 3, 4));
    const QDateTime eastern(QDate(2026, 3, 5), QTime(5, 0), QTimeZone(10 * 3600));
    EXPECT_EQ(Day::fromInstant(eastern), day(2026, 3, 4));
}

TEST(Day, RefusesDatesThatDoNotExist) {
    EXPECT_FALSE(Day::fromCivil(2023, 2, 29).has_value());
    EXPECT_TRUE(Day::fromCivil(2024, 2, 29).has_value());
    EXPECT_FALSE(Day::fromCivil(1900, 2, 29).has_value());
    EXPECT_TRUE(Day::fromCivil(2000, 2, 29).has_value());
    EXPECT_FALSE(Day::fromCivil(2024, 4, 31).has_value());
    EXPECT_FALSE(Day::fromCivil(2024, 13, 1).has_value());
    EXPECT_FALSE(Day::fromCivil(2024, 0, 1).has_value());
    EXPECT_FALSE(Day::fromCivil(2024, 1, 0).has_value());
    EXPECT_THROW((void)day(2023, 2, 29), InternalError);
}

TEST(Day, ReadsAndWritesIsoText) {
    EXPECT_EQ(day(2026, 3, 4).toIsoString(), QStringLiteral("2026-03-04"));
    EXPECT_EQ(Day::fromIsoString(u"2024-02-29"), day(2024, 2, 29));
    for (const char16_t* bad :
         {u"2026-2-03", u"2026-02-30", u"2026/02/03", u"20260203", u"2026-02-0x", u""}) {
        EXPECT_FALSE(Day::fromIsoString(bad).has_value());
    }
}

TEST(Day, AddsMonthsClampingToTheLastDay) {
    EXPECT_EQ(day(2023, 1, 31).advanceMonths_VT(1), day(2023, 2, 28));
    EXPECT_EQ(day(2024, 1, 31).advanceMonths_VT(1), day(2024, 2, 29));
    EXPECT_EQ(day(2023, 3, 31).advanceMonths_VT(-1), day(2023, 2, 28));
    EXPECT_EQ(day(2024, 3, 31).monthsAgo_VT(1), day(2024, 2, 29));
    EXPECT_EQ(day(2023, 12, 31).monthsLater_VT(2), day(2024, 2, 29));
    EXPECT_EQ(day(2024, 1, 15).advanceMonths_VT(-13), day(2022, 12, 15));
    EXPECT_EQ(day(2024, 5, 31).advanceMonths_VT(-60), day(2019, 5, 31));
    // Clamping does not stick: two steps of one month differ from one step of two.
    EXPECT_EQ(day(2023, 1, 31).advanceMonths_VT(1).advanceMonths_VT(1), day(2023, 3, 28));
    EXPECT_EQ(day(2023, 1, 31).advanceMonths_VT(2), day(2023, 3, 31));
}

TEST(Day, CountsDaysAndMonthsBetweenDays) {
    EXPECT_EQ(day(2024, 3, 1).numberOfDaysAfter_VT(day(2024, 2, 1)), 29);
    EXPECT_EQ(day(2024, 2, 1).numberOfDaysAfter_VT(day(2024, 3, 1)), -29);
    EXPECT_EQ(day(2024, 2, 1).daysAwayFrom_vt(day(2024, 3, 1)), 29);
    EXPECT_EQ(day(2025, 1, 1).numberOfDaysAfter_VT(day(2024, 1, 1)), 366);
    EXPECT_EQ(day(2024, 3, 31).numberOfMonthsAfter_vt(day(2024, 2, 1)), 1);
    EXPECT_EQ(day(2024, 3, 1).numberOfMonthsAfter_vt(day(2024, 2, 29)), 1);
    EXPECT_EQ(day(2025, 1, 1).numberOfMonthsAfter_vt(day(2024, 12, 31)), 1);
    EXPECT_EQ(day(2023, 11, 30).numberOfMonthsAfter_vt(day(2025, 1, 1)), -14);
    EXPECT_EQ(day(2024, 3, 10).daysAgo_VT(10), day(2024, 2, 29));
    EXPECT_EQ(day(2024, 2, 26).advanceWeeks_vt(-1), day(2024, 2, 19));
    EXPECT_EQ(day(2024, 2, 26).weeksLater_vt(1), day(2024, 3, 4));
    EXPECT_EQ(day(2024, 2, 26).weeksLater_vt(0), day(2024, 2, 26));
    try {
        (void)day(2024, 2, 26).weeksLater_vt(-1);
        FAIL() << "a negative step must be refused";
    } catch (const InternalError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Step needs to be a positive integer"));
    }
}

TEST(Day, ComparesAsInstants) {
    EXPECT_TRUE(day(2024, 1, 2).isLaterThan_VT(day(2024, 1, 1)));
    EXPECT_FALSE(day(2024, 1, 1).isLaterThan_VT(day(2024, 1, 1)));
    EXPECT_TRUE(day(2024, 1, 1).isEarlierThan_VT(day(2024, 1, 2)));
    EXPECT_TRUE(day(2024, 1, 1).isOnOrAfter_vt(day(2024, 1, 1)));
    EXPECT_TRUE(day(2024, 1, 1).isOnOrBefore_vt(day(2024, 1, 1)));
    EXPECT_FALSE(day(2024, 1, 2).isOnOrBefore_vt(day(2024, 1, 1)));
}

TEST(Day, FindsTheMondayOfItsWeek) {
    // 2026-12-06 is a Sunday: its week began on Monday, November 30.
    EXPECT_EQ(day(2026, 12, 6).weekday_vt(), 1);
    EXPECT_EQ(day(2026, 12, 6).beginningOfWeek_vt(), day(2026, 11, 30));
    EXPECT_EQ(day(2026, 11, 30).beginningOfWeek_vt(), day(2026, 11, 30));
    EXPECT_EQ(day(2026, 12, 5).beginningOfWeek_vt(), day(2026, 11, 30));
    EXPECT_EQ(day(2027, 1, 1).beginningOfWeek_vt(), day(2026, 12, 28));
}

TEST(Day, FindsMonthAndYearBoundaries) {
    EXPECT_EQ(day(2024, 2, 10).beginningOfMonth_vt(), day(2024, 2, 1));
    EXPECT_EQ(day(2024, 2, 10).endOfMonth_vt(), day(2024, 2, 29));
    EXPECT_EQ(day(2023, 2, 10).endOfMonth_vt(), day(2023, 2, 28));
    EXPECT_EQ(day(2023, 12, 31).endOfMonth_vt(), day(2023, 12, 31));
    EXPECT_EQ(day(2024, 7, 4).beginningOfYear_vt(), day(2024, 1, 1));
    EXPECT_EQ(day(2024, 7, 4).endOfYear_vt(), day(2024, 12, 31));
}

TEST(Day, ListsMonthEnds) {
    EXPECT_EQ(Day::monthsFromStartDate(day(2023, 12, 15), day(2024, 3, 2)),
              (std::vector<Day>{day(2023, 12, 31), day(2024, 1, 31), day(2024, 2, 29), day(2024, 3, 31)}));
    EXPECT_EQ(Day::monthsFromStartDate(day(2024, 5, 31), day(2024, 5, 1)),
              std::vector<Day>{day(2024, 5, 31)});
    EXPECT_TRUE(Day::monthsFromStartDate(day(2024, 6, 1), day(2024, 5, 31)).empty());
    EXPECT_EQ(Day::monthsFromStartDate(day(2000, 1, 1), day(2019, 12, 31)).size(), 240U);
}

TEST(Day, TodayIsTheDateOnTheUsersClock) {
    // 04:30 UTC on March 4 is 23:30 on March 3 five hours west of Greenwich.
    const QDateTime instant = utc(2026, 3, 4, 4, 30);
    EXPECT_EQ(Day::today_VT(FixedClock(instant, QTimeZone(-5 * 3600))), day(2026, 3, 3));
    EXPECT_EQ(Day::today_VT(FixedClock(instant, QTimeZone("America/New_York"))), day(2026, 3, 3));
    EXPECT_EQ(Day::today_VT(FixedClock(instant, QTimeZone::utc())), day(2026, 3, 4));
    EXPECT_EQ(Day::today_VT(FixedClock(utc(2026, 3, 3, 12, 0), QTimeZone("Pacific/Kiritimati"))),
              day(2026, 3, 4));

    FixedClock clock(instant, QTimeZone(-5 * 3600));
    clock.advanceSeconds(30 * 60);
    EXPECT_EQ(Day::today_VT(clock), day(2026, 3, 4));
}

TEST(Day, CountsLocalCalendarDaysBetweenInstants) {
    const QTimeZone berlin("Europe/Berlin");
    const auto local = [&berlin](int month, int day, int hour, int minute) {
        return QDateTime(QDate(2026, month, day), QTime(hour, minute), berlin);
    };
    // One hour apart, but on either side of local midnight.
    EXPECT_EQ(vantrel::model::daysSince_VT(local(3, 5, 0, 30), local(3, 4, 23, 30), berlin), 1);
    EXPECT_EQ(vantrel::model::daysSince_VT(local(3, 4, 23, 30), local(3, 4, 0, 30), berlin), 0);
    // Across the spring change of clocks (a 23-hour day) the count stays in calendar days.
    EXPECT_EQ(vantrel::model::daysSince_VT(local(3, 30, 0, 30), local(3, 28, 23, 30), berlin), 2);
    EXPECT_EQ(vantrel::model::daysSince_VT(local(3, 28, 23, 30), local(3, 30, 0, 30), berlin), -2);
    EXPECT_EQ(Day::utcDateFromLocalDate_VT(utc(2026, 3, 4, 23, 30), berlin), day(2026, 3, 5));
}

TEST(Day, StampsInstantsInTheUsersTimeZone) {
    const QDateTime instant = QDateTime(QDate(2026, 12, 6), QTime(8, 4, 5), QTimeZone::utc());
    EXPECT_EQ(vantrel::model::toTimestamp_vt(instant, QTimeZone("Europe/Berlin")),
              QStringLiteral("2026-12-06_09-04-05"));
    EXPECT_EQ(vantrel::model::toTimestamp_vt(instant, QTimeZone(-10 * 3600)),
              QStringLiteral("2026-12-05_22-04-05"));
    EXPECT_EQ(vantrel::model::timestampNow_vt(FixedClock(instant, QTimeZone::utc())),
              QStringLiteral("2026-12-06_08-04-05"));
}
