#pragma once

#include "app/CommandOutcome.h"
#include "model/AmountFieldModel.h"
#include "model/Day.h"
#include "model/IcuBridge.h"
#include "model/ScheduledItem.h"

#include <QString>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

namespace vantrel::objectstore {
class ManagedObject;
}

namespace vantrel::app {

class Workspace;

// The scheduled-transaction sheet without its widgets: the fields of a new or existing item, the
// rules that tie them together (repeat, custom rule rows, ends, transfer, reminder), and the save.
class ScheduledEditorModel {
public:
    enum class Repeat { Never, Week, Month };

    // One entry of a rule row's menu; separators have no title.
    struct RuleChoice {
        QString title;
        int value = 0;
        bool isSeparator = false;
    };

    static constexpr int kDefaultReminderDays = 10;
    static constexpr int kDefaultEndsAfter = 10;

    // A new item with the editor's defaults.
    explicit ScheduledEditorModel(Workspace& workspace,
                                  QString localeId = model::IcuBridge::systemLocaleId());
    // The fields of an existing item; saving changes it.
    ScheduledEditorModel(Workspace& workspace, const model::ScheduledItem& item,
                         QString localeId = model::IcuBridge::systemLocaleId());

    bool isNew() const { return !m_item.has_value(); }
    // "New Scheduled Transaction" / "Edit Scheduled Transaction".
    QString sheetTitle() const;
    // "Create" / "Save".
    QString confirmTitle() const;

    const QString& title() const { return m_title; }
    void setTitle(const QString& title) { m_title = title; }
    const QString& notes() const { return m_notes; }
    void setNotes(const QString& notes) { m_notes = notes; }

    const model::Day& dueDate() const { return m_dueDate; }
    // Discards the custom rule rows: they were derived from the old date.
    void setDueDate(const model::Day& date);
    // "Due Date:" for a one-time item, "Next Due Date:" for a repeating one.
    QString dueDateLabel() const;

    Repeat repeat() const { return m_repeat; }
    // Discards the custom rule rows.
    void setRepeat(Repeat repeat);
    bool repeats() const { return m_repeat != Repeat::Never; }
    // At least 1.
    int interval() const { return m_interval; }
    void setInterval(int interval) { m_interval = std::max(interval, 1); }
    // What the interval field holds: empty or unreadable text, or a number below 1, is 1.
    void setIntervalText(const QString& text);
    // "week"/"weeks", "month"/"months" by the interval; empty for a one-time item.
    QString intervalUnit() const;

    // Custom rules: the values of the shown rows (weekday 1..7 from Sunday, or day of month 1..31
    // and -1 for the last day).
    bool showsRules() const { return !m_ruleRows.empty(); }
    const std::vector<int>& ruleRows() const { return m_ruleRows; }
    // Opens the rules with one row preset to the rule the due date satisfies.
    void showRules();
    // A new row at Sunday or at the 1st.
    void addRuleRow();
    void removeRuleRow(std::size_t row);
    void setRuleRow(std::size_t row, int value);
    // "On:" for the first row, "And On:" for the others.
    static QString ruleRowLabel(std::size_t row);
    // The menu of a rule row for the current repeat type.
    std::vector<RuleChoice> ruleChoices() const;
    // "1st day", "2nd day", "11th day", "23rd day", ...
    static QString ordinalDay(int day);

    // Off: the item never ends; on: it ends after endsAfter() occurrences (10 until changed).
    bool endsAfterCount() const { return m_endsAfterCount; }
    void setEndsAfterCount(bool on) { m_endsAfterCount = on; }
    int endsAfter() const { return m_endsAfter; }
    // At least 1.
    void setEndsAfter(int count) { m_endsAfter = std::max(count, 1); }
    // Empty text is 10 again; unreadable text or a number below 1 is 1.
    void setEndsAfterText(const QString& text);
    // "time"/"times".
    QString endsUnit() const;

    // In transfer mode the field shows the transferred amount as a positive number and assumes no
    // sign; otherwise it assumes the sign of an expense.
    model::AmountFieldModel& amountField() { return m_amount; }
    const model::AmountFieldModel& amountField() const { return m_amount; }

    objectstore::ManagedObject* category() const { return m_category; }
    void setCategory(objectstore::ManagedObject* category) { m_category = category; }

    // Accounts in account order; the source of a transfer or the account paid from.
    std::vector<objectstore::ManagedObject*> accountChoices() const;
    objectstore::ManagedObject* account() const { return m_account; }
    void setAccount(objectstore::ManagedObject* account) { m_account = account; }
    // "From Account:" for a transfer, "Account:" otherwise.
    QString accountLabel() const;

    bool isTransfer() const { return m_isTransfer; }
    // Checking preselects the first target account (other than the source where there is one).
    void setTransfer(bool transfer);
    objectstore::ManagedObject* toAccount() const { return m_toAccount; }
    void setToAccount(objectstore::ManagedObject* account) { m_toAccount = account; }

    bool hasReminder() const { return m_hasReminder; }
    // Unchecking resets the day count to 10.
    void setReminder(bool on);
    int reminderDays() const { return m_reminderDays; }
    void setReminderDays(int days) { m_reminderDays = std::max(days, 0); }

    // Writes the fields into the item (a new one is inserted), saves and refreshes every view.
    // Refused, writing nothing, without an account or with an amount that does not read.
    CommandOutcome save();
    // The item saved last (or being edited).
    std::optional<model::ScheduledItem> item() const { return m_item; }

private:
    void load(const model::ScheduledItem& item);
    void showAmount(const model::Amount& value);
    QString repeatType() const;
    std::vector<model::RepeatRule> rules() const;
    objectstore::ManagedObject* firstTargetFor(objectstore::ManagedObject* source) const;

    Workspace& m_workspace;
    QString m_localeId;
    std::optional<model::ScheduledItem> m_item;
    QString m_title;
    QString m_notes;
    model::Day m_dueDate;
    Repeat m_repeat = Repeat::Month;
    int m_interval = 1;
    std::vector<int> m_ruleRows;
    bool m_endsAfterCount = false;
    int m_endsAfter = kDefaultEndsAfter;
    model::AmountFieldModel m_amount;
    objectstore::ManagedObject* m_category = nullptr;
    objectstore::ManagedObject* m_account = nullptr;
    bool m_isTransfer = false;
    objectstore::ManagedObject* m_toAccount = nullptr;
    bool m_hasReminder = false;
    int m_reminderDays = kDefaultReminderDays;
};

} // namespace vantrel::app
