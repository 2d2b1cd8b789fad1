#pragma once

#include "platform/objectstore/KeyPath.h"
#include "platform/objectstore/SortDescriptor.h"

#include <vector>

namespace vantrel::objectstore {

// Sorts fetched objects by a list of sort descriptors. Key path values are read once per object
// before sorting, so a large fetch does not resolve paths in every comparison. Stable: objects that
// compare equal keep their order.
class FetchSorter {
public:
    FetchSorter(const ModelDescription& model, int entity, const std::vector<SortDescriptor>& descriptors);

    void sort(std::vector<ManagedObject*>& objects) const;

private:
    int compare(const std::vector<Value>& keys, std::size_t a, std::size_t b, const ManagedObject& left,
                const ManagedObject& right) const;

    const std::vector<SortDescriptor>& m_descriptors;
    std::vector<std::optional<KeyPath>> m_paths; // per descriptor; none for object comparisons
};

} // namespace vantrel::objectstore
