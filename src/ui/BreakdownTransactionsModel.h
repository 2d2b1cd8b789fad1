#pragma once

#include "app/BreakdownTransactionRow.h"

#include <QAbstractTableModel>

#include <vector>

namespace vantrel::ui {

// The transactions behind the selected breakdown entry, newest first.
class BreakdownTransactionsModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { DateColumn, TitleColumn, CategoryColumn, AccountColumn, AmountColumn, ColumnCount };

    explicit BreakdownTransactionsModel(QObject* parent = nullptr);

    void setRows(std::vector<app::BreakdownTransactionRow> rows);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<app::BreakdownTransactionRow> m_rows;
};

} // namespace vantrel::ui
