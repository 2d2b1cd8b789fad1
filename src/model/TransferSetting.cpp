#include "model/TransferSetting.h"

#include "platform/InternalError.h"
#include "platform/NotificationHub.h"
#include "platform/NotificationNames.h"
#include "platform/objectstore/Context.h"

namespace vantrel::model {

struct TransferSetting::Indexes {
    static int a(const char16_t* name) { return EntityObject::attributeIndex(u"TransferSetting", name); }
    static int r(const char16_t* name) { return EntityObject::relationshipIndex(u"TransferSetting", name); }

    int cloudID = a(u"cloudID");
    int amount = a(u"amount");
    int title = a(u"title");
    int account = r(u"account");
    int toAccount = r(u"toAccount");
    int category = r(u"category");
    // The source account's side, so a lookup reads only that account's settings.
    int accountTransferSettings = EntityObject::relationshipIndex(u"Account", u"transferSettings");
};

const TransferSetting::Indexes& TransferSetting::ix() {
    static const Indexes indexes;
    return indexes;
}

TransferSetting::TransferSetting(objectstore::ManagedObject* object)
    : EntityObject(object) {}

TransferSetting TransferSetting::insertInContext(objectstore::Context& context) {
    return TransferSetting(insertWithCloudID(context, u"TransferSetting"));
}

std::optional<TransferSetting> TransferSetting::find(objectstore::Context& context,
                                                     objectstore::ManagedObject* from,
                                                     objectstore::ManagedObject* to) {
    if (from == nullptr || to == nullptr) {
        return std::nullopt;
    }
    if (&from->context() != &context || &to->context() != &context) {
        throw platform::InternalError("Transfer setting accounts belong to another context");
    }
    std::optional<TransferSetting> found;
    for (objectstore::ManagedObject* setting : from->toMany(ix().accountTransferSettings)) {
        if (setting->isDeleted() || setting->toOne(ix().toAccount) != to) {
            continue;
        }
        if (found) {
            throw platform::InternalError("Expected at most one transfer setting per pair of accounts");
        }
        found.emplace(setting);
    }
    return found;
}

CategoryVT TransferSetting::defaultCategoryInContext(objectstore::Context& context,
                                                     platform::NotificationHub* hub) {
    const QString name = QStringLiteral("Transfer");
    if (std::optional<CategoryVT> existing = CategoryVT::findByName(context, name)) {
        return *existing;
    }
    CategoryVT category = CategoryVT::insertInContext(context);
    category.setName(name);
    if (hub != nullptr) {
        hub->post(QString::fromLatin1(platform::kCategoriesChanged));
    }
    return category;
}

QString TransferSetting::cloudID() const {
    return string(ix().cloudID);
}

std::optional<Amount> TransferSetting::amount() const {
    return decimal(ix().amount);
}

void TransferSetting::setAmount(const std::optional<Amount>& amount) {
    setDecimal(ix().amount, amount);
}

QString TransferSetting::title() const {
    return string(ix().title);
}

void TransferSetting::setTitle(const QString& title) {
    setString(ix().title, title);
}

objectstore::ManagedObject* TransferSetting::account() const {
    return toOne(ix().account);
}

void TransferSetting::setAccount(objectstore::ManagedObject* account) {
    setToOne(ix().account, account);
}

objectstore::ManagedObject* TransferSetting::toAccount() const {
    return toOne(ix().toAccount);
}

void TransferSetting::setToAccount(objectstore::ManagedObject* account) {
    setToOne(ix().toAccount, account);
}

objectstore::ManagedObject* TransferSetting::category() const {
    return toOne(ix().category);
}

void TransferSetting::setCategory(objectstore::ManagedObject* category) {
    setToOne(ix().category, category);
}

} // namespace vantrel::model
