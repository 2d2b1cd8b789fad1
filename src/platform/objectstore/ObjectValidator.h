#pragma once

#include "platform/objectstore/ValidationError.h"
#include "platform/objectstore/ValidationPhase.h"

#include <functional>
#include <optional>
#include <vector>

namespace vantrel::objectstore {

class ManagedObject;

// Validates objects before a save: the store's own check (every mandatory attribute present, every
// mandatory to-one set, one code-1570 error per missing property) and then the validator the
// application registered for the entity. Several errors are gathered into one multiple-errors error
// (code 1560) whose detailed errors keep the order they were found in.
class ObjectValidator {
public:
    using Validator = std::function<std::optional<ValidationError>(ManagedObject&, ValidationPhase)>;

    explicit ObjectValidator(std::size_t entityCount);

    void setValidator(int entity, Validator validator);
    std::optional<ValidationError> validate(ManagedObject& object, ValidationPhase phase) const;

    // Appends `error` (or, for a multiple-errors error, its single errors) after those of `gathered`.
    static ValidationError appendInOrder(std::optional<ValidationError> gathered,
                                         const ValidationError& error);

private:
    std::vector<Validator> m_validators;
};

} // namespace vantrel::objectstore
