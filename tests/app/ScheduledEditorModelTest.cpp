#include "app/ScheduledEditorModel.h"

#include "ScheduledItemFixture.h"

#include <gmock/gmock.h>

using namespace vantrel;
using app::ScheduledEditorModel;
using Repeat = app::ScheduledEditorModel::Repeat;
using testsupport::amount;
using testsupport::day;
using testsupport::utf8;

namespace {

class ScheduledEditorModelTest : public testsupport::ScheduledItemFixture {
protected:
    ScheduledEditorModel newEditor() { return ScheduledEditorModel(workspace, locale()); }
    ScheduledEditorModel editorOf(const model::ScheduledItem& item) {
        return ScheduledEditorModel(workspace, item, locale());
    }

    static std::vector<std::string> choiceTitles(const ScheduledEditorModel& editor) {
        std::vector<std::string> titles;
        for (const ScheduledEditorModel::RuleChoice& choice : editor.ruleChoices()) {
            titles.push_back(choice.isSeparator ? "---" : utf8(choice.title));
        }
        return titles;
    }

    // The item as a later session reads it.
    model::ScheduledItem saved(const ScheduledEditorModel& editor) {
        m_saved = reloaded();
        return savedItem(idOf(*editor.item()), *m_saved).value();
    }

private:
    std::unique_ptr<objectstore::Context> m_saved;
};

TEST_F(ScheduledEditorModelTest, NewItemStartsFromTheDefaults) {
    newAccount(QStringLiteral("Cash"), QStringLiteral("cash"));
    const ScheduledEditorModel editor = newEditor();
    EXPECT_TRUE(editor.isNew());
    EXPECT_EQ(utf8(editor.sheetTitle()), "New Scheduled Transaction");
    EXPECT_EQ(utf8(editor.confirmTitle()), "Create");
    EXPECT_EQ(utf8(editor.title()), "New Transaction");
    EXPECT_TRUE(editor.notes().isEmpty());
    EXPECT_EQ(editor.dueDate(), day(2024, 3, 1));
    EXPECT_EQ(editor.repeat(), Repeat::Month);
    EXPECT_EQ(editor.interval(), 1);
    EXPECT_FALSE(editor.showsRules());
    EXPECT_FALSE(editor.endsAfterCount());
    EXPECT_TRUE(editor.amountField().text().isEmpty());
    EXPECT_TRUE(editor.amountField().shouldAssumeSign());
    EXPECT_EQ(editor.category(), nullptr);
    EXPECT_EQ(editor.account(), checking.object());
    EXPECT_FALSE(editor.isTransfer());
    EXPECT_FALSE(editor.hasReminder());
    EXPECT_EQ(editor.reminderDays(), 10);
    EXPECT_EQ(utf8(editor.accountLabel()), "Account:");
    EXPECT_EQ(utf8(editor.dueDateLabel()), "Next Due Date:");
}

TEST_F(ScheduledEditorModelTest, SavingTheDefaultsMakesAMonthlyItemOfZero) {
    ScheduledEditorModel editor = newEditor();
    ASSERT_TRUE(editor.save().succeeded());
    const model::ScheduledItem item = saved(editor);
    EXPECT_EQ(utf8(item.title()), "New Transaction");
    EXPECT_EQ(item.amount(), amount("0"));
    EXPECT_EQ(utf8(item.repeatType()), "Month");
    EXPECT_EQ(item.repeatInterval(), 1);
    EXPECT_FALSE(item.hasRepeatRules());
    EXPECT_FALSE(item.endsAfter().has_value());
    EXPECT_FALSE(item.reminderDays().has_value());
    EXPECT_EQ(item.nextDueDate(), day(2024, 3, 1));
    ASSERT_NE(item.account(), nullptr);
    EXPECT_EQ(item.account()->id(), checking.object()->id());
    EXPECT_EQ(posted, QStringList{QStringLiteral("RefreshAllViews")});
}

TEST_F(ScheduledEditorModelTest, IntervalUnitFollowsTheRepeatAndTheInterval) {
    ScheduledEditorModel editor = newEditor();
    EXPECT_EQ(utf8(editor.intervalUnit()), "month");
    editor.setIntervalText(QStringLiteral("3"));
    EXPECT_EQ(utf8(editor.intervalUnit()), "months");
    editor.setRepeat(Repeat::Week);
    EXPECT_EQ(utf8(editor.intervalUnit()), "weeks");
    editor.setIntervalText(QString());
    EXPECT_EQ(editor.interval(), 1);
    EXPECT_EQ(utf8(editor.intervalUnit()), "week");
    editor.setIntervalText(QStringLiteral("0"));
    EXPECT_EQ(editor.interval(), 1);
    editor.setRepeat(Repeat::Never);
    EXPECT_EQ(utf8(editor.dueDateLabel()), "Due Date:");
}

TEST_F(ScheduledEditorModelTest, RuleRowsStartFromTheDueDateAndOfferWeekdaysOrOrdinalDays) {
    ScheduledEditorModel editor = newEditor();
    editor.setDueDate(day(2024, 3, 14));
    editor.showRules();
    EXPECT_THAT(editor.ruleRows(), ::testing::ElementsAre(14));
    editor.addRuleRow();
    EXPECT_THAT(editor.ruleRows(), ::testing::ElementsAre(14, 1));
    EXPECT_EQ(utf8(ScheduledEditorModel::ruleRowLabel(0)), "On:");
    EXPECT_EQ(utf8(ScheduledEditorModel::ruleRowLabel(1)), "And On:");
    EXPECT_EQ(utf8(ScheduledEditorModel::ruleRowLabel(2)), "And On:");

    const std::vector<std::string> monthly = choiceTitles(editor);
    ASSERT_EQ(monthly.size(), 33U);
    EXPECT_THAT(std::vector(monthly.begin(), monthly.begin() + 6),
                ::testing::ElementsAre("last day", "---", "1st day", "2nd day", "3rd day", "4th day"));
    EXPECT_EQ(monthly[2 + 10], "11th day");
    EXPECT_EQ(monthly[2 + 11], "12th day");
    EXPECT_EQ(monthly[2 + 12], "13th day");
    EXPECT_EQ(monthly[2 + 20], "21st day");
    EXPECT_EQ(monthly[2 + 21], "22nd day");
    EXPECT_EQ(monthly[2 + 22], "23rd day");
    EXPECT_EQ(monthly.back(), "31st day");
    EXPECT_EQ(editor.ruleChoices().front().value, -1);

    // Changing the repeat discards the rows; weekly rows start at the date's weekday, new ones on Sunday.
    editor.setRepeat(Repeat::Week);
    EXPECT_FALSE(editor.showsRules());
    editor.showRules();
    EXPECT_THAT(editor.ruleRows(), ::testing::ElementsAre(5)); // a Thursday
    editor.addRuleRow();
    EXPECT_THAT(editor.ruleRows(), ::testing::ElementsAre(5, 1));
    EXPECT_THAT(choiceTitles(editor), ::testing::ElementsAre("Sunday", "Monday", "Tuesday", "Wednesday",
                                                             "Thursday", "Friday", "Saturday"));
    EXPECT_EQ(editor.ruleChoices().back().value, 7);

    editor.setDueDate(day(2024, 3, 15));
    EXPECT_FALSE(editor.showsRules());
}

TEST_F(ScheduledEditorModelTest, LastDayOfAMonthPresetsTheLastDayRule) {
    ScheduledEditorModel editor = newEditor();
    editor.setDueDate(day(2024, 2, 29));
    editor.showRules();
    EXPECT_THAT(editor.ruleRows(), ::testing::ElementsAre(-1));
}

TEST_F(ScheduledEditorModelTest, CustomRulesAreSavedAndTheDueDateMovesToTheFirstMatchingDay) {
    ScheduledEditorModel editor = newEditor();
    editor.setTitle(QStringLiteral("Rent"));
    editor.showRules();
    editor.setRuleRow(0, 15);
    editor.addRuleRow();
    editor.setRuleRow(1, -1);
    editor.addRuleRow();
    editor.removeRuleRow(2);
    ASSERT_TRUE(editor.save().succeeded());

    const model::ScheduledItem item = saved(editor);
    ASSERT_TRUE(item.repeatRules().has_value());
    EXPECT_THAT(*item.repeatRules(), ::testing::ElementsAre(model::RepeatRule(model::DIMonth(15)),
                                                            model::RepeatRule(model::DIMonth(-1))));
    EXPECT_EQ(item.nextDueDate(), day(2024, 3, 15));
}

TEST_F(ScheduledEditorModelTest, RemovingEveryRuleRowSavesNoRules) {
    model::ScheduledItem item = newItem(QStringLiteral("Gym"), checking, "-40", day(2024, 3, 4), "Week");
    item.setRepeatRules(std::vector<model::RepeatRule>{model::DIWeek(2), model::DIWeek(6)});
    workspace.saveDatabase();
    ScheduledEditorModel editor = editorOf(item);
    EXPECT_THAT(editor.ruleRows(), ::testing::ElementsAre(2, 6));
    editor.removeRuleRow(0);
    editor.removeRuleRow(0);
    ASSERT_TRUE(editor.save().succeeded());
    EXPECT_FALSE(saved(editor).hasRepeatRules());
}

TEST_F(ScheduledEditorModelTest, EveryTwoWeeksFromAnUnmatchedDateMovesToTheRuleDay) {
    ScheduledEditorModel editor = newEditor();
    editor.setRepeat(Repeat::Week);
    editor.setIntervalText(QStringLiteral("2"));
    editor.showRules();
    editor.setRuleRow(0, 4); // Wednesday; the due date is a Friday
    ASSERT_TRUE(editor.save().succeeded());
    const model::ScheduledItem item = saved(editor);
    EXPECT_EQ(item.repeatInterval(), 2);
    // The week of the due date is active, the next one is skipped.
    EXPECT_EQ(item.nextDueDate(), day(2024, 3, 13));
}

TEST_F(ScheduledEditorModelTest, EndsAfterIsPrefilledWithTenAndSavedOnlyWhenChosen) {
    ScheduledEditorModel editor = newEditor();
    editor.setEndsAfterCount(true);
    EXPECT_EQ(editor.endsAfter(), 10);
    EXPECT_EQ(utf8(editor.endsUnit()), "times");
    editor.setEndsAfterText(QStringLiteral("1"));
    EXPECT_EQ(utf8(editor.endsUnit()), "time");
    editor.setEndsAfterText(QString());
    EXPECT_EQ(editor.endsAfter(), 10);
    editor.setEndsAfterText(QStringLiteral("3"));
    ASSERT_TRUE(editor.save().succeeded());
    EXPECT_EQ(saved(editor).endsAfter(), 3);

    ScheduledEditorModel again = editorOf(*editor.item());
    EXPECT_TRUE(again.endsAfterCount());
    again.setEndsAfterCount(false);
    ASSERT_TRUE(again.save().succeeded());
    EXPECT_FALSE(saved(again).endsAfter().has_value());
}

TEST_F(ScheduledEditorModelTest, OneTimeItemKeepsNoRepeatSettings) {
    model::ScheduledItem item = newItem(QStringLiteral("Loan"), checking, "-100", day(2024, 3, 10));
    item.setEndsAfter(4);
    workspace.saveDatabase();
    ScheduledEditorModel editor = editorOf(item);
    EXPECT_EQ(utf8(editor.sheetTitle()), "Edit Scheduled Transaction");
    EXPECT_EQ(utf8(editor.confirmTitle()), "Save");
    editor.setRepeat(Repeat::Never);
    ASSERT_TRUE(editor.save().succeeded());
    const model::ScheduledItem stored = saved(editor);
    EXPECT_TRUE(stored.repeatType().isNull());
    EXPECT_FALSE(stored.repeatInterval().has_value());
    EXPECT_FALSE(stored.endsAfter().has_value());
    EXPECT_EQ(stored.nextDueDate(), day(2024, 3, 10));
    EXPECT_EQ(context.all(u"ScheduledItem").size(), 1U);
}

TEST_F(ScheduledEditorModelTest, TransferShowsTheAmountPositiveAndStoresItAsLeavingTheAccount) {
    ScheduledEditorModel editor = newEditor();
    editor.amountField().setText(QStringLiteral("-250"));
    editor.setTransfer(true);
    EXPECT_EQ(utf8(editor.accountLabel()), "From Account:");
    EXPECT_EQ(editor.toAccount(), savings.object());
    EXPECT_FALSE(editor.amountField().shouldAssumeSign());
    EXPECT_EQ(utf8(editor.amountField().text()), "250.00");
    ASSERT_TRUE(editor.save().succeeded());

    model::ScheduledItem item = saved(editor);
    EXPECT_EQ(item.amount(), amount("-250"));
    ASSERT_NE(item.toAccount(), nullptr);
    EXPECT_EQ(item.toAccount()->id(), savings.object()->id());

    ScheduledEditorModel again = editorOf(*editor.item());
    EXPECT_TRUE(again.isTransfer());
    EXPECT_EQ(utf8(again.amountField().text()), "250.00");
    again.setTransfer(false);
    EXPECT_EQ(utf8(again.accountLabel()), "Account:");
    EXPECT_EQ(utf8(again.amountField().text()), "-250.00");
    ASSERT_TRUE(again.save().succeeded());
    item = saved(again);
    EXPECT_FALSE(item.isTransfer());
    EXPECT_EQ(item.amount(), amount("-250"));
}

TEST_F(ScheduledEditorModelTest, TransferDropsTheMinusSignAnExpenseFieldPrefilled) {
    ScheduledEditorModel editor = newEditor();
    editor.amountField().focusIn();
    ASSERT_EQ(utf8(editor.amountField().text()), "-");
    editor.setTransfer(true);
    EXPECT_TRUE(editor.amountField().text().isEmpty());
}

TEST_F(ScheduledEditorModelTest, TransferFromTheOnlyAccountTargetsItself) {
    context.deleteObject(savings.object());
    ScheduledEditorModel editor = newEditor();
    editor.setTransfer(true);
    EXPECT_EQ(editor.toAccount(), checking.object());
}

TEST_F(ScheduledEditorModelTest, ReminderSavesItsDaysAndUncheckingResetsThem) {
    model::ScheduledItem item = newItem(QStringLiteral("Tax"), checking, "-500", day(2024, 3, 5));
    item.setReminderDays(7);
    item.setHasReminded(true);
    workspace.saveDatabase();

    ScheduledEditorModel editor = editorOf(item);
    EXPECT_TRUE(editor.hasReminder());
    EXPECT_EQ(editor.reminderDays(), 7);
    editor.setReminderDays(3);
    editor.setReminder(false);
    EXPECT_EQ(editor.reminderDays(), 10);
    ASSERT_TRUE(editor.save().succeeded());
    model::ScheduledItem stored = saved(editor);
    EXPECT_FALSE(stored.reminderDays().has_value());
    EXPECT_FALSE(stored.hasReminded());

    ScheduledEditorModel again = editorOf(*editor.item());
    again.setReminder(true);
    again.setReminderDays(4);
    ASSERT_TRUE(again.save().succeeded());
    EXPECT_EQ(saved(again).reminderDays(), 4);
}

TEST_F(ScheduledEditorModelTest, NotesBecomeThePaymentInstructionsAndTheURLIsCleared) {
    model::ScheduledItem item = newItem(QStringLiteral("Power"), checking, "-80", day(2024, 3, 5));
    item.setPaymentURL(QStringLiteral("power.example.com"));
    workspace.saveDatabase();
    ScheduledEditorModel editor = editorOf(item);
    editor.setNotes(QStringLiteral("Customer no. 4711"));
    editor.setCategory(newCategory(QStringLiteral("Utilities")));
    ASSERT_TRUE(editor.save().succeeded());
    const model::ScheduledItem stored = saved(editor);
    EXPECT_EQ(utf8(stored.notes()), "Customer no. 4711");
    EXPECT_EQ(utf8(stored.paymentInstructions()), "Customer no. 4711");
    EXPECT_TRUE(stored.paymentURL().isEmpty());
    ASSERT_NE(stored.category(), nullptr);
}

TEST_F(ScheduledEditorModelTest, AmountThatDoesNotReadIsRefusedAndNothingIsWritten) {
    ScheduledEditorModel editor = newEditor();
    editor.amountField().setText(QStringLiteral("12abc"));
    const app::CommandOutcome outcome = editor.save();
    EXPECT_FALSE(outcome.succeeded());
    EXPECT_EQ(utf8(outcome.reason()), "\"12abc\" is not an amount.");
    EXPECT_TRUE(context.all(u"ScheduledItem").empty());
    EXPECT_TRUE(posted.isEmpty());
}

TEST_F(ScheduledEditorModelTest, TypedExpenseIsStoredNegative) {
    ScheduledEditorModel editor = newEditor();
    editor.amountField().focusIn();
    editor.amountField().insert(QStringLiteral("75.5"));
    editor.setAccount(savings.object());
    ASSERT_TRUE(editor.save().succeeded());
    const model::ScheduledItem stored = saved(editor);
    EXPECT_EQ(stored.amount(), amount("-75.50"));
    ASSERT_NE(stored.account(), nullptr);
    EXPECT_EQ(stored.account()->id(), savings.object()->id());
}

} // namespace
