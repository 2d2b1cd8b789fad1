#pragma once

#include "platform/Amount.h"
#include "platform/objectstore/ContextIndexes.h"
#include "platform/objectstore/EntityLayout.h"
#include "platform/objectstore/ManagedObject.h"
#include "platform/objectstore/ObjectKeyMap.h"
#include "platform/objectstore/ObjectValidator.h"
#include "platform/objectstore/PersistentStore.h"
#include "platform/objectstore/SaveResult.h"
#include "platform/objectstore/SortDescriptor.h"
#include "platform/objectstore/StringInterner.h"
#include "platform/objectstore/UndoManager.h"

#include <QStringList>

#include <functional>
#include <map>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace vantrel::objectstore {

using Predicate = std::function<bool(const ManagedObject&)>;

// One in-memory object graph over a persistent store: the whole store is loaded when the context is
// made, and every fetch runs against the graph, so fetches see unsaved changes (inserted objects
// included, deleted ones left out). The context owns its objects, keeps inverses consistent, applies
// delete rules, tracks changes since the last save, and records undo. Not thread-safe: one context
// per thread, several contexts may share one store and exchange saved changes with mergeChanges.
class Context {
public:
    using SaveObserver = std::function<void(const ChangeSet&)>;
    using ObserverToken = int;

    explicit Context(std::shared_ptr<PersistentStore> store);
    ~Context();
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;

    const ModelDescription& model() const { return m_store->model(); }
    UndoManager& undoManager() { return m_undo; }

    // A new object with a key from the store and every property absent.
    ManagedObject* insert(QStringView entity);
    // Deletes the object and applies the delete rules of its relationships: Nullify removes it from
    // the other ends, Cascade deletes the other ends too, Deny refuses while the relationship holds an
    // object that is not deleted with it. A refused delete is an InternalError and changes nothing;
    // canDelete tells beforehand.
    void deleteObject(ManagedObject* object);
    bool canDelete(ManagedObject* object) const;

    // Nothing when unknown or deleted.
    ManagedObject* object(const ObjectID& id) const;
    std::vector<ManagedObject*> all(QStringView entity) const;
    std::vector<ManagedObject*> fetch(QStringView entity, const Predicate& predicate = {},
                                      const std::vector<SortDescriptor>& sort = {}) const;
    ManagedObject* first(QStringView entity, const Predicate& predicate = {},
                         const std::vector<SortDescriptor>& sort = {}) const;
    std::size_t count(QStringView entity, const Predicate& predicate = {}) const;
    // Exact; absent values count as nothing.
    platform::Amount sum(QStringView entity, QStringView attribute, const Predicate& predicate = {}) const;
    // The largest present value in the natural order of values; nothing when no object has one.
    std::optional<Value> maximum(QStringView entity, QStringView attribute,
                                 const Predicate& predicate = {}) const;

    // Equality lookup on an indexed attribute, ordered by key.
    std::vector<ManagedObject*> lookup(QStringView entity, QStringView attribute, const Value& value) const;
    // Objects whose indexed date lies in [from, to] (an invalid bound is open), ascending by date.
    std::vector<ManagedObject*> inDateRange(QStringView entity, QStringView attribute, const QDateTime& from,
                                            const QDateTime& to) const;
    // The objects with the earliest and the latest indexed date, without listing the ones between
    // (both nullptr when there are none).
    std::pair<ManagedObject*, ManagedObject*> dateExtremes(QStringView entity, QStringView attribute) const;
    // A named order of a to-many (`less` is a strict weak order that reads only the member's own
    // properties), kept current as members change. With `keyAttributes`, the attributes `less`
    // reads (and no to-ones), only a change of one of them moves a member.
    void registerOrdering(QStringView entity, QStringView relationship, QString name,
                          ContextIndexes::OrderingLess less, const QStringList& keyAttributes = {});
    const std::vector<ManagedObject*>& orderedToMany(ManagedObject& owner, QStringView relationship,
                                                     QStringView ordering) const;
    bool hasOrdering(QStringView entity, QStringView relationship, QStringView name) const;
    // A named exact sum of a decimal attribute over the members of a to-many that pass `include`
    // (empty: every member; it reads only the member's own properties); absent values count as
    // nothing. Worked out on first use per owner, then kept current as members change, join or leave.
    void registerToManySum(QStringView entity, QStringView relationship, QString name, QStringView attribute,
                           ContextIndexes::MemberFilter include);
    platform::Amount toManySum(ManagedObject& owner, QStringView relationship, QStringView name) const;
    bool hasToManySum(QStringView entity, QStringView relationship, QStringView name) const;

