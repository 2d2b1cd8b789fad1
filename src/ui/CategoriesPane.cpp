#include "ui/CategoriesPane.h"

#include "app/Workspace.h"
#include "ui/CategoryTreeModel.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

namespace vantrel::ui {

CategoriesPane::CategoriesPane(app::Workspace& workspace, QWidget* parent)
    : QWidget(parent)
    , m_editor(workspace) {
    m_model = new CategoryTreeModel(workspace, m_editor, this);
    buildLayout();
    connectTree();
    showEditorState();
}

CategoriesPane::~CategoriesPane() {
    // The tree and its model reach into the editor (an open name editor commits as it loses
    // focus): they go before it does.
    delete m_tree;
    delete m_model;
}

void CategoriesPane::buildLayout() {
    m_tree = new QTreeView(this);
    m_tree->setObjectName(QStringLiteral("categoryTree"));
    m_tree->setModel(m_model);
    m_tree->setHeaderHidden(true);
    m_tree->setUniformRowHeights(true);
    m_tree->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_tree->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::SelectedClicked);
    m_tree->setDragDropMode(QAbstractItemView::DragDrop);
    m_tree->setDefaultDropAction(Qt::MoveAction);
    m_tree->setDragEnabled(true);
    m_tree->setAcceptDrops(true);
    m_tree->setDropIndicatorShown(true);
    m_tree->setMinimumSize(320, 300);

    auto* deleteAction = new QAction(tr("Delete"), m_tree);
    deleteAction->setShortcuts({QKeySequence::Delete, QKeySequence(Qt::Key_Backspace)});
    deleteAction->setShortcutContext(Qt::WidgetShortcut);
    connect(deleteAction, &QAction::triggered, this, &CategoriesPane::deleteSelected);
    m_tree->addAction(deleteAction);

    m_addCategory = new QPushButton(tr("Add Category"), this);
    m_addCategory->setObjectName(QStringLiteral("addCategoryButton"));
    m_addGroup = new QPushButton(tr("Add Group"), this);
    m_addGroup->setObjectName(QStringLiteral("addGroupButton"));
    m_delete = new QPushButton(tr("Delete"), this);
    m_delete->setObjectName(QStringLiteral("deleteCategoryButton"));
    for (QPushButton* button : {m_addCategory, m_addGroup, m_delete}) {
        button->setAutoDefault(false);
    }
    connect(m_addCategory, &QPushButton::clicked, this, &CategoriesPane::addCategory);
    connect(m_addGroup, &QPushButton::clicked, this, &CategoriesPane::addGroup);
    connect(m_delete, &QPushButton::clicked, this, &CategoriesPane::deleteSelected);

    auto* hint = new QLabel(tr("Double-click a name to rename it. Drag categories onto a group to file them "
                               "under it, or below the list to take them out of their group."),
                            this);
    hint->setWordWrap(true);
    hint->setForegroundRole(QPalette::PlaceholderText);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_addCategory);
    buttons->addWidget(m_addGroup);
    buttons->addStretch();
    buttons->addWidget(m_delete);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tree, 1);
    layout->addLayout(buttons);
    layout->addWidget(hint);
}

void CategoriesPane::connectTree() {
    connect(m_tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &CategoriesPane::selectionChanged);
    connect(m_model, &QAbstractItemModel::modelReset, this, &CategoriesPane::showEditorState);
    connect(m_model, &CategoryTreeModel::renameRefused, this, &CategoriesPane::editAgain);
    connect(m_tree, &QTreeView::collapsed, this,
            [this](const QModelIndex& index) { rememberExpansion(index, false); });
    connect(m_tree, &QTreeView::expanded, this,
            [this](const QModelIndex& index) { rememberExpansion(index, true); });
    // Escape leaves the name editor without renaming: the editor forgets a refused text.
    connect(m_tree->itemDelegate(), &QAbstractItemDelegate::closeEditor, this,
            [this](QWidget*, QAbstractItemDelegate::EndEditHint hint) {
                if (hint == QAbstractItemDelegate::RevertModelCache) {
                    m_editor.endEditing();
                }
            });
}

void CategoriesPane::addCategory() {
    m_editor.addCategory();
    showEditorState();
}

void CategoriesPane::addGroup() {
    m_editor.addGroup();
    showEditorState();
}

void CategoriesPane::deleteSelected() {
    const std::optional<std::size_t> row = m_editor.selectedRow();
    if (!row) {
        return;
    }
    m_editor.deleteRow(*row);
    showEditorState();
}

void CategoriesPane::showEditorState() {
    // A reset from here re-enters through modelReset; the second pass finds nothing to take.
    if (m_model->refresh()) {
        return;
    }
    restoreExpansion();
    const std::optional<std::size_t> selected = m_editor.selectedRow();
    const QModelIndex current = m_model->indexOfEditorRow(selected);
    m_tree->selectionModel()->setCurrentIndex(current, QItemSelectionModel::ClearAndSelect);
    m_delete->setEnabled(selected.has_value());
    if (const std::optional<std::size_t> editing = m_editor.editingRow()) {
        const QModelIndex index = m_model->indexOfEditorRow(editing);
        m_tree->scrollTo(index);
        m_tree->edit(index);
    }
}

void CategoriesPane::restoreExpansion() {
    const QSignalBlocker blocker(m_tree);
    for (int row = 0; row < m_model->rowCount(); ++row) {
        const QModelIndex index = m_model->index(row, 0);
        const std::optional<objectstore::ObjectID> id = m_model->objectIdAt(index);
        if (id && m_model->rowCount(index) > 0) {
            m_tree->setExpanded(index, !m_collapsedGroups.contains(*id));
        }
    }
}

void CategoriesPane::rememberExpansion(const QModelIndex& index, bool expanded) {
    const std::optional<objectstore::ObjectID> id = m_model->objectIdAt(index);
    if (!id) {
        return;
    }
    if (expanded) {
        m_collapsedGroups.erase(*id);
    } else {
        m_collapsedGroups.insert(*id);
    }
}

void CategoriesPane::selectionChanged() {
    std::optional<std::size_t> row = m_model->editorRow(m_tree->currentIndex());
    // While a refresh is pending the tree may list rows the editor no longer has.
    if (row && *row >= m_editor.rows().size()) {
        row.reset();
    }
    m_editor.select(row);
    m_delete->setEnabled(row.has_value());
}

void CategoriesPane::editAgain(const QModelIndex& index) {
    // The view closes the refused editor after this returns; open a fresh one afterwards.
    const QPersistentModelIndex target(index);
    QTimer::singleShot(0, this, [this, target] {
        if (target.isValid()) {
            m_tree->setCurrentIndex(target);
            m_tree->edit(target);
        }
    });
}

} // namespace vantrel::ui
