#pragma once

#include "model/EntityObject.h"

#include <vector>

namespace vantrel::model {

// The category lines of one split transaction. It belongs to exactly one transaction, which
// replaces it as a whole.
class SplitSet : public EntityObject {
public:
    static constexpr auto kEntity = "SplitSet";

    explicit SplitSet(objectstore::ManagedObject* object);
    static SplitSet insertInContext(objectstore::Context& context);

    QString cloudID() const;
    objectstore::ManagedObject* transaction() const;
    const std::vector<objectstore::ManagedObject*>& splits() const;
};

} // namespace vantrel::model
