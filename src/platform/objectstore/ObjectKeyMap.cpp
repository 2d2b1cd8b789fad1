#include "platform/objectstore/ObjectKeyMap.h"

namespace vantrel::objectstore {

namespace {

// Room for keys beyond twice the object count, so that a small entity never needs the hash.
constexpr std::size_t kSlack = 1024;

} // namespace

ManagedObject* ObjectKeyMap::value(std::int64_t key) const {
    if (key >= 0 && static_cast<std::uint64_t>(key) < m_dense.size()) {
        if (ManagedObject* object = m_dense[static_cast<std::size_t>(key)]) {
            return object;
        }
    }
    // A key can sit in the hash below the end of the vector: the vector grew past it later.
    return m_sparse.isEmpty() ? nullptr : m_sparse.value(key, nullptr);
}

bool ObjectKeyMap::fitsDense(std::int64_t key) const {
    return key >= 0 && static_cast<std::uint64_t>(key) < 2 * (m_count + 1) + kSlack;
}

void ObjectKeyMap::insert(std::int64_t key, ManagedObject* object) {
    if (fitsDense(key)) {
        const auto index = static_cast<std::size_t>(key);
        if (index >= m_dense.size()) {
            m_dense.resize(index + 1, nullptr);
        }
        m_dense[index] = object;
    } else {
        m_sparse.insert(key, object);
    }
    ++m_count;
}

void ObjectKeyMap::remove(std::int64_t key) {
    if (key >= 0 && static_cast<std::uint64_t>(key) < m_dense.size() &&
        m_dense[static_cast<std::size_t>(key)]) {
        m_dense[static_cast<std::size_t>(key)] = nullptr;
        --m_count;
    } else if (m_sparse.remove(key)) {
        --m_count;
    }
}

} // namespace vantrel::objectstore
