#pragma once

#include "platform/Amount.h"
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
// an indexed date, to-manys kept in a registered order, and registered sums over to-manys. Each index
// is built on first use and then kept current by the context's hooks, so loading stays fast and unused
// indexes cost nothing.
class ContextIndexes {
public:
    using OrderingLess = std::function<bool(const ManagedObject&, const ManagedObject&)>;
    // Which members a sum counts; empty counts them all.
    using MemberFilter = std::function<bool(const ManagedObject&)>;

    explicit ContextIndexes(const ModelDescription& model);

    // `all` lists the live objects of the entity, used when an index is first built.
    std::vector<ManagedObject*> lookup(int entity, int attribute, const Value& value,
                                       const std::function<std::vector<ManagedObject*>()>& all);
    std::vector<ManagedObject*> inDateRange(int entity, int attribute, const QDateTime& from,
                                            const QDateTime& to,
                                            const std::function<std::vector<ManagedObject*>()>& all);
    // The objects with the earliest and the latest date (nullptr, nullptr without any).
    std::pair<ManagedObject*, ManagedObject*>
    dateExtremes(int entity, int attribute, const std::function<std::vector<ManagedObject*>()>& all);

    // `keyAttributes`: the member attributes `less` reads (empty: unknown).
    void registerOrdering(int entity, int relationship, QString name, OrderingLess less,
                          std::vector<int> keyAttributes = {});
    const std::vector<ManagedObject*>& ordered(ManagedObject& owner, int relationship, QStringView name);
    bool hasOrdering(int entity, int relationship, QStringView name) const {
        return orderingIndex(entity, relationship, name) >= 0;
    }

    // `attribute` is a decimal attribute of the members.
    void registerSum(int entity, int relationship, QString name, QStringView attribute, MemberFilter include);
    platform::Amount sum(ManagedObject& owner, int relationship, QStringView name);
    bool hasSum(int entity, int relationship, QStringView name) const {
        return sumIndex(entity, relationship, name) >= 0;
    }

    // Hooks. Attribute changes are bracketed: the old value leaves the indexes, the new one joins.
    bool watchesAttribute(int entity, int attribute) const {
        return (m_watched[static_cast<std::size_t>(entity)] >> attribute) & 1u;
    }
    void attributeWillChange(ManagedObject& object, int attribute);
    void attributeDidChange(ManagedObject& object, int attribute);
    void objectAppeared(ManagedObject& object);
    void objectDisappeared(ManagedObject& object);
    // Bracket every change of an object's attributes or to-ones. Before: its share leaves the
    // cached sums of the owner it has. After: it moves to its new place in the orderings, and its
    // share joins the cached sums of the owner it now has (which a to-one change may have altered).
    void memberWillChange(ManagedObject& member);
    // After a change of its to-ones: the orderings of the to-many it joined placed it already.
    void memberChanged(ManagedObject& member);
    // After a change of one attribute: only orderings that read it (or do not say what they read)
    // move the member.
    void memberChanged(ManagedObject& member, int attribute);
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
    const DateIndex& dateIndex(int entity, int attribute,
                               const std::function<std::vector<ManagedObject*>()>& all);
    struct Ordering {
        int entity;
        int relationship;
        int memberEntity;
        int inverse; // the member's to-one
        QString name;
        OrderingLess less;
        // The member attributes `less` reads; empty when unknown, which re-sorts on every change.
        std::vector<int> keyAttributes;
    };
    struct Sum {
        int entity;
        int relationship;
        int memberEntity;
        int inverse;
        int attribute; // of the member
        QString name;
        MemberFilter include;
    };
    using CacheKey = std::pair<const ManagedObject*, int>; // owner, ordering or sum
    struct CacheKeyHash {
        std::size_t operator()(const CacheKey& key) const {
            return std::hash<const ManagedObject*>()(key.first) ^ (static_cast<std::size_t>(key.second) << 1);
        }
    };

    static int slot(int entity, int attribute) { return entity * 64 + attribute; }
    void addToIndexes(ManagedObject& object, int attribute);
    void removeFromIndexes(ManagedObject& object, int attribute);
    bool before(const Ordering& ordering, const ManagedObject* a, const ManagedObject* b) const;
    void resort(std::size_t orderingIndex, ManagedObject& member);
    void insertSorted(const Ordering& ordering, std::vector<ManagedObject*>& list,
                      ManagedObject* member) const;
    int orderingIndex(int entity, int relationship, QStringView name) const;
    int sumIndex(int entity, int relationship, QStringView name) const;
    platform::Amount computeSum(const Sum& sum, const ManagedObject& owner) const;
    void forgetSumsOf(const ManagedObject& owner);
    // Takes the member's share out of, or puts it into, the cached sums of its owner.
    void adjustSums(const ManagedObject& member, bool joining);

    const ModelDescription& m_model;
    std::vector<std::uint64_t> m_watched; // per entity: attributes with a built index
    std::map<int, EqualityIndex> m_equality;
    std::map<int, DateIndex> m_dates;
    std::vector<Ordering> m_orderings;
    std::unordered_map<CacheKey, std::vector<ManagedObject*>, CacheKeyHash> m_ordered;
    std::vector<Sum> m_sums;
    // Kept exact by adding and taking away each changed member's share (Amount arithmetic is exact).
    std::unordered_map<CacheKey, platform::Amount, CacheKeyHash> m_summed;
};

} // namespace vantrel::objectstore
