#pragma once

#include "app/CurrenciesPaneModel.h"

#include <QAbstractTableModel>

#include <vector>

namespace vantrel::app {
class Workspace;
}

namespace vantrel::ui {

// The currency table of the Currencies pane: every currency but the home one, by name, with its
// code and its rate in units per home-currency unit. Reloads whenever all views are refreshed
// (a new home currency, new rates).
class CurrencyTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { NameColumn, CodeColumn, RateColumn, ColumnCount };

    CurrencyTableModel(app::Workspace& workspace, const app::CurrenciesPaneModel& pane,
                       QObject* parent = nullptr);

    void refresh();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    const app::CurrenciesPaneModel& m_pane;
    std::vector<app::CurrenciesPaneModel::Row> m_rows;
    QString m_rateHeader;
};

} // namespace vantrel::ui
