#pragma once

#include "model/Budget.h"
#include "model/CategoryLimit.h"
#include "platform/Clock.h"

#include <optional>

namespace vantrel::planning {

// Budgets generated from history: each limit is the category's average amount per day over up to
// the last 366 days times the budget's days, rounded to whole units.
class BudgetEstimate {
public:
    // Replaces every limit of the budget by a fresh estimate per category (as of `day`, today when
    // absent).
    static void estimate(model::Budget& budget, const std::optional<model::Day>& day,
                         const platform::Clock& clock);
    static void estimate(model::CategoryLimit& limit, const std::optional<model::Day>& day,
                         const platform::Clock& clock);
    // A new budget with that name, start and length, estimated as of today. The caller saves.
    static model::Budget createBudget(objectstore::Context& context, const QString& name,
                                      const model::Day& start, int months, const platform::Clock& clock);
};

} // namespace vantrel::planning
