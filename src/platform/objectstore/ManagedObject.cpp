#include "platform/objectstore/ManagedObject.h"

#include "platform/InternalError.h"
#include "platform/objectstore/Context.h"
#include "platform/objectstore/KeyPath.h"

#include <algorithm>
#include <new>

namespace vantrel::objectstore {

ManagedObject::ManagedObject(const EntityLayout& layout, ObjectID id)
    : m_layout(&layout)
    , m_id(id) {
    layout.construct(block());
}

ManagedObject::~ManagedObject() {
    m_layout->destroy(block());
}

ManagedObject::Owner ManagedObject::create(ConstructionKey, const EntityLayout& layout, ObjectID id) {
    static_assert(sizeof(ManagedObject) % 8 == 0, "the block after the object must be word-aligned");
    void* memory = ::operator new(sizeof(ManagedObject) + layout.blockSize());
    try {
        return Owner(::new (memory) ManagedObject(layout, id));
    } catch (...) {
        ::operator delete(memory);
        throw;
    }
}

void ManagedObject::Deleter::operator()(ManagedObject* object) const noexcept {
    object->~ManagedObject();
    ::operator delete(static_cast<void*>(object));
}

int ManagedObject::attributeIndex(QStringView name) const {
    const auto index = entity().attributeIndex(name);
    if (!index) {
        throw platform::InternalError(QStringLiteral("%1 has no attribute %2").arg(entity().name(), name));
    }
    return *index;
}

int ManagedObject::relationshipIndex(QStringView name) const {
    const auto index = entity().relationshipIndex(name);
    if (!index) {
        throw platform::InternalError(QStringLiteral("%1 has no relationship %2").arg(entity().name(), name));
    }
    return *index;
}

Value ManagedObject::value(QStringView attribute) const {
    return value(attributeIndex(attribute));
}

Value ManagedObject::value(int attribute) const {
    if (attribute < 0 || attribute >= m_layout->attributeCount()) {
        throw platform::InternalError(
            QStringLiteral("%1 has no attribute #%2").arg(entity().name()).arg(attribute));
    }
    return hasValue(attribute) ? m_layout->read(block(), attribute) : Value();
}

Value ManagedObject::valueAtPath(QStringView keyPath) const {
    return KeyPath(context().model(), m_id.entity, keyPath).valueOf(*this);
}

void ManagedObject::setValue(QStringView attribute, Value value) {
    setValue(attributeIndex(attribute), std::move(value));
}

void ManagedObject::setValue(int attribute, Value value) {
    context().setAttribute(*this, attribute, std::move(value));
}

ManagedObject* ManagedObject::toOne(QStringView relationship) const {
    return toOne(relationshipIndex(relationship));
}

ManagedObject* ManagedObject::toOne(int relationship) const {
    if (m_layout->relationship(relationship).cardinality != Cardinality::ToOne) {
        throw platform::InternalError(QStringLiteral("%1.%2 is not a to-one")
                                          .arg(entity().name(), entity().relationships()[relationship].name));
    }
    return storedToOne(relationship);
}

void ManagedObject::setToOne(QStringView relationship, ManagedObject* target) {
    setToOne(relationshipIndex(relationship), target);
}

void ManagedObject::setToOne(int relationship, ManagedObject* target) {
    context().setRelationship(*this, relationship, target);
}

const std::vector<ManagedObject*>& ManagedObject::toMany(QStringView relationship) const {
    return toMany(relationshipIndex(relationship));
}

const std::vector<ManagedObject*>& ManagedObject::toMany(int relationship) const {
    if (m_layout->relationship(relationship).cardinality != Cardinality::ToMany) {
        throw platform::InternalError(QStringLiteral("%1.%2 is not a to-many")
                                          .arg(entity().name(), entity().relationships()[relationship].name));
    }
    return m_layout->toMany(block(), relationship);
}

void ManagedObject::addToMany(QStringView relationship, ManagedObject* member) {
    const int index = relationshipIndex(relationship);
    toMany(index); // checks the cardinality
    if (!member) {
        throw platform::InternalError("Adding nothing to a to-many");
    }
    member->setToOne(m_layout->relationship(index).inverse, this);
}

void ManagedObject::removeFromMany(QStringView relationship, ManagedObject* member) {
    const int index = relationshipIndex(relationship);
    toMany(index);
    const int inverse = m_layout->relationship(index).inverse;
    if (member && member->toOne(inverse) == this) {
        member->setToOne(inverse, nullptr);
    }
}

std::vector<QString> ManagedObject::changedProperties() const {
    std::vector<int> properties;
    if (m_committed) {
        for (const auto& entry : *m_committed) {
            properties.push_back(entry.property);
        }
    }
    std::sort(properties.begin(), properties.end());
    std::vector<QString> names;
    const int attributes = m_layout->attributeCount();
    for (const int property : properties) {
        names.push_back(property < attributes ? entity().attributes()[property].name
                                              : entity().relationships()[property - attributes].name);
    }
    return names;
}

bool ManagedObject::hasUnsavedChange(QStringView property) const {
    if (const auto attribute = entity().attributeIndex(property)) {
        return committedEntry(*attribute) != nullptr;
    }
    return committedEntry(m_layout->attributeCount() + relationshipIndex(property)) != nullptr;
}

Value ManagedObject::committedValue(QStringView attribute) const {
    if (hasFlag(kInserted)) {
        return {};
    }
    const int index = attributeIndex(attribute);
    const CommittedEntry* entry = committedEntry(index);
    return entry ? entry->value : value(index);
}

std::optional<ObjectID> ManagedObject::committedToOne(QStringView relationship) const {
    if (hasFlag(kInserted)) {
        return std::nullopt;
    }
    const int index = relationshipIndex(relationship);
    if (const CommittedEntry* entry = committedEntry(m_layout->attributeCount() + index)) {
        return entry->target;
    }
    const ManagedObject* target = toOne(index);
    return target ? std::optional(target->id()) : std::nullopt;
}

void ManagedObject::storeValue(int attribute, Value&& value) {
    if (isAbsent(value)) {
        m_layout->clear(block(), attribute);
        m_present &= ~(std::uint64_t{1} << attribute);
    } else {
        m_layout->write(block(), attribute, std::move(value));
        m_present |= std::uint64_t{1} << attribute;
    }
}

void ManagedObject::storeLoadedValue(int attribute, Value&& value, StringInterner& interner) {
    m_layout->writeLoaded(block(), attribute, std::move(value), interner);
    m_present |= std::uint64_t{1} << attribute;
}

ManagedObject* ManagedObject::storedToOne(int relationship) const {
    return reinterpret_cast<ManagedObject*>(m_layout->toOneWord(block(), relationship));
}

void ManagedObject::storeToOne(int relationship, ManagedObject* target) {
    m_layout->setToOneWord(block(), relationship, reinterpret_cast<std::uintptr_t>(target));
}

std::vector<ManagedObject*>& ManagedObject::storedToMany(int relationship) {
    return m_layout->toMany(block(), relationship);
}

const ManagedObject::CommittedEntry* ManagedObject::committedEntry(int property) const {
    if (!m_committed) {
        return nullptr;
    }
    for (const auto& entry : *m_committed) {
        if (entry.property == property) {
            return &entry;
        }
    }
    return nullptr;
}

ManagedObject::CommittedEntry* ManagedObject::committedEntry(int property) {
    return const_cast<CommittedEntry*>(std::as_const(*this).committedEntry(property));
}

void ManagedObject::addCommittedEntry(CommittedEntry entry) {
    if (!m_committed) {
        m_committed = std::make_unique<std::vector<CommittedEntry>>();
    }
    m_committed->push_back(std::move(entry));
}

void ManagedObject::removeCommittedEntry(int property) {
    if (!m_committed) {
        return;
    }
    std::erase_if(*m_committed,
                  [property](const CommittedEntry& entry) { return entry.property == property; });
    if (m_committed->empty()) {
        m_committed.reset();
    }
}

} // namespace vantrel::objectstore