    void setValidator(QStringView entity, ObjectValidator::Validator validator);
    std::optional<ValidationError> validate(ManagedObject& object, ValidationPhase phase) const;

    bool hasChanges() const;
    std::vector<ManagedObject*> insertedObjects() const;
    std::vector<ManagedObject*> updatedObjects() const;
    std::vector<ManagedObject*> deletedObjects() const;

    SaveResult save();
    // Discards every unsaved change (and the undo history, which describes them).
    void rollback();
    // Applies changes another context saved to the same store. Properties this context changed and
    // has not saved keep their in-memory value; nothing becomes a change of this context, nothing is
    // recorded for undo, and deleted objects leave the graph without delete rules.
    void mergeChanges(const ChangeSet& changes);

    ObserverToken addSaveObserver(SaveObserver observer);
    void removeSaveObserver(ObserverToken token);

private:
    friend class ManagedObject;
    friend class UndoManager;
    friend class ChangeMerger;

    // Whether a write is a change of this context (tracked and recorded) or brings the graph in line
    // with the store (loading, merging, rolling back).
    enum class Tracking { Record, Silent };
    enum class Lookup { LiveOnly, IncludingDeleted };

    struct EntityObjects {
        std::vector<ManagedObject::Owner> objects;
        ObjectKeyMap byKey;
    };

    int entityIndex(QStringView entity) const;
    int relationshipIndex(int entity, QStringView relationship) const;
    EntityObjects& objectsOf(int entity) { return m_entities[static_cast<std::size_t>(entity)]; }
    const EntityObjects& objectsOf(int entity) const { return m_entities[static_cast<std::size_t>(entity)]; }
    std::vector<ManagedObject*> liveObjects(int entity) const;
    ManagedObject* find(const std::optional<ObjectID>& id, Lookup lookup) const;
    const EntityLayout& layout(int entity) const { return *m_layouts[static_cast<std::size_t>(entity)]; }

    // Loading.
    void buildLayouts();
    void load();
    void connectLoaded(int entity);
    ManagedObject& create(const ObjectID& id);
    void fill(ManagedObject& object, std::vector<Value>& attributes);

    // Edits from ManagedObject.
    void setAttribute(ManagedObject& object, int attribute, Value value);
    void setRelationship(ManagedObject& object, int relationship, ManagedObject* target);
    void checkEditable(const ManagedObject& object) const;

    // The primitives every change goes through.
    void writeAttribute(ManagedObject& object, int attribute, Value value, Tracking tracking);
    void writeToOne(ManagedObject& object, int relationship, ManagedObject* target, Tracking tracking);
    void track(ManagedObject& object, int property, const Value& before, const Value& after,
               const std::optional<ObjectID>& targetBefore, const std::optional<ObjectID>& targetAfter);
    void noteChanged(const ManagedObject& object);
    void markDeleted(ManagedObject& object);
    void unmarkDeleted(ManagedObject& object);
    void unlink(ManagedObject& object, Tracking tracking);
    void destroy(const std::vector<ManagedObject*>& objects);

    // Deleting.
    std::vector<ManagedObject*> deletionClosure(ManagedObject& object) const;
    const ManagedObject* deniedBy(const std::vector<ManagedObject*>& closure) const;

    // Saving.
    ChangeSet collectChanges() const;
    ObjectState stateOf(const ManagedObject& object) const;
    std::vector<ManagedObject*> changedObjects() const;
    void commit();

    std::shared_ptr<PersistentStore> m_store;
    std::vector<std::unique_ptr<EntityLayout>> m_layouts;
    // Before the objects, which share its strings.
    StringInterner m_strings;
    std::vector<EntityObjects> m_entities;
    // To-ones without an inverse, by target, so that a deleted target can be let go of.
    std::unordered_multimap<const ManagedObject*, std::pair<ManagedObject*, int>> m_referrers;
    std::vector<ObjectID> m_changedOrder;
    std::unordered_set<ObjectID> m_changed;
    ObjectValidator m_validator;
    mutable ContextIndexes m_indexes;
    UndoManager m_undo;
    std::map<ObserverToken, SaveObserver> m_observers;
    ObserverToken m_nextObserver = 1;
};

} // namespace vantrel::objectstore
