#pragma once

#include "platform/objectstore/ModelDescription.h"
#include "platform/objectstore/Value.h"

#include <vector>

namespace vantrel::objectstore {

class ManagedObject;

// A dotted path through to-one relationships ending in an attribute ("splitSet.transaction.date"),
// resolved against the model once so that reading it per object costs no name lookups.
class KeyPath {
public:
    // InternalError when a step is unknown or the path does not end in an attribute.
    KeyPath(const ModelDescription& model, int entity, QStringView path);

    // Absent when a relationship on the way is not set.
    Value valueOf(const ManagedObject& object) const;

private:
    std::vector<int> m_relationships;
    int m_attribute = -1;
};

} // namespace vantrel::objectstore
