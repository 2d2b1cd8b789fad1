#pragma once

#include "platform/objectstore/ObjectID.h"
#include "platform/objectstore/Value.h"

#include <optional>
#include <vector>

namespace vantrel::objectstore {

// One elementary change of the graph, by object id so that it survives the object being destroyed
// and recreated. A relationship change is recorded per to-one slot written (a one-to-one change is
// two records); to-many membership follows from the to-ones, so replaying the records in reverse
// restores every relationship on both sides.
struct UndoRecord {
    enum class Kind { Attribute, ToOne, Insertion, Deletion };

    Kind kind;
    ObjectID object;
    int property = -1; // attribute or relationship index
    Value before;
    Value after;
    std::optional<ObjectID> targetBefore;
    std::optional<ObjectID> targetAfter;
    std::vector<Value> attributes; // a deletion: the attributes the object had
};

} // namespace vantrel::objectstore
