#include "model/ScheduledItem.h"

#include "model/ModelErrors.h"
#include "platform/InternalError.h"
#include "platform/objectstore/Context.h"

#include <algorithm>

namespace vantrel::model {

struct ScheduledItem::Indexes {
    static int a(const char16_t* name) { return EntityObject::attributeIndex(u"ScheduledItem", name); }
    static int r(const char16_t* name) { return EntityObject::relationshipIndex(u"ScheduledItem", name); }

    int cloudID = a(u"cloudID");
    int title = a(u"title");
    int amount = a(u"amount");
    int nextDueDate = a(u"nextDueDate");
    int repeatType = a(u"repeatType");
    int repeatInterval = a(u"repeatInterval");
    int repeatRules = a(u"repeatRules");
    int endsAfter = a(u"endsAfter");
    int notes = a(u"notes");
    int paymentURL = a(u"paymentURL");
    int paymentInstructions = a(u"paymentInstructions");
    int reminderDays = a(u"reminderDays");
    int hasReminded = a(u"hasReminded");
    int account = r(u"account");
    int toAccount = r(u"toAccount");
    int category = r(u"category");
};

const ScheduledItem::Indexes& ScheduledItem::ix() {
    static const Indexes indexes;
    return indexes;
}

namespace {

bool isWeek(const QString& repeatType) {
    return repeatType == QLatin1String(ScheduledItem::kWeekRepeat);
}

bool isMonth(const QString& repeatType) {
    return repeatType == QLatin1String(ScheduledItem::kMonthRepeat);
}

bool isDaily(const QString& repeatType) {
    return repeatType == QLatin1String(ScheduledItem::kDayRepeat);
}

bool ruleIncludes(const RepeatRule& rule, const Day& day) {
    return std::visit([&day](const auto& r) { return r.includes(day); }, rule);
}

bool anyRuleIncludes(const std::vector<RepeatRule>& rules, const Day& day) {
    return std::any_of(rules.begin(), rules.end(),
                       [&day](const RepeatRule& rule) { return ruleIncludes(rule, day); });
}

// combine() puts the newer error first, so folding from the last error back lists them in the order
// they were found.
std::optional<objectstore::ValidationError> inOrderFound(std::vector<objectstore::ValidationError> found) {
    std::optional<objectstore::ValidationError> combined;
    for (auto error = found.rbegin(); error != found.rend(); ++error) {
        combined = objectstore::ValidationError::combine(combined, std::move(*error));
    }
    return combined;
}

// Far more steps than any item needs: the active period after the due date's is reached after one
// skip, and any weekly or monthly rule matches within one whole period.
constexpr int kMaximumAdjustSteps = 1000;
constexpr std::int64_t kMaximumInterval = 1000;

} // namespace

ScheduledItem::ScheduledItem(objectstore::ManagedObject* object)
    : EntityObject(object) {}

ScheduledItem ScheduledItem::insertInContext(objectstore::Context& context) {
    return ScheduledItem(insertWithCloudID(context, u"ScheduledItem"));
}

QString ScheduledItem::cloudID() const {
    return string(ix().cloudID);
}

QString ScheduledItem::title() const {
    return string(ix().title);
}

void ScheduledItem::setTitle(const QString& title) {
    setString(ix().title, title);
}

std::optional<Amount> ScheduledItem::amount() const {
    return decimal(ix().amount);
}

void ScheduledItem::setAmount(const std::optional<Amount>& amount) {
    setDecimal(ix().amount, amount);
}

std::optional<Day> ScheduledItem::nextDueDate() const {
    return day(ix().nextDueDate);
}

void ScheduledItem::setNextDueDate(const std::optional<Day>& day) {
    setDay(ix().nextDueDate, day);
}

QString ScheduledItem::repeatType() const {
    return string(ix().repeatType);
}

void ScheduledItem::setRepeatType(const QString& repeatType) {
    setString(ix().repeatType, repeatType);
}

std::optional<std::int64_t> ScheduledItem::repeatInterval() const {
    return integer(ix().repeatInterval);
}

void ScheduledItem::setRepeatInterval(const std::optional<std::int64_t>& interval) {
    setInteger(ix().repeatInterval, interval);
}

bool ScheduledItem::hasRepeatRules() const {
    return object()->hasValue(ix().repeatRules);
}

std::optional<std::vector<RepeatRule>> ScheduledItem::repeatRules() const {
    if (!hasRepeatRules()) {
        return std::nullopt;
    }
    return RepeatRuleArchive::decode(string(ix().repeatRules));
}

void ScheduledItem::setRepeatRules(const std::optional<std::vector<RepeatRule>>& rules) {
    setString(ix().repeatRules, rules && !rules->empty() ? RepeatRuleArchive::encode(*rules) : QString());
}

std::optional<std::int64_t> ScheduledItem::endsAfter() const {
    return integer(ix().endsAfter);
}

void ScheduledItem::setEndsAfter(const std::optional<std::int64_t>& count) {
    setInteger(ix().endsAfter, count);
}

QString ScheduledItem::notes() const {
    return string(ix().notes);
}

void ScheduledItem::setNotes(const QString& notes) {
    setString(ix().notes, notes);
}

QString ScheduledItem::paymentURL() const {
    return string(ix().paymentURL);
}

void ScheduledItem::setPaymentURL(const QString& url) {
    setString(ix().paymentURL, url);
}

QString ScheduledItem::paymentInstructions() const {
    return string(ix().paymentInstructions);
}

void ScheduledItem::setPaymentInstructions(const QString& instructions) {
    setString(ix().paymentInstructions, instructions);
}

std::optional<std::int64_t> ScheduledItem::reminderDays() const {
    return integer(ix().reminderDays);
}

void ScheduledItem::setReminderDays(const std::optional<std::int64_t>& days) {
    setInteger(ix().reminderDays, days);
}

bool ScheduledItem::hasReminded() const {
    return boolean(ix().hasReminded).value_or(false);
}

void ScheduledItem::setHasReminded(bool reminded) {
    setBoolean(ix().hasReminded, reminded);
}

objectstore::ManagedObject* ScheduledItem::account() const {
    return toOne(ix().account);
}

void ScheduledItem::setAccount(objectstore::ManagedObject* account) {
    setToOne(ix().account, account);
}

objectstore::ManagedObject* ScheduledItem::toAccount() const {
    return toOne(ix().toAccount);
}

void ScheduledItem::setToAccount(objectstore::ManagedObject* account) {
    setToOne(ix().toAccount, account);
}

objectstore::ManagedObject* ScheduledItem::category() const {
    return toOne(ix().category);
}

void ScheduledItem::setCategory(objectstore::ManagedObject* category) {
    setToOne(ix().category, category);
}

bool ScheduledItem::repeats() const {
    return !repeatType().isNull();
}

bool ScheduledItem::isTransfer() const {
    return toAccount() != nullptr;
}

bool ScheduledItem::isDeposit() const {
    const auto value = amount();
    return value && value->isIncome_vt();
}

bool ScheduledItem::isExpense() const {
    return !isDeposit();
}

bool ScheduledItem::hasReminder() const {
    return reminderDays().has_value();
}

std::vector<RepeatRule> ScheduledItem::effectiveRules() const {
    if (auto rules = repeatRules(); rules && !rules->empty()) {
        return std::move(*rules);
    }
    const QString type = repeatType();
    const auto due = nextDueDate();
    if (due && (isWeek(type) || isMonth(type))) {
        return {componentForDate(*due, type)};
    }
    return {};
}

bool ScheduledItem::includes(const Day& day) const {
    const QString type = repeatType();
    if (type.isNull()) {
        return nextDueDate() == day;
    }
    if (isDaily(type)) {
        return true;
    }
    return anyRuleIncludes(effectiveRules(), day);
}

RepeatRule ScheduledItem::componentForDate(const Day& date, const QString& repeatType) {
    if (isWeek(repeatType)) {
        return DIWeek(date.weekday_vt());
    }
    if (isMonth(repeatType)) {
        return DIMonth(date == date.endOfMonth_vt() ? DIMonth::kLastDay : date.day_vt());
    }
    throw platform::InternalError("Repeat type expected to be month");
}

bool ScheduledItem::rulesSuitRepeatType() const {
    if (!hasRepeatRules()) {
        return true;
    }
    const QString type = repeatType();
    if (!isWeek(type) && !isMonth(type)) {
        return true;
    }
    const auto rules = repeatRules();
    if (!rules) {
        return false;
    }
    return std::all_of(rules->begin(), rules->end(), [&type](const RepeatRule& rule) {
        return isWeek(type) ? std::holds_alternative<DIWeek>(rule) : std::holds_alternative<DIMonth>(rule);
    });
}

void ScheduledItem::fixRepeatSettings() {
    if (!repeats()) {
        setRepeatRules(std::nullopt);
        setEndsAfter(std::nullopt);
        setRepeatInterval(std::nullopt);
        return;
    }
    if (!repeatInterval()) {
        setRepeatInterval(1);
    }
    if (!rulesSuitRepeatType()) {
        setRepeatRules(std::nullopt);
    }
}

void ScheduledItem::fixTransferAmount() {
    if (const auto value = amount(); isTransfer() && value && value->isIncome_vt()) {
        setAmount(value->negate_vt());
    }
}

void ScheduledItem::adjustNextDueDate() {
    if (const auto remaining = endsAfter(); remaining && *remaining < 1) {
        throw platform::InternalError("Ends after cannot be less than 1");
    }
    const auto due = nextDueDate();
    const QString type = repeatType();
    if (!due || type.isNull() || isDaily(type)) {
        // Nothing to move: a one-time item has just its date, a daily one falls on every day.
        return;
    }
    if (!isWeek(type) && !isMonth(type)) {
        throw platform::InternalError("Repeat type expected to be month");
    }
    // Rules derived from the current due date always include it, so only explicit rules move it.
    const std::vector<RepeatRule> rules = effectiveRules();
    // Absurd stored intervals are capped so the date arithmetic cannot overflow.
    const std::int64_t interval = std::clamp<std::int64_t>(repeatInterval().value_or(1), 1, kMaximumInterval);
    Day day = *due;
    for (int step = 0; step < kMaximumAdjustSteps; ++step) {
        if (anyRuleIncludes(rules, day)) {
            if (day != *due) {
                setNextDueDate(day);
            }
            return;
        }
        day = day.advanceDays_VT(1);
        // Each period boundary after the due date's own period starts interval - 1 skipped periods;
        // weekly periods run Sunday to Saturday.
        if (interval >= 2) {
            const int skipped = static_cast<int>(interval - 1);
            if (isWeek(type) && day.weekday_vt() == 1) {
                day = day.advanceWeeks_vt(skipped);
            } else if (isMonth(type) && day.day_vt() == 1) {
                day = day.advanceMonths_VT(skipped);
            }
        }
    }
    throw platform::InternalError("No date matches the repeat rules of the scheduled item");
}

std::optional<objectstore::ValidationError> ScheduledItem::validate(objectstore::ManagedObject& object,
                                                                    objectstore::ValidationPhase phase) {
    if (phase == objectstore::ValidationPhase::Delete) {
        return std::nullopt;
    }
    const ScheduledItem item(&object);
    std::vector<objectstore::ValidationError> found;
    const auto add = [&found](objectstore::ValidationError error) { found.push_back(std::move(error)); };

    if (!item.paymentURL().isNull() && !item.paymentInstructions().isNull()) {
        add(ModelErrors::scheduledItemHasBothInstructionAndURL());
    }
    if (!item.hasReminder() && item.hasReminded()) {
        add(ModelErrors::scheduledItemHasRemindedWithoutReminder());
    }

    const QString type = item.repeatType();
    if (type.isNull()) {
        if (item.hasRepeatRules() || item.endsAfter() || item.repeatInterval()) {
            add(ModelErrors::scheduledItemRepeatSettingInvalid(QStringLiteral("12FB1")));
        }
    } else if (!item.rulesSuitRepeatType()) {
        // A wrong kind of rule outweighs a missing interval: only one sub-code is reported.
        add(ModelErrors::scheduledItemRepeatSettingInvalid(isWeek(type) ? QStringLiteral("12FB3")
                                                                        : QStringLiteral("12FB4")));
    } else if (!item.repeatInterval()) {
        add(ModelErrors::scheduledItemRepeatSettingInvalid(QStringLiteral("12FB2")));
    }

    if (const auto due = item.nextDueDate(); item.repeats() && due && !item.includes(*due)) {
        add(ModelErrors::scheduledItemNextDueDateInvalid());
    }

    if (const auto value = item.amount(); item.isTransfer() && value && value->isIncome_vt()) {
        add(ModelErrors::scheduledItemTransferAmountInvalid());
    }
    return inOrderFound(std::move(found));
}

} // namespace vantrel::model
