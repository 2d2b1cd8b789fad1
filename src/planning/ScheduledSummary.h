#pragma once

#include "model/Amount.h"
#include "platform/objectstore/Context.h"

#include <QString>

namespace vantrel::planning {

// The monthly or annual figure in the scheduled-items status bar.
class ScheduledSummary {
public:
    enum class Mode { MonthlyExpense = 1, MonthlyNet = 2, AnnualExpense = 3, AnnualNet = 4 };

    // Repeating, non-transfer items (expenses only in the expense modes), each counted by its
    // occurrences over a year (monthly items, divided by 12) or a month (weekly items); amounts as
    // stored, unconverted.
    static model::Amount summaryFor(Mode mode, objectstore::Context& context);
    // "Monthly Expense: ", "Monthly Net: ", "Annual Expense: ", "Annual Net: ".
    static QString label(Mode mode);
    // "%lu scheduled transaction" / "%lu scheduled transactions".
    static QString countText(std::size_t count);
};

} // namespace vantrel::planning
