#include "cli/ScheduledCommands.h"

#include "cli/CliSession.h"
#include "cli/CommandLine.h"
#include "cli/InputValues.h"
#include "cli/JsonNesting.h"
#include "cli/ObjectLookup.h"
#include "cli/PlanningLookup.h"
#include "cli/ScheduleValues.h"
#include "cli/TextTable.h"
#include "cli/UserError.h"
#include "model/Account.h"
#include "model/CategoryVT.h"
#include "model/General.h"
#include "model/Global.h"
#include "model/ScheduledItem.h"
#include "model/Transaction.h"
#include "planning/DueDateDescription.h"
#include "planning/Projection.h"
#include "planning/ScheduleText.h"
#include "planning/ScheduledList.h"
#include "planning/ScheduledPayment.h"
#include "platform/objectstore/Context.h"

#include <map>

namespace vantrel::cli {

namespace {

// How many months ahead the projection looks, as the projection sheet does.
constexpr int kProjectionMonths = 36;
// The editor's defaults for a new item.
const QString kNewItemTitle = QStringLiteral("New Transaction");

QString accountName(objectstore::ManagedObject* account) {
    return account == nullptr ? QString() : model::Account(account).name();
}

QString categoryName(objectstore::ManagedObject* category) {
    return category == nullptr ? QString() : model::CategoryVT(category).name();
}

// Logged payments carry one category at most.
objectstore::ManagedObject* categoryOf(const model::Transaction& transaction) {
    return transaction.hasSingleCategory() ? transaction.theCategory() : nullptr;
}

// One formatter per currency: building one is costly and a projection has many rows.
class FormatterCache {
public:
    explicit FormatterCache(QString localeId)
        : m_localeId(std::move(localeId)) {}

    QString format(const QString& currencyCode, const model::Amount& amount) {
        auto found = m_formatters.find(currencyCode);
        if (found == m_formatters.end()) {
            found = m_formatters
                        .emplace(currencyCode, model::General::formatterForCurrency(currencyCode, m_localeId))
                        .first;
        }
        return found->second.format(amount);
    }

private:
    QString m_localeId;
    std::map<QString, model::CurrencyFormatter> m_formatters;
};

QString nameOrNull(const QString& name, const objectstore::ManagedObject* object) {
    return object == nullptr ? JsonOutput::null() : JsonOutput::string(name);
}

QString numberOrNull(const std::optional<std::int64_t>& value) {
    return value ? JsonOutput::number(*value) : JsonOutput::null();
}

QString isoOrEmpty(const std::optional<model::Day>& day) {
    return day ? day->toIsoString() : QString();
}

// The currency an item's amounts are in: its account's.
QString currencyOf(const model::ScheduledItem& item) {
    return item.account() == nullptr ? QString() : model::Account(item.account()).currencyCode();
}

// "key: value" lines of JSON fields, strings unquoted and null left empty.
QString keyValueLines(const JsonOutput::Fields& fields, const QStringList& plainValues) {
    QStringList lines;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const QString& value = plainValues[static_cast<qsizetype>(i)];
        lines.append(value.isEmpty() ? fields[i].first + u':'
                                     : fields[i].first + QStringLiteral(": ") + value);
    }
    return lines.join(u'\n');
}

} // namespace

bool ScheduledCommands::wantsJson() const {
    return m_line.has(QStringLiteral("json"));
}

JsonOutput::Fields ScheduledCommands::itemFields(const model::ScheduledItem& item) const {
    const model::Day today = model::Day::today_VT(m_session.clock());
    const std::optional<model::Day> due = item.nextDueDate();
    QString dueText;
    QString state;
    if (due) {
        dueText = planning::DueDateDescription::describe(*due, today).text(*due, m_session.localeId());
        state = planning::ScheduleText::groupTitle(item.state(today));
    }
    return {
        {QStringLiteral("cloudID"), JsonOutput::string(item.cloudID())},
        {QStringLiteral("title"), JsonOutput::string(item.title())},
        {QStringLiteral("account"), nameOrNull(accountName(item.account()), item.account())},
        {QStringLiteral("toAccount"), nameOrNull(accountName(item.toAccount()), item.toAccount())},
        {QStringLiteral("category"), nameOrNull(categoryName(item.category()), item.category())},
        {QStringLiteral("amount"), JsonOutput::amount(item.amount().value_or(model::Amount()))},
        {QStringLiteral("currency"), JsonOutput::string(currencyOf(item))},
        {QStringLiteral("nextDueDate"), due ? JsonOutput::string(due->toIsoString()) : JsonOutput::null()},
        {QStringLiteral("schedule"), JsonOutput::string(planning::ScheduleText::repeatDescription(item))},
        {QStringLiteral("endsAfter"), numberOrNull(item.endsAfter())},
        {QStringLiteral("reminderDays"), numberOrNull(item.reminderDays())},
        {QStringLiteral("due"), JsonOutput::string(dueText)},
        {QStringLiteral("state"), JsonOutput::string(state)},
        {QStringLiteral("notes"), JsonOutput::string(item.notes())},
    };
}

