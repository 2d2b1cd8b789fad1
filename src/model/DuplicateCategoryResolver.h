#pragma once

#include "model/CategoryVT.h"

namespace vantrel::model {

// Resolves a duplicate category name: the most used of the categories matching the name keeps it,
// the other used ones get a numbered name, the never used ones are deleted.
class DuplicateCategoryResolver {
public:
    DuplicateCategoryResolver() = delete;

    static void resolve(const CategoryVT& category);
};

} // namespace vantrel::model
