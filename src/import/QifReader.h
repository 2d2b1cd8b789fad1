#pragma once

#include "import/AccountDictionary.h"

#include <QString>
#include <QStringView>

#include <vector>

namespace vantrel::import {

// Quicken Interchange Format files, in two flavours that share the record syntax: the bank
// flavour (one bank's activity file: transactions only, descriptions cleaned up) and the program
// flavour (another finance program's export: account blocks, payees as written, splits and
// transfers). Records and fields are found by scanning lines once, so that the cost stays linear
// in the file size whatever the file holds. Failures are ParseExceptions; nothing partial is
// returned.
class QifReader {
public:
    QifReader() = delete;

    // Bank flavour: format Qif, exactly one account entry.
    static AccountDictionary parseFileForTransactions(const QString& path);
    static AccountDictionary parseForTransactions(QStringView text);

    // True when no line is "!Account" (trailing white space allowed).
    static bool fileContainsOnlyTransactions(const QString& path);
    static bool stringContainsOnlyTransactions(QStringView text);

    // Program flavour, a file with account blocks: one entry per block followed by a recognised
    // "!Type:" line, in file order.
    static std::vector<ImportedAccount> parseAccountsFileFromApp(const QString& path);
    static std::vector<ImportedAccount> parse(QStringView text);

    // Program flavour, a file of transactions for one account.
    static ImportedAccount parseTransactionsOnlyFileFromApp(const QString& path);
    static ImportedAccount parseTransactionsOnlyStringFromApp(QStringView text);

    // Runs of white space become one space.
    static QString processName(QStringView text);
};

} // namespace vantrel::import
