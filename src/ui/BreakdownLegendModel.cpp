#include "ui/BreakdownLegendModel.h"

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QPainter>
#include <QPixmap>

namespace vantrel::ui {

namespace {

QIcon swatch(const QString& hex) {
    QPixmap pixmap(28, 28);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(QLatin1Char('#') + hex));
    painter.drawRoundedRect(QRectF(4, 4, 20, 20), 5, 5);
    return QIcon(pixmap);
}

} // namespace

BreakdownLegendModel::BreakdownLegendModel(QObject* parent)
    : QAbstractTableModel(parent) {}

void BreakdownLegendModel::setRows(std::vector<app::BreakdownLegendRow> rows) {
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

int BreakdownLegendModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int BreakdownLegendModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant BreakdownLegendModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !checkIndex(index, CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    const app::BreakdownLegendRow& row = m_rows[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case NameColumn:
            return row.name;
        case ShareColumn:
            return row.share;
        case AmountColumn:
            return row.amount;
        default:
            return {};
        }
    case Qt::DecorationRole:
        return index.column() == NameColumn ? QVariant(swatch(row.color)) : QVariant();
    case Qt::TextAlignmentRole:
        return index.column() == NameColumn ? QVariant() : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::FontRole:
        if (row.isGroup && index.column() == NameColumn) {
            QFont font;
            font.setBold(true);
            return font;
        }
        return {};
    case Qt::ToolTipRole:
        return row.hint.isEmpty() ? QVariant() : QVariant(row.hint);
    default:
        return {};
    }
}

QVariant BreakdownLegendModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    switch (section) {
    case NameColumn:
        return QStringLiteral("Category");
    case ShareColumn:
        return QStringLiteral("Share");
    case AmountColumn:
        return QStringLiteral("Amount");
    default:
        return {};
    }
}

} // namespace vantrel::ui
