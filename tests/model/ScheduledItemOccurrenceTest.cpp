#include "model/DataModel.h"
#include "model/ScheduledItem.h"
#include "platform/InternalError.h"
#include "platform/objectstore/Context.h"
#include "platform/objectstore/MemoryStore.h"
#include "support/ModelValues.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::SizeIs;
using vantrel::model::DataModel;
using vantrel::model::Day;
using vantrel::model::DIMonth;
using vantrel::model::DIWeek;
using vantrel::model::RepeatRule;
using vantrel::model::ScheduledItem;
using vantrel::objectstore::Context;
using vantrel::objectstore::MemoryStore;
using vantrel::platform::InternalError;
using vantrel::testsupport::amount;
using vantrel::testsupport::day;

namespace {

constexpr int kSundayNumber = 1;
constexpr int kMondayNumber = 2;
constexpr int kWednesdayNumber = 4;
constexpr int kFridayNumber = 6;
constexpr int kSaturdayNumber = 7;

const QString kWeek = QLatin1String(ScheduledItem::kWeekRepeat);
const QString kMonth = QLatin1String(ScheduledItem::kMonthRepeat);
const QString kDaily = QLatin1String(ScheduledItem::kDayRepeat);

// 2024-01-01 is a Monday; 2024 is a leap year.
const Day kMonday1Jan = day(2024, 1, 1);
const Day kFarEnd = day(2030, 12, 31);

class ScheduledItemOccurrenceTest : public ::testing::Test {
protected:
    ScheduledItem oneTime(const Day& due) {
        ScheduledItem item = ScheduledItem::insertInContext(context);
        item.setTitle(QStringLiteral("Insurance"));
        item.setAmount(amount("-90"));
        item.setAccount(account);
        item.setNextDueDate(due);
        return item;
    }

    ScheduledItem repeating(const QString& type, const Day& due, std::int64_t interval = 1,
                            std::optional<std::vector<RepeatRule>> rules = std::nullopt) {
        ScheduledItem item = oneTime(due);
        item.setRepeatType(type);
        item.setRepeatInterval(interval);
        item.setRepeatRules(rules);
        return item;
    }

    // The due dates an item walks through when skipped `count` times.
    static std::vector<Day> dueDatesWhenSkipped(ScheduledItem& item, int count) {
        std::vector<Day> dates;
        for (int i = 0; i < count; ++i) {
            item.skip();
            dates.push_back(*item.nextDueDate());
        }
        return dates;
    }

