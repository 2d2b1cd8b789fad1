#pragma once

#include "model/Amount.h"
#include "model/Day.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace vantrel::import {

// What every file reader produces and every importer consumes. A reader only translates a file:
// values are kept as read (texts exactly as written unless a reader documents a cleaning step) and
// a value the file does not give stays empty, never a placeholder. Decisions about accounts,
// categories, duplicates and dates belong to the consumers.

// One category line of a program's export. A category in square brackets ("[Visa Card]") names the
// other account of a transfer; an empty or absent category means none.
struct ImportedSplit {
    std::optional<QString> category;
    model::Amount amount;
    std::optional<QString> memo;

    friend bool operator==(const ImportedSplit&, const ImportedSplit&) = default;
};

// One record. Mutable on purpose: the bank-file merge fills in `date` and rewrites names, numbers
// and ids in place while preprocessing.
struct ImportedTransaction {
    std::optional<QString> dateString; // QIF D, CSV date column: read later in the account's order
    std::optional<QString> dtPosted;   // OFX DTPOSTED as written
    std::optional<model::Day> date;    // filled by the merge's preprocessing
    model::Amount amount;              // signed; negative is money leaving the account
    std::optional<QString> name;       // the bank's description (bank flavours)
    std::optional<QString> payee;      // payee as written (program exports)
    std::optional<QString> memo;
    std::optional<std::int64_t> checkNumber;
    std::optional<bool> isPending;          // QIF C field; CSV program rows are never pending
    std::optional<QString> fitID;           // the bank's unique id
    std::optional<QString> referenceNumber; // OFX REFNUM
    std::optional<QString> transactionType; // OFX TRNTYPE, carried only
    std::vector<ImportedSplit> splits;      // program exports: at least one

    friend bool operator==(const ImportedTransaction&, const ImportedTransaction&) = default;
};

enum class AggregateType { Bank, CreditCard };

// One statement (OFX), the one account of a bank QIF or CSV file, or one account block of a
// program's QIF export.
struct ImportedAccount {
    std::vector<ImportedTransaction> transactions; // file order

    // QIF account list.
    std::optional<QString> name;
    std::optional<QString> type; // "Bank", "Cash", "CCard", "Oth A" or "Oth L"
    std::optional<model::Amount> balance;

    // OFX statement.
    std::optional<AggregateType> aggregateType;
    std::optional<QString> acctID;
    std::optional<QString> bankID;
    std::optional<QString> acctType; // "CHECKING", "SAVINGS", ...
    std::optional<QString> currency;
    std::optional<model::Day> startDate;
    std::optional<model::Day> endDate;
    std::optional<model::Amount> ledgerBalance;
    std::optional<model::Day> ledgerBalanceDate;
    std::optional<model::Amount> availableBalance;
    std::optional<model::Day> availableBalanceDate;

    friend bool operator==(const ImportedAccount&, const ImportedAccount&) = default;
};

enum class FileFormat { Ofx, Qif, Csv };

// A bank file: its format (the merge dispatches on it), one entry per statement and, for OFX, the
// sign-on language and the institution's ids that decide the institution fix-ups.
struct AccountDictionary {
    FileFormat format = FileFormat::Ofx;
    std::vector<ImportedAccount> accounts;
    std::optional<QString> language; // OFX LANGUAGE, e.g. "POR"
    std::optional<QString> fiOrg;    // OFX FI ORG (the last FI of the file wins)
    std::optional<QString> fiFid;    // OFX FI FID

    friend bool operator==(const AccountDictionary&, const AccountDictionary&) = default;
};

} // namespace vantrel::import
