#include "import/AccountExporter.h"

#include "model/CategoryVT.h"
#include "model/CsvText.h"
#include "model/TextHelper.h"

namespace vantrel::import {
namespace {

QString twoDigits(int value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

QString fourDigits(int value) {
    return QStringLiteral("%1").arg(value, 4, 10, QLatin1Char('0'));
}

// Days are stored as UTC midnight, so the civil fields are the day itself.
QString monthFirst(const std::optional<model::Day>& day) {
    if (!day) {
        return {};
    }
    return QStringLiteral("%1/%2/%3")
        .arg(twoDigits(day->month_VT()), twoDigits(day->day_vt()), fourDigits(day->year_VT()));
}

QString dayFirst(const std::optional<model::Day>& day) {
    if (!day) {
        return {};
    }
    return QStringLiteral("%1/%2/%3")
        .arg(twoDigits(day->day_vt()), twoDigits(day->month_VT()), fourDigits(day->year_VT()));
}

QString categoryName(objectstore::ManagedObject* category) {
    return category == nullptr ? QString() : model::CategoryVT(category).name();
}

void appendQifRecord(QString& out, const model::Transaction& transaction) {
    out += QStringLiteral("D%1\nT%2\nP%3\n")
               .arg(dayFirst(transaction.date()),
                    AccountExporter::amountText(transaction.amount().value_or(model::Amount())),
                    transaction.title());
    if (!transaction.isPending()) {
        out += QStringLiteral("C*\n");
    }
    if (transaction.hasSingleCategory()) {
        if (objectstore::ManagedObject* category = transaction.theCategory()) {
            out += QStringLiteral("L%1\n").arg(categoryName(category));
        }
    } else {
        for (const model::PlainSplit& split : transaction.splits()) {
            out += QStringLiteral("S%1\n$%2\n")
                       .arg(categoryName(split.category), AccountExporter::amountText(split.amount));
        }
    }
    if (model::TextHelper::isPresent_vt(transaction.notes())) {
        out += QStringLiteral("M%1\n").arg(transaction.notes());
    }
    out += QStringLiteral("^\n");
}

} // namespace

QString AccountExporter::exportTransactionsToCsv(const model::Account& account) {
    QString out = QStringLiteral("Date,Title,Category,Note,Amount\n");
    for (objectstore::ManagedObject* object : account.orderedTransactions()) {
        const model::Transaction transaction(object);
        for (const model::PlainSplit& split : transaction.splits()) {
            out += stringForTransaction(transaction, split);
        }
    }
    return out;
}

QString AccountExporter::exportTransactionsToQif(const model::Account& account) {
    QString out = QStringLiteral("!Type:Bank\n");
    for (objectstore::ManagedObject* object : account.orderedTransactions()) {
        appendQifRecord(out, model::Transaction(object));
    }
    return out;
}

QString AccountExporter::stringForTransaction(const model::Transaction& transaction,
                                              const model::PlainSplit& split) {
    // One arg() call: a title containing "%1" must not be substituted again.
    return QStringLiteral("%1,%2,%3,%4,%5\n")
        .arg(monthFirst(transaction.date()), csvEscapedString(transaction.title()),
             csvEscapedString(categoryName(split.category)), csvEscapedString(transaction.notes()),
             amountText(split.amount));
}

QString AccountExporter::csvEscapedString(const QString& text) {
    return model::CsvText::escaped(text);
}

QString AccountExporter::amountText(const model::Amount& amount) {
    return model::CsvText::amountText(amount);
}

std::optional<QString> AccountExporter::writeToFile(const QString& path, const QString& text) {
    return model::CsvText::writeToFile(path, text);
}

} // namespace vantrel::import
