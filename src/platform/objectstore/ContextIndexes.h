#pragma once

#include "platform/objectstore/ModelDescription.h"
#include "platform/objectstore/Value.h"
#include "platform/objectstore/ValueOrdering.h"

#include <QDateTime>

#include <functional>
#include <map>
#include <set>
#include <unordered_map>
#include <vector>

namespace vantrel::objectstore {

class ManagedObject;

// The indexes of one context's hot paths: equality lookups on indexed attributes, objects ordered by
// an indexed date, and to-manys kept in a registered order. Each index is built on first use and then
// kept current by the context's hooks, so loading stays fast and unused indexes cost nothing.
class ContextIndexes {
public:
    using OrderingLess = std::function<bool(const ManagedObject&, const ManagedObject&)>;

    explicit ContextIndexes(const ModelDescription& model);

    // `all` lists the live objects of the entity, used when an index is first built.
    std::vector<ManagedObject*> lookup(int entity, int attribute, const Value& value,
                                       const std::function<std::vector<ManagedObject*>()>& all);
    std::vector<ManagedObject*> inDateRange(int entity, int attribute, const QDateTime& from,
                                            const QDateTime& to,
                                            const std::function<std::vector<ManagedObject*>()>& all);

    void registerOrdering(int entity, int relationship, QString name, OrderingLess less);
    const std::vector<ManagedObject*>& ordered(ManagedObject& owner, int relationship, QStringView name);

    // Hooks. Attribute changes are bracketed: the old value leaves the indexes, the new one joins.
    bool watchesAttribute(int entity, int attribute) const {
        return (m_watched[static_cast<std::size_t>(entity)] >> attribute) & 1u;
    }
    void attributeWillChange(ManagedObject& object, int attribute);
    void attributeDidChange(ManagedObject& object, int attribute);
    void objectAppeared(ManagedObject& object);
    void objectDisappeared(ManagedObject& object);
    // A member of an ordered to-many changed: it moves to its new place.
    void memberChanged(ManagedObject& member);
    void memberAdded(ManagedObject& owner, int relationship, ManagedObject& member);
    void memberRemoved(ManagedObject& owner, int relationship, ManagedObject& member);

private:
    struct DateEntry {
        qint64 msecs;
        std::int64_t key;
        ManagedObject* object;
        friend bool operator<(const DateEntry& a, const DateEntry& b) {
            return a.msecs != b.msecs ? a.msecs < b.msecs : a.key < b.key;
        }
    };
    using EqualityIndex = std::unordered_multimap<Value, ManagedObject*, ValueHash, SameValue>;
    using DateIndex = std::set<DateEntry>;
    struct Ordering {
        int entity;
        int relationship;
        int memberEntity;
        int inverse; // the member's to-one
        QString name;
        OrderingLess less;
    };
    using CacheKey = std::pair<ManagedObject*, int>; // owner, ordering
    struct CacheKeyHash {
        std::size_t operator()(const CacheKey& key) const {
            return std::hash<ManagedObject*>()(key.first) ^ (static_cast<std::size_t>(key.second) << 1);
        }
    };

    static int slot(int entity, int attribute) { return entity * 64 + attribute; }
    void addToIndexes(ManagedObject& object, int attribute);
    void removeFromIndexes(ManagedObject& object, int attribute);
    bool before(const Ordering& ordering, const ManagedObject* a, const ManagedObject* b) const;
    void insertSorted(const Ordering& ordering, std::vector<ManagedObject*>& list,
                      ManagedObject* member) const;
    int orderingIndex(int entity, int relationship, QStringView name) const;

    const ModelDescription& m_model;
    std::vector<std::uint64_t> m_watched; // per entity: attributes with a built index
    std::map<int, EqualityIndex> m_equality;
    std::map<int, DateIndex> m_dates;
    std::vector<Ordering> m_orderings;
    std::unordered_map<CacheKey, std::vector<ManagedObject*>, CacheKeyHash> m_ordered;
};

} // namespace vantrel::objectstore
