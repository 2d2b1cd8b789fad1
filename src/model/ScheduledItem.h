#pragma once

#include "model/EntityObject.h"
#include "model/RepeatRuleArchive.h"
#include "platform/objectstore/ValidationError.h"
#include "platform/objectstore/ValidationPhase.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace vantrel::model {

// A planned, possibly recurring payment, deposit or transfer: the typed face of a "ScheduledItem"
// object. Relationships to accounts and categories are raw objects until those classes have typed
// handles.
class ScheduledItem : public EntityObject {
public:
    static constexpr auto kEntity = "ScheduledItem";
    static constexpr auto kDayRepeat = "Day";
    static constexpr auto kWeekRepeat = "Week";
    static constexpr auto kMonthRepeat = "Month";

    // How soon the item is due: by whole days from today, below 1, below 8, below 31, later.
    enum class State { Due, Within7Days, Within30Days, Later };

    explicit ScheduledItem(objectstore::ManagedObject* object);
    static ScheduledItem insertInContext(objectstore::Context& context);

    QString cloudID() const;
    QString title() const;
    void setTitle(const QString& title);
    std::optional<Amount> amount() const;
    void setAmount(const std::optional<Amount>& amount);
    std::optional<Day> nextDueDate() const;
    void setNextDueDate(const std::optional<Day>& day);
    // "Day", "Week" or "Month"; null = does not repeat.
    QString repeatType() const;
    void setRepeatType(const QString& repeatType);
    std::optional<std::int64_t> repeatInterval() const;
    void setRepeatInterval(const std::optional<std::int64_t>& interval);
    // Whether a rules archive is stored at all, readable or not.
    bool hasRepeatRules() const;
    // Nothing when absent, and also when the stored archive cannot be read (validation reports that
    // as rules of the wrong class).
    std::optional<std::vector<RepeatRule>> repeatRules() const;
    // An empty list is stored as absent: the attribute never holds an empty array.
    void setRepeatRules(const std::optional<std::vector<RepeatRule>>& rules);
    std::optional<std::int64_t> endsAfter() const;
    void setEndsAfter(const std::optional<std::int64_t>& count);
    QString notes() const;
    void setNotes(const QString& notes);
    QString paymentURL() const;
    void setPaymentURL(const QString& url);
    QString paymentInstructions() const;
    void setPaymentInstructions(const QString& instructions);
    std::optional<std::int64_t> reminderDays() const;
    void setReminderDays(const std::optional<std::int64_t>& days);
    // Absent reads as false.
    bool hasReminded() const;
    void setHasReminded(bool reminded);

    objectstore::ManagedObject* account() const;
    void setAccount(objectstore::ManagedObject* account);
    // Present = the item is a transfer into this account.
    objectstore::ManagedObject* toAccount() const;
    void setToAccount(objectstore::ManagedObject* account);
    objectstore::ManagedObject* category() const;
    void setCategory(objectstore::ManagedObject* category);

    bool repeats() const;
    bool isTransfer() const;
    // A missing amount counts as zero, which is an expense.
    bool isDeposit() const;
    bool isExpense() const;
    bool hasReminder() const;

    // The stored rules when there are any; otherwise, for a weekly or monthly item with a due date,
    // the rule its due date satisfies. Empty for one-time and daily items.
    std::vector<RepeatRule> effectiveRules() const;
    // Daily items include every day, one-time items only their due date, the others the days any
    // effective rule matches.
    bool includes(const Day& day) const;
    // The rule `date` satisfies for "Week" or "Month" (the last day of a month gives the last-day
    // rule). Any other repeat type is an InternalError.
    static RepeatRule componentForDate(const Day& date, const QString& repeatType);

    // The occurrence dates from the due date through `end`, at most `limit` of them (negative:
    // unlimited). Stepping is one day at a time, so callers bound `end` or the limit.
    std::vector<Day> upcomingDatesUntil(const Day& end, int limit) const;
    // Limited by endsAfter when present.
    std::vector<Day> upcomingDatesUntil(const Day& end) const;
    // Advances past the current occurrence (counting down endsAfter, clearing hasReminded), or
    // deletes the item when it does not repeat or this was its last occurrence.
    void skip();

    bool isDue(const Day& today) const;
    // Negative when overdue.
    int daysBeforeDue(const Day& today) const;
    bool shouldRemind(const Day& today) const;
    bool shouldColorRed(const Day& today) const;
    State state(const Day& today) const;
    // paymentURL with "http://" in front unless it has a web scheme already.
    QString fullURL() const;

    // Repairs of the repeat-setting and transfer-amount errors.
    void fixRepeatSettings();
    void fixTransferAmount();
    // Moves the due date forward to the first day on or after it that the item falls on, skipping
    // the inactive periods of an interval of 2 or more. endsAfter below 1 is an InternalError.
    void adjustNextDueDate();

    static std::optional<objectstore::ValidationError> validate(objectstore::ManagedObject& object,
                                                                objectstore::ValidationPhase phase);

private:
    struct Indexes;
    static const Indexes& ix();

    // False when the stored rules cannot be read or one of them is of the other kind than the
    // weekly or monthly repeat type asks for.
    bool rulesSuitRepeatType() const;
};

} // namespace vantrel::model
