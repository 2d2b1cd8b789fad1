#pragma once

#include "app/CategoryTreeRow.h"
#include "platform/objectstore/ObjectID.h"

#include <QAbstractItemModel>

#include <cstddef>
#include <optional>
#include <vector>

namespace vantrel::app {
class CategoryEditorModel;
class Workspace;
} // namespace vantrel::app

namespace vantrel::ui {

// The two-level category tree of the Categories pane: groups and the categories without group at
// the top, each group's categories below it. It serves a snapshot of the editor's rows, so views
// always see a consistent tree, and takes the editor's new rows with a reset when they differ.
// Renaming commits through the editor; categories drag onto groups or the top level.
class CategoryTreeModel : public QAbstractItemModel {
    Q_OBJECT

public:
    static constexpr auto kRowsMimeType = "application/x-vantrel-category-rows";

    CategoryTreeModel(app::Workspace& workspace, app::CategoryEditorModel& editor, QObject* parent = nullptr);

    // Takes the editor's rows when they differ from the ones shown; returns whether it did.
    bool refresh();

    // Between the tree's indexes and the editor's flat rows.
    std::optional<std::size_t> editorRow(const QModelIndex& index) const;
    QModelIndex indexOfEditorRow(std::optional<std::size_t> row) const;
    // The group or category shown at `index`, by id: it may have been deleted since.
    std::optional<objectstore::ObjectID> objectIdAt(const QModelIndex& index) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    Qt::DropActions supportedDragActions() const override;
    Qt::DropActions supportedDropActions() const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                         const QModelIndex& parent) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;

signals:
    // The editor refused the name typed into this row; its name cell should be edited again.
    void renameRefused(const QModelIndex& index);

private:
    void takeRows(std::vector<app::CategoryTreeRow> rows);
    bool showsSameRows(const std::vector<app::CategoryTreeRow>& rows) const;
    // Coalesces the notifications of one change into one refresh, after the change is complete.
    void scheduleRefresh();
    static std::vector<std::size_t> draggedRows(const QMimeData* data);

    app::CategoryEditorModel& m_editor;
    std::vector<app::CategoryTreeRow> m_rows;
    std::vector<objectstore::ObjectID> m_ids;
    std::vector<std::size_t> m_topLevel;
    // The children of each flat row (empty for categories).
    std::vector<std::vector<std::size_t>> m_children;
    // For each flat row: its group's flat row, if it has one.
    std::vector<std::optional<std::size_t>> m_parentOf;
    bool m_refreshScheduled = false;
};

} // namespace vantrel::ui
