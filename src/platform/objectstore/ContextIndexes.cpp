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

const ContextIndexes::DateIndex&
ContextIndexes::dateIndex(int entity, int attribute,
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
    return it->second;
}

std::pair<ManagedObject*, ManagedObject*>
ContextIndexes::dateExtremes(int entity, int attribute,
                             const std::function<std::vector<ManagedObject*>()>& all) {
    const DateIndex& index = dateIndex(entity, attribute, all);
    if (index.empty()) {
        return {nullptr, nullptr};
    }
    return {index.begin()->object, index.rbegin()->object};
}

std::vector<ManagedObject*>
ContextIndexes::inDateRange(int entity, int attribute, const QDateTime& from, const QDateTime& to,
                            const std::function<std::vector<ManagedObject*>()>& all) {
    const DateIndex& index = dateIndex(entity, attribute, all);
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

void ContextIndexes::registerOrdering(int entity, int relationship, QString name, OrderingLess less,
                                      std::vector<int> keyAttributes) {
    const auto& description = m_model.entity(entity).relationships()[static_cast<std::size_t>(relationship)];
    if (description.cardinality != Cardinality::ToMany || orderingIndex(entity, relationship, name) >= 0) {
        throw platform::InternalError(
            QStringLiteral("Cannot register ordering %1 of %2").arg(name, description.name));
    }
    const int memberEntity = *m_model.entityIndex(description.destination);
    const int inverse = *m_model.entity(memberEntity).relationshipIndex(description.inverse);
    m_orderings.push_back({entity, relationship, memberEntity, inverse, std::move(name), std::move(less),
                           std::move(keyAttributes)});
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

void ContextIndexes::registerSum(int entity, int relationship, QString name, QStringView attribute,
                                 MemberFilter include) {
    const auto& description = m_model.entity(entity).relationships()[static_cast<std::size_t>(relationship)];
    if (description.cardinality != Cardinality::ToMany || description.inverse.isEmpty() ||
        sumIndex(entity, relationship, name) >= 0) {
        throw platform::InternalError(
            QStringLiteral("Cannot register sum %1 of %2").arg(name, description.name));
    }
    const int memberEntity = *m_model.entityIndex(description.destination);
    const auto& member = m_model.entity(memberEntity);
    const auto attributeIndex = member.attributeIndex(attribute);
    if (!attributeIndex ||
        member.attributes()[static_cast<std::size_t>(*attributeIndex)].type != AttributeType::Decimal) {
        throw platform::InternalError(
            QStringLiteral("Cannot sum %1.%2: not a decimal").arg(member.name(), attribute));
    }
    const int inverse = *member.relationshipIndex(description.inverse);
    m_sums.push_back(
        {entity, relationship, memberEntity, inverse, *attributeIndex, std::move(name), std::move(include)});
}

platform::Amount ContextIndexes::sum(ManagedObject& owner, int relationship, QStringView name) {
    const int index = sumIndex(owner.id().entity, relationship, name);
    if (index < 0) {
        throw platform::InternalError(QStringLiteral("No sum %1").arg(name));
    }
    if (const auto it = m_summed.find({&owner, index}); it != m_summed.end()) {
        return it->second;
    }
    // Worked out before it is cached, so that a filter that throws leaves nothing behind.
    const platform::Amount total = computeSum(m_sums[static_cast<std::size_t>(index)], owner);
    m_summed.emplace(CacheKey{&owner, index}, total);
    return total;
}

platform::Amount ContextIndexes::computeSum(const Sum& sum, const ManagedObject& owner) const {
    platform::Amount total;
    for (const ManagedObject* member : owner.toMany(sum.relationship)) {
        if (member->hasValue(sum.attribute) && (!sum.include || sum.include(*member))) {
            total += std::get<platform::Amount>(member->value(sum.attribute));
        }
    }
    return total;
}

void ContextIndexes::forgetSumsOf(const ManagedObject& owner) {
    for (std::size_t i = 0; i < m_sums.size() && !m_summed.empty(); ++i) {
        if (m_sums[i].entity == owner.id().entity) {
            m_summed.erase({&owner, static_cast<int>(i)});
        }
    }
}

void ContextIndexes::adjustSums(const ManagedObject& member, bool joining) {
    if (m_summed.empty()) {
        return;
    }
    for (std::size_t i = 0; i < m_sums.size(); ++i) {
        const Sum& sum = m_sums[i];
        if (sum.memberEntity != member.id().entity) {
            continue;
        }
        const ManagedObject* owner = member.toOne(sum.inverse);
        const auto it = owner ? m_summed.find({owner, static_cast<int>(i)}) : m_summed.end();
        if (it == m_summed.end() || !member.hasValue(sum.attribute)) {
            continue;
        }
        try {
            if (!sum.include || sum.include(member)) {
                const platform::Amount amount = std::get<platform::Amount>(member.value(sum.attribute));
                it->second = joining ? it->second + amount : it->second - amount;
            }
        } catch (...) {
            // A filter that throws, or a total out of range: the sum is worked out again when asked,
            // and the failure shows there.
            m_summed.erase(it);
        }
    }
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
    // The object may be freed and its address reused by a new owner.
    forgetSumsOf(object);
}

void ContextIndexes::memberChanged(ManagedObject& member) {
    adjustSums(member, true); // first: an ordering that throws must not leave a sum short
    for (std::size_t i = 0; i < m_orderings.size(); ++i) {
        // An ordering that says what it reads reads attributes only, and memberAdded placed the
        // member in the to-many it joined.
        if (m_orderings[i].keyAttributes.empty()) {
            resort(i, member);
        }
    }
}

void ContextIndexes::memberChanged(ManagedObject& member, int attribute) {
    adjustSums(member, true); // first: an ordering that throws must not leave a sum short
    for (std::size_t i = 0; i < m_orderings.size(); ++i) {
        const std::vector<int>& keys = m_orderings[i].keyAttributes;
        // Most changes (a title, a flag, the bank fields) leave the order as it is.
        if (keys.empty() || std::find(keys.begin(), keys.end(), attribute) != keys.end()) {
            resort(i, member);
        }
    }
}

void ContextIndexes::resort(std::size_t orderingIndex, ManagedObject& member) {
    const Ordering& ordering = m_orderings[orderingIndex];
    if (ordering.memberEntity != member.id().entity) {
        return;
    }
    ManagedObject* owner = member.toOne(ordering.inverse);
    const auto it = owner ? m_ordered.find({owner, static_cast<int>(orderingIndex)}) : m_ordered.end();
    if (it != m_ordered.end()) {
        std::erase(it->second, &member);
        insertSorted(ordering, it->second, &member);
    }
}

void ContextIndexes::memberWillChange(ManagedObject& member) {
    adjustSums(member, false);
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

int ContextIndexes::sumIndex(int entity, int relationship, QStringView name) const {
    for (std::size_t i = 0; i < m_sums.size(); ++i) {
        const Sum& sum = m_sums[i];
        if (sum.entity == entity && sum.relationship == relationship && sum.name == name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

} // namespace vantrel::objectstore