QString ScheduledCommands::itemOutput(const model::ScheduledItem& item) const {
    const JsonOutput::Fields fields = itemFields(item);
    if (wantsJson()) {
        return JsonOutput::object(fields);
    }
    const model::Day today = model::Day::today_VT(m_session.clock());
    const std::optional<model::Day> due = item.nextDueDate();
    const std::optional<std::int64_t> endsAfter = item.endsAfter();
    const std::optional<std::int64_t> reminder = item.reminderDays();
    const QStringList plain{
        item.cloudID(),
        item.title(),
        accountName(item.account()),
        accountName(item.toAccount()),
        categoryName(item.category()),
        model::General::formatterForCurrency(currencyOf(item), m_session.localeId())
            .format(item.amount().value_or(model::Amount())),
        currencyOf(item),
        isoOrEmpty(due),
        planning::ScheduleText::repeatDescription(item),
        endsAfter ? QString::number(*endsAfter) : QString(),
        reminder ? QString::number(*reminder) : QString(),
        due ? planning::DueDateDescription::describe(*due, today).text(*due, m_session.localeId())
            : QString(),
        due ? planning::ScheduleText::groupTitle(item.state(today)) : QString(),
        item.notes(),
    };
    return keyValueLines(fields, plain);
}

QString ScheduledCommands::list() {
    m_session.open();
    objectstore::Context& context = m_session.context();
    const model::Day today = model::Day::today_VT(m_session.clock());
    const std::vector<planning::ScheduledListEntry> entries =
        planning::ScheduledList::groupedItems(context, today);

    if (wantsJson()) {
        std::vector<JsonOutput::Fields> rows;
        for (const planning::ScheduledListEntry& entry : entries) {
            if (!entry.isGroup()) {
                rows.push_back(itemFields(*entry.item));
            }
        }
        return JsonOutput::array(rows);
    }

    TextTable table({{QStringLiteral("Group")},
                     {QStringLiteral("Due Date")},
                     {QStringLiteral("Due")},
                     {QStringLiteral("Title")},
                     {QStringLiteral("Account")},
                     {QStringLiteral("Category")},
                     {QStringLiteral("Amount"), TextTable::Align::Right},
                     {QStringLiteral("Schedule")}});
    for (const planning::ScheduledListEntry& entry : entries) {
        if (entry.isGroup()) {
            table.addRow({planning::ScheduleText::groupTitle(entry.state)});
            continue;
        }
        const model::ScheduledItem& item = *entry.item;
        const std::optional<model::Day> due = item.nextDueDate();
        QString account = accountName(item.account());
        if (item.isTransfer()) {
            account += QStringLiteral(" -> ") + accountName(item.toAccount());
        }
        table.addRow(
            {QString(), isoOrEmpty(due),
             due ? planning::DueDateDescription::describe(*due, today).text(*due, m_session.localeId())
                 : QString(),
             item.title(), account, categoryName(item.category()),
             model::General::formatterForCurrency(currencyOf(item), m_session.localeId())
                 .format(item.amount().value_or(model::Amount())),
             planning::ScheduleText::repeatDescription(item)});
    }
    return table.toString();
}

