#include "platform/objectstore/ChangeMerger.h"

#include "platform/objectstore/Context.h"

namespace vantrel::objectstore {

namespace {

std::optional<ObjectID> idOf(const ManagedObject* object) {
    return object ? std::optional(object->id()) : std::nullopt;
}

} // namespace

ChangeMerger::ChangeMerger(Context& context)
    : m_context(context) {}

void ChangeMerger::merge(const ChangeSet& changes) {
    mergeInserted(changes.inserted);
    for (const auto& update : changes.updated) {
        mergeUpdate(update);
    }
    mergeDeleted(changes.deleted);
}

void ChangeMerger::mergeInserted(const std::vector<ObjectState>& inserted) {
    std::vector<std::pair<ManagedObject*, const ObjectState*>> created;
    for (const auto& state : inserted) {
        if (m_context.find(state.id, Context::Lookup::IncludingDeleted)) {
            continue; // already known (merged before)
        }
        ManagedObject& object = m_context.create(state.id);
        std::vector<Value> values = state.attributes;
        m_context.fill(object, values);
        created.emplace_back(&object, &state);
    }
    // Relationships once every new object exists, since they may point at each other.
    for (const auto& [object, state] : created) {
        for (std::size_t r = 0; r < state->toOne.size(); ++r) {
            const int index = static_cast<int>(r);
            if (object->layout().relationship(index).cardinality == Cardinality::ToOne) {
                m_context.writeToOne(*object, index,
                                     m_context.find(state->toOne[r], Context::Lookup::LiveOnly),
                                     Context::Tracking::Silent);
            }
        }
        m_context.m_indexes.objectAppeared(*object);
    }
}

void ChangeMerger::mergeUpdate(const ObjectUpdate& update) {
    ManagedObject* object = m_context.find(update.id, Context::Lookup::IncludingDeleted);
    if (!object || object->hasFlag(ManagedObject::kInserted)) {
        return;
    }
    for (const auto& [attribute, value] : update.attributes) {
        if (auto* entry = object->committedEntry(attribute)) {
            entry->value = value; // the unsaved edit wins; it now differs from the new saved value
            if (sameValue(value, object->value(attribute))) {
                object->removeCommittedEntry(attribute);
            }
        } else {
            m_context.writeAttribute(*object, attribute, value, Context::Tracking::Silent);
        }
    }
    for (const auto& [relationship, target] : update.toOne) {
        mergeToOne(*object, relationship, target);
    }
}

void ChangeMerger::mergeToOne(ManagedObject& object, int relationship,
                              const std::optional<ObjectID>& target) {
    const int property = object.layout().attributeCount() + relationship;
    const auto current = idOf(object.storedToOne(relationship));
    if (auto* entry = object.committedEntry(property)) {
        entry->target = target;
        if (target == current) {
            object.removeCommittedEntry(property);
        }
    } else if (object.isDeleted()) {
        // A deleted object stays unlinked; only its saved state follows.
        if (target != current) {
            object.addCommittedEntry({property, {}, target});
        }
    } else {
        m_context.writeToOne(object, relationship, m_context.find(target, Context::Lookup::LiveOnly),
                             Context::Tracking::Silent);
    }
}

void ChangeMerger::mergeDeleted(const std::vector<ObjectID>& deleted) {
    std::vector<ManagedObject*> gone;
    for (const ObjectID& id : deleted) {
        if (ManagedObject* object = m_context.find(id, Context::Lookup::IncludingDeleted)) {
            gone.push_back(object);
        }
    }
    m_context.destroy(gone); // unlinks silently: no delete rules, nothing tracked
}

} // namespace vantrel::objectstore
