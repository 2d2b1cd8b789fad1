#include "app/CategoryTree.h"

#include "model/CategoryGroup.h"
#include "model/CategoryVT.h"
#include "platform/objectstore/Context.h"

#include <algorithm>

namespace vantrel::app {

namespace {

CategoryTreeRow groupRow(objectstore::ManagedObject* object) {
    const model::CategoryGroup group(object);
    return CategoryTreeRow{object, true, group.name(), group.emoji(), 0};
}

CategoryTreeRow categoryRow(objectstore::ManagedObject* object, int depth) {
    const model::CategoryVT category(object);
    return CategoryTreeRow{object, false, category.name(), category.emoji(), depth};
}

// Names equal but for case keep a fixed order: plain text order, then groups first.
bool precedes(const CategoryTreeRow& a, const CategoryTreeRow& b) {
    if (const int order = model::CategoryVT::compareNames(a.name, b.name); order != 0) {
        return order < 0;
    }
    if (a.name != b.name) {
        return a.name < b.name;
    }
    return a.isGroup && !b.isGroup;
}

void sortByName(std::vector<CategoryTreeRow>& rows) {
    std::stable_sort(rows.begin(), rows.end(), precedes);
}

} // namespace

std::vector<CategoryTreeRow> CategoryTree::rows(objectstore::Context& context) {
    std::vector<CategoryTreeRow> topLevel;
    for (objectstore::ManagedObject* group : context.all(u"CategoryGroup")) {
        topLevel.push_back(groupRow(group));
    }
    for (objectstore::ManagedObject* category : context.all(u"Category")) {
        if (model::CategoryVT(category).group() == nullptr) {
            topLevel.push_back(categoryRow(category, 0));
        }
    }
    sortByName(topLevel);

    std::vector<CategoryTreeRow> rows;
    for (const CategoryTreeRow& row : topLevel) {
        rows.push_back(row);
        if (!row.isGroup) {
            continue;
        }
        std::vector<CategoryTreeRow> children;
        for (objectstore::ManagedObject* category : model::CategoryGroup(row.object).categories()) {
            children.push_back(categoryRow(category, 1));
        }
        sortByName(children);
        rows.insert(rows.end(), children.begin(), children.end());
    }
    return rows;
}

} // namespace vantrel::app
