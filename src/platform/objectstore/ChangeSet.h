#pragma once

#include "platform/objectstore/ObjectID.h"
#include "platform/objectstore/Value.h"

#include <optional>
#include <vector>

namespace vantrel::objectstore {

// The stored state of one object: every attribute (in the entity's attribute order) and the target
// of every to-one relationship (in relationship order; to-many entries stay empty, because a
// to-many is the inverse side of to-ones and is rebuilt from them).
struct ObjectState {
    ObjectID id;
    std::vector<Value> attributes;
    std::vector<std::optional<ObjectID>> toOne;
};

// Changed properties of an updated object: indexes into the entity's attributes / relationships.
struct ObjectUpdate {
    ObjectID id;
    std::vector<std::pair<int, Value>> attributes;
    std::vector<std::pair<int, std::optional<ObjectID>>> toOne;
};

// What one save wrote: the did-save notification other contexts merge.
struct ChangeSet {
    std::vector<ObjectState> inserted;
    std::vector<ObjectUpdate> updated;
    std::vector<ObjectID> deleted;

    bool isEmpty() const { return inserted.empty() && updated.empty() && deleted.empty(); }
};

} // namespace vantrel::objectstore
