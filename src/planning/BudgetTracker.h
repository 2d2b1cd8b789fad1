#pragma once

#include "model/Budget.h"
#include "planning/BudgetTrackResult.h"

#include <map>

namespace vantrel::planning {

// Compares a budget's limits with what was booked in its period.
class BudgetTracker {
public:
    enum class Side { Expense, Income };

    // One limit per category: missing ones are created at zero ("Created missing category limit for
    // %@"), extra ones deleted keeping the smallest cloudID ("Deleted extra category limit for %@").
    static void fixCategoryLimits(model::Budget& budget);
    // fixCategoryLimits, then the rows of one side, summed.
    static BudgetTrackResult track(model::Budget& budget, Side side);
    // Group sums and the total row.
    static void summarize(BudgetTrackResult& result);
    // actual < limit, compared as floating point.
    static bool isOverBudget(const BudgetRow& row);
    // Over-budget category rows of the expense side (inside groups too; not "Uncategorized").
    static int countOverBudget(model::Budget& budget);
    // countOverBudget for every budget of the context, by budget identity.
    static std::map<objectstore::ObjectID, int> countOverBudgetForAll(objectstore::Context& context);
    // How rows sort in the tables.
    enum class SortKey { AbsoluteLimit, Limit, Actual };
    // Sorts "progress" and the rows inside every group (descending; the default is by the absolute
    // value of the limit). The total stays as it is.
    static void sort(BudgetTrackResult& result, SortKey key, bool descending = true);
};

} // namespace vantrel::planning
