#include "ui/CsvPreviewTableModel.h"

#include "app/CsvMappingModel.h"

#include <QBrush>
#include <QColor>

namespace vantrel::ui {

CsvPreviewTableModel::CsvPreviewTableModel(app::CsvMappingModel& mapping, QObject* parent)
    : QAbstractTableModel(parent)
    , m_mapping(mapping) {}

void CsvPreviewTableModel::setRows(import::CsvRows rows) {
    beginResetModel();
    m_mapping.setupWithRows(std::move(rows));
    endResetModel();
}

void CsvPreviewTableModel::mappingChanged() {
    const int columns = columnCount();
    if (columns == 0) {
        return;
    }
    emit headerDataChanged(Qt::Horizontal, 0, columns - 1);
    if (rowCount() > 0) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, columns - 1), {Qt::ForegroundRole, GreyRole});
    }
}

int CsvPreviewTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_mapping.rows().size());
}

int CsvPreviewTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_mapping.columnCount();
}

QVariant CsvPreviewTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return m_mapping.rows().at(static_cast<std::size_t>(index.row())).value(index.column());
    case GreyRole:
        return m_mapping.isCellGrey(index.row(), index.column());
    case Qt::ForegroundRole:
        // No value keeps the view's own text colour for the cells that are imported.
        return m_mapping.isCellGrey(index.row(), index.column()) ? QVariant(QBrush(QColor(Qt::gray)))
                                                                 : QVariant();
    default:
        return {};
    }
}

QVariant CsvPreviewTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical) {
        return role == Qt::DisplayRole && section >= 0 && section < rowCount() ? QVariant(section + 1)
                                                                               : QVariant();
    }
    if (section < 0 || section >= columnCount()) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
        return m_mapping.headerTitle(section);
    case Qt::ToolTipRole:
        return tr("Click to choose the field this column holds");
    default:
        return {};
    }
}

Qt::ItemFlags CsvPreviewTableModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

} // namespace vantrel::ui