    std::shared_ptr<MemoryStore> store = std::make_shared<MemoryStore>(DataModel::description());
    Context context{store};
    vantrel::objectstore::ManagedObject* account = context.insert(u"Account");
};

TEST_F(ScheduledItemOccurrenceTest, EveryTwoWeeksSkipsTheWeekAfterEachActiveWeek) {
    const ScheduledItem mondayFriday = repeating(
        kWeek, kMonday1Jan, 2, std::vector<RepeatRule>{DIWeek(kMondayNumber), DIWeek(kFridayNumber)});
    EXPECT_THAT(mondayFriday.upcomingDatesUntil(day(2024, 2, 2)),
                ElementsAre(day(2024, 1, 1), day(2024, 1, 5), day(2024, 1, 15), day(2024, 1, 19),
                            day(2024, 1, 29), day(2024, 2, 2)));

    ScheduledItem wednesday = repeating(kWeek, day(2024, 1, 3), 2);
    EXPECT_THAT(wednesday.upcomingDatesUntil(day(2024, 1, 31)),
                ElementsAre(day(2024, 1, 3), day(2024, 1, 17), day(2024, 1, 31)));
    wednesday.skip();
    EXPECT_EQ(wednesday.nextDueDate(), day(2024, 1, 17));

    // Weeks run Sunday to Saturday: the Sunday after a Saturday due date already starts a skipped
    // week, while a Sunday rule in the due date's week is still active.
    ScheduledItem saturday = repeating(kWeek, day(2024, 1, 6), 2);
    saturday.skip();
    EXPECT_EQ(saturday.nextDueDate(), day(2024, 1, 20));
    const ScheduledItem sundayAndSaturday = repeating(
        kWeek, day(2023, 12, 31), 2, std::vector<RepeatRule>{DIWeek(kSundayNumber), DIWeek(kSaturdayNumber)});
    EXPECT_THAT(sundayAndSaturday.upcomingDatesUntil(day(2024, 1, 20)),
                ElementsAre(day(2023, 12, 31), day(2024, 1, 6), day(2024, 1, 14), day(2024, 1, 20)));
}

TEST_F(ScheduledItemOccurrenceTest, WeeklyItemsKeepWeekendDates) {
    const ScheduledItem sunday = repeating(kWeek, day(2024, 1, 7));
    EXPECT_THAT(sunday.upcomingDatesUntil(day(2024, 1, 21)),
                ElementsAre(day(2024, 1, 7), day(2024, 1, 14), day(2024, 1, 21)));
}

TEST_F(ScheduledItemOccurrenceTest, EveryThreeMonthsSkipsTwoMonths) {
    ScheduledItem quarterly = repeating(kMonth, day(2024, 1, 15), 3, std::vector<RepeatRule>{DIMonth(15)});
    EXPECT_THAT(quarterly.upcomingDatesUntil(day(2025, 1, 15)),
                ElementsAre(day(2024, 1, 15), day(2024, 4, 15), day(2024, 7, 15), day(2024, 10, 15),
                            day(2025, 1, 15)));
    quarterly.skip();
    EXPECT_EQ(quarterly.nextDueDate(), day(2024, 4, 15));

    // Several days of the month within the active month.
    const ScheduledItem twiceEveryOther = repeating(
        kMonth, day(2024, 1, 1), 2, std::vector<RepeatRule>{DIMonth(1), DIMonth(DIMonth::kLastDay)});
    EXPECT_THAT(twiceEveryOther.upcomingDatesUntil(day(2024, 5, 31)),
                ElementsAre(day(2024, 1, 1), day(2024, 1, 31), day(2024, 3, 1), day(2024, 3, 31),
                            day(2024, 5, 1), day(2024, 5, 31)));
}

TEST_F(ScheduledItemOccurrenceTest, DaysTheMonthLacksFallOnItsLastDay) {
    const ScheduledItem thirtyFirst =
        repeating(kMonth, day(2024, 1, 31), 1, std::vector<RepeatRule>{DIMonth(31)});
    EXPECT_THAT(thirtyFirst.upcomingDatesUntil(day(2024, 5, 1)),
                ElementsAre(day(2024, 1, 31), day(2024, 2, 29), day(2024, 3, 31), day(2024, 4, 30)));

    const ScheduledItem thirtieth =
        repeating(kMonth, day(2025, 1, 30), 1, std::vector<RepeatRule>{DIMonth(30)});
    EXPECT_THAT(thirtieth.upcomingDatesUntil(day(2025, 4, 30)),
                ElementsAre(day(2025, 1, 30), day(2025, 2, 28), day(2025, 3, 30), day(2025, 4, 30)));
}

TEST_F(ScheduledItemOccurrenceTest, MonthlyItemWithoutRulesDriftsToLastDaysAfterAShortMonth) {
    ScheduledItem leap = repeating(kMonth, day(2024, 1, 30));
    EXPECT_THAT(dueDatesWhenSkipped(leap, 4),
                ElementsAre(day(2024, 2, 29), day(2024, 3, 31), day(2024, 4, 30), day(2024, 5, 31)));

    ScheduledItem common = repeating(kMonth, day(2025, 1, 30));
    EXPECT_THAT(dueDatesWhenSkipped(common, 2), ElementsAre(day(2025, 2, 28), day(2025, 3, 31)));

    // The 31st is the last day of January, so the derived rule is "last day" from the start.
    ScheduledItem lastDay = repeating(kMonth, day(2025, 1, 31));
    EXPECT_THAT(lastDay.upcomingDatesUntil(day(2025, 4, 30)),
                ElementsAre(day(2025, 1, 31), day(2025, 2, 28), day(2025, 3, 31), day(2025, 4, 30)));

    // An ordinary day stays put.
    ScheduledItem fifteenth = repeating(kMonth, day(2025, 1, 15));
    EXPECT_THAT(dueDatesWhenSkipped(fifteenth, 2), ElementsAre(day(2025, 2, 15), day(2025, 3, 15)));
}

TEST_F(ScheduledItemOccurrenceTest, DailyItemsFallOnEveryNthDay) {
    EXPECT_THAT(repeating(kDaily, kMonday1Jan).upcomingDatesUntil(day(2024, 1, 3)),
                ElementsAre(day(2024, 1, 1), day(2024, 1, 2), day(2024, 1, 3)));
    EXPECT_THAT(repeating(kDaily, kMonday1Jan, 3).upcomingDatesUntil(day(2024, 1, 10)),
                ElementsAre(day(2024, 1, 1), day(2024, 1, 4), day(2024, 1, 7), day(2024, 1, 10)));
}

TEST_F(ScheduledItemOccurrenceTest, LimitsAndEndDatesBoundTheDates) {
    const ScheduledItem weekly = repeating(kWeek, kMonday1Jan);
    EXPECT_THAT(weekly.upcomingDatesUntil(kFarEnd, 0), IsEmpty());
    EXPECT_THAT(weekly.upcomingDatesUntil(kFarEnd, 2), ElementsAre(day(2024, 1, 1), day(2024, 1, 8)));
    EXPECT_THAT(weekly.upcomingDatesUntil(day(2024, 1, 21), -1), SizeIs(3));
    // The end date is included; an end before the due date gives nothing.
    EXPECT_THAT(weekly.upcomingDatesUntil(day(2024, 1, 8)), ElementsAre(day(2024, 1, 1), day(2024, 1, 8)));
    EXPECT_THAT(weekly.upcomingDatesUntil(day(2023, 12, 31)), IsEmpty());

    ScheduledItem threeTimes = repeating(kWeek, kMonday1Jan);
    threeTimes.setEndsAfter(3);
    EXPECT_THAT(threeTimes.upcomingDatesUntil(kFarEnd),
                ElementsAre(day(2024, 1, 1), day(2024, 1, 8), day(2024, 1, 15)));
    // An explicit limit overrides the remaining count.
    EXPECT_THAT(threeTimes.upcomingDatesUntil(kFarEnd, 5), SizeIs(5));
}

TEST_F(ScheduledItemOccurrenceTest, OneTimeItemsHaveOnlyTheirDueDate) {
    const ScheduledItem item = oneTime(day(2024, 3, 1));
    EXPECT_THAT(item.upcomingDatesUntil(kFarEnd), ElementsAre(day(2024, 3, 1)));
    EXPECT_THAT(item.upcomingDatesUntil(day(2024, 3, 1)), ElementsAre(day(2024, 3, 1)));
    EXPECT_THAT(item.upcomingDatesUntil(day(2024, 2, 29)), IsEmpty());
    EXPECT_THAT(item.upcomingDatesUntil(kFarEnd, 0), IsEmpty());
}

TEST_F(ScheduledItemOccurrenceTest, RulesOfTheWrongKindGiveWayToTheDueDatesOwnRule) {
    // What repair would leave: the weekday of the due date, not an endless search.
    ScheduledItem weekly = repeating(kWeek, kMonday1Jan, 1, std::vector<RepeatRule>{DIMonth(15)});
    EXPECT_THAT(weekly.upcomingDatesUntil(day(2024, 1, 15)),
                ElementsAre(day(2024, 1, 1), day(2024, 1, 8), day(2024, 1, 15)));
    weekly.skip();
    EXPECT_EQ(weekly.nextDueDate(), day(2024, 1, 8));

    const ScheduledItem monthly =
        repeating(kMonth, day(2024, 1, 31), 1, std::vector<RepeatRule>{DIWeek(kMondayNumber)});
    EXPECT_THAT(monthly.upcomingDatesUntil(day(2024, 3, 1)), ElementsAre(day(2024, 1, 31), day(2024, 2, 29)));
}

TEST_F(ScheduledItemOccurrenceTest, AnUnknownRepeatTypeIsAProgrammingError) {
    const ScheduledItem item = repeating(QStringLiteral("Fortnight"), kMonday1Jan);
    EXPECT_THROW(item.upcomingDatesUntil(kFarEnd, 1), InternalError);
    EXPECT_FALSE(item.includes(kMonday1Jan));
}

TEST_F(ScheduledItemOccurrenceTest, SkipCountsDownClearsTheReminderAndDeletesTheLastOccurrence) {
    ScheduledItem item = repeating(kMonth, day(2024, 1, 10));
    item.setEndsAfter(2);
    item.setReminderDays(3);
    item.setHasReminded(true);
    item.skip();
    EXPECT_EQ(item.nextDueDate(), day(2024, 2, 10));
    EXPECT_EQ(item.endsAfter(), 1);
    EXPECT_FALSE(item.hasReminded());
    EXPECT_FALSE(item.isDeleted());

    item.skip();
    EXPECT_TRUE(item.isDeleted());

    ScheduledItem once = oneTime(day(2024, 1, 10));
    once.skip();
    EXPECT_TRUE(once.isDeleted());

    // Without an end the item just moves on.
    ScheduledItem endless = repeating(kWeek, kMonday1Jan);
    endless.skip();
    EXPECT_EQ(endless.nextDueDate(), day(2024, 1, 8));
    EXPECT_FALSE(endless.endsAfter());
}

TEST_F(ScheduledItemOccurrenceTest, AdjustNextDueDateMovesToTheFirstIncludedDay) {
    ScheduledItem wednesdays =
        repeating(kWeek, kMonday1Jan, 1, std::vector<RepeatRule>{DIWeek(kWednesdayNumber)});
    wednesdays.adjustNextDueDate();
    EXPECT_EQ(wednesdays.nextDueDate(), day(2024, 1, 3));

    ScheduledItem daily = repeating(kDaily, kMonday1Jan, 3);
    daily.adjustNextDueDate();
    EXPECT_EQ(daily.nextDueDate(), kMonday1Jan);
}

TEST_F(ScheduledItemOccurrenceTest, DueStateFollowsWholeDaysFromToday) {
    const Day today = day(2024, 6, 10);
    const auto stateIn = [&](int days) { return oneTime(today.advanceDays_VT(days)).state(today); };
    EXPECT_EQ(stateIn(-3), ScheduledItem::State::Due);
    EXPECT_EQ(stateIn(0), ScheduledItem::State::Due);
    EXPECT_EQ(stateIn(1), ScheduledItem::State::Within7Days);
    EXPECT_EQ(stateIn(7), ScheduledItem::State::Within7Days);
    EXPECT_EQ(stateIn(8), ScheduledItem::State::Within30Days);
    EXPECT_EQ(stateIn(30), ScheduledItem::State::Within30Days);
    EXPECT_EQ(stateIn(31), ScheduledItem::State::Later);

    const ScheduledItem overdue = oneTime(day(2024, 6, 7));
    EXPECT_EQ(overdue.daysBeforeDue(today), -3);
    EXPECT_TRUE(overdue.isDue(today));
    EXPECT_TRUE(oneTime(today).isDue(today));
    EXPECT_FALSE(oneTime(day(2024, 6, 11)).isDue(today));
    EXPECT_EQ(oneTime(day(2024, 6, 11)).daysBeforeDue(today), 1);

    // Without a due date an item is never due.
    ScheduledItem undated = oneTime(today);
    undated.setNextDueDate(std::nullopt);
    EXPECT_FALSE(undated.isDue(today));
    EXPECT_EQ(undated.state(today), ScheduledItem::State::Later);
    EXPECT_FALSE(undated.shouldColorRed(today));
}

TEST_F(ScheduledItemOccurrenceTest, RemindersStartTheGivenNumberOfDaysBeforeTheDueDate) {
    const Day today = day(2024, 6, 10);
    ScheduledItem inTen = oneTime(day(2024, 6, 20));
    EXPECT_FALSE(inTen.shouldRemind(today));
    EXPECT_FALSE(inTen.shouldColorRed(today));
    inTen.setReminderDays(10);
    EXPECT_TRUE(inTen.shouldRemind(today));
    EXPECT_TRUE(inTen.shouldColorRed(today));

    ScheduledItem inEleven = oneTime(day(2024, 6, 21));
    inEleven.setReminderDays(10);
    EXPECT_FALSE(inEleven.shouldRemind(today));
    EXPECT_FALSE(inEleven.shouldColorRed(today));

    // Overdue items keep reminding; a due item without reminder is still red.
    ScheduledItem overdue = oneTime(day(2024, 6, 1));
    overdue.setReminderDays(0);
    EXPECT_TRUE(overdue.shouldRemind(today));
    overdue.setReminderDays(std::nullopt);
    EXPECT_FALSE(overdue.shouldRemind(today));
    EXPECT_TRUE(overdue.shouldColorRed(today));
}

TEST_F(ScheduledItemOccurrenceTest, FullURLAddsAWebSchemeOnlyWhenMissing) {
    ScheduledItem item = oneTime(kMonday1Jan);
    EXPECT_TRUE(item.fullURL().isEmpty());
    item.setPaymentURL(QStringLiteral("bank.example/pay"));
    EXPECT_EQ(item.fullURL(), QStringLiteral("http://bank.example/pay"));
    item.setPaymentURL(QStringLiteral("HTTPS://Bank.example/pay"));
    EXPECT_EQ(item.fullURL(), QStringLiteral("HTTPS://Bank.example/pay"));
    item.setPaymentURL(QStringLiteral("Http://bank.example"));
    EXPECT_EQ(item.fullURL(), QStringLiteral("Http://bank.example"));
    item.setPaymentURL(QStringLiteral("httpbank.example"));
    EXPECT_EQ(item.fullURL(), QStringLiteral("http://httpbank.example"));
}

} // namespace
