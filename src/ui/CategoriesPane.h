#pragma once

#include "app/CategoryEditorModel.h"
#include "platform/objectstore/ObjectID.h"

#include <QWidget>

#include <set>

class QPushButton;
class QTreeView;

namespace vantrel::app {
class Workspace;
}

namespace vantrel::ui {

class CategoryTreeModel;

// The "Categories" preferences pane: the category tree, renamed in place, with buttons to add a
// category or a group and to delete the selected row; categories are dragged onto a group or onto
// the empty area to regroup them. The editor model decides; the pane shows its selection and the
// row it is editing.
class CategoriesPane : public QWidget {
    Q_OBJECT

public:
    explicit CategoriesPane(app::Workspace& workspace, QWidget* parent = nullptr);
    ~CategoriesPane() override;

    app::CategoryEditorModel& editor() { return m_editor; }
    CategoryTreeModel* treeModel() const { return m_model; }
    QTreeView* tree() const { return m_tree; }
    QPushButton* addCategoryButton() const { return m_addCategory; }
    QPushButton* addGroupButton() const { return m_addGroup; }
    QPushButton* deleteButton() const { return m_delete; }

    void addCategory();
    void addGroup();
    void deleteSelected();

private:
    void buildLayout();
    void connectTree();
    // Brings the tree up to date and shows the editor's selection and edited row.
    void showEditorState();
    void restoreExpansion();
    void selectionChanged();
    void editAgain(const QModelIndex& index);
    void rememberExpansion(const QModelIndex& index, bool expanded);

    app::CategoryEditorModel m_editor;
    CategoryTreeModel* m_model = nullptr;
    QTreeView* m_tree = nullptr;
    QPushButton* m_addCategory = nullptr;
    QPushButton* m_addGroup = nullptr;
    QPushButton* m_delete = nullptr;
    // Groups start expanded; these the user folded stay folded across reloads.
    std::set<objectstore::ObjectID> m_collapsedGroups;
};

} // namespace vantrel::ui
