#pragma once

#include "platform/objectstore/ManagedObject.h"
#include "platform/objectstore/ValidationError.h"

#include <QString>

namespace vantrel::model {

// Turns the known invalid states of an object (mostly the union of two devices' valid edits after
// a sync merge) into valid ones. Each repair logs what it did; an object lacking a mandatory
// relationship is an orphan and is deleted, except an account, which is never deleted by repair.
class ObjectRepair {
public:
    ObjectRepair() = delete;

    // True when every error was repaired or the object got deleted on the way. The single errors of
    // a multiple-errors error are handled missing-property errors first, so that an orphan is
    // deleted before anything else is changed on it.
    static bool repairInvalidObject(objectstore::ManagedObject& object,
                                    const objectstore::ValidationError& error);
    // True when this one error was repaired. A missing-property error naming a property the entity
    // does not have is an InternalError.
    static bool repairInvalidObjectWithSingleError(objectstore::ManagedObject& object,
                                                   const objectstore::ValidationError& error);

    // The class name the log lines use: the entity name, except "CategoryVT" for "Category".
    static QString classNameOf(const objectstore::ManagedObject& object);
};

} // namespace vantrel::model
