// The schedule options of "scheduled add": how typed weekdays, days of the month, repeat words and
// counts become stored values, and the messages for what cannot be read.
#include "cli/ScheduleValues.h"

#include "cli/UserError.h"
#include "support/ModelValues.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using vantrel::cli::ScheduleValues;
using vantrel::cli::UserError;
using vantrel::model::DIMonth;
using vantrel::model::DIWeek;
using vantrel::model::RepeatRule;
using vantrel::testsupport::utf8;

const QString kWeek = QStringLiteral("Week");
const QString kMonth = QStringLiteral("Month");

std::string messageOf(const std::function<void()>& read) {
    try {
        read();
    } catch (const UserError& error) {
        return utf8(error.message());
    }
    return "no error";
}

TEST(ScheduleValues, WeekdaysCountFromSundayInTheOrderGivenWithoutRepeats) {
    const std::vector<RepeatRule> expected{DIWeek(2), DIWeek(6), DIWeek(1), DIWeek(7)};
    EXPECT_EQ(ScheduleValues::rules(QStringLiteral("mon, Friday,SUN,sat,monday"), kWeek), expected);
}

TEST(ScheduleValues, DaysOfTheMonthIncludeTheLastDay) {
    const std::vector<RepeatRule> expected{DIMonth(1), DIMonth(31), DIMonth(DIMonth::kLastDay)};
    EXPECT_EQ(ScheduleValues::rules(QStringLiteral("1,31,Last,1"), kMonth), expected);
}

TEST(ScheduleValues, RulesOfTheWrongKindOrOutOfRangeAreRefused) {
    EXPECT_EQ(messageOf([] { ScheduleValues::rules(QStringLiteral("mon,funday"), kWeek); }),
              "Not a weekday: funday (use sun, mon, tue, wed, thu, fri, sat)");
    EXPECT_EQ(messageOf([] { ScheduleValues::rules(QStringLiteral("15"), kWeek); }),
              "Not a weekday: 15 (use sun, mon, tue, wed, thu, fri, sat)");
    EXPECT_EQ(messageOf([] { ScheduleValues::rules(QStringLiteral("mon"), kMonth); }),
              "Not a day of the month: mon (use 1 to 31 or last)");
    EXPECT_EQ(messageOf([] { ScheduleValues::rules(QStringLiteral("32"), kMonth); }),
              "Not a day of the month: 32 (use 1 to 31 or last)");
    EXPECT_EQ(messageOf([] { ScheduleValues::rules(QStringLiteral("0"), kMonth); }),
              "Not a day of the month: 0 (use 1 to 31 or last)");
    EXPECT_EQ(messageOf([] { ScheduleValues::rules(QStringLiteral(" , "), kMonth); }),
              "No days given to repeat on:  , ");
}

TEST(ScheduleValues, RepeatWordsNameTheStoredTypeOrNone) {
    EXPECT_EQ(ScheduleValues::repeatType(QStringLiteral("WEEK")), kWeek);
    EXPECT_EQ(ScheduleValues::repeatType(QStringLiteral("month")), kMonth);
    EXPECT_TRUE(ScheduleValues::repeatType(QStringLiteral("None")).isNull());
    EXPECT_EQ(messageOf([] { ScheduleValues::repeatType(QStringLiteral("day")); }),
              "Unknown repeat: day (use week, month or none)");
}

TEST(ScheduleValues, CountsAreWholeNumbersFromTheirMinimum) {
    EXPECT_EQ(ScheduleValues::wholeNumber(QStringLiteral("1"), 1, QStringLiteral("The interval")), 1);
    EXPECT_EQ(ScheduleValues::wholeNumber(QStringLiteral("0"), 0, QStringLiteral("Reminder days")), 0);
    EXPECT_EQ(messageOf([] {
                  ScheduleValues::wholeNumber(QStringLiteral("0"), 1, QStringLiteral("The interval"));
              }),
              "The interval must be a whole number of at least 1: 0");
    EXPECT_EQ(messageOf([] {
                  ScheduleValues::wholeNumber(QStringLiteral("2.5"), 1, QStringLiteral("Ends after"));
              }),
              "Ends after must be a whole number of at least 1: 2.5");
    EXPECT_EQ(messageOf([] {
                  ScheduleValues::wholeNumber(QStringLiteral("-3"), 0, QStringLiteral("Reminder days"));
              }),
              "Reminder days must be a whole number of at least 0: -3");
}

} // namespace
