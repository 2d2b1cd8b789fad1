#pragma once

#include "app/BreakdownPeriod.h"

#include <QString>

#include <vector>

namespace vantrel::app {

// The breakdown's period menu as plain values: one submenu per year, newest first, whose first item
// selects the whole year and whose other items (after a separator) are its months, newest first.
struct BreakdownPeriodMenu {
    struct Item {
        QString title;
        BreakdownPeriod period;
    };
    struct Year {
        // "%d".
        QString title;
        Item wholeYear;
        // "MMMM".
        std::vector<Item> months;
    };

    std::vector<Year> years;
};

} // namespace vantrel::app
