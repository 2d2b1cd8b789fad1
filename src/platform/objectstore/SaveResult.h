#pragma once

#include "platform/objectstore/ChangeSet.h"
#include "platform/objectstore/ValidationError.h"

#include <QString>

#include <optional>
#include <vector>

namespace vantrel::objectstore {

class ManagedObject;

// One object that failed validation, with its (possibly combined) error.
struct ValidationFailure {
    ManagedObject* object;
    ValidationError error;
};

// The outcome of Context::save. On success `changes` holds what was written (empty when there was
// nothing to save). On failure nothing was written and the context kept every change: either
// validation failed (`error` combines the errors of every failing object, listed in `failures`), or
// the store refused the write (`storeFailure` holds its message).
struct SaveResult {
    ChangeSet changes;
    std::optional<ValidationError> error;
    std::vector<ValidationFailure> failures;
    QString storeFailure;

    bool succeeded() const { return !error && storeFailure.isEmpty(); }
};

} // namespace vantrel::objectstore
