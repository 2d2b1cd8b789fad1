#include "platform/objectstore/KeyPath.h"

#include "platform/InternalError.h"
#include "platform/objectstore/ManagedObject.h"

namespace vantrel::objectstore {

KeyPath::KeyPath(const ModelDescription& model, int entity, QStringView path) {
    const auto steps = path.split(u'.');
    const EntityDescription* current = &model.entity(entity);
    for (qsizetype i = 0; i + 1 < steps.size(); ++i) {
        const auto& relationship = current->relationship(steps[i]);
        if (relationship.cardinality != Cardinality::ToOne) {
            throw platform::InternalError(QStringLiteral("Key path %1 goes through a to-many").arg(path));
        }
        m_relationships.push_back(*current->relationshipIndex(steps[i]));
        current = &model.entity(relationship.destination);
    }
    const auto attribute = current->attributeIndex(steps.back());
    if (!attribute) {
        throw platform::InternalError(QStringLiteral("Key path %1 does not end in an attribute").arg(path));
    }
    m_attribute = *attribute;
}

Value KeyPath::valueOf(const ManagedObject& object) const {
    const ManagedObject* current = &object;
    for (const int relationship : m_relationships) {
        current = current->toOne(relationship);
        if (!current) {
            return {};
        }
    }
    return current->value(m_attribute);
}

} // namespace vantrel::objectstore
