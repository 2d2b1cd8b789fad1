#include "app/TrendsViewModel.h"

#include "app/Workspace.h"
#include "model/General.h"
#include "model/Global.h"
#include "model/VTDateFormatter.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vantrel::app {

namespace {

constexpr int kValueTicks = 6;

} // namespace

TrendsViewModel::TrendsViewModel(Workspace& workspace, QString localeId)
    : m_workspace(workspace)
    , m_localeId(std::move(localeId))
    , m_legend(workspace.context(), workspace.defaults()) {}

void TrendsViewModel::reload() {
    m_legend.reload();
    m_months = reports::Trends::monthList(m_workspace.context(), m_workspace.clock());
    m_series = reports::Trends::series(m_workspace.context(), m_workspace.clock(), m_legend.selection());
}

std::vector<TrendsLegendRow> TrendsViewModel::legendRows() const {
    std::vector<TrendsLegendRow> rows;
    for (const reports::TrendsLegend::Item& item : m_legend.items()) {
        rows.push_back({item.identifier, item.title, item.color,
                        !item.isHeading() && m_legend.isSelected(item.identifier)});
    }
    return rows;
}

QString TrendsViewModel::legendHint() const {
    return QStringLiteral("Up to %1 series can be drawn at once.")
        .arg(reports::TrendsLegend::kMaximumSelection);
}

bool TrendsViewModel::setChecked(const QString& identifier, bool checked) {
    if (!checked) {
        m_legend.deselect(identifier);
        m_series.erase(identifier);
        return true;
    }
    if (m_legend.isSelected(identifier)) {
        return true;
    }
    if (!m_legend.select(identifier)) {
        return false;
    }
    m_series[identifier] = reports::Trends::series(m_workspace.context(), m_workspace.clock(), identifier);
    return true;
}

TrendsChartData TrendsViewModel::chartData() const {
    TrendsChartData data;
    const model::VTDateFormatter monthFormatter =
        model::VTDateFormatter::withPattern(QStringLiteral("MMM yyyy"), m_localeId);
    for (const model::Day& month : m_months) {
        data.monthLabels.append(monthFormatter.format(month));
    }

    const model::CurrencyFormatter withCents = homeFormatter(true);
    const model::CurrencyFormatter wholeUnits = homeFormatter(false);
    double low = std::numeric_limits<double>::max();
    double high = std::numeric_limits<double>::lowest();
    // Drawn in the order the user chose them, so a new line lands on top.
    for (const QString& identifier : m_legend.selection()) {
        const auto found = m_series.find(identifier);
        if (found == m_series.end()) {
            continue;
        }
        TrendsChartData::Line line;
        line.identifier = identifier;
        line.color = m_legend.colorOf(identifier);
        for (const reports::TrendsLegend::Item& item : m_legend.items()) {
            if (item.identifier == identifier) {
                line.title = item.title;
            }
        }
        const std::size_t count = std::min(found->second.size(), m_months.size());
        for (std::size_t index = 0; index < count; ++index) {
            const double value = found->second[index].value.toString().toDouble();
            line.values.push_back(value);
            line.valueTexts.append(formatted(withCents, value, true));
            low = std::min(low, value);
            high = std::max(high, value);
        }
        data.lines.push_back(std::move(line));
    }
    if (low > high) {
        low = high = 0;
    }
    if (data.lines.empty()) {
        data.placeholder = QStringLiteral("Check up to %1 series in the list to draw them.")
                               .arg(reports::TrendsLegend::kMaximumSelection);
    }
    data.valueAxis = ChartAxisScale::forRange(low, high, kValueTicks);
    for (const double tick : data.valueAxis.ticks()) {
        data.valueLabels.append(formatted(wholeUnits, tick, false));
    }
    return data;
}

QString TrendsViewModel::valueText(double value, bool withCents) const {
    return formatted(homeFormatter(withCents), value, withCents);
}

model::CurrencyFormatter TrendsViewModel::homeFormatter(bool withCents) const {
    model::CurrencyFormatter formatter = model::General::formatterForHomeCurrency(
        model::Global::sharedInstanceInContext(m_workspace.context()).homeCurrencyCode(), m_localeId);
    if (!withCents) {
        formatter.setMaximumFractionDigits(0);
        formatter.setMinimumFractionDigits(0);
    }
    return formatter;
}

QString TrendsViewModel::formatted(const model::CurrencyFormatter& formatter, double value, bool withCents) {
    const int places = withCents ? 2 : 0;
    const std::optional<model::Amount> amount =
        model::Amount::withString_vt(QString::number(value, 'f', places));
    return formatter.format(amount.value_or(model::Amount()));
}

} // namespace vantrel::app
