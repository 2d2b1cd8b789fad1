#pragma once

#include <QHash>

#include <cstdint>
#include <vector>

namespace vantrel::objectstore {

class ManagedObject;

// The objects of one entity by primary key. Keys are handed out in sequence, so a vector indexed by
// key holds nearly all of them at one word each (a hash node costs several); a key far beyond the
// others would leave the vector mostly empty and goes to a hash instead.
class ObjectKeyMap {
public:
    ManagedObject* value(std::int64_t key) const;
    bool contains(std::int64_t key) const { return value(key) != nullptr; }
    // The key must not be in the map yet; object is not null.
    void insert(std::int64_t key, ManagedObject* object);
    void remove(std::int64_t key);

private:
    bool fitsDense(std::int64_t key) const;

    std::vector<ManagedObject*> m_dense; // index = key
    QHash<std::int64_t, ManagedObject*> m_sparse;
    std::size_t m_count = 0;
};

} // namespace vantrel::objectstore
