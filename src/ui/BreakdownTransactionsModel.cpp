#include "ui/BreakdownTransactionsModel.h"

namespace vantrel::ui {

BreakdownTransactionsModel::BreakdownTransactionsModel(QObject* parent)
    : QAbstractTableModel(parent) {}

void BreakdownTransactionsModel::setRows(std::vector<app::BreakdownTransactionRow> rows) {
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

int BreakdownTransactionsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int BreakdownTransactionsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant BreakdownTransactionsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !checkIndex(index, CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    const app::BreakdownTransactionRow& row = m_rows[static_cast<std::size_t>(index.row())];
    if (role == Qt::TextAlignmentRole) {
        return index.column() == AmountColumn ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    switch (index.column()) {
    case DateColumn:
        return row.date;
    case TitleColumn:
        return row.title;
    case CategoryColumn:
        return row.categories;
    case AccountColumn:
        return row.account;
    case AmountColumn:
        return row.amount;
    default:
        return {};
    }
}

QVariant BreakdownTransactionsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    switch (section) {
    case DateColumn:
        return QStringLiteral("Date");
    case TitleColumn:
        return QStringLiteral("Payee");
    case CategoryColumn:
        return QStringLiteral("Category");
    case AccountColumn:
        return QStringLiteral("Account");
    case AmountColumn:
        return QStringLiteral("Amount");
    default:
        return {};
    }
}

} // namespace vantrel::ui
