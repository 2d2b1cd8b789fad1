#include "platform/objectstore/MemoryStore.h"

#include <stdexcept>

namespace vantrel::objectstore {

MemoryStore::MemoryStore(ModelDescription model)
    : m_model(std::move(model))
    , m_objects(m_model.entities().size())
    , m_lastKey(m_model.entities().size(), 0) {}

std::int64_t MemoryStore::allocateKey(int entity) {
    const std::lock_guard lock(m_mutex);
    return ++m_lastKey.at(static_cast<std::size_t>(entity));
}

void MemoryStore::loadAll(int entity, const std::function<void(ObjectState&&)>& sink) {
    Objects copy;
    {
        const std::lock_guard lock(m_mutex);
        copy = objectsOf(entity);
    }
    for (auto& [key, state] : copy) {
        sink(std::move(state));
    }
}

void MemoryStore::apply(const ChangeSet& changes) {
    const std::lock_guard lock(m_mutex);
    check(changes);
    for (const auto& state : changes.inserted) {
        objectsOf(state.id.entity).emplace(state.id.key, state);
    }
    for (const auto& update : changes.updated) {
        ObjectState& state = objectsOf(update.id.entity).at(update.id.key);
        for (const auto& [attribute, value] : update.attributes) {
            state.attributes.at(static_cast<std::size_t>(attribute)) = value;
        }
        for (const auto& [relationship, target] : update.toOne) {
            state.toOne.at(static_cast<std::size_t>(relationship)) = target;
        }
    }
    for (const auto& id : changes.deleted) {
        objectsOf(id.entity).erase(id.key);
    }
    ++m_applyCount;
}

void MemoryStore::check(const ChangeSet& changes) const {
    const auto known = [this](const ObjectID& id) {
        return id.entity >= 0 && static_cast<std::size_t>(id.entity) < m_objects.size() &&
               objectsOf(id.entity).contains(id.key);
    };
    for (const auto& state : changes.inserted) {
        if (known(state.id)) {
            throw std::runtime_error("Inserted object exists already: " +
                                     state.id.toText(m_model).toStdString());
        }
    }
    for (const auto& update : changes.updated) {
        if (!known(update.id)) {
            throw std::runtime_error("Updated object does not exist: " +
                                     update.id.toText(m_model).toStdString());
        }
    }
    for (const auto& id : changes.deleted) {
        if (!known(id)) {
            throw std::runtime_error("Deleted object does not exist: " + id.toText(m_model).toStdString());
        }
    }
}

std::size_t MemoryStore::count(int entity) const {
    const std::lock_guard lock(m_mutex);
    return objectsOf(entity).size();
}

std::optional<ObjectState> MemoryStore::find(const ObjectID& id) const {
    const std::lock_guard lock(m_mutex);
    const auto& objects = objectsOf(id.entity);
    const auto it = objects.find(id.key);
    return it == objects.end() ? std::nullopt : std::optional(it->second);
}

int MemoryStore::applyCount() const {
    const std::lock_guard lock(m_mutex);
    return m_applyCount;
}

} // namespace vantrel::objectstore
