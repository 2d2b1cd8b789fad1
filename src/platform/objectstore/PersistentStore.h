#pragma once

#include "platform/objectstore/ChangeSet.h"
#include "platform/objectstore/ModelDescription.h"

#include <functional>
#include <vector>

namespace vantrel::objectstore {

// Where contexts load from and save to. The SQLite store is the real one; tests of the context
// may use an in-memory one.
class PersistentStore {
public:
    virtual ~PersistentStore() = default;

    virtual const ModelDescription& model() const = 0;
    // A fresh primary key for a new object of the entity; never handed out twice by this store.
    virtual std::int64_t allocateKey(int entity) = 0;
    // Every stored object of the entity, calling `sink` once per object.
    virtual void loadAll(int entity, const std::function<void(ObjectState&&)>& sink) = 0;
    // Writes the whole change set atomically: all of it or, on failure, nothing (and throws).
    virtual void apply(const ChangeSet& changes) = 0;
};

} // namespace vantrel::objectstore
