#pragma once

#include "platform/objectstore/Value.h"

#include <functional>

namespace vantrel::objectstore {

class ManagedObject;

enum class SortOrder { Ascending, Descending };

// One key of a fetch's sort: a key path compared in the natural order of values (or by a custom
// value comparison), or a comparison of whole objects. Comparisons return <0, 0 or >0.
struct SortDescriptor {
    using ValueComparison = std::function<int(const Value&, const Value&)>;
    using ObjectComparison = std::function<int(const ManagedObject&, const ManagedObject&)>;

    QString keyPath;
    SortOrder order = SortOrder::Ascending;
    ValueComparison valueComparison;   // optional, replaces the natural order of values
    ObjectComparison objectComparison; // when set, used instead of the key path

    static SortDescriptor byKey(QString keyPath, SortOrder order = SortOrder::Ascending,
                                ValueComparison comparison = {}) {
        return {std::move(keyPath), order, std::move(comparison), {}};
    }
    static SortDescriptor byObjects(ObjectComparison comparison, SortOrder order = SortOrder::Ascending) {
        return {{}, order, {}, std::move(comparison)};
    }
};

} // namespace vantrel::objectstore
