#include "platform/objectstore/EntityDescription.h"

#include "platform/InternalError.h"

namespace vantrel::objectstore {

EntityDescription::EntityDescription(QString name, std::vector<AttributeDescription> attributes,
                                     std::vector<RelationshipDescription> relationships)
    : m_name(std::move(name))
    , m_attributes(std::move(attributes))
    , m_relationships(std::move(relationships)) {}

std::optional<int> EntityDescription::attributeIndex(QStringView name) const {
    for (std::size_t i = 0; i < m_attributes.size(); ++i) {
        if (m_attributes[i].name == name) {
            return static_cast<int>(i);
        }
    }
    return std::nullopt;
}

std::optional<int> EntityDescription::relationshipIndex(QStringView name) const {
    for (std::size_t i = 0; i < m_relationships.size(); ++i) {
        if (m_relationships[i].name == name) {
            return static_cast<int>(i);
        }
    }
    return std::nullopt;
}

const AttributeDescription& EntityDescription::attribute(QStringView name) const {
    const auto index = attributeIndex(name);
    if (!index) {
        throw platform::InternalError(QStringLiteral("%1 has no attribute %2").arg(m_name, name));
    }
    return m_attributes[static_cast<std::size_t>(*index)];
}

const RelationshipDescription& EntityDescription::relationship(QStringView name) const {
    const auto index = relationshipIndex(name);
    if (!index) {
        throw platform::InternalError(QStringLiteral("%1 has no relationship %2").arg(m_name, name));
    }
    return m_relationships[static_cast<std::size_t>(*index)];
}

} // namespace vantrel::objectstore
