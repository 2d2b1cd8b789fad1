#pragma once

#include "app/CategoryTreeRow.h"

#include <vector>

namespace vantrel::objectstore {
class Context;
}

namespace vantrel::app {

// The category tree as the editor and the category menus list it: the groups and the categories
// without group together, by name; each group followed by its own categories, by name. Names are
// compared ignoring case, in the user's locale.
class CategoryTree {
public:
    CategoryTree() = delete;

    static std::vector<CategoryTreeRow> rows(objectstore::Context& context);
};

} // namespace vantrel::app
