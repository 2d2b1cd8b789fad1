#pragma once

#include "model/EntityObject.h"
#include "platform/objectstore/ValidationError.h"
#include "platform/objectstore/ValidationPhase.h"

namespace vantrel::model {

// One category line of a split transaction.
class Split : public EntityObject {
public:
    static constexpr auto kEntity = "Split";

    explicit Split(objectstore::ManagedObject* object);
    static Split insertInContext(objectstore::Context& context);

    QString cloudID() const;
    std::optional<Amount> amount() const;
    void setAmount(const std::optional<Amount>& amount);
    // Converted from the currency of the transaction's account.
    Amount amountInHomeCurrency() const;
    objectstore::ManagedObject* splitSet() const;
    void setSplitSet(objectstore::ManagedObject* splitSet);
    // Absent: the uncategorised part of the transaction.
    objectstore::ManagedObject* category() const;
    void setCategory(objectstore::ManagedObject* category);

    static std::optional<objectstore::ValidationError> validate(objectstore::ManagedObject& object,
                                                                objectstore::ValidationPhase phase);
};

} // namespace vantrel::model
