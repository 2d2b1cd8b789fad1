#include "model/ScheduledItem.h"

#include "model/ModelErrors.h"
#include "platform/InternalError.h"
#include "platform/objectstore/Context.h"

#include <algorithm>
#include <climits>
#include <limits>

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

// combine() puts the newer error first, so folding from the last error back lists them in the order
// they were found.
std::optional<objectstore::ValidationError> inOrderFound(std::vector<objectstore::ValidationError> found) {
    std::optional<objectstore::ValidationError> combined;
    for (auto error = found.rbegin(); error != found.rend(); ++error) {
        combined = objectstore::ValidationError::combine(combined, std::move(*error));
    }
    return combined;
}

constexpr std::int64_t kMaximumInterval = 1000;

// Later than any date a person plans for, early enough that stepping past it cannot overflow.
Day farFuture() {
    return Day::dateWithYear_VT(4000, 12, 31);
}

enum class Cadence { OneTime, Daily, Weekly, Monthly, Unknown };

Cadence cadenceOf(const QString& repeatType) {
    if (repeatType.isNull()) {
        return Cadence::OneTime;
    }
    if (isDaily(repeatType)) {
        return Cadence::Daily;
    }
    if (isWeek(repeatType)) {
        return Cadence::Weekly;
    }
    return isMonth(repeatType) ? Cadence::Monthly : Cadence::Unknown;
}

// An item's repeat settings read and decoded once, so that stepping over many days touches no
// stored value and no archive: weekdays and days of the month become bit masks.
class OccurrenceSearch {
public:
    explicit OccurrenceSearch(const ScheduledItem& item)
        : m_cadence(cadenceOf(item.repeatType()))
        , m_due(item.nextDueDate())
        , m_interval(std::clamp<std::int64_t>(item.repeatInterval().value_or(1), 1, kMaximumInterval)) {
        for (const RepeatRule& rule : item.effectiveRules()) {
            if (const auto* week = std::get_if<DIWeek>(&rule)) {
                m_weekdays |= 1U << week->weekday();
            } else if (const auto* month = std::get_if<DIMonth>(&rule)) {
                m_monthDays |= std::uint64_t{1} << (month->count() == DIMonth::kLastDay ? 0 : month->count());
            }
        }
        // Rules of the wrong kind are invalid data that repair replaces by the due date's own rule;
        // searching with them would never match.
        if (m_due && ((m_cadence == Cadence::Weekly && m_weekdays == 0) ||
                      (m_cadence == Cadence::Monthly && m_monthDays == 0))) {
            const RepeatRule own = ScheduledItem::componentForDate(*m_due, item.repeatType());
            if (const auto* week = std::get_if<DIWeek>(&own)) {
                m_weekdays = 1U << week->weekday();
            } else {
                const int count = std::get<DIMonth>(own).count();
                m_monthDays = std::uint64_t{1} << (count == DIMonth::kLastDay ? 0 : count);
            }
        }
    }

    bool includes(const Day& day) const {
        switch (m_cadence) {
        case Cadence::OneTime:
            return m_due == day;
        case Cadence::Daily:
            return true;
        case Cadence::Weekly:
            return (m_weekdays >> day.weekday_vt()) & 1U;
        case Cadence::Monthly:
            return monthDayMatches(day.day_vt(), day.daysInMonth());
        case Cadence::Unknown:
            break;
        }
        return false;
    }

    std::vector<Day> datesUntil(const Day& end, int limit) const {
        std::vector<Day> dates;
        if (limit == 0 || !m_due) {
            return dates;
        }
        if (m_cadence == Cadence::OneTime) {
            if (m_due->isOnOrBefore_vt(end)) {
                dates.push_back(*m_due);
            }
            return dates;
        }
        if (m_cadence == Cadence::Unknown) {
            throw platform::InternalError("Repeat type expected to be month");
        }
        for (Day day = *m_due; day.isOnOrBefore_vt(end);) {
            if (includes(day)) {
                dates.push_back(day);
                if (limit > 0 && dates.size() == static_cast<std::size_t>(limit)) {
                    break;
                }
            }
            day = pastInactivePeriods(day.advanceDays_VT(1));
        }
        return dates;
    }

private:
    // A rule for a day the month lacks (or the last-day rule) falls on the month's final day.
    bool monthDayMatches(int dayOfMonth, int daysInMonth) const {
        if ((m_monthDays >> dayOfMonth) & 1U) {
            return true;
        }
        return dayOfMonth == daysInMonth &&
               ((m_monthDays & 1U) != 0 || (m_monthDays >> (daysInMonth + 1)) != 0);
    }

