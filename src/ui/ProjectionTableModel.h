#pragma once

#include <QAbstractTableModel>

namespace vantrel::app {
class ProjectionSheetModel;
}

namespace vantrel::ui {

// The rows of the projection sheet for a table view.
class ProjectionTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Date, Payee, Amount, Balance, ColumnCount };

    explicit ProjectionTableModel(const app::ProjectionSheetModel& projection, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    const app::ProjectionSheetModel& m_projection;
};

} // namespace vantrel::ui
