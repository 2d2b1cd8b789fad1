#include "ui/ProjectionTableModel.h"

#include "app/ProjectionSheetModel.h"

#include <QColor>

namespace vantrel::ui {

ProjectionTableModel::ProjectionTableModel(const app::ProjectionSheetModel& projection, QObject* parent)
    : QAbstractTableModel(parent)
    , m_projection(projection) {}

int ProjectionTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_projection.rows().size());
}

int ProjectionTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ProjectionTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    const app::ProjectionSheetModel::Row& row = m_projection.rows()[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case Date:
            return row.dateText;
        case Payee:
            return row.payee;
        case Amount:
            return row.amountText;
        case Balance:
            return row.balanceText;
        default:
            return {};
        }
    case Qt::TextAlignmentRole:
        if (index.column() == Amount || index.column() == Balance) {
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        }
        return {};
    case Qt::ForegroundRole:
        // A balance that would go below zero is what a projection is there to warn about.
        if (index.column() == Balance && row.balance.sign() < 0) {
            return QColor(0xc5, 0x22, 0x1f);
        }
        if (index.column() == Amount && row.amount.sign() > 0) {
            return QColor(0x1e, 0x8e, 0x3e);
        }
        return {};
    default:
        return {};
    }
}

QVariant ProjectionTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    switch (section) {
    case Date:
        return tr("Date");
    case Payee:
        return tr("Payee");
    case Amount:
        return tr("Amount");
    case Balance:
        return tr("Balance");
    default:
        return {};
    }
}

} // namespace vantrel::ui
