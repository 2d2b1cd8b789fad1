#pragma once

#include "platform/objectstore/PersistentStore.h"

#include <map>
#include <mutex>
#include <optional>
#include <vector>

namespace vantrel::objectstore {

// A persistent store that keeps its objects in memory: for tests of contexts and for tools that
// need no file. Thread-safe, so contexts on several threads can share it. A change set that does not
// fit the stored objects (inserting a known id, updating or deleting an unknown one) is refused as a
// whole with std::runtime_error, as a failed write of a real store would be.
class MemoryStore final : public PersistentStore {
public:
    explicit MemoryStore(ModelDescription model);

    const ModelDescription& model() const override { return m_model; }
    std::int64_t allocateKey(int entity) override;
    void loadAll(int entity, const std::function<void(ObjectState&&)>& sink) override;
    void apply(const ChangeSet& changes) override;

    std::size_t count(int entity) const;
    std::optional<ObjectState> find(const ObjectID& id) const;
    int applyCount() const;

private:
    using Objects = std::map<std::int64_t, ObjectState>;

    void check(const ChangeSet& changes) const;
    Objects& objectsOf(int entity) { return m_objects.at(static_cast<std::size_t>(entity)); }
    const Objects& objectsOf(int entity) const { return m_objects.at(static_cast<std::size_t>(entity)); }

    ModelDescription m_model;
    mutable std::mutex m_mutex;
    std::vector<Objects> m_objects;
    std::vector<std::int64_t> m_lastKey;
    int m_applyCount = 0;
};

} // namespace vantrel::objectstore
