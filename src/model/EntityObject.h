#pragma once

#include "model/Amount.h"
#include "model/Day.h"
#include "platform/objectstore/ManagedObject.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace vantrel::objectstore {
class Context;
}

namespace vantrel::model {

// Base of the typed entity classes: a handle on one object of the graph (not an owner; the context
// owns the object). Subclasses add typed accessors over attribute and relationship indexes that are
// resolved once from the data model, so domain code never touches raw values.
class EntityObject {
public:
    explicit EntityObject(objectstore::ManagedObject* object);

    objectstore::ManagedObject* object() const { return m_object; }
    objectstore::Context& context() const { return m_object->context(); }
    bool isDeleted() const { return m_object->isDeleted(); }

    friend bool operator==(const EntityObject& a, const EntityObject& b) { return a.m_object == b.m_object; }

    // A fresh identity across machines: an upper-case UUID, 8-4-4-4-12 hexadecimal digits.
    static QString newCloudID();

    // Indexes into the data model, resolved once by each entity class.
    static int attributeIndex(QStringView entity, QStringView attribute);
    static int relationshipIndex(QStringView entity, QStringView relationship);

protected:
    // Inserts an object of the entity and gives it a cloudID when the entity stores one.
    static objectstore::ManagedObject* insertWithCloudID(objectstore::Context& context, QStringView entity);

    // Absent reads as a null QString; setting a null QString makes the attribute absent.
    QString string(int attribute) const;
    void setString(int attribute, const QString& value);
    std::optional<Amount> decimal(int attribute) const;
    void setDecimal(int attribute, const std::optional<Amount>& value);
    // Date attributes hold calendar days as midnight UTC.
    std::optional<Day> day(int attribute) const;
    void setDay(int attribute, const std::optional<Day>& value);
    std::optional<std::int64_t> integer(int attribute) const;
    void setInteger(int attribute, const std::optional<std::int64_t>& value);
    std::optional<bool> boolean(int attribute) const;
    void setBoolean(int attribute, const std::optional<bool>& value);

    objectstore::ManagedObject* toOne(int relationship) const { return m_object->toOne(relationship); }
    void setToOne(int relationship, objectstore::ManagedObject* target) {
        m_object->setToOne(relationship, target);
    }
    const std::vector<objectstore::ManagedObject*>& toMany(int relationship) const {
        return m_object->toMany(relationship);
    }

private:
    objectstore::ManagedObject* m_object;
};

} // namespace vantrel::model
