#pragma once

#include "model/Amount.h"
#include "model/CategoryLimit.h"

#include <QString>

#include <optional>
#include <vector>

namespace vantrel::planning {

// One row of a budget's expense or income table.
struct BudgetRow {
    enum class Type { Category, Group, Uncategorized, Total };

    QString name;
    Type type = Type::Category;
    // Category rows only.
    std::optional<model::CategoryLimit> categoryLimit;
    // The category group of a group row; nullptr for "Not Budgeted" and every other row.
    objectstore::ManagedObject* group = nullptr;
    model::Amount limit;
    model::Amount actual;
    // A group's category rows.
    std::vector<BudgetRow> categories;

    bool isNotBudgetedGroup() const { return type == Type::Group && group == nullptr; }
};

// The tracking of one side of a budget: the rows in tracking order (groups in the order first met,
// "Uncategorized" and "Not Budgeted" last) and the total.
struct BudgetTrackResult {
    std::vector<BudgetRow> progress;
    BudgetRow total;
};

} // namespace vantrel::planning
