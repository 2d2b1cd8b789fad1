#pragma once

#include "model/Day.h"
#include "model/ScheduledItem.h"
#include "model/Transaction.h"

namespace vantrel::planning {

// "Schedule" on a register row: a monthly item made from a transaction, skipped past today.
class ScheduledItemFromTransaction {
public:
    // Title, notes, amount, account, date as due date and the single category (none for a split
    // transaction); monthly, interval 1; skipped while due so its first occurrence lies after today.
    static model::ScheduledItem create(const model::Transaction& transaction, const model::Day& today);
};

} // namespace vantrel::planning
