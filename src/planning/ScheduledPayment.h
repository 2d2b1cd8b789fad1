#pragma once

#include "model/Amount.h"
#include "model/Day.h"
#include "model/ScheduledItem.h"
#include "model/Transaction.h"
#include "platform/Clock.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace vantrel::planning {

// The values the pay sheet confirms for one occurrence.
struct PaymentDetails {
    model::Day date;
    model::Amount amount;
    objectstore::ManagedObject* category = nullptr;
    QString notes;
    std::optional<std::int64_t> checkNumber;
};

// Logging an occurrence of a scheduled item as real transactions.
class ScheduledPayment {
public:
    // The transaction in the item's account and, for a transfer, the opposite one (converted when
    // the currencies differ) in the target account. The two are independent records.
    static std::vector<model::Transaction> createActualTransaction(const model::ScheduledItem& item,
                                                                   const PaymentDetails& details,
                                                                   const platform::Clock& clock);
    // createActualTransaction, then the item takes the notes given and skips to its next occurrence
    // (a one-time or last occurrence deletes it).
    static std::vector<model::Transaction> pay(model::ScheduledItem& item, const PaymentDetails& details,
                                               const platform::Clock& clock);
};

} // namespace vantrel::planning
