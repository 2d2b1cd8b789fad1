#pragma once

#include "app/BreakdownLegendRow.h"

#include <QAbstractTableModel>

#include <vector>

namespace vantrel::ui {

// The breakdown legend as a table: a colour swatch and the entry's name, its share and its amount.
class BreakdownLegendModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { NameColumn, ShareColumn, AmountColumn, ColumnCount };

    explicit BreakdownLegendModel(QObject* parent = nullptr);

    void setRows(std::vector<app::BreakdownLegendRow> rows);
    const std::vector<app::BreakdownLegendRow>& rows() const { return m_rows; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<app::BreakdownLegendRow> m_rows;
};

} // namespace vantrel::ui
