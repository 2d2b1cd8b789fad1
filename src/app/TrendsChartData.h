#pragma once

#include "app/ChartAxisScale.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace vantrel::app {

// What the trends chart draws: one label per month (oldest first, so the most recent is drawn at the
// right end), one line per selected series, and the value axis that holds them all. Values are
// doubles for drawing only; the series themselves are exact.
struct TrendsChartData {
    struct Line {
        QString identifier;
        QString title;
        // Hex without "#".
        QString color;
        // One per month; a series shorter than the month list (computed before the history grew)
        // covers the first months only.
        std::vector<double> values;
        // The same values in the home currency with cents, for tips.
        QStringList valueTexts;
    };

    QStringList monthLabels;
    std::vector<Line> lines;
    ChartAxisScale valueAxis;
    // One text per tick of valueAxis.
    QStringList valueLabels;
    // Shown instead of lines when none is checked.
    QString placeholder;
};

} // namespace vantrel::app
