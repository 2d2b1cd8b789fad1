#pragma once

#include "platform/objectstore/Context.h"

namespace vantrel::model {

// Whole-graph checks: whether every object passes validation, and the repair of a graph whose
// save failed after changes from another device were merged into it.
class IntegrityCheck {
public:
    IntegrityCheck() = delete;

    // Validates every object of every entity, in model order, as for an update; the first failure
    // is logged (the object, then the error) and ends the check.
    static bool allManagedObjectsAreValid(objectstore::Context& context);

    // Repairs, in `reparation`, the objects `failed` inserted, updated and deleted, as they are
    // stored. Objects that cannot be found or repaired are logged and left; the changes stay
    // unsaved in `reparation` for the caller to save. Always true: a failure here must not stop sync.
    static bool repairAfterFailedSave(objectstore::Context& failed, objectstore::Context& reparation);
};

} // namespace vantrel::model
