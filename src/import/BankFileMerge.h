#pragma once

#include "import/AccountDictionary.h"
#include "import/DateOrder.h"
#include "import/ImportSummary.h"
#include "model/Account.h"
#include "model/Transaction.h"

#include <optional>

namespace vantrel::platform {
class Clock;
}

namespace vantrel::import {

class BankRecordIndex;
class CategoryUsageIndex;

// Merges one bank file into one existing account: every record is a duplicate of something
// already imported, the bank's confirmation of a pending transaction the user typed, or a new
// bank transaction. Works in the account's context and does not save.
class BankFileMerge {
public:
    BankFileMerge(model::Account account, const platform::Clock& clock);

    // Dates, descriptions, ids and the institution fix-ups, in place. A QIF or CSV file of an
    // account without a date order stores the guessed order on the account (also when none is
    // found). Throws ParseException "VTParseAmbiguousDateException" (details "sampleText" and,
    // when a date did not read with the stored order, "parseFailed"), and "VTParseException" for
    // a record without a date or an OFX posting date that is not a date.
    void preprocessActivityDictionary(AccountDictionary& dictionary);

    // The dictionary must hold exactly one account entry (InternalError otherwise). Everything
    // that can fail is checked before the first change to a transaction or the account's start
    // balance, so a failure leaves the context as it was, apart from a date order the
    // preprocessing stored. Also throws "VTParseException" for an amount with more than two
    // decimal places, which the store cannot hold.
    ImportSummary importTransactions(AccountDictionary& dictionary);

    // One record at a time against the account as it is now; the merge itself reads the account
    // once for the whole file. The entry must have its date.
    bool isDuplicateTransaction(const ImportedTransaction& entry) const;
    std::optional<model::Transaction> findTransactionToMerge(const ImportedTransaction& entry) const;
    // The pending transaction of exactly this amount dated at most 15 days away, the nearest
    // when there are several.
    std::optional<model::Transaction> findTransactionToMergeDate(const model::Day& date,
                                                                 const model::Amount& amount) const;

private:
    std::optional<DateOrder> settleDateOrder(const ImportedAccount& statement);
    void storeDateOrder(const std::optional<DateOrder>& order);
    // The start balance that makes the account's balance the bank's ledger balance after a first
    // OFX import, or nothing when the start balance stays.
    std::optional<model::Amount>
    openingBalance(FileFormat format, const ImportedAccount& statement,
                   const std::vector<const ImportedTransaction*>& accepted) const;
    void confirmPending(model::Transaction& pending, const ImportedTransaction& record,
                        std::optional<CategoryUsageIndex>& categories);
    void createBankTransaction(const ImportedTransaction& record,
                               std::optional<CategoryUsageIndex>& categories);

    model::Account m_account;
    const platform::Clock& m_clock;
};

} // namespace vantrel::import
