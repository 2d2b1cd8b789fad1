#include "model/EntityObject.h"

#include "model/DataModel.h"
#include "platform/InternalError.h"
#include "platform/objectstore/Context.h"

#include <QUuid>

namespace vantrel::model {

using objectstore::Value;

EntityObject::EntityObject(objectstore::ManagedObject* object)
    : m_object(object) {
    if (object == nullptr) {
        throw platform::InternalError("An entity object needs an object");
    }
}

QString EntityObject::newCloudID() {
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
}

int EntityObject::attributeIndex(QStringView entity, QStringView attribute) {
    const auto& description = DataModel::description().entity(entity);
    const auto index = description.attributeIndex(attribute);
    if (!index) {
        throw platform::InternalError(QStringLiteral("%1 has no attribute %2").arg(entity, attribute));
    }
    return *index;
}

int EntityObject::relationshipIndex(QStringView entity, QStringView relationship) {
    const auto& description = DataModel::description().entity(entity);
    const auto index = description.relationshipIndex(relationship);
    if (!index) {
        throw platform::InternalError(QStringLiteral("%1 has no relationship %2").arg(entity, relationship));
    }
    return *index;
}

objectstore::ManagedObject* EntityObject::insertWithCloudID(objectstore::Context& context,
                                                            QStringView entity) {
    objectstore::ManagedObject* object = context.insert(entity);
    if (const auto cloudID = object->entity().attributeIndex(u"cloudID")) {
        if (!object->hasValue(*cloudID)) {
            object->setValue(*cloudID, Value(newCloudID()));
        }
    }
    return object;
}

QString EntityObject::string(int attribute) const {
    const Value value = m_object->value(attribute);
    const auto* text = std::get_if<QString>(&value);
    return text != nullptr ? *text : QString();
}

void EntityObject::setString(int attribute, const QString& value) {
    m_object->setValue(attribute, value.isNull() ? Value() : Value(value));
}

std::optional<Amount> EntityObject::decimal(int attribute) const {
    const Value value = m_object->value(attribute);
    if (const auto* amount = std::get_if<Amount>(&value)) {
        return *amount;
    }
    return std::nullopt;
}

void EntityObject::setDecimal(int attribute, const std::optional<Amount>& value) {
    m_object->setValue(attribute, value ? Value(*value) : Value());
}

std::optional<Day> EntityObject::day(int attribute) const {
    const Value value = m_object->value(attribute);
    if (const auto* instant = std::get_if<QDateTime>(&value)) {
        return Day::fromInstant(*instant);
    }
    return std::nullopt;
}

void EntityObject::setDay(int attribute, const std::optional<Day>& value) {
    m_object->setValue(attribute, value ? Value(value->toInstant()) : Value());
}

std::optional<std::int64_t> EntityObject::integer(int attribute) const {
    const Value value = m_object->value(attribute);
    if (const auto* number = std::get_if<std::int64_t>(&value)) {
        return *number;
    }
    return std::nullopt;
}

void EntityObject::setInteger(int attribute, const std::optional<std::int64_t>& value) {
    m_object->setValue(attribute, value ? Value(*value) : Value());
}

std::optional<bool> EntityObject::boolean(int attribute) const {
    const Value value = m_object->value(attribute);
    if (const auto* flag = std::get_if<bool>(&value)) {
        return *flag;
    }
    return std::nullopt;
}

void EntityObject::setBoolean(int attribute, const std::optional<bool>& value) {
    m_object->setValue(attribute, value ? Value(*value) : Value());
}

} // namespace vantrel::model
