#pragma once

#include "app/BudgetViewModel.h"
#include "model/IcuBridge.h"
#include "platform/objectstore/ObjectID.h"

#include <QWidget>

#include <memory>

class QLabel;
class QPushButton;
class QTableView;
class QTableWidget;

namespace vantrel::app {
class Workspace;
}

namespace vantrel::ui {

class BudgetTableModel;

// One budget: the expense and income tables with their progress bars, the transactions behind the
// row clicked below them, and a status line with the planned totals, the estimated result (click
// it for the estimated end balance) and the days left.
class BudgetView : public QWidget {
    Q_OBJECT

public:
    explicit BudgetView(app::Workspace& workspace, QWidget* parent = nullptr);
    BudgetView(app::Workspace& workspace, const QString& localeId, QWidget* parent = nullptr);
    ~BudgetView() override;

    void showBudget(const objectstore::ObjectID& budget);
    // Tracks the budget again and shows the result.
    void reload();

    // Nothing before a budget is shown.
    const app::BudgetViewModel* viewModel() const { return m_budget.get(); }
    QTableView* expenseTable() const { return m_expenseTable; }
    QTableView* incomeTable() const { return m_incomeTable; }
    QTableView* table(app::BudgetViewModel::Side side) const;
    BudgetTableModel* tableModel(app::BudgetViewModel::Side side) const;
    QTableWidget* transactionsTable() const { return m_transactions; }
    QLabel* transactionsTitle() const { return m_transactionsTitle; }
    QLabel* nameLabel() const { return m_name; }
    QLabel* expenseSegment() const { return m_expenseSegment; }
    QLabel* incomeSegment() const { return m_incomeSegment; }
    QLabel* statusText() const { return m_status; }
    QLabel* daysLeftLabel() const { return m_daysLeft; }
    QPushButton* editButton() const { return m_edit; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Selection {
        app::BudgetViewModel::Side side = app::BudgetViewModel::Side::Expense;
        // The limit of the category row, or nullptr for the uncategorised row.
        const objectstore::ManagedObject* limit = nullptr;
    };

    void buildLayout();
    QTableView* makeTable(BudgetTableModel* model);
    void showState();
    void showStatus();
    void rowClicked(app::BudgetViewModel::Side side, const QModelIndex& index);
    void headerClicked(app::BudgetViewModel::Side side, int column);
    void listTransactions(app::BudgetViewModel::Side side, int row);
    void clearTransactions();
    void reselect();
    void openEstimateEditor(app::BudgetViewModel::Side side, const model::CategoryLimit& limit);
    void openEditSheet();

    app::Workspace& m_workspace;
    QString m_localeId;
    std::unique_ptr<app::BudgetViewModel> m_budget;
    std::optional<Selection> m_selection;
    BudgetTableModel* m_expenseModel = nullptr;
    BudgetTableModel* m_incomeModel = nullptr;
    QTableView* m_expenseTable = nullptr;
    QTableView* m_incomeTable = nullptr;
    QLabel* m_name = nullptr;
    QLabel* m_period = nullptr;
    QPushButton* m_edit = nullptr;
    QLabel* m_transactionsTitle = nullptr;
    QTableWidget* m_transactions = nullptr;
    QLabel* m_expenseSegment = nullptr;
    QLabel* m_incomeSegment = nullptr;
    QLabel* m_status = nullptr;
    QLabel* m_daysLeft = nullptr;
};

} // namespace vantrel::ui