QString ScheduledCommands::add() {
    m_session.open();
    objectstore::Context& context = m_session.context();
    const ObjectLookup lookup(context);
    const model::Day today = model::Day::today_VT(m_session.clock());

    // Everything is read and checked before the item exists, so a mistake leaves nothing behind.
    std::optional<model::Account> account;
    if (const std::optional<QString> name = m_line.value(QStringLiteral("account"))) {
        account = lookup.account(*name);
    } else {
        account = model::Account::first(context);
        if (!account) {
            throw UserError(QStringLiteral("No account yet. Run 'vantrel-cli account add' first."));
        }
    }
    std::optional<model::Account> toAccount;
    if (const std::optional<QString> name = m_line.value(QStringLiteral("to-account"))) {
        toAccount = lookup.account(*name);
        if (toAccount->object() == account->object()) {
            throw UserError(QStringLiteral("Cannot transfer from an account to itself"));
        }
    }
    objectstore::ManagedObject* category = nullptr;
    if (const std::optional<QString> name = m_line.value(QStringLiteral("category"))) {
        category = lookup.category(*name).object();
    }
    const model::Amount amount = InputValues::amount(m_line.value(QStringLiteral("amount")).value_or("0"));
    const model::Day dueDate = m_line.value(QStringLiteral("date"))
                                   ? InputValues::day(*m_line.value(QStringLiteral("date")))
                                   : today;
    const QString repeatType =
        ScheduleValues::repeatType(m_line.value(QStringLiteral("repeat")).value_or("month"));
    const bool repeats = !repeatType.isNull();
    if (!repeats && (m_line.has(QStringLiteral("interval")) || m_line.has(QStringLiteral("on")) ||
                     m_line.has(QStringLiteral("ends-after")))) {
        throw UserError(QStringLiteral("--interval, --on and --ends-after need --repeat week or month"));
    }
    std::int64_t interval = 1;
    if (const std::optional<QString> text = m_line.value(QStringLiteral("interval"))) {
        interval = ScheduleValues::wholeNumber(*text, 1, QStringLiteral("The interval"));
    }
    std::optional<std::int64_t> endsAfter;
    if (const std::optional<QString> text = m_line.value(QStringLiteral("ends-after"))) {
        endsAfter = ScheduleValues::wholeNumber(*text, 1, QStringLiteral("Ends after"));
    }
    std::optional<std::vector<model::RepeatRule>> rules;
    if (const std::optional<QString> text = m_line.value(QStringLiteral("on"))) {
        rules = ScheduleValues::rules(*text, repeatType);
    }
    std::optional<std::int64_t> reminderDays;
    if (const std::optional<QString> text = m_line.value(QStringLiteral("reminder-days"))) {
        reminderDays = ScheduleValues::wholeNumber(*text, 0, QStringLiteral("Reminder days"));
    }
    const QString notes = m_line.value(QStringLiteral("notes")).value_or(QString());

    // In the order the editor saves: the schedule first, so the due date moves onto the first day
    // the rules allow, then the money, the accounts, the reminder and the notes.
    model::ScheduledItem item = model::ScheduledItem::insertInContext(context);
    item.setTitle(m_line.value(QStringLiteral("title")).value_or(kNewItemTitle));
    item.setNextDueDate(dueDate);
    item.setRepeatType(repeatType);
    item.setEndsAfter(endsAfter);
    item.setRepeatRules(rules);
    item.setRepeatInterval(repeats ? std::optional<std::int64_t>(interval) : std::nullopt);
    if (repeats) {
        item.adjustNextDueDate();
    }
    item.setAmount(amount);
    item.setCategory(category);
    item.setAccount(account->object());
    item.setToAccount(toAccount ? toAccount->object() : nullptr);
    // A transfer amount leaves the source account whichever sign was typed.
    item.fixTransferAmount();
    item.setReminderDays(reminderDays);
    item.setHasReminded(false);
    item.setPaymentURL(QString());
    item.setNotes(notes);
    item.setPaymentInstructions(notes);
    m_session.commit();
    return itemOutput(item);
}

QString ScheduledCommands::pay() {
    m_session.open();
    objectstore::Context& context = m_session.context();
    model::ScheduledItem item = PlanningLookup(context).scheduledItem(*m_line.argument(0));

    planning::PaymentDetails details;
    details.date = m_line.value(QStringLiteral("date"))
                       ? InputValues::day(*m_line.value(QStringLiteral("date")))
                       : model::Day::today_VT(m_session.clock());
    details.amount = m_line.value(QStringLiteral("amount"))
                         ? InputValues::amount(*m_line.value(QStringLiteral("amount")))
                         : item.amount().value_or(model::Amount()).rounded(2);
    details.category =
        m_line.value(QStringLiteral("category"))
            ? ObjectLookup(context).category(*m_line.value(QStringLiteral("category"))).object()
            : item.category();
    details.notes = m_line.value(QStringLiteral("notes")).value_or(item.notes());

    const objectstore::ObjectID id = item.object()->id();
    const std::vector<model::Transaction> transactions =
        planning::ScheduledPayment::pay(item, details, m_session.clock());
    const bool removed = context.object(id) == nullptr;
    const QString output = advanceOutput(item, removed, transactions);
    m_session.commit();
    return output;
}

QString ScheduledCommands::skip() {
    m_session.open();
    objectstore::Context& context = m_session.context();
    model::ScheduledItem item = PlanningLookup(context).scheduledItem(*m_line.argument(0));
    const objectstore::ObjectID id = item.object()->id();
    item.skip();
    const bool removed = context.object(id) == nullptr;
    const QString output = advanceOutput(item, removed, {});
    m_session.commit();
    return output;
}

QString ScheduledCommands::remove() {
    m_session.open();
    objectstore::Context& context = m_session.context();
    const model::ScheduledItem item = PlanningLookup(context).scheduledItem(*m_line.argument(0));
    // Transactions already logged from the item stay; only the plan goes.
    context.deleteObject(item.object());
    m_session.commit();
    return QString();
}

