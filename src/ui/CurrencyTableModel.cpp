#include "ui/CurrencyTableModel.h"

#include "app/Workspace.h"
#include "platform/NotificationHub.h"
#include "platform/NotificationNames.h"

namespace vantrel::ui {

CurrencyTableModel::CurrencyTableModel(app::Workspace& workspace, const app::CurrenciesPaneModel& pane,
                                       QObject* parent)
    : QAbstractTableModel(parent)
    , m_pane(pane)
    , m_rows(pane.rows())
    , m_rateHeader(pane.rateColumnHeader()) {
    workspace.notifications().observe(QString::fromLatin1(platform::kRefreshAllViews), this,
                                      [this](const platform::Notification&) { refresh(); });
}

void CurrencyTableModel::refresh() {
    // A new home currency changes which currency is missing and every rate: start over.
    beginResetModel();
    m_rows = m_pane.rows();
    m_rateHeader = m_pane.rateColumnHeader();
    endResetModel();
    emit headerDataChanged(Qt::Horizontal, RateColumn, RateColumn);
}

int CurrencyTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CurrencyTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CurrencyTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    const app::CurrenciesPaneModel::Row& row = m_rows[static_cast<std::size_t>(index.row())];
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case NameColumn:
            return row.name;
        case CodeColumn:
            return row.code;
        case RateColumn:
            return row.rate;
        default:
            return {};
        }
    }
    if (role == Qt::TextAlignmentRole && index.column() == RateColumn) {
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    }
    return {};
}

QVariant CurrencyTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    switch (section) {
    case NameColumn:
        return tr("Currency");
    case CodeColumn:
        return tr("Code");
    case RateColumn:
        return m_rateHeader;
    default:
        return {};
    }
}

} // namespace vantrel::ui
