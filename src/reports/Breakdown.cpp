#include "reports/Breakdown.h"

#include "model/CategoryGroup.h"
#include "model/CategoryVT.h"
#include "model/Transaction.h"
#include "reports/PeriodSums.h"

#include <algorithm>
#include <unordered_set>

namespace vantrel::reports {

namespace {

QDateTime bound(const std::optional<model::Day>& day) {
    // An invalid bound leaves that end of the date index open.
    return day ? day->toInstant() : QDateTime();
}

bool isCategory(const objectstore::ManagedObject* key) {
    return key != nullptr && key->entity().name() == QLatin1String(model::CategoryVT::kEntity);
}

objectstore::ManagedObject* groupOf(const objectstore::ManagedObject* key) {
    return isCategory(key) ? model::CategoryVT(const_cast<objectstore::ManagedObject*>(key)).group()
                           : nullptr;
}

Breakdown sides(const BreakdownTable& sums) {
    Breakdown result;
    for (const auto& [key, amount] : sums) {
        // A net of exactly zero counts as spending.
        (amount.isIncome_vt() ? result.income : result.expense).emplace(key, amount);
    }
    return result;
}

} // namespace

BreakdownTable CategoryBreakdown::categorySums(objectstore::Context& context,
                                               const std::optional<model::Day>& from,
                                               const std::optional<model::Day>& to) {
    PeriodSums sums(context);
    sums.addAll(context.inDateRange(u"Transaction", u"date", bound(from), bound(to)));
    return sums.categorySums();
}

Breakdown CategoryBreakdown::breakdown(objectstore::Context& context, const std::optional<model::Day>& from,
                                       const std::optional<model::Day>& to) {
    return sides(categorySums(context, from, to));
}

Breakdown CategoryBreakdown::breakdown(objectstore::Context& context, const std::optional<model::Day>& from,
                                       const std::optional<model::Day>& to,
                                       objectstore::ManagedObject* group) {
    Breakdown result = breakdown(context, from, to);
    if (group != nullptr) {
        return {removeAllNotInGroup(group, result.expense), removeAllNotInGroup(group, result.income)};
    }
    return {groupBreakdown(result.expense), groupBreakdown(result.income)};
}

BreakdownTable CategoryBreakdown::groupBreakdown(const BreakdownTable& table) {
    BreakdownTable grouped;
    for (const auto& [key, amount] : table) {
        objectstore::ManagedObject* group = groupOf(key);
        grouped[group != nullptr ? group : key] += amount;
    }
    return grouped;
}

BreakdownTable CategoryBreakdown::removeAllNotInGroup(objectstore::ManagedObject* group,
                                                      const BreakdownTable& table) {
    BreakdownTable kept;
    for (const auto& [key, amount] : table) {
        if (group != nullptr && groupOf(key) == group) {
            kept.emplace(key, amount);
        }
    }
    return kept;
}

model::Amount CategoryBreakdown::total(const BreakdownTable& table) {
    model::Amount sum;
    for (const auto& entry : table) {
        sum += entry.second;
    }
    return sum;
}

model::Amount CategoryBreakdown::expenseTotal(objectstore::Context& context,
                                              const std::optional<model::Day>& from,
                                              const std::optional<model::Day>& to) {
    return total(breakdown(context, from, to).expense);
}

model::Amount CategoryBreakdown::incomeTotal(objectstore::Context& context,
                                             const std::optional<model::Day>& from,
                                             const std::optional<model::Day>& to) {
    return total(breakdown(context, from, to).income);
}

std::vector<BreakdownEntry> CategoryBreakdown::displayOrder(const BreakdownTable& table, bool income) {
    std::vector<BreakdownEntry> entries;
    entries.reserve(table.size());
    for (const auto& [key, amount] : table) {
        entries.push_back({key, nameOf(key), amount});
    }
    std::sort(entries.begin(), entries.end(), [income](const BreakdownEntry& a, const BreakdownEntry& b) {
        if (a.amount != b.amount) {
            return income ? a.amount > b.amount : a.amount < b.amount;
        }
        if (const int byName = model::CategoryVT::compareNames(a.name, b.name); byName != 0) {
            return byName < 0;
        }
        // Equal names (a category and a group may share one): the order must still be fixed.
        return a.name < b.name || (a.name == b.name && std::less<>()(a.key, b.key));
    });
    return entries;
}

QString CategoryBreakdown::nameOf(const objectstore::ManagedObject* key) {
    if (key == nullptr) {
        return QStringLiteral("Uncategorized");
    }
    auto* object = const_cast<objectstore::ManagedObject*>(key);
    if (isCategory(key)) {
        return model::CategoryVT(object).nameWithEmoji();
    }
    return model::CategoryGroup(object).name();
}

std::vector<objectstore::ManagedObject*> CategoryBreakdown::transactionsFor(objectstore::Context& context,
                                                                            objectstore::ManagedObject* key,
                                                                            const model::Day& from,
                                                                            const model::Day& to) {
    std::vector<objectstore::ManagedObject*> categories;
    if (key == nullptr || isCategory(key)) {
        categories.push_back(key);
    } else {
        categories = model::CategoryGroup(key).categories();
    }
    std::unordered_set<objectstore::ManagedObject*> seen;
    std::vector<objectstore::ManagedObject*> found;
    for (objectstore::ManagedObject* category : categories) {
        for (const model::Transaction& transaction :
             model::Transaction::allWithDateRange(context, from, to, category)) {
            if (seen.insert(transaction.object()).second) {
                found.push_back(transaction.object());
            }
        }
    }
    std::sort(found.begin(), found.end(), [](objectstore::ManagedObject* a, objectstore::ManagedObject* b) {
        return model::Transaction::precedes(*a, *b);
    });
    return found;
}

} // namespace vantrel::reports
