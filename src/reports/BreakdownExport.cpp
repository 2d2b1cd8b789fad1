#include "reports/BreakdownExport.h"

#include "model/Account.h"
#include "model/CsvText.h"
#include "model/Transaction.h"

#include <algorithm>

namespace vantrel::reports {

QString BreakdownExport::proposedFileName(const QString& periodTitle, bool income) {
    return (income ? QStringLiteral("%1 Income Breakdown") : QStringLiteral("%1 Expense Breakdown"))
        .arg(periodTitle);
}

QString BreakdownExport::breakdownCSV(const BreakdownTable& side) {
    // The display order already breaks ties by name; only the magnitude decides beyond that.
    std::vector<BreakdownEntry> entries = CategoryBreakdown::displayOrder(side, false);
    std::stable_sort(entries.begin(), entries.end(), [](const BreakdownEntry& a, const BreakdownEntry& b) {
        return a.amount.absolute_vt() > b.amount.absolute_vt();
    });
    QString out = QStringLiteral("Category,Amount\n");
    for (const BreakdownEntry& entry : entries) {
        out += QStringLiteral("%1,$%2\n")
                   .arg(model::CsvText::escaped(entry.name), model::CsvText::amountText(entry.amount));
    }
    return out;
}

QString BreakdownExport::transactionsCSV(const objectstore::ManagedObject* category,
                                         const std::vector<objectstore::ManagedObject*>& transactions) {
    QString out = QStringLiteral("Date,Payee,Note,Amount, Currency\n");
    for (objectstore::ManagedObject* object : transactions) {
        const model::Transaction transaction(object);
        const std::optional<model::Day> date = transaction.date();
        const QString dateText = date ? date->toQDate().toString(QStringLiteral("MM/dd/yyyy")) : QString();
        const QString currency = model::Account(transaction.account()).currencyCode();
        for (const model::PlainSplit& line : transaction.splits()) {
            if (line.category != category) {
                continue;
            }
            // One arg() call, so a title containing "%1" is not substituted again.
            out += QStringLiteral("%1,%2,%3,$%4, %5\n")
                       .arg(dateText, model::CsvText::escaped(transaction.title()),
                            model::CsvText::escaped(transaction.notes()),
                            model::CsvText::amountText(line.amount), currency);
        }
    }
    return out;
}

bool BreakdownExport::write(const QString& path, const QString& text, QString* error) {
    const std::optional<QString> failure = model::CsvText::writeToFile(path, text);
    if (failure && error != nullptr) {
        *error = *failure;
    }
    return !failure;
}

} // namespace vantrel::reports
