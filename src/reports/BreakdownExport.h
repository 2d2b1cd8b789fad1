#pragma once

#include "model/Day.h"
#include "reports/Breakdown.h"

#include <QString>

#include <vector>

namespace vantrel::reports {

// The breakdown's CSV exports: one line per category of a side, or the transactions of one category.
class BreakdownExport {
public:
    // "%@ Expense Breakdown" / "%@ Income Breakdown" of the period title.
    static QString proposedFileName(const QString& periodTitle, bool income);
    // "Category,Amount", then "%@,$%@" per entry, largest magnitude first.
    static QString breakdownCSV(const BreakdownTable& side);
    // "Date,Payee,Note,Amount, Currency", then per transaction each category line of `category`
    // (nullptr: the uncategorised lines) as "%@,%@,%@,$%@, %@".
    static QString transactionsCSV(const objectstore::ManagedObject* category,
                                   const std::vector<objectstore::ManagedObject*>& transactions);
    // Written whole through a save file, so a failure leaves an existing file untouched. False with
    // `error` set when it cannot be written.
    static bool write(const QString& path, const QString& text, QString* error);
};

} // namespace vantrel::reports
