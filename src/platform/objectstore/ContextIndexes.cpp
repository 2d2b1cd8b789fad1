#include "platform/objectstore/ContextIndexes.h"

#include "platform/InternalError.h"
#include "platform/objectstore/ManagedObject.h"

#include <algorithm>

namespace vantrel::objectstore {

namespace {

bool byKey(const ManagedObject* a, const ManagedObject* b) {
    return a->id().key < b->id().key;
}

} // namespace

ContextIndexes::ContextIndexes(const ModelDescription& model)
    : m_model(model)
    , m_watched(model.entities().size(), 0) {}

std::vector<ManagedObject*> ContextIndexes::lookup(int entity, int attribute, const Value& value,
                                                   const std::function<std::vector<ManagedObject*>()>& all) {
    const auto& description = m_model.entity(entity).attributes()[static_cast<std::size_t>(attribute)];
    if (!description.indexed) {
        throw platform::InternalError(QStringLiteral("%1 is not indexed").arg(description.name));
    }
    std::vector<ManagedObject*> found;
    if (isAbsent(value)) { // absent values are not indexed
        for (ManagedObject* object : all()) {
            if (!object->hasValue(attribute)) {
                found.push_back(object);
            }
        }
        return found;
    }
    auto [it, created] = m_equality.try_emplace(slot(entity, attribute));
    if (created) {
        m_watched[static_cast<std::size_t>(entity)] |= std::uint64_t{1} << attribute;
        for (ManagedObject* object : all()) {
            if (object->hasValue(attribute)) {
                it->second.emplace(object->value(attribute), object);
            }
        }
    }
    const auto [first, last] = it->second.equal_range(value);
    for (auto match = first; match != last; ++match) {
        found.push_back(match->second);
    }
    std::sort(found.begin(), found.end(), byKey);
    return found;
}

std::vector<ManagedObject*>
ContextIndexes::inDateRange(int entity, int attribute, const QDateTime& from, const QDateTime& to,
                            const std::function<std::vector<ManagedObject*>()>& all) {
    const auto& description = m_model.entity(entity).attributes()[static_cast<std::size_t>(attribute)];
    if (!description.indexed || description.type != AttributeType::Date) {
        throw platform::InternalError(QStringLiteral("%1 is not an indexed date").arg(description.name));
    }
    auto [it, created] = m_dates.try_emplace(slot(entity, attribute));
    if (created) {
        m_watched[static_cast<std::size_t>(entity)] |= std::uint64_t{1} << attribute;
        for (ManagedObject* object : all()) {
            addToIndexes(*object, attribute);
        }
    }
    const DateIndex& index = it->second;
    auto first = from.isValid() ? index.lower_bound({from.toMSecsSinceEpoch(), 0, nullptr}) : index.begin();
    auto last = to.isValid() ? index.upper_bound({to.toMSecsSinceEpoch(), INT64_MAX, nullptr}) : index.end();
    std::vector<ManagedObject*> found;
    if (from.isValid() && to.isValid() && to < from) {
        return found;
    }
    for (; first != last; ++first) {
        found.push_back(first->object);
    }
    return found;
}

void ContextIndexes::registerOrdering(int entity, int relationship, QString name, OrderingLess less) {
    const auto& description = m_model.entity(entity).relationships()[static_cast<std::size_t>(relationship)];
    if (description.cardinality != Cardinality::ToMany || orderingIndex(entity, relationship, name) >= 0) {
        throw platform::InternalError(
            QStringLiteral("Cannot register ordering %1 of %2").arg(name, description.name));
    }
    const int memberEntity = *m_model.entityIndex(description.destination);
    const int inverse = *m_model.entity(memberEntity).relationshipIndex(description.inverse);
    m_orderings.push_back({entity, relationship, memberEntity, inverse, std::move(name), std::move(less)});
}

const std::vector<ManagedObject*>& ContextIndexes::ordered(ManagedObject& owner, int relationship,
                                                           QStringView name) {
    const int index = orderingIndex(owner.id().entity, relationship, name);
    if (index < 0) {
        throw platform::InternalError(QStringLiteral("No ordering %1").arg(name));
    }
    auto [it, created] = m_ordered.try_emplace({&owner, index});
    if (created) {
        const Ordering& ordering = m_orderings[static_cast<std::size_t>(index)];
        it->second = owner.toMany(relationship);
        std::sort(it->second.begin(), it->second.end(),
                  [&](const ManagedObject* a, const ManagedObject* b) { return before(ordering, a, b); });
    }
    return it->second;
}

void ContextIndexes::attributeWillChange(ManagedObject& object, int attribute) {
    removeFromIndexes(object, attribute);
}

void ContextIndexes::attributeDidChange(ManagedObject& object, int attribute) {
    addToIndexes(object, attribute);
}

void ContextIndexes::objectAppeared(ManagedObject& object) {
    const std::uint64_t watched = m_watched[static_cast<std::size_t>(object.id().entity)];
    for (int attribute = 0; attribute < 64; ++attribute) {
        if ((watched >> attribute) & 1u) {
            addToIndexes(object, attribute);
        }
    }
}

void ContextIndexes::objectDisappeared(ManagedObject& object) {
    const std::uint64_t watched = m_watched[static_cast<std::size_t>(object.id().entity)];
    for (int attribute = 0; attribute < 64; ++attribute) {
        if ((watched >> attribute) & 1u) {
            removeFromIndexes(object, attribute);
        }
    }
    for (std::size_t i = 0; i < m_orderings.size(); ++i) {
        if (m_orderings[i].entity == object.id().entity) {
            m_ordered.erase({&object, static_cast<int>(i)});
        }
    }
}

void ContextIndexes::memberChanged(ManagedObject& member) {
    for (std::size_t i = 0; i < m_orderings.size(); ++i) {
        const Ordering& ordering = m_orderings[i];
        if (ordering.memberEntity != member.id().entity) {
            continue;
        }
        ManagedObject* owner = member.toOne(ordering.inverse);
        const auto it = owner ? m_ordered.find({owner, static_cast<int>(i)}) : m_ordered.end();
        if (it != m_ordered.end()) {
            std::erase(it->second, &member);
            insertSorted(ordering, it->second, &member);
        }
    }
}

void ContextIndexes::memberAdded(ManagedObject& owner, int relationship, ManagedObject& member) {
    for (std::size_t i = 0; i < m_orderings.size(); ++i) {
        const Ordering& ordering = m_orderings[i];
        if (ordering.entity == owner.id().entity && ordering.relationship == relationship) {
            if (const auto it = m_ordered.find({&owner, static_cast<int>(i)}); it != m_ordered.end()) {
                insertSorted(ordering, it->second, &member);
            }
        }
    }
}

void ContextIndexes::memberRemoved(ManagedObject& owner, int relationship, ManagedObject& member) {
    for (std::size_t i = 0; i < m_orderings.size(); ++i) {
        const Ordering& ordering = m_orderings[i];
        if (ordering.entity == owner.id().entity && ordering.relationship == relationship) {
            if (const auto it = m_ordered.find({&owner, static_cast<int>(i)}); it != m_ordered.end()) {
                std::erase(it->second, &member);
            }
        }
    }
}

void ContextIndexes::addToIndexes(ManagedObject& object, int attribute) {
    if (!object.hasValue(attribute) || object.isDeleted()) {
        return;
    }
    const int key = slot(object.id().entity, attribute);
    if (const auto it = m_equality.find(key); it != m_equality.end()) {
        it->second.emplace(object.value(attribute), &object);
    }
    if (const auto it = m_dates.find(key); it != m_dates.end()) {
        const QDateTime date = std::get<QDateTime>(object.value(attribute));
        if (date.isValid()) {
            it->second.insert({date.toMSecsSinceEpoch(), object.id().key, &object});
        }
    }
}

void ContextIndexes::removeFromIndexes(ManagedObject& object, int attribute) {
    if (!object.hasValue(attribute)) {
        return;
    }
    const int key = slot(object.id().entity, attribute);
    if (const auto it = m_equality.find(key); it != m_equality.end()) {
        const auto [first, last] = it->second.equal_range(object.value(attribute));
        for (auto match = first; match != last; ++match) {
            if (match->second == &object) {
                it->second.erase(match);
                break;
            }
        }
    }
    if (const auto it = m_dates.find(key); it != m_dates.end()) {
        const QDateTime date = std::get<QDateTime>(object.value(attribute));
        if (date.isValid()) {
            it->second.erase({date.toMSecsSinceEpoch(), object.id().key, &object});
        }
    }
}

bool ContextIndexes::before(const Ordering& ordering, const ManagedObject* a, const ManagedObject* b) const {
    if (ordering.less(*a, *b)) {
        return true;
    }
    // Equal under the registered order: the key keeps the result deterministic.
    return !ordering.less(*b, *a) && a->id().key < b->id().key;
}

void ContextIndexes::insertSorted(const Ordering& ordering, std::vector<ManagedObject*>& list,
                                  ManagedObject* member) const {
    const auto place = std::upper_bound(
        list.begin(), list.end(), member,
        [&](const ManagedObject* a, const ManagedObject* b) { return before(ordering, a, b); });
    list.insert(place, member);
}

int ContextIndexes::orderingIndex(int entity, int relationship, QStringView name) const {
    for (std::size_t i = 0; i < m_orderings.size(); ++i) {
        const Ordering& ordering = m_orderings[i];
        if (ordering.entity == entity && ordering.relationship == relationship && ordering.name == name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

} // namespace vantrel::objectstore
