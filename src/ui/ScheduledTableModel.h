#pragma once

#include <QAbstractTableModel>
#include <QIcon>

namespace vantrel::app {
class ScheduledListModel;
}

namespace vantrel::ui {

// The rows of the scheduled-items list for a table view: group rows (spanning the table in the view)
// and item rows, read from app::ScheduledListModel.
class ScheduledTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Title, Account, Due, Schedule, Amount, Action, ColumnCount };
    // True on group rows.
    static constexpr int kGroupRole = Qt::UserRole + 1;

    explicit ScheduledTableModel(app::ScheduledListModel& list, QObject* parent = nullptr);

    // Re-reads the list.
    void reload();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    QVariant itemData(int row, int column, int role) const;
    QVariant groupData(int row, int column, int role) const;

    app::ScheduledListModel& m_list;
    QIcon m_dueIcon;
    QIcon m_noIcon;
};

} // namespace vantrel::ui
