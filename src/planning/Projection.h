#pragma once

#include "model/Account.h"
#include "planning/UpcomingTransaction.h"

#include <vector>

namespace vantrel::planning {

// Every occurrence of every scheduled item up to an end date, with the balance it leads to.
class Projection {
public:
    // The occurrences of all items up to `end` in date order, with only the item and date set.
    static std::vector<UpcomingTransaction> occurrencesUntil(objectstore::Context& context,
                                                             const model::Day& end);
    // All accounts in the home currency; transfers leave the total unchanged.
    static std::vector<UpcomingTransaction> allAccounts(objectstore::Context& context, const model::Day& end,
                                                        const model::Amount& startBalance);
    // The items paid from or into `account`, in its currency.
    static std::vector<UpcomingTransaction> forAccount(objectstore::Context& context,
                                                       const model::Account& account, const model::Day& end,
                                                       const model::Amount& startBalance);
};

} // namespace vantrel::planning
