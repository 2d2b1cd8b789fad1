#include "app/BreakdownViewModel.h"

#include "app/Workspace.h"
#include "model/Account.h"
#include "model/CategoryGroup.h"
#include "model/General.h"
#include "model/Global.h"
#include "model/Transaction.h"
#include "model/VTDateFormatter.h"
#include "platform/InternalError.h"
#include "platform/objectstore/Context.h"
#include "reports/BreakdownExport.h"
#include "text/MarkupParser.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <unordered_set>

namespace vantrel::app {

namespace {

using reports::CategoryBreakdown;

float toFloat(const model::Amount& amount) {
    return amount.toString().toFloat();
}

double toDouble(const model::Amount& amount) {
    return amount.toString().toDouble();
}

// 100 x part / whole, 0 when the whole is zero.
double percentOf(const model::Amount& part, const model::Amount& whole) {
    return whole.isZero() ? 0.0 : 100.0 * toDouble(part) / toDouble(whole);
}

QString percentText(double percent) {
    return QString::asprintf("%.0f%%", percent);
}

model::Amount valueOf(const reports::BreakdownTable& table, objectstore::ManagedObject* key) {
    const auto found = table.find(key);
    return found == table.end() ? model::Amount() : found->second;
}

} // namespace

const QStringList& BreakdownViewModel::palette() {
    static const QStringList colors{QStringLiteral("55B0E4"), QStringLiteral("FCD219"),
                                    QStringLiteral("E67BAB"), QStringLiteral("2BC89A"),
                                    QStringLiteral("EC992A"), QStringLiteral("B58FF2"),
                                    QStringLiteral("62C749"), QStringLiteral("EC7663")};
    return colors;
}

BreakdownViewModel::BreakdownViewModel(Workspace& workspace, QString localeId)
    : m_workspace(workspace)
    , m_localeId(std::move(localeId))
    , m_period(BreakdownPeriod::month(model::Day::today_VT(workspace.clock()))) {}

void BreakdownViewModel::reload() {
    m_workspace.saveDatabase();
    recompute();
}

QString BreakdownViewModel::title() const {
    return m_period.title(m_localeId);
}

void BreakdownViewModel::setPeriod(const BreakdownPeriod& period) {
    m_period = period;
    m_showsIncome = false;
    m_group.reset();
    m_selection.reset();
    recompute();
}

BreakdownPeriodMenu BreakdownViewModel::periodMenu() const {
    const auto [first, last] =
        model::Transaction::reportDateRange(m_workspace.context(), m_workspace.clock());
    const model::VTDateFormatter monthFormatter =
        model::VTDateFormatter::withPattern(QStringLiteral("MMMM"), m_localeId);
    const std::vector<model::Day> monthEnds = model::Day::monthsFromStartDate(first, last);
    BreakdownPeriodMenu menu;
    for (auto monthEnd = monthEnds.rbegin(); monthEnd != monthEnds.rend(); ++monthEnd) {
        const int year = monthEnd->year_VT();
        if (menu.years.empty() || menu.years.back().wholeYear.period != BreakdownPeriod::year(year)) {
            const QString yearTitle = QString::asprintf("%d", year);
            menu.years.push_back({yearTitle, {yearTitle, BreakdownPeriod::year(year)}, {}});
        }
        menu.years.back().months.push_back(
            {monthFormatter.format(*monthEnd), BreakdownPeriod::month(*monthEnd)});
    }
    return menu;
}

void BreakdownViewModel::setShowsIncome(bool income) {
    m_showsIncome = income;
    m_group.reset();
    m_selection.reset();
    recompute();
}

QString BreakdownViewModel::expenseText() const {
    return QStringLiteral("Expense: %1").arg(homeFormatter().format(CategoryBreakdown::total(m_top.expense)));
}

QString BreakdownViewModel::incomeText() const {
    return QStringLiteral("Income: %1").arg(homeFormatter().format(CategoryBreakdown::total(m_top.income)));
}

float BreakdownViewModel::expenseShare() const {
    const model::Amount expense = CategoryBreakdown::total(m_top.expense).absolute_vt();
    const model::Amount both = expense + CategoryBreakdown::total(m_top.income).absolute_vt();
    return both.isZero() ? 0.0F : static_cast<float>(toDouble(expense) / toDouble(both));
}

float BreakdownViewModel::incomeShare() const {
    const model::Amount income = CategoryBreakdown::total(m_top.income).absolute_vt();
    const model::Amount both = income + CategoryBreakdown::total(m_top.expense).absolute_vt();
    return both.isZero() ? 0.0F : static_cast<float>(toDouble(income) / toDouble(both));
}

QString BreakdownViewModel::shownTotal() const {
    return homeFormatter().format(CategoryBreakdown::total(shownSide()));
}

QString BreakdownViewModel::sideTitle() const {
    return m_showsIncome ? QStringLiteral("Income") : QStringLiteral("Expense");
}

QString BreakdownViewModel::breadcrumbMarkup() const {
    objectstore::ManagedObject* group = drilledGroup();
    if (group == nullptr) {
        return QStringLiteral("All Categories");
    }
    const double percent = percentOf(valueOf(topSide(), group), CategoryBreakdown::total(topSide()));
    return QStringLiteral("**%1** (%2 of total)")
        .arg(text::MarkupParser::escape(CategoryBreakdown::nameOf(group)), percentText(percent));
}

objectstore::ManagedObject* BreakdownViewModel::drilledGroup() const {
    return m_group ? m_workspace.context().object(*m_group) : nullptr;
}

bool BreakdownViewModel::canDrillInto(int legendRow) const {
    return !isDrilledIn() && legendRow >= 0 && legendRow < static_cast<int>(m_legend.size()) &&
           m_legend[static_cast<std::size_t>(legendRow)].isGroup;
}

bool BreakdownViewModel::drillInto(int legendRow) {
    if (!canDrillInto(legendRow)) {
        return false;
    }
    m_group = m_legend[static_cast<std::size_t>(legendRow)].key->id();
    m_selection.reset();
    recompute();
    return true;
}

void BreakdownViewModel::backToTop() {
    m_group.reset();
    m_selection.reset();
    recompute();
}

void BreakdownViewModel::selectLegendRow(int row) {
    if (row < 0 || row >= static_cast<int>(m_legend.size())) {
        throw platform::InternalError("No legend row to select");
    }
    m_selection = Selection{{m_legend[static_cast<std::size_t>(row)].key}, false};
    loadTransactions();
}

void BreakdownViewModel::selectSlice(int slice) {
    if (slice < 0 || slice >= static_cast<int>(m_slices.size())) {
        throw platform::InternalError("No slice to select");
    }
    const BreakdownSlice& chosen = m_slices[static_cast<std::size_t>(slice)];
    m_selection = Selection{chosen.keys, chosen.isOther};
    loadTransactions();
}

void BreakdownViewModel::clearSelection() {
    m_selection.reset();
    loadTransactions();
}

std::optional<int> BreakdownViewModel::selectedLegendRow() const {
    if (!m_selection || m_selection->isOther || m_selection->keys.size() != 1) {
        return std::nullopt;
    }
    return legendRowOf(m_selection->keys.front());
}

std::optional<int> BreakdownViewModel::selectedSlice() const {
    if (m_selection && m_selection->isOther) {
        return static_cast<int>(m_slices.size()) - 1;
    }
    const std::optional<int> row = selectedLegendRow();
    if (!row) {
        return std::nullopt;
    }
    return std::min(*row, static_cast<int>(m_slices.size()) - 1);
}

QString BreakdownViewModel::selectionTitle() const {
    if (!m_selection) {
        return {};
    }
    if (m_selection->isOther) {
        return QString::fromLatin1(kOtherName);
    }
    return CategoryBreakdown::nameOf(m_selection->keys.front());
}

QString BreakdownViewModel::breakdownExportFileName() const {
    return reports::BreakdownExport::proposedFileName(title(), m_showsIncome);
}

QString BreakdownViewModel::breakdownExportText() const {
    const reports::Breakdown ungrouped =
        CategoryBreakdown::breakdown(m_workspace.context(), m_period.from(), m_period.to());
    return reports::BreakdownExport::breakdownCSV(m_showsIncome ? ungrouped.income : ungrouped.expense);
}

bool BreakdownViewModel::canExportSelectedTransactions() const {
    return m_selection && !m_selection->isOther && m_selection->keys.size() == 1 &&
           !isGroup(m_selection->keys.front());
}

QString BreakdownViewModel::transactionsExportFileName() const {
    if (!canExportSelectedTransactions()) {
        throw platform::InternalError("No single category selected to export");
    }
    return CategoryBreakdown::nameOf(m_selection->keys.front());
}

QString BreakdownViewModel::transactionsExportText() const {
    if (!canExportSelectedTransactions()) {
        throw platform::InternalError("No single category selected to export");
    }
    return reports::BreakdownExport::transactionsCSV(m_selection->keys.front(), m_transactions);
}

bool BreakdownViewModel::saveBreakdownExport(const QString& path) const {
    return write(path, breakdownExportText());
}

bool BreakdownViewModel::saveTransactionsExport(const QString& path) const {
    return write(path, transactionsExportText());
}

bool BreakdownViewModel::write(QString path, const QString& text) const {
    if (!path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive)) {
        path += QLatin1String(".csv");
    }
    QString error;
    if (reports::BreakdownExport::write(path, text, &error)) {
        return true;
    }
    m_workspace.alerts().present({QString::fromLatin1(kExportFailedMessage), error, {}});
    return false;
}

