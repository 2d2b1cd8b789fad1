#include "app/CategoryEditorModel.h"

#include "app/CategoryTree.h"
#include "app/Workspace.h"
#include "model/CategoryGroup.h"
#include "model/CategoryVT.h"
#include "platform/InternalError.h"
#include "platform/NotificationHub.h"
#include "platform/NotificationNames.h"
#include "platform/objectstore/Context.h"

#include <algorithm>

namespace vantrel::app {

namespace {

const Alert kCategoryInUse{
    QStringLiteral("Cannot delete this category because it is still used by some transactions."),
    QStringLiteral("To delete this category, update all transactions using this category to use another "
                   "category."),
    {}};

const Alert kConfirmDeletion{QStringLiteral("Are you sure you want to delete this category?"),
                             QStringLiteral("Deleting this category will also remove it from your existing "
                                            "budgets."),
                             {QStringLiteral("Delete Category"), QStringLiteral("Cancel")}};

QString nameOf(const CategoryTreeRow& row) {
    return row.isGroup ? model::CategoryGroup(row.object).name() : model::CategoryVT(row.object).name();
}

void setNameOf(const CategoryTreeRow& row, const QString& name) {
    if (row.isGroup) {
        model::CategoryGroup(row.object).setName(name);
    } else {
        model::CategoryVT(row.object).setName(name);
    }
}

} // namespace

CategoryEditorModel::CategoryEditorModel(Workspace& workspace)
    : m_workspace(workspace) {
    m_workspace.notifications().observe(QString::fromLatin1(platform::kCategoriesChanged), &m_observer,
                                        [this](const platform::Notification&) { reload(); });
    reload();
}

QString CategoryEditorModel::editingText() const {
    const std::optional<std::size_t> row = editingRow();
    if (!row) {
        return QString();
    }
    return m_rejectedText.isNull() ? m_rows[*row].name : m_rejectedText;
}

void CategoryEditorModel::select(std::optional<std::size_t> row) {
    m_selected = row ? std::optional(rowAt(*row).object->id()) : std::nullopt;
}

void CategoryEditorModel::beginEditing(std::size_t row) {
    startEditing(rowAt(row).object);
}

void CategoryEditorModel::endEditing() {
    m_editing.reset();
    m_rejectedText = QString();
}

void CategoryEditorModel::reload() {
    m_rows = CategoryTree::rows(m_workspace.context());
    if (!rowOf(m_selected)) {
        m_selected.reset();
    }
    if (!rowOf(m_editing)) {
        endEditing();
    }
}

void CategoryEditorModel::addCategory() {
    const model::CategoryVT category = model::CategoryVT::insertInContext(m_workspace.context());
    saveAndReload();
    startEditing(category.object());
    announceChange();
}

void CategoryEditorModel::addGroup() {
    const model::CategoryGroup group = model::CategoryGroup::insertInContext(m_workspace.context());
    saveAndReload();
    startEditing(group.object());
    announceChange();
}

bool CategoryEditorModel::rename(std::size_t row, const QString& name) {
    const CategoryTreeRow target = rowAt(row);
    const QString text = name.isNull() ? QStringLiteral("") : name;
    const QString previous = nameOf(target);
    setNameOf(target, text);
    const std::optional<objectstore::ValidationError> error =
        m_workspace.context().validate(*target.object, objectstore::ValidationPhase::Update);
    if (error) {
        // The refused name never stays in the graph, where it would block every later save; the
        // editor keeps it for the user to correct.
        setNameOf(target, previous);
        startEditing(target.object);
        m_rejectedText = text;
        m_workspace.alerts().present(Alert{error->message, QString(), {}});
        return false;
    }
    endEditing();
    saveAndReload();
    m_selected = target.object->id();
    announceChange();
    return true;
}

bool CategoryEditorModel::validateDrop(const std::vector<std::size_t>& dragged,
                                       const DropTarget& target) const {
    const bool onlyCategories =
        !dragged.empty() && std::all_of(dragged.begin(), dragged.end(), [this](std::size_t row) {
            return row < m_rows.size() && !m_rows[row].isGroup;
        });
    if (!onlyCategories || target.childIndex) {
        return false;
    }
    return !target.row || (*target.row < m_rows.size() && m_rows[*target.row].isGroup);
}

bool CategoryEditorModel::acceptDrop(const std::vector<std::size_t>& dragged, const DropTarget& target) {
    if (!validateDrop(dragged, target)) {
        return false;
    }
    objectstore::ManagedObject* group = target.row ? m_rows[*target.row].object : nullptr;
    for (std::size_t row : dragged) {
        model::CategoryVT(m_rows[row].object).setGroup(group);
    }
    saveAndReload();
    announceChange();
    return true;
}

bool CategoryEditorModel::deleteRow(std::size_t row) {
    const CategoryTreeRow& target = rowAt(row);
    return target.isGroup ? deleteGroup(target.object) : deleteCategory(target.object);
}

bool CategoryEditorModel::deleteGroup(objectstore::ManagedObject* group) {
    m_workspace.context().deleteObject(group);
    saveAndReload();
    announceChange();
    return true;
}

bool CategoryEditorModel::deleteCategory(objectstore::ManagedObject* category) {
    if (model::CategoryVT(category).numberOfUses() >= 1) {
        m_workspace.alerts().present(kCategoryInUse);
        return false;
    }
    if (m_workspace.alerts().present(kConfirmDeletion) != 0) {
        return false;
    }
    // The delete rule takes the category's budget limits with it.
    m_workspace.context().deleteObject(category);
    saveAndReload();
    announceChange();
    return true;
}

std::optional<std::size_t> CategoryEditorModel::rowOf(const std::optional<objectstore::ObjectID>& id) const {
    if (!id) {
        return std::nullopt;
    }
    const auto found = std::find_if(m_rows.begin(), m_rows.end(),
                                    [&id](const CategoryTreeRow& row) { return row.object->id() == *id; });
    if (found == m_rows.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(found - m_rows.begin());
}

const CategoryTreeRow& CategoryEditorModel::rowAt(std::size_t row) const {
    if (row >= m_rows.size()) {
        throw platform::InternalError(
            QStringLiteral("Category row %1 of %2 does not exist").arg(row).arg(m_rows.size()));
    }
    return m_rows[row];
}

void CategoryEditorModel::saveAndReload() {
    m_workspace.saveDatabase();
    reload();
}

void CategoryEditorModel::announceChange() {
    m_workspace.postCategoriesChanged();
}

void CategoryEditorModel::startEditing(objectstore::ManagedObject* object) {
    m_selected = object->id();
    m_editing = object->id();
    m_rejectedText = QString();
}

} // namespace vantrel::app
