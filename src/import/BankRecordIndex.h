#pragma once

#include "import/AccountDictionary.h"
#include "model/Account.h"
#include "model/Transaction.h"

#include <QString>

#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace vantrel::import {

// One account's bank data, read once per merge so that every record of a large file is checked in
// constant time instead of by a scan of the account: the bank ids it holds, the (description,
// amount, day) of its bank records, and its pending transactions by amount.
class BankRecordIndex {
public:
    explicit BankRecordIndex(const model::Account& account);

    // A transaction of the account carries the entry's fitID; failing that, one carries its
    // description, amount and day (when the entry has a fitID, only one without a bank id counts).
    // The entry must have its date.
    bool holdsRecord(const ImportedTransaction& entry) const;

    // The pending transaction of exactly this amount dated at most 15 days from `date`, both ends
    // included; the nearest when there are several (the first in register order among equals).
    std::optional<model::Transaction> nearestPending(const model::Day& date,
                                                     const model::Amount& amount) const;
    // Forgets a pending transaction once it has been matched, so it cannot be matched twice.
    void removePending(const model::Transaction& transaction);

    static constexpr int kMatchWindowDays = 15;

private:
    struct RecordKey {
        QString title;
        model::Amount amount;
        model::Day day;

        friend bool operator==(const RecordKey&, const RecordKey&) = default;
    };
    struct RecordKeyHash {
        std::size_t operator()(const RecordKey& key) const noexcept;
    };

    std::unordered_set<QString> m_fitIDs;
    std::unordered_set<RecordKey, RecordKeyHash> m_records;
    std::unordered_set<RecordKey, RecordKeyHash> m_recordsWithoutFitID;
    // Register order (newest first) within each amount.
    std::unordered_map<model::Amount, std::vector<objectstore::ManagedObject*>> m_pendingByAmount;
};

} // namespace vantrel::import
