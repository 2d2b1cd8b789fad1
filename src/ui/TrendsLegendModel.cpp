#include "ui/TrendsLegendModel.h"

#include "app/TrendsViewModel.h"

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QPainter>
#include <QPixmap>

namespace vantrel::ui {

namespace {

QIcon lineSwatch(const QString& hex) {
    QPixmap pixmap(28, 28);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(QLatin1Char('#') + hex), 5, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(5, 14), QPointF(23, 14));
    return QIcon(pixmap);
}

} // namespace

TrendsLegendModel::TrendsLegendModel(app::TrendsViewModel& trends, QObject* parent)
    : QAbstractListModel(parent)
    , m_trends(trends) {}

void TrendsLegendModel::refresh() {
    beginResetModel();
    m_rows = m_trends.legendRows();
    endResetModel();
}

int TrendsLegendModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

QVariant TrendsLegendModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !checkIndex(index, CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    const app::TrendsLegendRow& row = m_rows[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return row.title;
    case Qt::CheckStateRole:
        return row.isHeading() ? QVariant() : QVariant(row.checked ? Qt::Checked : Qt::Unchecked);
    case Qt::DecorationRole:
        return row.isHeading() ? QVariant() : QVariant(lineSwatch(row.color));
    case Qt::FontRole:
        if (row.isHeading()) {
            QFont font;
            font.setBold(true);
            return font;
        }
        return {};
    default:
        return {};
    }
}

bool TrendsLegendModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || !index.isValid() ||
        !checkIndex(index, CheckIndexOption::ParentIsInvalid)) {
        return false;
    }
    app::TrendsLegendRow& row = m_rows[static_cast<std::size_t>(index.row())];
    if (row.isHeading()) {
        return false;
    }
    const bool checked = value.toInt() == Qt::Checked;
    if (!m_trends.setChecked(row.identifier, checked)) {
        // The box a click had drawn checked goes back to unchecked.
        emit dataChanged(index, index, {Qt::CheckStateRole});
        emit checkRefused(row.title);
        return false;
    }
    row.checked = checked;
    emit dataChanged(index, index, {Qt::CheckStateRole});
    emit selectionChanged();
    return true;
}

Qt::ItemFlags TrendsLegendModel::flags(const QModelIndex& index) const {
    if (!index.isValid() || !checkIndex(index, CheckIndexOption::ParentIsInvalid)) {
        return Qt::NoItemFlags;
    }
    if (m_rows[static_cast<std::size_t>(index.row())].isHeading()) {
        return Qt::ItemIsEnabled;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
}

} // namespace vantrel::ui
