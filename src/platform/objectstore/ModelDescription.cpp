#include "platform/objectstore/ModelDescription.h"

#include "platform/InternalError.h"

#include <QSet>

namespace vantrel::objectstore {

namespace {

[[noreturn]] void invalidModel(const QString& what) {
    throw platform::InternalError(QStringLiteral("Invalid object model: %1").arg(what));
}

} // namespace

ModelDescription::ModelDescription(int version, std::vector<EntityDescription> entities)
    : m_version(version)
    , m_entities(std::move(entities)) {
    QSet<QString> names;
    for (const auto& entity : m_entities) {
        if (names.contains(entity.name())) {
            invalidModel(QStringLiteral("entity %1 twice").arg(entity.name()));
        }
        names.insert(entity.name());
    }
    for (const auto& entity : m_entities) {
        for (const auto& relationship : entity.relationships()) {
            const QString where = entity.name() + u'.' + relationship.name;
            if (!names.contains(relationship.destination)) {
                invalidModel(
                    QStringLiteral("%1 points at unknown entity %2").arg(where, relationship.destination));
            }
            if (relationship.inverse.isEmpty()) {
                if (relationship.cardinality == Cardinality::ToMany) {
                    invalidModel(QStringLiteral("to-many %1 needs a to-one inverse").arg(where));
                }
                continue;
            }
            const auto& destination = this->entity(relationship.destination);
            const auto inverseIndex = destination.relationshipIndex(relationship.inverse);
            if (!inverseIndex) {
                invalidModel(QStringLiteral("%1 has unknown inverse %2").arg(where, relationship.inverse));
            }
            const auto& inverse = destination.relationships()[static_cast<std::size_t>(*inverseIndex)];
            if (inverse.inverse != relationship.name || inverse.destination != entity.name()) {
                invalidModel(QStringLiteral("%1 and its inverse do not point at each other").arg(where));
            }
            if (relationship.cardinality == Cardinality::ToMany &&
                inverse.cardinality == Cardinality::ToMany) {
                invalidModel(QStringLiteral("%1 is many-to-many").arg(where));
            }
        }
    }
}

std::optional<int> ModelDescription::entityIndex(QStringView name) const {
    for (std::size_t i = 0; i < m_entities.size(); ++i) {
        if (m_entities[i].name() == name) {
            return static_cast<int>(i);
        }
    }
    return std::nullopt;
}

const EntityDescription& ModelDescription::entity(QStringView name) const {
    const auto index = entityIndex(name);
    if (!index) {
        throw platform::InternalError(QStringLiteral("Unknown entity %1").arg(name));
    }
    return m_entities[static_cast<std::size_t>(*index)];
}

} // namespace vantrel::objectstore
