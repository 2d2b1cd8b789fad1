#include "planning/ScheduledSummary.h"

#include "model/ScheduledItem.h"
#include "planning/ScheduledList.h"

namespace vantrel::planning {

namespace {

using model::Amount;
using model::ScheduledItem;

bool countsExpensesOnly(ScheduledSummary::Mode mode) {
    return mode == ScheduledSummary::Mode::MonthlyExpense || mode == ScheduledSummary::Mode::AnnualExpense;
}

bool isAnnual(ScheduledSummary::Mode mode) {
    return mode == ScheduledSummary::Mode::AnnualExpense || mode == ScheduledSummary::Mode::AnnualNet;
}

// One month's worth of the item: a monthly item's occurrences over a year spread over 12 months, a
// weekly item's occurrences over one month. endsAfter limits both counts.
Amount monthlyShare(const ScheduledItem& item) {
    const model::Day due = *item.nextDueDate();
    const Amount amount = item.amount().value_or(Amount(0));
    if (item.repeatType() == QLatin1String(ScheduledItem::kMonthRepeat)) {
        const auto count =
            static_cast<std::int64_t>(item.upcomingDatesUntil(due.advanceMonths_VT(12).daysAgo_VT(1)).size());
        return (amount * Amount(count)).dividedBy(Amount(12));
    }
    const auto count =
        static_cast<std::int64_t>(item.upcomingDatesUntil(due.advanceMonths_VT(1).daysAgo_VT(1)).size());
    return amount * Amount(count);
}

bool counts(const ScheduledItem& item, ScheduledSummary::Mode mode) {
    const QString type = item.repeatType();
    const bool weeklyOrMonthly = type == QLatin1String(ScheduledItem::kWeekRepeat) ||
                                 type == QLatin1String(ScheduledItem::kMonthRepeat);
    return weeklyOrMonthly && item.nextDueDate() && !item.isTransfer() &&
           (!countsExpensesOnly(mode) || item.isExpense());
}

} // namespace

Amount ScheduledSummary::summaryFor(Mode mode, objectstore::Context& context) {
    Amount total(0);
    for (const ScheduledItem& item : ScheduledList::allItems(context)) {
        if (counts(item, mode)) {
            total += monthlyShare(item);
        }
    }
    return isAnnual(mode) ? total * Amount(12) : total;
}

QString ScheduledSummary::label(Mode mode) {
    switch (mode) {
    case Mode::MonthlyExpense:
        return QStringLiteral("Monthly Expense: ");
    case Mode::MonthlyNet:
        return QStringLiteral("Monthly Net: ");
    case Mode::AnnualExpense:
        return QStringLiteral("Annual Expense: ");
    case Mode::AnnualNet:
        break;
    }
    return QStringLiteral("Annual Net: ");
}

QString ScheduledSummary::countText(std::size_t count) {
    return count == 1 ? QStringLiteral("%1 scheduled transaction").arg(count)
                      : QStringLiteral("%1 scheduled transactions").arg(count);
}

} // namespace vantrel::planning
