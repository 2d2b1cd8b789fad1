#pragma once

#include "model/CategoryVT.h"
#include "model/EntityObject.h"

#include <optional>

namespace vantrel::platform {
class NotificationHub;
}

namespace vantrel::model {

// The remembered values of the last transfer from one account to another; at most one per pair.
// Accounts and the category are raw objects until those classes have typed handles.
class TransferSetting : public EntityObject {
public:
    static constexpr auto kEntity = "TransferSetting";

    explicit TransferSetting(objectstore::ManagedObject* object);
    static TransferSetting insertInContext(objectstore::Context& context);
    // The setting from `from` to `to`; nothing when there is none or either account is missing.
    // More than one is an InternalError.
    static std::optional<TransferSetting>
    find(objectstore::Context& context, objectstore::ManagedObject* from, objectstore::ManagedObject* to);
    // The category transfers get unless the user picks another: the one named "Transfer" (ignoring
    // case and diacritics), inserted when missing, which then posts "VT Categories Changed" on `hub`
    // when one is given.
    static CategoryVT defaultCategoryInContext(objectstore::Context& context,
                                               platform::NotificationHub* hub = nullptr);

    QString cloudID() const;
    // In the source account's currency, as entered.
    std::optional<Amount> amount() const;
    void setAmount(const std::optional<Amount>& amount);
    // Null: the automatic titles were used.
    QString title() const;
    void setTitle(const QString& title);

    objectstore::ManagedObject* account() const;
    void setAccount(objectstore::ManagedObject* account);
    objectstore::ManagedObject* toAccount() const;
    void setToAccount(objectstore::ManagedObject* account);
    objectstore::ManagedObject* category() const;
    void setCategory(objectstore::ManagedObject* category);

private:
    struct Indexes;
    static const Indexes& ix();
};

} // namespace vantrel::model
