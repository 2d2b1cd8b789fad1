#pragma once

#include "app/BudgetViewModel.h"

#include <QAbstractTableModel>

namespace vantrel::ui {

// One of the budget view's tables (expense or income) over app::BudgetViewModel: name, limit,
// actual and the progress bar, one line per visible row with the total last.
class BudgetTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { NameColumn, LimitColumn, ActualColumn, ProgressColumn, ColumnCount };
    enum Role {
        // double 0..1.
        BarFractionRole = Qt::UserRole + 1,
        // bool.
        BarIsRedRole,
        // double, or invalid when today's marker is not drawn.
        TodayMarkerRole,
        // bool.
        IsGroupRole,
    };

    // Empty until a budget is shown.
    explicit BudgetTableModel(app::BudgetViewModel::Side side, QObject* parent = nullptr);

    app::BudgetViewModel::Side side() const { return m_side; }
    // Shows another budget (nullptr: none). The view-model must outlive its use here.
    void setBudget(const app::BudgetViewModel* budget);
    // Call after the view-model changed (reloaded, sorted, a group opened or closed).
    void refresh();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QVariant decoration(const app::BudgetViewModel::Row& row) const;

    const app::BudgetViewModel* m_budget = nullptr;
    app::BudgetViewModel::Side m_side;
    // A copy, so a reset shows old and new rows consistently to the view.
    std::vector<app::BudgetViewModel::Row> m_rows;
    std::optional<double> m_todayMarker;
    QString m_actualHeader;
};

} // namespace vantrel::ui
