#pragma once

#include <QString>

namespace vantrel::objectstore {
class ManagedObject;
}

namespace vantrel::app {

// One item of a category field's menu.
struct CategoryMenuEntry {
    enum class Kind { None, Separator, Group, Category, EditCategories };

    Kind kind = Kind::Separator;
    QString title;
    // A category's emoji, shown beside its title; empty for everything else.
    QString emoji;
    int indentation = 0;
    // The group or category of the entry; nullptr for the others.
    objectstore::ManagedObject* object = nullptr;
    // Groups only head their categories; they cannot be chosen.
    bool enabled = true;
};

} // namespace vantrel::app
