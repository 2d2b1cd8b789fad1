#pragma once

#include "platform/objectstore/EntityDescription.h"

#include <optional>
#include <vector>

namespace vantrel::objectstore {

// The whole object model: its entities in model order and the schema version recorded in the file.
// The constructor checks it: unique names, known destinations, and inverses that point back at
// each other (a to-many must have a to-one inverse, which holds the link in the store).
class ModelDescription {
public:
    ModelDescription(int version, std::vector<EntityDescription> entities);

    int version() const { return m_version; }
    const std::vector<EntityDescription>& entities() const { return m_entities; }
    std::optional<int> entityIndex(QStringView name) const;
    const EntityDescription& entity(QStringView name) const; // InternalError if unknown
    const EntityDescription& entity(int index) const {
        return m_entities.at(static_cast<std::size_t>(index));
    }

private:
    int m_version;
    std::vector<EntityDescription> m_entities;
};

} // namespace vantrel::objectstore
