#pragma once

#include "model/Amount.h"
#include "platform/objectstore/Context.h"
#include "reports/Breakdown.h"

#include <QString>

#include <cstddef>
#include <functional>
#include <unordered_map>
#include <utility>
#include <vector>

namespace vantrel::reports {

// The sums of one period's transactions as grouped store sums give them: the category lines summed
// exactly per (account, category), and each account's transaction total. Accounts are resolved to
// their currency only when the sums are finished, so adding a transaction reads nothing but its own
// lines.
class PeriodSums {
public:
    explicit PeriodSums(objectstore::Context& context);

    // An unsplit transaction counts under its category, a split one under its lines' categories.
    void add(objectstore::ManagedObject* transaction);
    void addAll(const std::vector<objectstore::ManagedObject*>& transactions);
    void clear();

    // The line sums merged per currency code, each rounded to cents and converted once into the
    // home currency, then added up per category (nullptr: uncategorised).
    BreakdownTable categorySums() const;
    // Every account's total, a foreign account's converted once, summed in the home currency.
    model::Amount accountsTotal() const;

private:
    using Line = std::pair<objectstore::ManagedObject*, objectstore::ManagedObject*>;
    struct LineHash {
        std::size_t operator()(const Line& line) const noexcept {
            const std::size_t a = std::hash<const void*>()(line.first);
            return a ^ (std::hash<const void*>()(line.second) + 0x9e3779b97f4a7c15ULL + (a << 6) + (a >> 2));
        }
    };

    void addLine(objectstore::ManagedObject* account, objectstore::ManagedObject* category,
                 const model::Amount& amount);
    const QString& currencyCodeOf(objectstore::ManagedObject* account) const;

    objectstore::Context& m_context;
    QString m_homeCode;
    std::unordered_map<Line, model::Amount, LineHash> m_lines;
    std::unordered_map<objectstore::ManagedObject*, model::Amount> m_accountTotals;
    mutable std::unordered_map<objectstore::ManagedObject*, QString> m_codes;
};

} // namespace vantrel::reports
