#pragma once

#include "platform/objectstore/EntityLayout.h"
#include "platform/objectstore/ObjectID.h"
#include "platform/objectstore/Value.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace vantrel::objectstore {

class Context;
class StringInterner;

// One object of the graph. Owned by its Context; every change goes through the context, which
// keeps inverses, indexes, change tracking and undo in step. Properties are addressed by name or by
// their index in the entity description (the fast path). Pointers to an object stay valid until it
// is removed from the graph: a saved delete, a rollback or undo of its insertion, or a merged delete.
class ManagedObject {
public:
    // Only a Context can make one.
    class ConstructionKey {
        friend class Context;
        ConstructionKey() = default;
    };

    // Frees the object together with its property block.
    struct Deleter {
        void operator()(ManagedObject* object) const noexcept;
    };
    using Owner = std::unique_ptr<ManagedObject, Deleter>;

    // The object and its property block in one allocation, every property absent.
    static Owner create(ConstructionKey, const EntityLayout& layout, ObjectID id);
    ~ManagedObject();
    ManagedObject(const ManagedObject&) = delete;
    ManagedObject& operator=(const ManagedObject&) = delete;

    const ObjectID& id() const { return m_id; }
    const EntityDescription& entity() const { return m_layout->entity(); }
    Context& context() const { return m_layout->context(); }

    Value value(QStringView attribute) const;
    Value value(int attribute) const;
    bool hasValue(int attribute) const { return (m_present >> attribute) & 1u; }
    // A key path through to-one relationships ending in an attribute ("account.name"); absent when
    // a relationship on the way is not set.
    Value valueAtPath(QStringView keyPath) const;
    // Type-checked against the attribute: a value of another type is an InternalError.
    void setValue(QStringView attribute, Value value);
    void setValue(int attribute, Value value);

    ManagedObject* toOne(QStringView relationship) const;
    ManagedObject* toOne(int relationship) const;
    // Keeps the inverse: joins the new owner's to-many and leaves the old one's, or for a one-to-one
    // also unsets the previous partners of both ends.
    void setToOne(QStringView relationship, ManagedObject* target);
    void setToOne(int relationship, ManagedObject* target);

    // The members of a to-many, as a set (in no particular order). The container lives as long as
    // the object; its contents follow the graph.
    const std::vector<ManagedObject*>& toMany(QStringView relationship) const;
    const std::vector<ManagedObject*>& toMany(int relationship) const;
    // Implemented through the member's inverse to-one.
    void addToMany(QStringView relationship, ManagedObject* member);
    void removeFromMany(QStringView relationship, ManagedObject* member);

    // An object inserted and deleted again before a save is neither inserted nor a change.
    bool isInserted() const { return hasFlag(kInserted) && !hasFlag(kDeleted); }
    bool isDeleted() const { return hasFlag(kDeleted); }
    // A saved object with unsaved changes of its own attributes or to-ones (to-many membership is
    // recorded on the members' side).
    bool isUpdated() const { return !isInserted() && !isDeleted() && hasCommittedEntries(); }
    bool hasChanges() const { return hasFlag(kInserted) != hasFlag(kDeleted) || isUpdated(); }

    // Names of the attributes and to-ones with unsaved changes, in entity order.
    std::vector<QString> changedProperties() const;
    bool hasUnsavedChange(QStringView property) const;
    // The value as last saved or loaded (an inserted object has none).
    Value committedValue(QStringView attribute) const;
    std::optional<ObjectID> committedToOne(QStringView relationship) const;

private:
    friend class Context;
    friend class ChangeMerger;
    friend class UndoManager;

    static constexpr std::uint8_t kInserted = 1;
    static constexpr std::uint8_t kDeleted = 2;
    static constexpr std::uint8_t kDoomed = 4; // about to be destroyed by the context

    // The value of one changed property when it was last saved. Properties are numbered with the
    // attributes first, then the relationships.
    struct CommittedEntry {
        int property;
        Value value;
        std::optional<ObjectID> target;
    };

    ManagedObject(const EntityLayout& layout, ObjectID id);

    // The property block follows the object in the same allocation.
    std::byte* block() { return reinterpret_cast<std::byte*>(this + 1); }
    const std::byte* block() const { return reinterpret_cast<const std::byte*>(this + 1); }
    const EntityLayout& layout() const { return *m_layout; }
    int attributeIndex(QStringView name) const;
    int relationshipIndex(QStringView name) const;

    // Raw storage, no tracking.
    void storeValue(int attribute, Value&& value);
    // A present value read from the store.
    void storeLoadedValue(int attribute, Value&& value, StringInterner& interner);
    ManagedObject* storedToOne(int relationship) const;
    void storeToOne(int relationship, ManagedObject* target);
    std::vector<ManagedObject*>& storedToMany(int relationship);

    // Change tracking relative to the last saved state.
    bool hasCommittedEntries() const { return m_committed && !m_committed->empty(); }
    const CommittedEntry* committedEntry(int property) const;
    CommittedEntry* committedEntry(int property);
    void addCommittedEntry(CommittedEntry entry);
    void removeCommittedEntry(int property);
    void clearCommittedEntries() { m_committed.reset(); }

    bool hasFlag(std::uint8_t flag) const { return m_flags & flag; }
    void setFlag(std::uint8_t flag) { m_flags |= flag; }
    void clearFlag(std::uint8_t flag) { m_flags &= static_cast<std::uint8_t>(~flag); }

    const EntityLayout* m_layout;
    ObjectID m_id;
    std::uint64_t m_present = 0;                              // one bit per attribute that has a value
    std::unique_ptr<std::vector<CommittedEntry>> m_committed; // only while there are unsaved changes
    std::uint8_t m_flags = 0;
};

} // namespace vantrel::objectstore
