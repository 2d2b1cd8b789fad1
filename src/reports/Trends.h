#pragma once

#include "model/Amount.h"
#include "model/Day.h"
#include "platform/Clock.h"
#include "platform/objectstore/Context.h"

#include <QString>
#include <QStringList>

#include <map>
#include <vector>

namespace vantrel::reports {

struct TrendPoint {
    model::Day date;
    model::Amount value;

    friend bool operator==(const TrendPoint&, const TrendPoint&) = default;
};
using TrendSeries = std::vector<TrendPoint>;

// Monthly series over the whole history: the overall balance, the expense and income totals, and
// any category's amount.
class Trends {
public:
    static constexpr auto kBalance = "balance";
    static constexpr auto kIncome = "income";
    static constexpr auto kExpense = "expense";

    // The month ends from the first month of the report range to its last.
    static std::vector<model::Day> monthList(objectstore::Context& context, const platform::Clock& clock);
    // One series per identifier ("balance", "income", "expense" or a category's cloudID), computed
    // together in one pass over the history. An identifier naming no category is an InternalError.
    static std::map<QString, TrendSeries> series(objectstore::Context& context, const platform::Clock& clock,
                                                 const QStringList& identifiers);
    static TrendSeries series(objectstore::Context& context, const platform::Clock& clock,
                              const QString& identifier);
};

} // namespace vantrel::reports
