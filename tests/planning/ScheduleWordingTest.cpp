#include "planning/DueDateDescription.h"
#include "planning/PlanningFixture.h"
#include "planning/ScheduleText.h"

#include <gtest/gtest.h>

using vantrel::model::DIMonth;
using vantrel::model::DIWeek;
using vantrel::model::RepeatRule;
using vantrel::model::ScheduledItem;
using vantrel::planning::DueDateDescription;
using vantrel::planning::ScheduleText;
using vantrel::testsupport::day;
using vantrel::testsupport::utf8;

namespace {

using Type = DueDateDescription::Type;

const auto kToday = day(2024, 3, 15);

// "type count text" of the description of a due date that many days from today.
std::string describedIn(int days) {
    const auto due = kToday.advanceDays_VT(days);
    const DueDateDescription description = DueDateDescription::describe(due, kToday);
    return utf8(QStringLiteral("%1 %2 %3")
                    .arg(description.typeKey())
                    .arg(description.count)
                    .arg(description.text(due, QStringLiteral("en_US"))));
}

TEST(DueDateDescriptionTest, NamesNearDaysAndCountsTheRestUpToAWeekAhead) {
    EXPECT_EQ(describedIn(-30), "days ago 30 30 days ago");
    EXPECT_EQ(describedIn(-2), "days ago 2 2 days ago");
    EXPECT_EQ(describedIn(-1), "yesterday 0 Yesterday");
    EXPECT_EQ(describedIn(0), "today 0 Today");
    EXPECT_EQ(describedIn(1), "tomorrow 0 Tomorrow");
    EXPECT_EQ(describedIn(2), "in days 2 In 2 days");
    EXPECT_EQ(describedIn(7), "in days 7 In 7 days");
    EXPECT_EQ(describedIn(8), "date 0 Mar 23");
    EXPECT_EQ(describedIn(300), "date 0 Jan 9");
    EXPECT_EQ(DueDateDescription::describe(day(2024, 3, 16), kToday).type, Type::Tomorrow);
}

class ScheduleTextTest : public vantrel::testsupport::PlanningFixture {
protected:
    vantrel::model::Account account = newAccount(QStringLiteral("Checking"));
};

TEST_F(ScheduleTextTest, RepeatDescriptionNamesTheCadence) {
    auto item = oneTimeItem(account, QStringLiteral("Bill"), "-10", kToday);
    EXPECT_EQ(ScheduleText::repeatDescription(item), QStringLiteral("Never"));

    auto weekly = weeklyItem(account, QStringLiteral("Bill"), "-10", kToday);
    EXPECT_EQ(ScheduleText::repeatDescription(weekly), QStringLiteral("Weekly"));
    weekly.setRepeatInterval(2);
    EXPECT_EQ(ScheduleText::repeatDescription(weekly), QStringLiteral("Every 2 Weeks"));
    weekly.setRepeatRules(std::vector<RepeatRule>{DIWeek(6)});
    EXPECT_EQ(ScheduleText::repeatDescription(weekly), QStringLiteral("Weekly (Custom)"));

    auto monthly = monthlyItem(account, QStringLiteral("Bill"), "-10", kToday);
    EXPECT_EQ(ScheduleText::repeatDescription(monthly), QStringLiteral("Monthly"));
    monthly.setRepeatInterval(3);
    EXPECT_EQ(ScheduleText::repeatDescription(monthly), QStringLiteral("Every 3 Months"));
    monthly.setRepeatRules(std::vector<RepeatRule>{DIMonth(15)});
    EXPECT_EQ(ScheduleText::repeatDescription(monthly), QStringLiteral("Monthly (Custom)"));
}

TEST_F(ScheduleTextTest, ActionTitleAndGroupTitles) {
    auto payment = oneTimeItem(account, QStringLiteral("Bill"), "0", kToday);
    EXPECT_EQ(ScheduleText::actionTitle(payment), QStringLiteral("Pay"));
    payment.setAmount(vantrel::testsupport::amount("0.01"));
    EXPECT_EQ(ScheduleText::actionTitle(payment), QStringLiteral("Deposit"));
    auto savings = newAccount(QStringLiteral("Savings"));
    auto transfer = transferItem(account, savings, QStringLiteral("Save"), "-5", kToday);
    EXPECT_EQ(ScheduleText::actionTitle(transfer), QStringLiteral("Transfer"));

    EXPECT_EQ(ScheduleText::groupTitle(ScheduledItem::State::Due), QStringLiteral("Due Now"));
    EXPECT_EQ(ScheduleText::groupTitle(ScheduledItem::State::Within7Days), QStringLiteral("Within 7 Days"));
    EXPECT_EQ(ScheduleText::groupTitle(ScheduledItem::State::Within30Days), QStringLiteral("Within 30 Days"));
    EXPECT_EQ(ScheduleText::groupTitle(ScheduledItem::State::Later), QStringLiteral("Later"));
}

} // namespace
