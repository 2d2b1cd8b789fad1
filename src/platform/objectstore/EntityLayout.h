#pragma once

#include "platform/objectstore/EntityDescription.h"
#include "platform/objectstore/Value.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vantrel::objectstore {

class Context;
class ManagedObject;
class StringInterner;

// How the properties of one entity's objects are laid out in a single block of memory: every
// attribute in a slot sized for its type (no per-value variant; strings and decimals in one compact
// word each), every to-one as one pointer-sized word, every to-many as a vector. One block per
// object, allocated with the object itself, keeps a million objects compact and cheap to allocate;
// the layout is computed once per entity and context.
class EntityLayout {
public:
    enum class SlotKind : std::uint8_t { String, Decimal, Date, Integer, Boolean, ToOne, ToMany };

    struct RelationshipInfo {
        Cardinality cardinality;
        int destination; // entity index
        int inverse;     // relationship index in the destination, or -1
        bool inverseIsToMany;
    };

    EntityLayout(Context& context, int entityIndex, const EntityDescription& entity,
                 const std::vector<RelationshipInfo>& relationships);

    Context& context() const { return *m_context; }
    int entityIndex() const { return m_entityIndex; }
    const EntityDescription& entity() const { return *m_entity; }
    int attributeCount() const { return static_cast<int>(m_attributeSlots.size()); }
    int relationshipCount() const { return static_cast<int>(m_relationshipSlots.size()); }
    const RelationshipInfo& relationship(int index) const {
        return m_relationships.at(static_cast<std::size_t>(index));
    }

    std::size_t blockSize() const { return m_blockSize; }
    // Constructs every slot of a fresh block (absent values, no relationships) / destroys them.
    void construct(std::byte* block) const;
    void destroy(std::byte* block) const;

    // Reads and writes an attribute slot. `read` does not look at presence; the caller does.
    Value read(const std::byte* block, int attribute) const;
    void write(std::byte* block, int attribute, Value&& value) const; // value must match the type
    void clear(std::byte* block, int attribute) const;
    // As write, for values read from the store: strings that repeat are shared through `interner`.
    void writeLoaded(std::byte* block, int attribute, Value&& value, StringInterner& interner) const;
    // True when the value's alternative suits the attribute's type (absent always does).
    bool accepts(int attribute, const Value& value) const;
    SlotKind attributeKind(int attribute) const { return slot(attribute).kind; }

    // Raw words of to-one slots: a pointer, or a primary key while a context is loading.
    std::uintptr_t toOneWord(const std::byte* block, int relationship) const;
    void setToOneWord(std::byte* block, int relationship, std::uintptr_t word) const;
    std::vector<ManagedObject*>& toMany(std::byte* block, int relationship) const;
    const std::vector<ManagedObject*>& toMany(const std::byte* block, int relationship) const;

private:
    struct Slot {
        SlotKind kind;
        std::uint32_t offset;
    };

    const Slot& slot(int attribute) const { return m_attributeSlots.at(static_cast<std::size_t>(attribute)); }
    std::uint32_t relationshipOffset(int relationship) const {
        return m_relationshipSlots.at(static_cast<std::size_t>(relationship)).offset;
    }

    Context* m_context;
    int m_entityIndex;
    const EntityDescription* m_entity;
    std::vector<Slot> m_attributeSlots;
    std::vector<Slot> m_relationshipSlots;
    std::vector<RelationshipInfo> m_relationships;
    std::size_t m_blockSize = 0;
};

} // namespace vantrel::objectstore
