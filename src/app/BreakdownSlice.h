#pragma once

#include <QString>

#include <vector>

namespace vantrel::objectstore {
class ManagedObject;
}

namespace vantrel::app {

// One slice of the breakdown pie: one entry, or "Other" standing for every entry after the eighth.
struct BreakdownSlice {
    QString name;
    // Hex without "#".
    QString color;
    // The amount (expenses negative) as the pie draws it.
    float value = 0;
    // The entries it stands for: one, or the rest for "Other".
    std::vector<objectstore::ManagedObject*> keys;
    bool isOther = false;
};

} // namespace vantrel::app
