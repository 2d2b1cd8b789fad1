#include "ui/CategoryTreeModel.h"

#include "app/CategoryEditorModel.h"
#include "app/Workspace.h"
#include "platform/NotificationHub.h"
#include "platform/NotificationNames.h"
#include "platform/objectstore/ManagedObject.h"

#include <QDataStream>
#include <QFont>
#include <QIODevice>
#include <QMimeData>

#include <algorithm>

namespace vantrel::ui {

namespace {

// Top-level indexes carry 0; a group's children carry the group's flat row + 1.
constexpr quintptr kTopLevel = 0;

bool showsSame(const app::CategoryTreeRow& shown, const objectstore::ObjectID& shownId,
               const app::CategoryTreeRow& current) {
    return shownId == current.object->id() && shown.isGroup == current.isGroup &&
           shown.name == current.name && shown.emoji == current.emoji && shown.depth == current.depth;
}

QString mimeType() {
    return QString::fromLatin1(CategoryTreeModel::kRowsMimeType);
}

} // namespace

CategoryTreeModel::CategoryTreeModel(app::Workspace& workspace, app::CategoryEditorModel& editor,
                                     QObject* parent)
    : QAbstractItemModel(parent)
    , m_editor(editor) {
    takeRows(m_editor.rows());
    // The editor has reloaded by the time we hear this (it observes first), but the view may be
    // in the middle of an edit that caused it; the snapshot stays valid until the refresh.
    workspace.notifications().observe(QString::fromLatin1(platform::kCategoriesChanged), this,
                                      [this](const platform::Notification&) { scheduleRefresh(); });
}

bool CategoryTreeModel::refresh() {
    m_refreshScheduled = false;
    if (showsSameRows(m_editor.rows())) {
        return false;
    }
    beginResetModel();
    takeRows(m_editor.rows());
    endResetModel();
    return true;
}

void CategoryTreeModel::scheduleRefresh() {
    if (m_refreshScheduled) {
        return;
    }
    m_refreshScheduled = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_refreshScheduled) {
                refresh();
            }
        },
        Qt::QueuedConnection);
}

bool CategoryTreeModel::showsSameRows(const std::vector<app::CategoryTreeRow>& rows) const {
    if (rows.size() != m_rows.size()) {
        return false;
    }
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if (!showsSame(m_rows[row], m_ids[row], rows[row])) {
            return false;
        }
    }
    return true;
}

void CategoryTreeModel::takeRows(std::vector<app::CategoryTreeRow> rows) {
    m_rows = std::move(rows);
    m_ids.clear();
    for (const app::CategoryTreeRow& row : m_rows) {
        m_ids.push_back(row.object->id());
    }
    m_topLevel.clear();
    m_children.assign(m_rows.size(), {});
    m_parentOf.assign(m_rows.size(), std::nullopt);
    std::optional<std::size_t> group;
    for (std::size_t row = 0; row < m_rows.size(); ++row) {
        if (m_rows[row].depth == 0) {
            m_topLevel.push_back(row);
            group = m_rows[row].isGroup ? std::optional(row) : std::nullopt;
        } else if (group) {
            m_children[*group].push_back(row);
            m_parentOf[row] = group;
        }
    }
}

std::optional<std::size_t> CategoryTreeModel::editorRow(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this) {
        return std::nullopt;
    }
    const auto position = static_cast<std::size_t>(index.row());
    if (index.internalId() == kTopLevel) {
        return position < m_topLevel.size() ? std::optional(m_topLevel[position]) : std::nullopt;
    }
    const std::size_t group = index.internalId() - 1;
    if (group >= m_children.size() || position >= m_children[group].size()) {
        return std::nullopt;
    }
    return m_children[group][position];
}

QModelIndex CategoryTreeModel::indexOfEditorRow(std::optional<std::size_t> row) const {
    if (!row || *row >= m_rows.size()) {
        return {};
    }
    if (const std::optional<std::size_t> group = m_parentOf[*row]) {
        const std::vector<std::size_t>& siblings = m_children[*group];
        const auto position = std::find(siblings.begin(), siblings.end(), *row) - siblings.begin();
        return createIndex(static_cast<int>(position), 0, static_cast<quintptr>(*group + 1));
    }
    const auto position = std::find(m_topLevel.begin(), m_topLevel.end(), *row) - m_topLevel.begin();
    if (position == static_cast<std::ptrdiff_t>(m_topLevel.size())) {
        return {};
    }
    return createIndex(static_cast<int>(position), 0, kTopLevel);
}

std::optional<objectstore::ObjectID> CategoryTreeModel::objectIdAt(const QModelIndex& index) const {
    const std::optional<std::size_t> flat = editorRow(index);
    return flat ? std::optional(m_ids[*flat]) : std::nullopt;
}

