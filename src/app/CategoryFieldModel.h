#pragma once

#include "app/CategoryMenuEntry.h"
#include "platform/objectstore/ObjectID.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace vantrel::app {

class Workspace;

// The category chooser of the editors without its widget: the chosen category, completions while
// typing, what a committed text chooses (offering to create a category that does not exist), and
// the menu of all categories.
class CategoryFieldModel {
public:
    explicit CategoryFieldModel(Workspace& workspace, objectstore::ManagedObject* category = nullptr);

    // nullptr: no category (also when the chosen one has been deleted since).
    objectstore::ManagedObject* category() const;
    void setCategory(objectstore::ManagedObject* category);
    // The chosen category's name; empty for none.
    QString text() const;

    // The names beginning with `typed` (ignoring case), spelt with the typed text followed by the
    // rest of the name, in plain text order.
    QStringList completions(const QString& typed) const;
    // Blank text chooses no category, a known name its category; an unknown name asks whether to
    // create it, and "Cancel" keeps the previous choice. Returns the category chosen afterwards.
    objectstore::ManagedObject* commitText(const QString& text);

    // "None", a separator, the tree of groups and categories, a separator, "Edit Categories...".
    std::vector<CategoryMenuEntry> menuEntries() const;

private:
    objectstore::ManagedObject* createCategory(const QString& name);

    Workspace& m_workspace;
    std::optional<objectstore::ObjectID> m_category;
};

} // namespace vantrel::app
