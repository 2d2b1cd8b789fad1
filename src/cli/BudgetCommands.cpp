#include "cli/BudgetCommands.h"

#include "cli/CliSession.h"
#include "cli/CommandLine.h"
#include "cli/InputValues.h"
#include "cli/JsonNesting.h"
#include "cli/JsonOutput.h"
#include "cli/PlanningLookup.h"
#include "cli/TextTable.h"
#include "cli/UserError.h"
#include "model/Budget.h"
#include "model/General.h"
#include "model/Global.h"
#include "model/TextHelper.h"
#include "planning/BudgetEstimate.h"
#include "planning/BudgetTracker.h"
#include "platform/objectstore/Context.h"

#include <QRegularExpression>

#include <algorithm>

namespace vantrel::cli {

namespace {

using planning::BudgetRow;
using planning::BudgetTracker;
using planning::BudgetTrackResult;

std::vector<model::Budget> budgetsByName(objectstore::Context& context) {
    std::vector<model::Budget> budgets;
    for (objectstore::ManagedObject* object : context.all(u"Budget")) {
        budgets.emplace_back(object);
    }
    std::sort(budgets.begin(), budgets.end(), [](const model::Budget& a, const model::Budget& b) {
        return a.name().compare(b.name(), Qt::CaseInsensitive) < 0;
    });
    return budgets;
}

QString isoOrEmpty(const std::optional<model::Day>& day) {
    return day ? day->toIsoString() : QString();
}

QString typeName(BudgetRow::Type type) {
    switch (type) {
    case BudgetRow::Type::Category:
        return QStringLiteral("category");
    case BudgetRow::Type::Group:
        return QStringLiteral("group");
    case BudgetRow::Type::Uncategorized:
        return QStringLiteral("uncategorized");
    case BudgetRow::Type::Total:
        return QStringLiteral("total");
    }
    return QString();
}

// The side of the budget as its table shows it: tracked, then sorted by the absolute limit.
BudgetTrackResult trackedSide(model::Budget& budget, BudgetTracker::Side side) {
    BudgetTrackResult result = BudgetTracker::track(budget, side);
    BudgetTracker::sort(result, BudgetTracker::SortKey::AbsoluteLimit);
    return result;
}

// Over budget means more spent than allowed, so only expense rows can be; an income target that
// is not reached yet is no alarm.
bool isOverBudget(const BudgetRow& row, BudgetTracker::Side side) {
    return side == BudgetTracker::Side::Expense && BudgetTracker::isOverBudget(row);
}

JsonOutput::Fields rowFields(const BudgetRow& row, BudgetTracker::Side side) {
    JsonOutput::Fields fields{
        {QStringLiteral("name"), JsonOutput::string(row.name)},
        {QStringLiteral("type"), JsonOutput::string(typeName(row.type))},
        {QStringLiteral("limit"), JsonOutput::amount(row.limit)},
        {QStringLiteral("actual"), JsonOutput::amount(row.actual)},
        {QStringLiteral("overBudget"), JsonOutput::boolean(isOverBudget(row, side))},
    };
    if (row.type == BudgetRow::Type::Group) {
        std::vector<JsonOutput::Fields> categories;
        for (const BudgetRow& category : row.categories) {
            categories.push_back(rowFields(category, side));
        }
        fields.emplace_back(QStringLiteral("categories"), JsonNesting::inlineArray(categories));
    }
    return fields;
}

QString rowsJson(const std::vector<BudgetRow>& rows, BudgetTracker::Side side) {
    std::vector<JsonOutput::Fields> fields;
    for (const BudgetRow& row : rows) {
        fields.push_back(rowFields(row, side));
    }
    return JsonNesting::indentedArray(fields);
}

// The budget view shows whole units of the home currency.
model::CurrencyFormatter wholeUnitFormatter(objectstore::Context& context, const QString& localeId) {
    model::CurrencyFormatter formatter = model::General::formatterForHomeCurrency(
        model::Global::sharedInstanceInContext(context).homeCurrencyCode(), localeId);
    formatter.setMinimumFractionDigits(0);
    formatter.setMaximumFractionDigits(0);
    return formatter;
}

void addRow(TextTable& table, const BudgetRow& row, BudgetTracker::Side side,
            const model::CurrencyFormatter& formatter, const QString& indent) {
    const bool marksOverBudget = row.type == BudgetRow::Type::Category && isOverBudget(row, side);
    table.addRow({indent + row.name, formatter.format(row.limit), formatter.format(row.actual),
                  marksOverBudget ? QStringLiteral("over budget") : QString()});
    for (const BudgetRow& category : row.categories) {
        addRow(table, category, side, formatter, indent + QStringLiteral("  "));
    }
}

QString sideTable(const QString& title, const BudgetTrackResult& result, BudgetTracker::Side side,
                  const model::CurrencyFormatter& formatter) {
    TextTable table({{title},
                     {QStringLiteral("Limit"), TextTable::Align::Right},
                     {QStringLiteral("Actual"), TextTable::Align::Right},
                     {QString()}});
    for (const BudgetRow& row : result.progress) {
        addRow(table, row, side, formatter, QString());
    }
    addRow(table, result.total, side, formatter, QString());
    return table.toString();
}

// A number of months as typed; the new-budget sheet's own check rejects anything below one.
std::int64_t monthsFrom(const QString& text) {
    static const QRegularExpression number(QStringLiteral("^-?[0-9]{1,6}$"));
    if (!number.match(text).hasMatch()) {
        throw UserError(QStringLiteral("Not a number of months: %1").arg(text));
    }
    const std::int64_t months = text.toLongLong();
    if (months < 1) {
        throw UserError(QStringLiteral("Invalid period. Period has to be at least one month."));
    }
    return months;
}

} // namespace

QString BudgetCommands::list() {
    m_session.open();
    objectstore::Context& context = m_session.context();
    const std::vector<model::Budget> budgets = budgetsByName(context);

    if (m_line.has(QStringLiteral("json"))) {
        std::vector<JsonOutput::Fields> rows;
        for (model::Budget budget : budgets) {
            rows.push_back({
                {QStringLiteral("name"), JsonOutput::string(budget.name())},
                {QStringLiteral("start"), JsonOutput::string(isoOrEmpty(budget.startDate()))},
                {QStringLiteral("end"), JsonOutput::string(budget.endDate().toIsoString())},
                {QStringLiteral("months"), JsonOutput::number(budget.months().value_or(0))},
                {QStringLiteral("overBudget"), JsonOutput::number(BudgetTracker::countOverBudget(budget))},
                {QStringLiteral("cloudID"), JsonOutput::string(budget.cloudID())},
            });
        }
        return JsonOutput::array(rows);
    }

    TextTable table({{QStringLiteral("Name")},
                     {QStringLiteral("Start")},
                     {QStringLiteral("End")},
                     {QStringLiteral("Months"), TextTable::Align::Right},
                     {QStringLiteral("Over Budget"), TextTable::Align::Right}});
    for (model::Budget budget : budgets) {
        table.addRow({budget.name(), isoOrEmpty(budget.startDate()), budget.endDate().toIsoString(),
                      QString::number(budget.months().value_or(0)),
                      QString::number(BudgetTracker::countOverBudget(budget))});
    }
    return table.toString();
}

QString BudgetCommands::add() {
    m_session.open();
    objectstore::Context& context = m_session.context();
    const QString name = m_line.argument(0)->trimmed();
    if (model::TextHelper::isBlank_vt(name)) {
        throw UserError(QStringLiteral("A budget needs a name"));
    }
    // Budgets are named on the command line, so two of one name could not be told apart.
    if (PlanningLookup(context).budgetNameTaken(name)) {
        throw UserError(QStringLiteral("A budget named %1 already exists").arg(name));
    }
    const model::Day start = m_line.value(QStringLiteral("start"))
                                 ? InputValues::day(*m_line.value(QStringLiteral("start")))
                                 : model::Day::today_VT(m_session.clock()).beginningOfMonth_vt();
    const std::int64_t months =
        m_line.value(QStringLiteral("months")) ? monthsFrom(*m_line.value(QStringLiteral("months"))) : 1;

    model::Budget budget = planning::BudgetEstimate::createBudget(
        context, name, start, static_cast<int>(months), m_session.clock());
    m_session.commit();
    return m_line.has(QStringLiteral("json")) ? showJson(budget) : budget.cloudID();
}

QString BudgetCommands::show() {
    m_session.open();
    model::Budget budget = PlanningLookup(m_session.context()).budget(*m_line.argument(0));
    return m_line.has(QStringLiteral("json")) ? showJson(budget) : showText(budget);
}

QString BudgetCommands::showJson(model::Budget& budget) const {
    const BudgetTrackResult expense = trackedSide(budget, BudgetTracker::Side::Expense);
    const BudgetTrackResult income = trackedSide(budget, BudgetTracker::Side::Income);
    return JsonOutput::object({
        {QStringLiteral("name"), JsonOutput::string(budget.name())},
        {QStringLiteral("start"), JsonOutput::string(isoOrEmpty(budget.startDate()))},
        {QStringLiteral("end"), JsonOutput::string(budget.endDate().toIsoString())},
        {QStringLiteral("months"), JsonOutput::number(budget.months().value_or(0))},
        {QStringLiteral("expense"), rowsJson(expense.progress, BudgetTracker::Side::Expense)},
        {QStringLiteral("expenseTotal"),
         JsonOutput::objectLine(rowFields(expense.total, BudgetTracker::Side::Expense))},
        {QStringLiteral("income"), rowsJson(income.progress, BudgetTracker::Side::Income)},
        {QStringLiteral("incomeTotal"),
         JsonOutput::objectLine(rowFields(income.total, BudgetTracker::Side::Income))},
    });
}

QString BudgetCommands::showText(model::Budget& budget) const {
    const BudgetTrackResult expense = trackedSide(budget, BudgetTracker::Side::Expense);
    const BudgetTrackResult income = trackedSide(budget, BudgetTracker::Side::Income);
    const model::CurrencyFormatter formatter = wholeUnitFormatter(m_session.context(), m_session.localeId());
    const std::int64_t months = budget.months().value_or(0);
    const QString heading =
        QStringLiteral("%1: %2 to %3, %4 %5")
            .arg(budget.name(), isoOrEmpty(budget.startDate()), budget.endDate().toIsoString())
            .arg(months)
            .arg(months == 1 ? QStringLiteral("month") : QStringLiteral("months"));
    return QStringList{heading, QString(),
                       sideTable(QStringLiteral("Expense"), expense, BudgetTracker::Side::Expense, formatter),
                       QString(),
                       sideTable(QStringLiteral("Income"), income, BudgetTracker::Side::Income, formatter)}
        .join(u'\n');
}

} // namespace vantrel::cli