QModelIndex CategoryTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (!hasIndex(row, column, parent)) {
        return {};
    }
    if (!parent.isValid()) {
        return createIndex(row, column, kTopLevel);
    }
    return createIndex(row, column, static_cast<quintptr>(*editorRow(parent) + 1));
}

QModelIndex CategoryTreeModel::parent(const QModelIndex& child) const {
    if (!child.isValid() || child.internalId() == kTopLevel) {
        return {};
    }
    return indexOfEditorRow(child.internalId() - 1);
}

int CategoryTreeModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) {
        return static_cast<int>(m_topLevel.size());
    }
    if (parent.column() != 0) {
        return 0;
    }
    const std::optional<std::size_t> row = editorRow(parent);
    return row ? static_cast<int>(m_children[*row].size()) : 0;
}

int CategoryTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant CategoryTreeModel::data(const QModelIndex& index, int role) const {
    const std::optional<std::size_t> flat = editorRow(index);
    if (!flat) {
        return {};
    }
    const app::CategoryTreeRow& row = m_rows[*flat];
    switch (role) {
    case Qt::DisplayRole:
        // The emoji is decoration beside the name, never part of it.
        return row.emoji.isEmpty() ? row.name : row.emoji + QLatin1Char(' ') + row.name;
    case Qt::EditRole:
        return m_editor.editingRow() == flat ? m_editor.editingText() : row.name;
    case Qt::FontRole:
        if (row.isGroup) {
            QFont font;
            font.setBold(true);
            return font;
        }
        return {};
    default:
        return {};
    }
}

QVariant CategoryTreeModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (section == 0 && orientation == Qt::Horizontal && role == Qt::DisplayRole) {
        return tr("Name");
    }
    return {};
}

Qt::ItemFlags CategoryTreeModel::flags(const QModelIndex& index) const {
    const std::optional<std::size_t> flat = editorRow(index);
    if (!flat) {
        // The empty area below the rows is the top level.
        return Qt::ItemIsDropEnabled;
    }
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
    flags |= m_rows[*flat].isGroup ? Qt::ItemIsDropEnabled : Qt::ItemIsDragEnabled;
    return flags;
}

bool CategoryTreeModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    const std::optional<std::size_t> flat = editorRow(index);
    if (!flat || role != Qt::EditRole) {
        return false;
    }
    if (m_editor.rename(*flat, value.toString())) {
        return true;
    }
    emit renameRefused(index);
    return false;
}

Qt::DropActions CategoryTreeModel::supportedDragActions() const {
    return Qt::MoveAction;
}

Qt::DropActions CategoryTreeModel::supportedDropActions() const {
    return Qt::MoveAction;
}

QStringList CategoryTreeModel::mimeTypes() const {
    return {mimeType()};
}

QMimeData* CategoryTreeModel::mimeData(const QModelIndexList& indexes) const {
    std::vector<std::size_t> rows;
    for (const QModelIndex& index : indexes) {
        if (const std::optional<std::size_t> flat = editorRow(index)) {
            rows.push_back(*flat);
        }
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());

    QByteArray encoded;
    QDataStream stream(&encoded, QIODevice::WriteOnly);
    for (std::size_t row : rows) {
        stream << static_cast<quint64>(row);
    }
    auto* data = new QMimeData;
    data->setData(mimeType(), encoded);
    return data;
}

std::vector<std::size_t> CategoryTreeModel::draggedRows(const QMimeData* data) {
    std::vector<std::size_t> rows;
    if (data == nullptr || !data->hasFormat(mimeType())) {
        return rows;
    }
    QDataStream stream(data->data(mimeType()));
    while (!stream.atEnd()) {
        quint64 row = 0;
        stream >> row;
        rows.push_back(static_cast<std::size_t>(row));
    }
    return rows;
}

namespace {

app::CategoryEditorModel::DropTarget dropTarget(std::optional<std::size_t> parentRow, int row, int column) {
    // The view passes -1, -1 for a drop onto the parent itself, a position for one between rows.
    if (row == -1 && column == -1) {
        return parentRow ? app::CategoryEditorModel::DropTarget::onRow(*parentRow)
                         : app::CategoryEditorModel::DropTarget::topLevel();
    }
    return app::CategoryEditorModel::DropTarget::betweenRows(parentRow, row);
}

} // namespace

bool CategoryTreeModel::canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                                        const QModelIndex& parent) const {
    if (action != Qt::MoveAction) {
        return false;
    }
    return m_editor.validateDrop(draggedRows(data), dropTarget(editorRow(parent), row, column));
}

bool CategoryTreeModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                                     const QModelIndex& parent) {
    if (action != Qt::MoveAction) {
        return false;
    }
    // The editor's notification refreshes the tree once the view has finished with the drop.
    return m_editor.acceptDrop(draggedRows(data), dropTarget(editorRow(parent), row, column));
}

} // namespace vantrel::ui
