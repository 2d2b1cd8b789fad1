#include "cli/ReportCommands.h"

#include "cli/CliSession.h"
#include "cli/CommandLine.h"
#include "cli/InputValues.h"
#include "cli/JsonNesting.h"
#include "cli/JsonOutput.h"
#include "cli/ObjectLookup.h"
#include "cli/PlanningLookup.h"
#include "cli/TextTable.h"
#include "cli/UserError.h"
#include "model/General.h"
#include "model/Global.h"
#include "reports/Breakdown.h"
#include "reports/Trends.h"

#include <map>

namespace vantrel::cli {

namespace {

using reports::BreakdownEntry;
using reports::CategoryBreakdown;

model::CurrencyFormatter homeFormatter(objectstore::Context& context, const QString& localeId) {
    return model::General::formatterForHomeCurrency(
        model::Global::sharedInstanceInContext(context).homeCurrencyCode(), localeId);
}

std::vector<JsonOutput::Fields> entryFields(const std::vector<BreakdownEntry>& entries) {
    std::vector<JsonOutput::Fields> rows;
    for (const BreakdownEntry& entry : entries) {
        rows.push_back({{QStringLiteral("name"), JsonOutput::string(entry.name)},
                        {QStringLiteral("amount"), JsonOutput::amount(entry.amount)}});
    }
    return rows;
}

QString sideTable(const QString& title, const std::vector<BreakdownEntry>& entries,
                  const model::Amount& total, const model::CurrencyFormatter& formatter) {
    TextTable table({{title}, {QStringLiteral("Amount"), TextTable::Align::Right}});
    for (const BreakdownEntry& entry : entries) {
        table.addRow({entry.name, formatter.format(entry.amount)});
    }
    table.addRow({QStringLiteral("Total"), formatter.format(total)});
    return table.toString();
}

// The three totals are asked for by their lower-case words; anything else names a category.
bool isTotalSeries(const QString& text) {
    return text == QLatin1String(reports::Trends::kBalance) ||
           text == QLatin1String(reports::Trends::kIncome) ||
           text == QLatin1String(reports::Trends::kExpense);
}

} // namespace

QString ReportCommands::breakdownOutput(objectstore::Context& context, const model::Day& from,
                                        const model::Day& to, objectstore::ManagedObject* group, bool json,
                                        const QString& localeId) {
    const reports::Breakdown breakdown = CategoryBreakdown::breakdown(context, from, to, group);
    const std::vector<BreakdownEntry> expense = CategoryBreakdown::displayOrder(breakdown.expense, false);
    const std::vector<BreakdownEntry> income = CategoryBreakdown::displayOrder(breakdown.income, true);
    const model::Amount expenseTotal = CategoryBreakdown::total(breakdown.expense);
    const model::Amount incomeTotal = CategoryBreakdown::total(breakdown.income);

    if (json) {
        return JsonOutput::object({
            {QStringLiteral("expense"), JsonNesting::indentedArray(entryFields(expense))},
            {QStringLiteral("income"), JsonNesting::indentedArray(entryFields(income))},
            {QStringLiteral("expenseTotal"), JsonOutput::amount(expenseTotal)},
            {QStringLiteral("incomeTotal"), JsonOutput::amount(incomeTotal)},
        });
    }
    const model::CurrencyFormatter formatter = homeFormatter(context, localeId);
    return sideTable(QStringLiteral("Expense"), expense, expenseTotal, formatter) + QStringLiteral("\n\n") +
           sideTable(QStringLiteral("Income"), income, incomeTotal, formatter);
}

QString ReportCommands::trendsOutput(objectstore::Context& context, const platform::Clock& clock,
                                     const QStringList& requested, bool json, const QString& localeId) {
    // Each text given once, in the order given, with the identifier the series is computed under.
    QStringList names;
    QStringList identifiers;
    const ObjectLookup lookup(context);
    for (const QString& text : requested) {
        const QString name = text.trimmed();
        if (name.isEmpty() || names.contains(name)) {
            continue;
        }
        names.append(name);
        identifiers.append(isTotalSeries(name) ? name : lookup.category(name).cloudID());
    }
    if (names.isEmpty()) {
        throw UserError(QStringLiteral("No series given"));
    }
    QStringList distinct = identifiers;
    distinct.removeDuplicates();
    const std::map<QString, reports::TrendSeries> series = reports::Trends::series(context, clock, distinct);

    if (json) {
        JsonOutput::Fields fields;
        for (qsizetype i = 0; i < names.size(); ++i) {
            std::vector<JsonOutput::Fields> points;
            for (const reports::TrendPoint& point : series.at(identifiers[i])) {
                points.push_back({{QStringLiteral("date"), JsonOutput::string(point.date.toIsoString())},
                                  {QStringLiteral("value"), JsonOutput::amount(point.value)}});
            }
            fields.emplace_back(names[i], JsonNesting::inlineArray(points));
        }
        return JsonOutput::object({{QStringLiteral("series"), JsonNesting::indentedObject(fields)}});
    }

    const model::CurrencyFormatter formatter = homeFormatter(context, localeId);
    std::vector<TextTable::Column> columns{{QStringLiteral("Month")}};
    for (const QString& name : names) {
        columns.push_back({name, TextTable::Align::Right});
    }
    TextTable table(std::move(columns));
    // Every series has one point per month of the history; the balance's last point is dated on
    // the last day of the history rather than at the end of its month.
    const reports::TrendSeries& first = series.at(identifiers.first());
    for (std::size_t month = 0; month < first.size(); ++month) {
        QStringList cells{first[month].date.toQDate().toString(QStringLiteral("yyyy-MM"))};
        for (const QString& identifier : identifiers) {
            const reports::TrendSeries& points = series.at(identifier);
            cells.append(month < points.size() ? formatter.format(points[month].value) : QString());
        }
        table.addRow(cells);
    }
    return table.toString();
}

QString ReportCommands::breakdown() {
    m_session.open();
    objectstore::Context& context = m_session.context();
    const model::Day from = InputValues::day(*m_line.value(QStringLiteral("from")));
    const model::Day to = InputValues::day(*m_line.value(QStringLiteral("to")));
    if (from.isLaterThan_VT(to)) {
        throw UserError(QStringLiteral("The period ends before it starts: %1 to %2")
                            .arg(from.toIsoString(), to.toIsoString()));
    }
    objectstore::ManagedObject* group = nullptr;
    if (const std::optional<QString> name = m_line.value(QStringLiteral("group"))) {
        group = PlanningLookup(context).categoryGroup(*name).object();
    }
    return breakdownOutput(context, from, to, group, m_line.has(QStringLiteral("json")),
                           m_session.localeId());
}

QString ReportCommands::trends() {
    m_session.open();
    const QStringList requested =
        m_line.value(QStringLiteral("series")).value_or(QLatin1String(reports::Trends::kBalance)).split(u',');
    return trendsOutput(m_session.context(), m_session.clock(), requested, m_line.has(QStringLiteral("json")),
                        m_session.localeId());
}

} // namespace vantrel::cli
