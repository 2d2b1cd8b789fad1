#pragma once

#include "model/Account.h"
#include "model/Transaction.h"

#include <QString>

#include <optional>

namespace vantrel::import {

// The transactions of one account as CSV or QIF text, in the register's default order (newest
// first). Building the text changes nothing stored; writeToFile puts it on disk.
class AccountExporter {
public:
    AccountExporter() = delete;

    // "Date,Title,Category,Note,Amount", then one line per category line of every transaction:
    // a split transaction repeats its date, title and notes on each of its lines.
    static QString exportTransactionsToCsv(const model::Account& account);
    // "!Type:Bank" whatever the account type, then one D/T/P record per transaction with "C*" unless
    // pending, an L line or S/$ pairs, and the notes as M. No check numbers, no split memos.
    static QString exportTransactionsToQif(const model::Account& account);

    // One CSV line, ending in "\n": MM/dd/yyyy date, title, category name, notes, the line's amount.
    static QString stringForTransaction(const model::Transaction& transaction,
                                        const model::PlainSplit& split);
    // Empty for a null or empty text; otherwise the text in double quotes with inner quotes doubled.
    static QString csvEscapedString(const QString& text);
    // The plain shortest decimal text: 100, -0.5, -12.5 (no grouping, no currency).
    static QString amountText(const model::Amount& amount);

    // Writes the text as UTF-8 through a temporary file that replaces the target only once it is
    // complete, so a failure leaves an existing file as it was. Nothing on success, else a message
    // naming the file and the cause.
    [[nodiscard]] static std::optional<QString> writeToFile(const QString& path, const QString& text);
};

} // namespace vantrel::import
