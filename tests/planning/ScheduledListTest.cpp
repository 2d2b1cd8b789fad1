#include "planning/ScheduledList.h"

#include "planning/PlanningFixture.h"
#include "planning/ScheduleText.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using vantrel::model::ScheduledItem;
using vantrel::planning::ScheduledList;
using vantrel::planning::ScheduledListEntry;
using vantrel::planning::ScheduleText;
using vantrel::testsupport::day;

namespace {

// Group entries by their title, items by their own title.
std::vector<std::string> lines(const std::vector<ScheduledListEntry>& entries) {
    std::vector<std::string> result;
    for (const ScheduledListEntry& entry : entries) {
        result.push_back(entry.isGroup() ? "[" + ScheduleText::groupTitle(entry.state).toStdString() + "]"
                                         : entry.item->title().toStdString());
    }
    return result;
}

std::vector<std::string> titles(const std::vector<ScheduledItem>& items) {
    std::vector<std::string> result;
    for (const ScheduledItem& item : items) {
        result.push_back(item.title().toStdString());
    }
    return result;
}

class ScheduledListTest : public vantrel::testsupport::PlanningFixture {
protected:
    ScheduledItem dueIn(int days, const char* title) {
        return oneTimeItem(account, QString::fromUtf8(title), "-1", today().advanceDays_VT(days));
    }

    vantrel::model::Account account = newAccount(QStringLiteral("Checking"));
};

TEST_F(ScheduledListTest, GroupsByDueStateInListOrderEachSortedByDueDate) {
    // Inserted out of order on purpose.
    dueIn(31, "in 31");
    dueIn(7, "in 7");
    dueIn(0, "today");
    dueIn(8, "in 8");
    dueIn(-2, "2 ago");
    dueIn(1, "tomorrow");
    dueIn(30, "in 30");
    dueIn(400, "next year");

    const auto entries = ScheduledList::groupedItems(context, today());
    EXPECT_THAT(lines(entries),
                ElementsAre("[Due Now]", "2 ago", "today", "[Within 7 Days]", "tomorrow", "in 7",
                            "[Within 30 Days]", "in 8", "in 30", "[Later]", "in 31", "next year"));
    EXPECT_EQ(entries[1].state, ScheduledItem::State::Due);
    EXPECT_EQ(entries[4].state, ScheduledItem::State::Within7Days);
}

TEST_F(ScheduledListTest, EmptyGroupsAreLeftOut) {
    EXPECT_THAT(ScheduledList::groupedItems(context, today()), IsEmpty());
    dueIn(45, "later");
    dueIn(-1, "overdue");
    EXPECT_THAT(lines(ScheduledList::groupedItems(context, today())),
                ElementsAre("[Due Now]", "overdue", "[Later]", "later"));
}

TEST_F(ScheduledListTest, AllItemsAreInDueDateOrderWithoutDeletedOnes) {
    dueIn(5, "five");
    auto gone = dueIn(1, "one");
    dueIn(3, "three");
    context.deleteObject(gone.object());
    EXPECT_THAT(titles(ScheduledList::allItems(context)), ElementsAre("three", "five"));
}

TEST_F(ScheduledListTest, RedItemsAreDueOrInTheirReminderWindow) {
    dueIn(0, "due");
    auto reminding = dueIn(5, "reminding");
    reminding.setReminderDays(5);
    auto early = dueIn(6, "not yet");
    early.setReminderDays(5);
    dueIn(2, "no reminder");
    EXPECT_EQ(ScheduledList::countRedItems(context, today()), 2);
    EXPECT_EQ(ScheduledList::countRedItems(context, today().advanceDays_VT(1)), 3);
}

TEST_F(ScheduledListTest, CheckRemindersAnnouncesEachOccurrenceOnce) {
    auto bill = dueIn(10, "bill");
    bill.setReminderDays(10);
    auto quiet = dueIn(11, "quiet");
    quiet.setReminderDays(10);

    EXPECT_THAT(titles(ScheduledList::checkReminders(context, today())), ElementsAre("bill"));
    EXPECT_TRUE(bill.hasReminded());
    EXPECT_FALSE(quiet.hasReminded());
    EXPECT_THAT(ScheduledList::checkReminders(context, today()), IsEmpty());

    // A day later the second one's window opens.
    EXPECT_THAT(titles(ScheduledList::checkReminders(context, today().advanceDays_VT(1))),
                ElementsAre("quiet"));

    // Moved out of its window, the first one is unmarked and will remind again.
    bill.setNextDueDate(today().advanceDays_VT(60));
    EXPECT_THAT(ScheduledList::checkReminders(context, today()), IsEmpty());
    EXPECT_FALSE(bill.hasReminded());
    bill.setNextDueDate(today().advanceDays_VT(3));
    EXPECT_THAT(titles(ScheduledList::checkReminders(context, today())), ElementsAre("bill"));
}

} // namespace
