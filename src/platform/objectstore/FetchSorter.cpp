#include "platform/objectstore/FetchSorter.h"

#include "platform/objectstore/ManagedObject.h"
#include "platform/objectstore/ValueOrdering.h"

#include <algorithm>
#include <numeric>

namespace vantrel::objectstore {

FetchSorter::FetchSorter(const ModelDescription& model, int entity,
                         const std::vector<SortDescriptor>& descriptors)
    : m_descriptors(descriptors) {
    for (const auto& descriptor : descriptors) {
        if (descriptor.objectComparison) {
            m_paths.emplace_back();
        } else {
            m_paths.emplace_back(KeyPath(model, entity, descriptor.keyPath));
        }
    }
}

void FetchSorter::sort(std::vector<ManagedObject*>& objects) const {
    if (m_descriptors.empty()) {
        return;
    }
    const std::size_t width = m_descriptors.size();
    std::vector<Value> keys(objects.size() * width);
    for (std::size_t i = 0; i < objects.size(); ++i) {
        for (std::size_t d = 0; d < width; ++d) {
            if (m_paths[d]) {
                keys[i * width + d] = m_paths[d]->valueOf(*objects[i]);
            }
        }
    }
    std::vector<std::size_t> order(objects.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return compare(keys, a, b, *objects[a], *objects[b]) < 0;
    });
    std::vector<ManagedObject*> sorted;
    sorted.reserve(objects.size());
    for (const std::size_t index : order) {
        sorted.push_back(objects[index]);
    }
    objects = std::move(sorted);
}

int FetchSorter::compare(const std::vector<Value>& keys, std::size_t a, std::size_t b,
                         const ManagedObject& left, const ManagedObject& right) const {
    const std::size_t width = m_descriptors.size();
    for (std::size_t d = 0; d < width; ++d) {
        const auto& descriptor = m_descriptors[d];
        int result = 0;
        if (descriptor.objectComparison) {
            result = descriptor.objectComparison(left, right);
        } else {
            const Value& x = keys[a * width + d];
            const Value& y = keys[b * width + d];
            result = descriptor.valueComparison ? descriptor.valueComparison(x, y) : compareValues(x, y);
        }
        if (result != 0) {
            return descriptor.order == SortOrder::Ascending ? result : -result;
        }
    }
    return 0;
}

} // namespace vantrel::objectstore
