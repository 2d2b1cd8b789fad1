#pragma once

#include "app/TrendsChartData.h"
#include "app/TrendsLegendRow.h"
#include "model/CurrencyFormatter.h"
#include "model/Day.h"
#include "model/IcuBridge.h"
#include "reports/Trends.h"
#include "reports/TrendsLegend.h"

#include <QString>

#include <map>
#include <vector>

namespace vantrel::app {

class Workspace;

// What the trends view shows: the legend of series with their check boxes (at most five checked,
// remembered between launches) and the monthly lines of the checked ones.
class TrendsViewModel {
public:
    // Reads the remembered selection; nothing is computed before reload().
    explicit TrendsViewModel(Workspace& workspace, QString localeId = model::IcuBridge::systemLocaleId());

    // Re-reads the categories (dropping selected ones that are gone) and recomputes every selected
    // series over the current history.
    void reload();

    std::vector<TrendsLegendRow> legendRows() const;
    // Checking computes that series, unchecking drops it; the others stay as they are. Checking a
    // sixth series, or the heading, is refused: false, and nothing changes.
    bool setChecked(const QString& identifier, bool checked);
    const QStringList& selection() const { return m_legend.selection(); }
    // Under the legend: how many series can be drawn at once.
    QString legendHint() const;

    // The computed series by identifier.
    const std::map<QString, reports::TrendSeries>& series() const { return m_series; }
    const std::vector<model::Day>& months() const { return m_months; }
    TrendsChartData chartData() const;
    // A value of the chart in the home currency, as its axis and tips show it.
    QString valueText(double value, bool withCents) const;

private:
    model::CurrencyFormatter homeFormatter(bool withCents) const;
    static QString formatted(const model::CurrencyFormatter& formatter, double value, bool withCents);

    Workspace& m_workspace;
    QString m_localeId;
    reports::TrendsLegend m_legend;
    std::vector<model::Day> m_months;
    std::map<QString, reports::TrendSeries> m_series;
};

} // namespace vantrel::app
