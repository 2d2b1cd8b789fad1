#pragma once

#include "app/AppWorkspaceFixture.h"
#include "model/ScheduledItem.h"

#include <optional>

namespace vantrel::testsupport {

// The application workspace (today is Friday 1 March 2024) with a checking account in dollars, a
// savings account in euros, and a way to plan items in them.
class ScheduledItemFixture : public AppWorkspaceFixture {
protected:
    ScheduledItemFixture() { savings.setCurrencyCode(QStringLiteral("EUR")); }

    // A monthly item unless told otherwise; a null repeat type makes it one-time.
    model::ScheduledItem newItem(const QString& title, const model::Account& account, const char* value,
                                 const model::Day& due, const char* repeat = "Month") {
        model::ScheduledItem item = model::ScheduledItem::insertInContext(context);
        item.setTitle(title);
        item.setAccount(account.object());
        item.setAmount(amount(value));
        item.setNextDueDate(due);
        if (repeat != nullptr) {
            item.setRepeatType(QString::fromLatin1(repeat));
            item.setRepeatInterval(1);
        }
        return item;
    }

    model::ScheduledItem newTransfer(const QString& title, const model::Account& from,
                                     const model::Account& to, const char* value, const model::Day& due) {
        model::ScheduledItem item = newItem(title, from, value, due);
        item.setToAccount(to.object());
        return item;
    }

    static objectstore::ObjectID idOf(const model::ScheduledItem& item) { return item.object()->id(); }

    // What a later session finds of the item: nothing when it was deleted (or never saved).
    // Takes the id, not the item: a deleted item's object is gone after the save.
    static std::optional<model::ScheduledItem> savedItem(const objectstore::ObjectID& item,
                                                         const objectstore::Context& saved) {
        objectstore::ManagedObject* object = saved.object(item);
        return object == nullptr ? std::nullopt : std::optional(model::ScheduledItem(object));
    }

    model::Account checking = newAccount(QStringLiteral("Checking"), QStringLiteral("checking"), "1000");
    model::Account savings = newAccount(QStringLiteral("Savings"), QStringLiteral("savings"), "500");
};

} // namespace vantrel::testsupport
