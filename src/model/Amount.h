#pragma once

#include "platform/Amount.h"

namespace vantrel::model {

// Money in the model is the platform's exact decimal: the object store keeps and sums it natively.
using platform::Amount;

} // namespace vantrel::model
