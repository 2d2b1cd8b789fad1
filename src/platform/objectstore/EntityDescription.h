#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace vantrel::objectstore {

enum class AttributeType { String, Decimal, Date, Integer, Boolean, Archived };

enum class Optionality { Optional, Mandatory };

struct AttributeDescription {
    QString name;
    AttributeType type = AttributeType::String;
    Optionality optionality = Optionality::Optional;
    // Kept in an index of the store and of every context (lookups by cloudID, ofxFitID, date).
    bool indexed = false;
};

// What deleting the source object does to the objects at the other end.
enum class DeleteRule {
    Nullify, // the other ends forget the deleted object
    Cascade, // the other ends are deleted too (with their own rules)
    Deny,    // deleting is refused while the relationship is not empty
};

enum class Cardinality { ToOne, ToMany };

struct RelationshipDescription {
    QString name;
    QString destination; // entity name
    Cardinality cardinality = Cardinality::ToOne;
    QString inverse; // empty when the relationship has none
    DeleteRule deleteRule = DeleteRule::Nullify;
    Optionality optionality = Optionality::Optional; // mandatory: a to-one that must be set
};

// One entity: its attributes and relationships, in the order they are listed. Everything generic
// (schema, loading, saving, change tracking, undo, validation of mandatory properties, the dump)
// runs off these descriptions.
class EntityDescription {
public:
    EntityDescription(QString name, std::vector<AttributeDescription> attributes,
                      std::vector<RelationshipDescription> relationships);

    const QString& name() const { return m_name; }
    const std::vector<AttributeDescription>& attributes() const { return m_attributes; }
    const std::vector<RelationshipDescription>& relationships() const { return m_relationships; }

    // Index into attributes() / relationships(), or nothing.
    std::optional<int> attributeIndex(QStringView name) const;
    std::optional<int> relationshipIndex(QStringView name) const;
    const AttributeDescription& attribute(QStringView name) const;       // InternalError if unknown
    const RelationshipDescription& relationship(QStringView name) const; // InternalError if unknown

private:
    QString m_name;
    std::vector<AttributeDescription> m_attributes;
    std::vector<RelationshipDescription> m_relationships;
};

} // namespace vantrel::objectstore