QString ScheduledCommands::advanceOutput(const model::ScheduledItem& item, bool removed,
                                         const std::vector<model::Transaction>& transactions) const {
    const std::optional<model::Day> next = removed ? std::nullopt : item.nextDueDate();
    if (wantsJson()) {
        std::vector<JsonOutput::Fields> rows;
        for (const model::Transaction& transaction : transactions) {
            const std::optional<model::Day> date = transaction.date();
            rows.push_back({
                {QStringLiteral("account"), JsonOutput::string(accountName(transaction.account()))},
                {QStringLiteral("date"), date ? JsonOutput::string(date->toIsoString()) : JsonOutput::null()},
                {QStringLiteral("title"), JsonOutput::string(transaction.title())},
                {QStringLiteral("category"),
                 nameOrNull(categoryName(categoryOf(transaction)), categoryOf(transaction))},
                {QStringLiteral("amount"),
                 JsonOutput::amount(transaction.amount().value_or(model::Amount()))},
                {QStringLiteral("cloudID"), JsonOutput::string(transaction.cloudID())},
            });
        }
        JsonOutput::Fields fields;
        if (!transactions.empty()) {
            fields.emplace_back(QStringLiteral("transactions"), JsonNesting::indentedArray(rows));
        }
        fields.emplace_back(QStringLiteral("nextDueDate"),
                            next ? JsonOutput::string(next->toIsoString()) : JsonOutput::null());
        fields.emplace_back(QStringLiteral("removed"), JsonOutput::boolean(removed));
        return JsonOutput::object(fields);
    }

    QStringList lines;
    if (!transactions.empty()) {
        TextTable table({{QStringLiteral("Account")},
                         {QStringLiteral("Date")},
                         {QStringLiteral("Title")},
                         {QStringLiteral("Category")},
                         {QStringLiteral("Amount"), TextTable::Align::Right}});
        for (const model::Transaction& transaction : transactions) {
            const model::Account account(transaction.account());
            table.addRow({account.name(), isoOrEmpty(transaction.date()), transaction.title(),
                          categoryName(categoryOf(transaction)),
                          model::General::formatterForCurrency(account.currencyCode(), m_session.localeId())
                              .format(transaction.amount().value_or(model::Amount()))});
        }
        lines.append(table.toString());
    }
    lines.append(removed ? QStringLiteral("No occurrences left: the scheduled transaction was removed.")
                         : QStringLiteral("Next due: %1").arg(isoOrEmpty(next)));
    return lines.join(u'\n');
}

QString ScheduledCommands::projection() {
    m_session.open();
    objectstore::Context& context = m_session.context();
    const model::Day end = model::Day::today_VT(m_session.clock()).advanceMonths_VT(kProjectionMonths);
    const QString home = model::Global::sharedInstanceInContext(context).homeCurrencyCode();

    QString title;
    QString balanceCurrency;
    std::vector<planning::UpcomingTransaction> rows;
    if (const std::optional<QString> name = m_line.argument(0)) {
        const model::Account account = ObjectLookup(context).account(*name);
        title = QStringLiteral("Projection for %1").arg(account.name());
        balanceCurrency = account.currencyCode();
        rows = planning::Projection::forAccount(context, account, end, account.balance());
    } else {
        title = QStringLiteral("Projection for %1").arg(QStringLiteral("All Accounts"));
        balanceCurrency = home;
        rows =
            planning::Projection::allAccounts(context, end, model::Account::overallBalanceInContext(context));
    }

    if (wantsJson()) {
        std::vector<JsonOutput::Fields> fields;
        for (const planning::UpcomingTransaction& row : rows) {
            fields.push_back({
                {QStringLiteral("date"), JsonOutput::string(row.date.toIsoString())},
                {QStringLiteral("payee"), JsonOutput::string(row.payee())},
                {QStringLiteral("amount"), JsonOutput::amount(row.amount)},
                {QStringLiteral("currency"), JsonOutput::string(row.amountCurrencyCode)},
                {QStringLiteral("balance"), JsonOutput::amount(row.runningBalance)},
            });
        }
        return JsonOutput::object({{QStringLiteral("title"), JsonOutput::string(title)},
                                   {QStringLiteral("currency"), JsonOutput::string(balanceCurrency)},
                                   {QStringLiteral("rows"), JsonNesting::indentedArray(fields)}});
    }

    FormatterCache formatters(m_session.localeId());
    TextTable table({{QStringLiteral("Date")},
                     {QStringLiteral("Payee")},
                     {QStringLiteral("Amount"), TextTable::Align::Right},
                     {QStringLiteral("Balance"), TextTable::Align::Right}});
    for (const planning::UpcomingTransaction& row : rows) {
        table.addRow({row.date.toIsoString(), row.payee(),
                      formatters.format(row.amountCurrencyCode, row.amount),
                      formatters.format(balanceCurrency, row.runningBalance)});
    }
    return title + u'\n' + table.toString();
}

} // namespace vantrel::cli
