#include "platform/objectstore/ObjectValidator.h"

#include "platform/objectstore/ManagedObject.h"

namespace vantrel::objectstore {

namespace {

ValidationError multipleErrors() {
    // The platform's own multiple-errors shape, as ValidationError::combine builds it.
    ValidationError combined = ValidationError::combine(ValidationError{}, ValidationError{});
    combined.detailedErrors.clear();
    return combined;
}

} // namespace

ObjectValidator::ObjectValidator(std::size_t entityCount)
    : m_validators(entityCount) {}

void ObjectValidator::setValidator(int entity, Validator validator) {
    m_validators.at(static_cast<std::size_t>(entity)) = std::move(validator);
}

std::optional<ValidationError> ObjectValidator::validate(ManagedObject& object, ValidationPhase phase) const {
    std::optional<ValidationError> gathered;
    const auto& entity = object.entity();
    if (phase != ValidationPhase::Delete) {
        for (std::size_t i = 0; i < entity.attributes().size(); ++i) {
            const auto& attribute = entity.attributes()[i];
            if (attribute.optionality == Optionality::Mandatory && !object.hasValue(static_cast<int>(i))) {
                gathered = appendInOrder(
                    gathered, ValidationError::missingMandatoryProperty(entity.name(), attribute.name));
            }
        }
        for (std::size_t i = 0; i < entity.relationships().size(); ++i) {
            const auto& relationship = entity.relationships()[i];
            if (relationship.cardinality == Cardinality::ToOne &&
                relationship.optionality == Optionality::Mandatory && !object.toOne(static_cast<int>(i))) {
                gathered = appendInOrder(
                    gathered, ValidationError::missingMandatoryProperty(entity.name(), relationship.name));
            }
        }
    }
    const auto& validator = m_validators.at(static_cast<std::size_t>(object.id().entity));
    if (validator) {
        if (auto error = validator(object, phase)) {
            gathered = appendInOrder(gathered, *error);
        }
    }
    return gathered;
}

ValidationError ObjectValidator::appendInOrder(std::optional<ValidationError> gathered,
                                               const ValidationError& error) {
    if (!gathered) {
        return error;
    }
    const bool wasMultiple = gathered->isMultiple();
    ValidationError result = wasMultiple ? std::move(*gathered) : multipleErrors();
    if (!wasMultiple) {
        result.detailedErrors.push_back(std::move(*gathered));
    }
    if (error.isMultiple()) {
        result.detailedErrors.insert(result.detailedErrors.end(), error.detailedErrors.begin(),
                                     error.detailedErrors.end());
    } else {
        result.detailedErrors.push_back(error);
    }
    return result;
}

} // namespace vantrel::objectstore
