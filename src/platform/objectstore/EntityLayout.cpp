#include "platform/objectstore/EntityLayout.h"

#include "platform/InternalError.h"
#include "platform/objectstore/CompactAmount.h"
#include "platform/objectstore/CompactString.h"
#include "platform/objectstore/StringInterner.h"

#include <limits>
#include <new>

namespace vantrel::objectstore {

namespace {

using SlotKind = EntityLayout::SlotKind;
using ToManyVector = std::vector<ManagedObject*>;

// An invalid date keeps its own marker so that it reads back as the invalid date it was.
constexpr qint64 kInvalidDate = std::numeric_limits<qint64>::min();

SlotKind kindOf(AttributeType type) {
    switch (type) {
    case AttributeType::String:
    case AttributeType::Archived:
        return SlotKind::String;
    case AttributeType::Decimal:
        return SlotKind::Decimal;
    case AttributeType::Date:
        return SlotKind::Date;
    case AttributeType::Integer:
        return SlotKind::Integer;
    case AttributeType::Boolean:
        return SlotKind::Boolean;
    }
    throw platform::InternalError("Unknown attribute type");
}

std::size_t sizeOf(SlotKind kind) {
    switch (kind) {
    case SlotKind::String:
        return sizeof(CompactString);
    case SlotKind::Decimal:
        return sizeof(CompactAmount);
    case SlotKind::Date:
    case SlotKind::Integer:
        return sizeof(qint64);
    case SlotKind::Boolean:
        return sizeof(bool);
    case SlotKind::ToOne:
        return sizeof(std::uintptr_t);
    case SlotKind::ToMany:
        return sizeof(ToManyVector);
    }
    return 0;
}

template <typename T>
T& at(std::byte* block, std::uint32_t offset) {
    return *std::launder(reinterpret_cast<T*>(block + offset));
}

template <typename T>
const T& at(const std::byte* block, std::uint32_t offset) {
    return *std::launder(reinterpret_cast<const T*>(block + offset));
}

} // namespace

EntityLayout::EntityLayout(Context& context, int entityIndex, const EntityDescription& entity,
                           const std::vector<RelationshipInfo>& relationships)
    : m_context(&context)
    , m_entityIndex(entityIndex)
    , m_entity(&entity)
    , m_relationships(relationships) {
    static_assert(alignof(CompactString) <= 8 && alignof(CompactAmount) <= 8 && alignof(ToManyVector) <= 8);
    if (entity.attributes().size() > 64) {
        throw platform::InternalError(QStringLiteral("%1 has more than 64 attributes").arg(entity.name()));
    }
    // Word-aligned slots first, the one-byte booleans packed after them.
    std::uint32_t offset = 0;
    for (const auto& attribute : entity.attributes()) {
        const SlotKind kind = kindOf(attribute.type);
        m_attributeSlots.push_back({kind, 0});
        if (kind != SlotKind::Boolean) {
            m_attributeSlots.back().offset = offset;
            offset += static_cast<std::uint32_t>(sizeOf(kind));
        }
    }
    for (const auto& relationship : entity.relationships()) {
        const SlotKind kind =
            relationship.cardinality == Cardinality::ToOne ? SlotKind::ToOne : SlotKind::ToMany;
        m_relationshipSlots.push_back({kind, offset});
        offset += static_cast<std::uint32_t>(sizeOf(kind));
    }
    for (auto& slot : m_attributeSlots) {
        if (slot.kind == SlotKind::Boolean) {
            slot.offset = offset++;
        }
    }
    m_blockSize = (offset + 7u) & ~std::size_t{7};
}

void EntityLayout::construct(std::byte* block) const {
    for (const auto& slot : m_attributeSlots) {
        switch (slot.kind) {
        case SlotKind::String:
            new (block + slot.offset) CompactString();
            break;
        case SlotKind::Decimal:
            new (block + slot.offset) CompactAmount();
            break;
        case SlotKind::Date:
        case SlotKind::Integer:
            new (block + slot.offset) qint64(0);
            break;
        case SlotKind::Boolean:
            new (block + slot.offset) bool(false);
            break;
        default:
            break;
        }
    }
    for (const auto& slot : m_relationshipSlots) {
        if (slot.kind == SlotKind::ToOne) {
            new (block + slot.offset) std::uintptr_t(0);
        } else {
            new (block + slot.offset) ToManyVector();
        }
    }
}

void EntityLayout::destroy(std::byte* block) const {
    for (const auto& slot : m_attributeSlots) {
        if (slot.kind == SlotKind::String) {
            at<CompactString>(block, slot.offset).~CompactString();
        } else if (slot.kind == SlotKind::Decimal) {
            at<CompactAmount>(block, slot.offset).~CompactAmount();
        }
    }
    for (const auto& slot : m_relationshipSlots) {
        if (slot.kind == SlotKind::ToMany) {
            at<ToManyVector>(block, slot.offset).~ToManyVector();
        }
    }
}

Value EntityLayout::read(const std::byte* block, int attribute) const {
    const Slot& s = slot(attribute);
    switch (s.kind) {
    case SlotKind::String:
        return at<CompactString>(block, s.offset).text();
    case SlotKind::Decimal:
        return at<CompactAmount>(block, s.offset).amount();
    case SlotKind::Date: {
        const qint64 msecs = at<qint64>(block, s.offset);
        return msecs == kInvalidDate ? QDateTime() : QDateTime::fromMSecsSinceEpoch(msecs, Qt::UTC);
    }
    case SlotKind::Integer:
        return static_cast<std::int64_t>(at<qint64>(block, s.offset));
    case SlotKind::Boolean:
        return at<bool>(block, s.offset);
    default:
        break;
    }
    throw platform::InternalError("Attribute slot of unknown kind");
}

void EntityLayout::write(std::byte* block, int attribute, Value&& value) const {
    const Slot& s = slot(attribute);
    switch (s.kind) {
    case SlotKind::String:
        at<CompactString>(block, s.offset) = CompactString(std::get<QString>(value));
        return;
    case SlotKind::Decimal:
        at<CompactAmount>(block, s.offset) = CompactAmount(std::get<platform::Amount>(value));
        return;
    case SlotKind::Date: {
        const auto& date = std::get<QDateTime>(value);
        at<qint64>(block, s.offset) = date.isValid() ? date.toMSecsSinceEpoch() : kInvalidDate;
        return;
    }
    case SlotKind::Integer:
        at<qint64>(block, s.offset) = std::get<std::int64_t>(value);
        return;
    case SlotKind::Boolean:
        at<bool>(block, s.offset) = std::get<bool>(value);
        return;
    default:
        break;
    }
    throw platform::InternalError("Attribute slot of unknown kind");
}

void EntityLayout::clear(std::byte* block, int attribute) const {
    const Slot& s = slot(attribute);
    // Releases the heap part right away.
    if (s.kind == SlotKind::String) {
        at<CompactString>(block, s.offset) = CompactString();
    } else if (s.kind == SlotKind::Decimal) {
        at<CompactAmount>(block, s.offset) = CompactAmount();
    }
}

void EntityLayout::writeLoaded(std::byte* block, int attribute, Value&& value,
                               StringInterner& interner) const {
    const Slot& s = slot(attribute);
    if (s.kind == SlotKind::String) {
        const auto& text = std::get<QString>(value);
        if (text.size() > CompactString::kInlineCapacity) {
            const auto key =
                static_cast<std::size_t>(m_entityIndex) * 64 + static_cast<std::size_t>(attribute);
            if (const QString* shared = interner.intern(key, text)) {
                at<CompactString>(block, s.offset) = CompactString::sharing(shared);
                return;
            }
        }
    }
    write(block, attribute, std::move(value));
}

bool EntityLayout::accepts(int attribute, const Value& value) const {
    switch (value.index()) {
    case 0:
        return true;
    case 1:
        return slot(attribute).kind == SlotKind::String;
    case 2:
        return slot(attribute).kind == SlotKind::Decimal;
    case 3:
        return slot(attribute).kind == SlotKind::Date;
    case 4:
        return slot(attribute).kind == SlotKind::Integer;
    default:
        return slot(attribute).kind == SlotKind::Boolean;
    }
}

std::uintptr_t EntityLayout::toOneWord(const std::byte* block, int relationship) const {
    return at<std::uintptr_t>(block, relationshipOffset(relationship));
}

void EntityLayout::setToOneWord(std::byte* block, int relationship, std::uintptr_t word) const {
    at<std::uintptr_t>(block, relationshipOffset(relationship)) = word;
}

std::vector<ManagedObject*>& EntityLayout::toMany(std::byte* block, int relationship) const {
    return at<ToManyVector>(block, relationshipOffset(relationship));
}

const std::vector<ManagedObject*>& EntityLayout::toMany(const std::byte* block, int relationship) const {
    return at<ToManyVector>(block, relationshipOffset(relationship));
}

} // namespace vantrel::objectstore