bool BreakdownViewModel::isGroup(const objectstore::ManagedObject* key) {
    return key != nullptr && key->entity().name() == QLatin1String(model::CategoryGroup::kEntity);
}

const reports::BreakdownTable& BreakdownViewModel::shownSide() const {
    return m_showsIncome ? m_shown.income : m_shown.expense;
}

const reports::BreakdownTable& BreakdownViewModel::topSide() const {
    return m_showsIncome ? m_top.income : m_top.expense;
}

model::CurrencyFormatter BreakdownViewModel::homeFormatter() const {
    return model::General::formatterForHomeCurrency(
        model::Global::sharedInstanceInContext(m_workspace.context()).homeCurrencyCode(), m_localeId);
}

void BreakdownViewModel::recompute() {
    objectstore::Context& context = m_workspace.context();
    m_top = CategoryBreakdown::breakdown(context, m_period.from(), m_period.to(), nullptr);
    objectstore::ManagedObject* group = drilledGroup();
    if (group == nullptr) {
        m_group.reset();
        m_shown = m_top;
    } else {
        m_shown = CategoryBreakdown::breakdown(context, m_period.from(), m_period.to(), group);
    }
    rebuildRows();
    keepSelectionIfShown();
    loadTransactions();
}

void BreakdownViewModel::rebuildRows() {
    const std::vector<reports::BreakdownEntry> entries =
        CategoryBreakdown::displayOrder(shownSide(), m_showsIncome);
    const model::Amount sideTotal = CategoryBreakdown::total(shownSide());
    const bool hasOther = entries.size() > static_cast<std::size_t>(kMaximumSlices);
    const model::CurrencyFormatter formatter = homeFormatter();

    m_legend.clear();
    m_slices.clear();
    BreakdownSlice other{QString::fromLatin1(kOtherName), QString::fromLatin1(kOtherColor), 0, {}, true};
    model::Amount otherSum;
    for (std::size_t index = 0; index < entries.size(); ++index) {
        const reports::BreakdownEntry& entry = entries[index];
        const bool inOwnSlice = index < static_cast<std::size_t>(kMaximumSlices);
        const QString color = inOwnSlice ? palette().at(static_cast<qsizetype>(index)) : other.color;
        const bool group = isGroup(entry.key);
        m_legend.push_back(
            {entry.key, entry.name, formatter.format(entry.amount),
             percentText(percentOf(entry.amount, sideTotal)), color, group,
             group ? QStringLiteral("Double-click to see the categories of %1").arg(entry.name) : QString()});
        if (inOwnSlice) {
            m_slices.push_back({entry.name, color, toFloat(entry.amount), {entry.key}, false});
        } else {
            otherSum += entry.amount;
            other.keys.push_back(entry.key);
        }
    }
    if (hasOther) {
        other.value = toFloat(otherSum);
        m_slices.push_back(std::move(other));
    }
}

