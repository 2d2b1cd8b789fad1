#pragma once

#include <QString>

namespace vantrel::app {

// One row of the trends legend: a series that can be checked, or the "Categories" heading.
struct TrendsLegendRow {
    // Empty for the heading.
    QString identifier;
    QString title;
    // Hex without "#"; empty for the heading.
    QString color;
    bool checked = false;

    bool isHeading() const { return identifier.isEmpty(); }
};

} // namespace vantrel::app
