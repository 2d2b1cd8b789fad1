#pragma once

#include <QString>

namespace vantrel::objectstore {
class ManagedObject;
}

namespace vantrel::app {

// One node of the two-level category tree: a group or a category, at the top level (depth 0) or
// within a group (depth 1).
struct CategoryTreeRow {
    objectstore::ManagedObject* object = nullptr;
    bool isGroup = false;
    // Absent for a group that was never named.
    QString name;
    // Empty for groups and for categories without one.
    QString emoji;
    int depth = 0;
};

} // namespace vantrel::app
