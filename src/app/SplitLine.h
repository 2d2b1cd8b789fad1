#pragma once

#include "model/Amount.h"

#include <optional>

namespace vantrel::objectstore {
class ManagedObject;
}

namespace vantrel::app {

// One category line of the transaction editor. `amount` is what its field holds (nothing while
// empty); `typed` records that the user has entered an amount there themselves.
struct SplitLine {
    objectstore::ManagedObject* category = nullptr;
    std::optional<model::Amount> amount;
    bool typed = false;
};

} // namespace vantrel::app
