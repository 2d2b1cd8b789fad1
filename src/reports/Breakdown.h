#pragma once

#include "model/Amount.h"
#include "model/Day.h"
#include "platform/objectstore/Context.h"

#include <QString>

#include <optional>
#include <unordered_map>
#include <vector>

namespace vantrel::reports {

// Category sums of a period in the home currency. A key is a category, a category group (in a
// folded breakdown) or nullptr, which stands for everything without a category.
using BreakdownTable = std::unordered_map<objectstore::ManagedObject*, model::Amount>;

// A period's category sums split per category on their net amount: above zero is income, zero or
// below is expense.
struct Breakdown {
    BreakdownTable expense;
    BreakdownTable income;
};

// One entry of a side in display order.
struct BreakdownEntry {
    objectstore::ManagedObject* key = nullptr;
    QString name;
    model::Amount amount;
};

class CategoryBreakdown {
public:
    // Unsplit transactions by category and split lines by their category, summed per (account
    // currency, category), each sum rounded to cents and converted once into the home currency.
    // Both ends included; `from` absent means from the beginning, both absent means everything.
    static BreakdownTable categorySums(objectstore::Context& context, const std::optional<model::Day>& from,
                                       const std::optional<model::Day>& to);
    static Breakdown breakdown(objectstore::Context& context, const std::optional<model::Day>& from,
                               const std::optional<model::Day>& to);
    // With a group: only that group's categories on each side. With nullptr: categories folded into
    // their groups.
    static Breakdown breakdown(objectstore::Context& context, const std::optional<model::Day>& from,
                               const std::optional<model::Day>& to, objectstore::ManagedObject* group);
    static BreakdownTable groupBreakdown(const BreakdownTable& table);
    static BreakdownTable removeAllNotInGroup(objectstore::ManagedObject* group, const BreakdownTable& table);
    static model::Amount total(const BreakdownTable& table);
    static model::Amount expenseTotal(objectstore::Context& context, const std::optional<model::Day>& from,
                                      const std::optional<model::Day>& to);
    static model::Amount incomeTotal(objectstore::Context& context, const std::optional<model::Day>& from,
                                     const std::optional<model::Day>& to);
    // Largest magnitude first (expenses ascending, income descending), ties by name; named by the
    // category or group, "Uncategorized" for nullptr.
    static std::vector<BreakdownEntry> displayOrder(const BreakdownTable& table, bool income);
    static QString nameOf(const objectstore::ManagedObject* key);
    // The transactions behind a key in the period: a category's (directly or in a split), a group's
    // (the union over its categories), or the uncategorised ones for nullptr; newest first.
    static std::vector<objectstore::ManagedObject*> transactionsFor(objectstore::Context& context,
                                                                    objectstore::ManagedObject* key,
                                                                    const model::Day& from,
                                                                    const model::Day& to);
};

} // namespace vantrel::reports