void BreakdownViewModel::keepSelectionIfShown() {
    if (!m_selection) {
        return;
    }
    if (m_selection->isOther) {
        if (!m_slices.empty() && m_slices.back().isOther) {
            m_selection->keys = m_slices.back().keys;
        } else {
            m_selection.reset();
        }
        return;
    }
    if (m_selection->keys.size() != 1 || !legendRowOf(m_selection->keys.front())) {
        m_selection.reset();
    }
}

void BreakdownViewModel::loadTransactions() {
    m_transactions.clear();
    m_transactionRows.clear();
    if (!m_selection) {
        return;
    }
    std::unordered_set<objectstore::ManagedObject*> seen;
    for (objectstore::ManagedObject* key : m_selection->keys) {
        for (objectstore::ManagedObject* transaction :
             CategoryBreakdown::transactionsFor(m_workspace.context(), key, m_period.from(), m_period.to())) {
            if (seen.insert(transaction).second) {
                m_transactions.push_back(transaction);
            }
        }
    }
    std::sort(m_transactions.begin(), m_transactions.end(),
              [](const objectstore::ManagedObject* a, const objectstore::ManagedObject* b) {
                  return model::Transaction::precedes(*a, *b);
              });

    const model::VTDateFormatter dateFormatter(m_localeId);
    std::map<QString, model::CurrencyFormatter> formatters;
    for (objectstore::ManagedObject* object : m_transactions) {
        const model::Transaction transaction(object);
        const model::Account account(transaction.account());
        const QString code = account.currencyCode();
        auto formatter = formatters.find(code);
        if (formatter == formatters.end()) {
            formatter =
                formatters.emplace(code, model::General::formatterForCurrency(code, m_localeId)).first;
        }
        QStringList categories;
        for (const model::PlainSplit& line : transaction.sortedSplits()) {
            categories.append(CategoryBreakdown::nameOf(line.category));
        }
        const std::optional<model::Day> date = transaction.date();
        m_transactionRows.push_back(
            {object, date ? dateFormatter.format(*date) : QString(), transaction.title(),
             categories.join(QStringLiteral(", ")), account.name(),
             formatter->second.format(transaction.amount().value_or(model::Amount()))});
    }
}

std::optional<int> BreakdownViewModel::legendRowOf(const objectstore::ManagedObject* key) const {
    for (std::size_t row = 0; row < m_legend.size(); ++row) {
        if (m_legend[row].key == key) {
            return static_cast<int>(row);
        }
    }
    return std::nullopt;
}

} // namespace vantrel::app
