#pragma once

#include "app/CategoryTreeRow.h"
#include "platform/objectstore/ObjectID.h"

#include <QObject>
#include <QString>

#include <optional>
#include <vector>

namespace vantrel::app {

class Workspace;

// The "Categories" preferences pane without its window: the category tree with its selection and
// the row whose name is being edited, and the commands that add, rename, regroup and delete
// categories and groups. Every change is saved and announced with "VT Categories Changed"; the tree
// reloads on that notification, whoever posts it.
class CategoryEditorModel {
public:
    // Where a drag ends: on a row, or on the empty area of the tree (the top level). `childIndex` is
    // set when the pointer is between rows, at that position among the children of `row` (or of the
    // top level).
    struct DropTarget {
        std::optional<std::size_t> row;
        std::optional<int> childIndex;

        static DropTarget onRow(std::size_t row) { return {row, std::nullopt}; }
        static DropTarget topLevel() { return {}; }
        static DropTarget betweenRows(std::optional<std::size_t> parent, int childIndex) {
            return {parent, childIndex};
        }
    };

    explicit CategoryEditorModel(Workspace& workspace);
    CategoryEditorModel(const CategoryEditorModel&) = delete;
    CategoryEditorModel& operator=(const CategoryEditorModel&) = delete;

    static QString paneTitle() { return QStringLiteral("Categories"); }

    const std::vector<CategoryTreeRow>& rows() const { return m_rows; }
    std::optional<std::size_t> selectedRow() const { return rowOf(m_selected); }
    // The row whose name cell is in edit mode, if any.
    std::optional<std::size_t> editingRow() const { return rowOf(m_editing); }
    // What the name editor shows: the text a refused rename left behind, else the row's name.
    QString editingText() const;

    void select(std::optional<std::size_t> row);
    // The user starts editing a name, or leaves the editor without committing.
    void beginEditing(std::size_t row);
    void endEditing();
    // Reads the tree again; the selection and the edited row follow their objects.
    void reload();

    // A category with the next default name, selected with its name in edit mode.
    void addCategory();
    // A group without name, selected with its name in edit mode.
    void addGroup();
    // Commits an edited name (a null text stands for an absent one). A name the category rules
    // refuse is shown in an alert, the stored name stays, and the row stays in edit mode. Returns
    // whether the name was taken.
    bool rename(std::size_t row, const QString& name);

    // Categories may be dropped onto a group (they join it) or onto the top level (they leave their
    // group); never onto a category or between rows, and groups cannot be dragged.
    bool validateDrop(const std::vector<std::size_t>& dragged, const DropTarget& target) const;
    bool acceptDrop(const std::vector<std::size_t>& dragged, const DropTarget& target);

    // A group goes at once and its categories move to the top level. A category still in use is
    // refused with an alert; an unused one goes after the user confirms, with its budget limits.
    // Returns whether something was deleted.
    bool deleteRow(std::size_t row);

private:
    std::optional<std::size_t> rowOf(const std::optional<objectstore::ObjectID>& id) const;
    const CategoryTreeRow& rowAt(std::size_t row) const;
    void saveAndReload();
    // After the selection is settled, so that observers see the pane as the user will.
    void announceChange();
    bool deleteGroup(objectstore::ManagedObject* group);
    bool deleteCategory(objectstore::ManagedObject* category);
    void startEditing(objectstore::ManagedObject* object);

    Workspace& m_workspace;
    std::vector<CategoryTreeRow> m_rows;
    std::optional<objectstore::ObjectID> m_selected;
    std::optional<objectstore::ObjectID> m_editing;
    QString m_rejectedText;
    // Last, so that the observation ends before the rest of the model goes.
    QObject m_observer;
};

} // namespace vantrel::app