    // The period holding the due date is active; each later period boundary (every day, each
    // Sunday, each 1st of a month) is followed by interval - 1 skipped periods. Weekly periods run
    // Sunday to Saturday whatever the calendar's first weekday.
    Day pastInactivePeriods(const Day& day) const {
        if (m_interval < 2) {
            return day;
        }
        const int skipped = static_cast<int>(m_interval - 1);
        switch (m_cadence) {
        case Cadence::Daily:
            return day.advanceDays_VT(skipped);
        case Cadence::Weekly:
            return day.weekday_vt() == 1 ? day.advanceWeeks_vt(skipped) : day;
        case Cadence::Monthly:
            return day.day_vt() == 1 ? day.advanceMonths_VT(skipped) : day;
        case Cadence::OneTime:
        case Cadence::Unknown:
            break;
        }
        return day;
    }

    Cadence m_cadence;
    std::optional<Day> m_due;
    std::int64_t m_interval;
    // Bit w for weekday w (1 = Sunday).
    std::uint32_t m_weekdays = 0;
    // Bit c for day c of the month, bit 0 for the last day; wide enough to shift past the 31st.
    std::uint64_t m_monthDays = 0;
};

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
    return OccurrenceSearch(*this).includes(day);
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
    const std::vector<Day> first = upcomingDatesUntil(farFuture(), 1);
    if (!first.empty() && first.front() != nextDueDate()) {
        setNextDueDate(first.front());
    }
}

std::vector<Day> ScheduledItem::upcomingDatesUntil(const Day& end, int limit) const {
    return OccurrenceSearch(*this).datesUntil(end, limit);
}

std::vector<Day> ScheduledItem::upcomingDatesUntil(const Day& end) const {
    const auto remaining = endsAfter();
    // A count too large for int is as good as no limit.
    const int limit = remaining ? static_cast<int>(std::clamp<std::int64_t>(*remaining, 0, INT_MAX)) : -1;
    return upcomingDatesUntil(end, limit);
}

void ScheduledItem::skip() {
    if (!repeats() || endsAfter() == 1) {
        context().deleteObject(object());
        return;
    }
    if (const auto remaining = endsAfter()) {
        setEndsAfter(*remaining - 1);
    }
    // Derived rules still come from the old due date here; they are derived afresh from the new one
    // next time, which is how a monthly item on the 30th lands on last days after February.
    const std::vector<Day> next = upcomingDatesUntil(farFuture(), 2);
    if (next.size() < 2) {
        throw platform::InternalError("No occurrence after the current one of the scheduled item");
    }
    setNextDueDate(next[1]);
    setHasReminded(false);
}

bool ScheduledItem::isDue(const Day& today) const {
    const auto due = nextDueDate();
    return due && due->isOnOrBefore_vt(today);
}

int ScheduledItem::daysBeforeDue(const Day& today) const {
    const auto due = nextDueDate();
    return due ? due->numberOfDaysAfter_VT(today) : std::numeric_limits<int>::max();
}

bool ScheduledItem::shouldRemind(const Day& today) const {
    const auto days = reminderDays();
    const auto due = nextDueDate();
    if (!days || !due) {
        return false;
    }
    return daysBeforeDue(today) <= *days;
}

bool ScheduledItem::shouldColorRed(const Day& today) const {
    return isDue(today) || shouldRemind(today);
}

ScheduledItem::State ScheduledItem::state(const Day& today) const {
    const int days = daysBeforeDue(today);
    if (days < 1) {
        return State::Due;
    }
    if (days < 8) {
        return State::Within7Days;
    }
    return days < 31 ? State::Within30Days : State::Later;
}

QString ScheduledItem::fullURL() const {
    const QString url = paymentURL();
    if (url.isNull() || url.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
        url.startsWith(QLatin1String("https://"), Qt::CaseInsensitive)) {
        return url;
    }
    return QStringLiteral("http://") + url;
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
