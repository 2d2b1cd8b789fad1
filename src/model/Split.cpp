#include "model/Split.h"

#include "model/Account.h"
#include "model/Currency.h"
#include "model/ModelErrors.h"
#include "model/SplitSet.h"
#include "model/Transaction.h"

namespace vantrel::model {

namespace {

struct Indexes {
    int cloudID = EntityObject::attributeIndex(u"Split", u"cloudID");
    int amount = EntityObject::attributeIndex(u"Split", u"amount");
    int splitSet = EntityObject::relationshipIndex(u"Split", u"splitSet");
    int category = EntityObject::relationshipIndex(u"Split", u"category");
};

const Indexes& ix() {
    static const Indexes indexes;
    return indexes;
}

} // namespace

Split::Split(objectstore::ManagedObject* object)
    : EntityObject(object) {}

Split Split::insertInContext(objectstore::Context& context) {
    return Split(insertWithCloudID(context, u"Split"));
}

QString Split::cloudID() const {
    return string(ix().cloudID);
}

std::optional<Amount> Split::amount() const {
    return decimal(ix().amount);
}

void Split::setAmount(const std::optional<Amount>& amount) {
    setDecimal(ix().amount, amount);
}

objectstore::ManagedObject* Split::splitSet() const {
    return toOne(ix().splitSet);
}

void Split::setSplitSet(objectstore::ManagedObject* splitSet) {
    setToOne(ix().splitSet, splitSet);
}

objectstore::ManagedObject* Split::category() const {
    return toOne(ix().category);
}

void Split::setCategory(objectstore::ManagedObject* category) {
    setToOne(ix().category, category);
}

std::optional<objectstore::ValidationError> Split::validate(objectstore::ManagedObject& object,
                                                            objectstore::ValidationPhase phase) {
    const auto amount = Split(&object).amount();
    if (phase != objectstore::ValidationPhase::Delete && amount && !amount->hasAtMostPlaces(2)) {
        return ModelErrors::internalGeneralError(QStringLiteral("9FEW3"));
    }
    return std::nullopt;
}

Amount Split::amountInHomeCurrency() const {
    const Amount value = amount().value_or(Amount());
    objectstore::ManagedObject* set = splitSet();
    objectstore::ManagedObject* transaction = set == nullptr ? nullptr : SplitSet(set).transaction();
    objectstore::ManagedObject* owner = transaction == nullptr ? nullptr : Transaction(transaction).account();
    if (owner == nullptr) {
        return value;
    }
    return Currency::toHomeCurrency(context(), value, Account(owner).currencyCode());
}

} // namespace vantrel::model
