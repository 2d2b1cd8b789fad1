#include "planning/ScheduledItemFromTransaction.h"

namespace vantrel::planning {

model::ScheduledItem ScheduledItemFromTransaction::create(const model::Transaction& transaction,
                                                          const model::Day& today) {
    model::ScheduledItem item = model::ScheduledItem::insertInContext(transaction.context());
    item.setTitle(transaction.title());
    item.setNotes(transaction.notes());
    item.setAmount(transaction.amount());
    item.setAccount(transaction.account());
    item.setNextDueDate(transaction.date().value_or(today));
    item.setCategory(transaction.hasSingleCategory() ? transaction.theCategory() : nullptr);
    item.setRepeatType(QLatin1String(model::ScheduledItem::kMonthRepeat));
    item.setRepeatInterval(1);
    // A schedule made from a past payment starts with the next one still to come.
    while (item.isDue(today)) {
        item.skip();
    }
    return item;
}

} // namespace vantrel::planning
