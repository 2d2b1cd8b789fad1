#include "planning/ScheduledPayment.h"

#include "model/Account.h"
#include "model/Currency.h"
#include "platform/InternalError.h"

namespace vantrel::planning {

std::vector<model::Transaction> ScheduledPayment::createActualTransaction(const model::ScheduledItem& item,
                                                                          const PaymentDetails& details,
                                                                          const platform::Clock& clock) {
    if (!item.account()) {
        throw platform::InternalError("A scheduled item to log needs an account");
    }
    model::Account from(item.account());
    std::vector<model::Transaction> created;
    created.push_back(from.createTransactionWithDate(details.date, item.title(), details.amount,
                                                     details.category, details.notes, details.checkNumber,
                                                     clock));
    if (!item.isTransfer()) {
        return created;
    }
    model::Account to(item.toAccount());
    const model::Amount arriving =
        from.hasDifferentCurrencyThanAccount(to)
            ? model::Currency::exchangeByCode(item.context(), details.amount, from.currencyCode(),
                                              to.currencyCode())
            : details.amount;
    // The other side of the transfer is a record of its own: no notes, not linked to the first.
    created.push_back(to.createTransactionWithDate(details.date, item.title(), arriving.negate_vt(),
                                                   details.category, QString(), details.checkNumber, clock));
    return created;
}

std::vector<model::Transaction> ScheduledPayment::pay(model::ScheduledItem& item,
                                                      const PaymentDetails& details,
                                                      const platform::Clock& clock) {
    std::vector<model::Transaction> created = createActualTransaction(item, details, clock);
    item.setNotes(details.notes);
    item.skip();
    return created;
}

} // namespace vantrel::planning
