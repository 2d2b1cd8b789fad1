#pragma once

#include "model/Amount.h"
#include "model/Day.h"
#include "model/ScheduledItem.h"

#include <QString>

namespace vantrel::planning {

// One projected occurrence of a scheduled item; never stored.
struct UpcomingTransaction {
    model::ScheduledItem scheduledTransaction;
    model::Day date;
    // As seen from the projected account (or the item's own amount for all accounts).
    model::Amount amount;
    QString amountCurrencyCode;
    model::Amount runningBalance;

    QString payee() const { return scheduledTransaction.title(); }
    bool isTransfer() const { return scheduledTransaction.isTransfer(); }
};

} // namespace vantrel::planning
