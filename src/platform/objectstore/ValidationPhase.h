#pragma once

namespace vantrel::objectstore {

// Which change an object is validated for.
enum class ValidationPhase { Insert, Update, Delete };

} // namespace vantrel::objectstore
