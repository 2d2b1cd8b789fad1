#include "app/ScheduledEditorModel.h"

#include "app/Workspace.h"
#include "model/Account.h"
#include "platform/objectstore/Context.h"

#include <QLocale>

namespace vantrel::app {

namespace {

constexpr auto kSundayFirst = 7;

// Gregorian weekday 1 = Sunday ... 7 = Saturday as Qt numbers it (1 = Monday ... 7 = Sunday).
int qtDayOfWeek(int weekday) {
    return weekday == 1 ? kSundayFirst : weekday - 1;
}

int ruleValue(const model::RepeatRule& rule) {
    if (const auto* week = std::get_if<model::DIWeek>(&rule)) {
        return week->weekday();
    }
    return std::get<model::DIMonth>(rule).count();
}

int positiveNumber(const QString& text, int whenEmpty) {
    if (text.trimmed().isEmpty()) {
        return whenEmpty;
    }
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok && value >= 1 ? value : 1;
}

} // namespace

ScheduledEditorModel::ScheduledEditorModel(Workspace& workspace, QString localeId)
    : m_workspace(workspace)
    , m_localeId(std::move(localeId))
    , m_title(QStringLiteral("New Transaction"))
    , m_dueDate(model::Day::today_VT(workspace.clock()))
    , m_amount(m_localeId) {
    if (const std::optional<model::Account> first = model::Account::first(workspace.context())) {
        m_account = first->object();
    }
}

ScheduledEditorModel::ScheduledEditorModel(Workspace& workspace, const model::ScheduledItem& item,
                                           QString localeId)
    : m_workspace(workspace)
    , m_localeId(std::move(localeId))
    , m_amount(m_localeId) {
    load(item);
}

void ScheduledEditorModel::load(const model::ScheduledItem& item) {
    m_item = item;
    m_title = item.title();
    m_notes = item.notes();
    m_dueDate = item.nextDueDate().value_or(model::Day::today_VT(m_workspace.clock()));
    const QString type = item.repeatType();
    m_repeat = type == QLatin1String(model::ScheduledItem::kWeekRepeat)    ? Repeat::Week
               : type == QLatin1String(model::ScheduledItem::kMonthRepeat) ? Repeat::Month
                                                                           : Repeat::Never;
    m_interval = static_cast<int>(std::max<std::int64_t>(item.repeatInterval().value_or(1), 1));
    if (const std::optional<std::vector<model::RepeatRule>> stored = item.repeatRules();
        stored && repeats()) {
        for (const model::RepeatRule& rule : *stored) {
            m_ruleRows.push_back(ruleValue(rule));
        }
    }
    m_endsAfterCount = item.endsAfter().has_value();
    m_endsAfter = static_cast<int>(std::max<std::int64_t>(item.endsAfter().value_or(kDefaultEndsAfter), 1));
    m_category = item.category();
    m_account = item.account();
    m_isTransfer = item.isTransfer();
    m_toAccount = item.toAccount();
    m_hasReminder = item.hasReminder();
    m_reminderDays = static_cast<int>(item.reminderDays().value_or(kDefaultReminderDays));
    const model::Amount amount = item.amount().value_or(model::Amount());
    m_amount.setShouldAssumeSign(!m_isTransfer);
    showAmount(m_isTransfer && amount.sign() <= 0 ? amount.negate_vt() : amount);
}

QString ScheduledEditorModel::sheetTitle() const {
    return isNew() ? QStringLiteral("New Scheduled Transaction")
                   : QStringLiteral("Edit Scheduled Transaction");
}

QString ScheduledEditorModel::confirmTitle() const {
    return isNew() ? QStringLiteral("Create") : QStringLiteral("Save");
}

void ScheduledEditorModel::setDueDate(const model::Day& date) {
    if (date != m_dueDate) {
        m_ruleRows.clear();
    }
    m_dueDate = date;
}

QString ScheduledEditorModel::dueDateLabel() const {
    return repeats() ? QStringLiteral("Next Due Date:") : QStringLiteral("Due Date:");
}

void ScheduledEditorModel::setRepeat(Repeat repeat) {
    if (repeat != m_repeat) {
        m_ruleRows.clear();
    }
    m_repeat = repeat;
}

void ScheduledEditorModel::setIntervalText(const QString& text) {
    m_interval = positiveNumber(text, 1);
}

void ScheduledEditorModel::setEndsAfterText(const QString& text) {
    m_endsAfter = positiveNumber(text, kDefaultEndsAfter);
}

QString ScheduledEditorModel::intervalUnit() const {
    switch (m_repeat) {
    case Repeat::Week:
        return m_interval == 1 ? QStringLiteral("week") : QStringLiteral("weeks");
    case Repeat::Month:
        return m_interval == 1 ? QStringLiteral("month") : QStringLiteral("months");
    case Repeat::Never:
        break;
    }
    return QString();
}

QString ScheduledEditorModel::endsUnit() const {
    return m_endsAfter == 1 ? QStringLiteral("time") : QStringLiteral("times");
}

void ScheduledEditorModel::showRules() {
    if (!repeats() || showsRules()) {
        return;
    }
    m_ruleRows = {ruleValue(model::ScheduledItem::componentForDate(m_dueDate, repeatType()))};
}

void ScheduledEditorModel::addRuleRow() {
    if (repeats()) {
        m_ruleRows.push_back(1);
    }
}

void ScheduledEditorModel::removeRuleRow(std::size_t row) {
    if (row < m_ruleRows.size()) {
        m_ruleRows.erase(m_ruleRows.begin() + static_cast<std::ptrdiff_t>(row));
    }
}

void ScheduledEditorModel::setRuleRow(std::size_t row, int value) {
    const bool valid = m_repeat == Repeat::Week
                           ? value >= 1 && value <= 7
                           : value == model::DIMonth::kLastDay || (value >= 1 && value <= 31);
    if (row < m_ruleRows.size() && valid) {
        m_ruleRows[row] = value;
    }
}

QString ScheduledEditorModel::ruleRowLabel(std::size_t row) {
    return row == 0 ? QStringLiteral("On:") : QStringLiteral("And On:");
}

std::vector<ScheduledEditorModel::RuleChoice> ScheduledEditorModel::ruleChoices() const {
    std::vector<RuleChoice> choices;
    if (m_repeat == Repeat::Week) {
        const QLocale locale(m_localeId);
        for (int weekday = 1; weekday <= 7; ++weekday) {
            choices.push_back({locale.dayName(qtDayOfWeek(weekday), QLocale::LongFormat), weekday, false});
        }
    } else if (m_repeat == Repeat::Month) {
        choices.push_back({QStringLiteral("last day"), model::DIMonth::kLastDay, false});
        choices.push_back({QString(), 0, true});
        for (int day = 1; day <= 31; ++day) {
            choices.push_back({ordinalDay(day), day, false});
        }
    }
    return choices;
}

QString ScheduledEditorModel::ordinalDay(int day) {
    const int lastTwo = day % 100;
    QString suffix = QStringLiteral("th");
    if (lastTwo < 11 || lastTwo > 13) {
        switch (day % 10) {
        case 1:
            suffix = QStringLiteral("st");
            break;
        case 2:
            suffix = QStringLiteral("nd");
            break;
        case 3:
            suffix = QStringLiteral("rd");
            break;
        default:
            break;
        }
    }
    return QStringLiteral("%1 day").arg(QString::number(day) + suffix);
}

std::vector<objectstore::ManagedObject*> ScheduledEditorModel::accountChoices() const {
    std::vector<objectstore::ManagedObject*> accounts;
    for (const model::Account& account : model::Account::allInAccountOrder(m_workspace.context())) {
        accounts.push_back(account.object());
    }
    return accounts;
}

QString ScheduledEditorModel::accountLabel() const {
    return m_isTransfer ? QStringLiteral("From Account:") : QStringLiteral("Account:");
}

objectstore::ManagedObject* ScheduledEditorModel::firstTargetFor(objectstore::ManagedObject* source) const {
    const std::vector<objectstore::ManagedObject*> accounts = accountChoices();
    for (objectstore::ManagedObject* account : accounts) {
        if (account != source) {
            return account;
        }
    }
    return accounts.empty() ? nullptr : accounts.front();
}

void ScheduledEditorModel::setTransfer(bool transfer) {
    if (transfer == m_isTransfer) {
        return;
    }
    const std::optional<model::Amount> shown = m_amount.interpretedAmount();
    m_isTransfer = transfer;
    m_amount.setShouldAssumeSign(!transfer);
    if (transfer && m_toAccount == nullptr) {
        m_toAccount = firstTargetFor(m_account);
    }
    if (!shown) {
        return; // text that does not read stays for the user to correct
    }
    if (!m_amount.parsedValue().hasValue()) {
        // Empty, or the lone minus sign an expense field pre-fills: a transfer assumes no sign.
        m_amount.setText(transfer ? QString() : m_amount.text());
        return;
    }
    // The money leaves the account either way: a transfer shows it positive, a payment negative.
    if (transfer) {
        showAmount(shown->sign() <= 0 ? shown->negate_vt() : *shown);
    } else {
        showAmount(shown->sign() > 0 ? shown->negate_vt() : *shown);
    }
}

void ScheduledEditorModel::setReminder(bool on) {
    m_hasReminder = on;
    if (!on) {
        m_reminderDays = kDefaultReminderDays;
    }
}

void ScheduledEditorModel::showAmount(const model::Amount& value) {
    m_amount.setValue(value);
}

QString ScheduledEditorModel::repeatType() const {
    switch (m_repeat) {
    case Repeat::Week:
        return QString::fromLatin1(model::ScheduledItem::kWeekRepeat);
    case Repeat::Month:
        return QString::fromLatin1(model::ScheduledItem::kMonthRepeat);
    case Repeat::Never:
        break;
    }
    return QString();
}

std::vector<model::RepeatRule> ScheduledEditorModel::rules() const {
    std::vector<model::RepeatRule> rules;
    for (int value : m_ruleRows) {
        if (m_repeat == Repeat::Week) {
            rules.emplace_back(model::DIWeek(value));
        } else {
            rules.emplace_back(model::DIMonth(value));
        }
    }
    return rules;
}

CommandOutcome ScheduledEditorModel::save() {
    const std::optional<model::Amount> amount = m_amount.interpretedAmount();
    if (!amount) {
        return CommandOutcome::refused(QStringLiteral("\"%1\" is not an amount.").arg(m_amount.text()));
    }
    if (m_account == nullptr) {
        return CommandOutcome::refused(QStringLiteral("Choose the account of the scheduled transaction."));
    }
    if (m_isTransfer && m_toAccount == nullptr) {
        return CommandOutcome::refused(QStringLiteral("Choose the account to transfer to."));
    }
    model::ScheduledItem item =
        m_item ? *m_item : model::ScheduledItem::insertInContext(m_workspace.context());
    item.setTitle(m_title);
    item.setNextDueDate(m_dueDate);
    item.setRepeatType(repeatType());
    item.setEndsAfter(repeats() && m_endsAfterCount ? std::optional<std::int64_t>(m_endsAfter)
                                                    : std::nullopt);
    item.setRepeatRules(repeats() && showsRules() ? std::optional(rules()) : std::nullopt);
    item.setRepeatInterval(repeats() ? std::optional<std::int64_t>(m_interval) : std::nullopt);
    if (repeats()) {
        item.adjustNextDueDate();
    }
    item.setAmount(*amount);
    item.setCategory(m_category);
    item.setAccount(m_account);
    item.setToAccount(m_isTransfer ? m_toAccount : nullptr);
    item.fixTransferAmount();
    if (m_hasReminder) {
        item.setReminderDays(m_reminderDays);
    } else {
        item.setReminderDays(std::nullopt);
        item.setHasReminded(false);
    }
    item.setPaymentURL(QString());
    const QString notes = m_notes.isEmpty() ? QString() : m_notes;
    item.setNotes(notes);
    item.setPaymentInstructions(notes);
    m_item = item;
    m_workspace.saveDatabase();
    m_workspace.refreshAllViews();
    return CommandOutcome::done();
}

} // namespace vantrel::app
