#pragma once

#include "app/BreakdownViewModel.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

class QLabel;
class QMenu;
class QTableView;
class QToolButton;

namespace vantrel::app {
class Workspace;
}

namespace vantrel::ui {

class BreadcrumbLabel;
class BreakdownLegendModel;
class BreakdownTransactionsModel;
class IncomeExpenseBar;
class PieChart;

// The category breakdown of a month or a year: the period switcher, the expense or income pie with
// its legend, the way into a category group and back, the income and expense bar, and the
// transactions of the selected entry below.
class BreakdownView : public QWidget {
    Q_OBJECT

public:
    // Asked for the file an export goes to, given the proposed name; empty cancels.
    using SavePathChooser = std::function<QString(const QString& proposedFileName)>;

    BreakdownView(app::Workspace& workspace, QWidget* parent = nullptr);
    ~BreakdownView() override;

    // Saves and recomputes. Done by itself each time the view is shown and when all views are
    // refreshed while it is visible.
    void reload();
    void exportBreakdown();
    // Does nothing unless a single category is selected.
    void exportSelectedTransactions();

    app::BreakdownViewModel& viewModel() const { return *m_model; }
    // The locale of the texts (the system's by default); applies from the next reload().
    void setLocaleId(const QString& localeId);
    // Replaces the save dialog (tests choose a path without one).
    void setSavePathChooser(SavePathChooser chooser) { m_choosePath = std::move(chooser); }

    PieChart* pie() const { return m_pie; }
    QTableView* legend() const { return m_legend; }
    BreakdownLegendModel* legendModel() const { return m_legendModel; }
    QTableView* transactions() const { return m_transactions; }
    BreakdownTransactionsModel* transactionsModel() const { return m_transactionsModel; }
    BreadcrumbLabel* breadcrumb() const { return m_breadcrumb; }
    QToolButton* periodButton() const { return m_periodButton; }
    QToolButton* previousButton() const { return m_previous; }
    QToolButton* nextButton() const { return m_next; }
    QToolButton* expenseButton() const { return m_expenseButton; }
    QToolButton* incomeButton() const { return m_incomeButton; }
    QLabel* expenseLabel() const { return m_expenseLabel; }
    QLabel* incomeLabel() const { return m_incomeLabel; }
    IncomeExpenseBar* bar() const { return m_bar; }

signals:
    // The selected entry changed (what the transactions export would write).
    void selectionChanged();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildHeader();
    QWidget* buildChartArea();
    QWidget* buildTotals();
    QWidget* buildTransactionsPane();
    void rebuildPeriodMenu();
    // Shows the view-model's state in every widget.
    void showModel();
    void showSelection();
    void selectLegendRow(int row);
    void selectSlice(int slice);
    void drillInto(int legendRow);
    QString choosePath(const QString& proposedFileName);

    app::Workspace& m_workspace;
    std::unique_ptr<app::BreakdownViewModel> m_model;
    SavePathChooser m_choosePath;
    bool m_showingModel = false;

    QToolButton* m_previous = nullptr;
    QToolButton* m_next = nullptr;
    QToolButton* m_periodButton = nullptr;
    QMenu* m_periodMenu = nullptr;
    QToolButton* m_expenseButton = nullptr;
    QToolButton* m_incomeButton = nullptr;
    BreadcrumbLabel* m_breadcrumb = nullptr;
    PieChart* m_pie = nullptr;
    QTableView* m_legend = nullptr;
    BreakdownLegendModel* m_legendModel = nullptr;
    QLabel* m_incomeLabel = nullptr;
    QLabel* m_expenseLabel = nullptr;
    IncomeExpenseBar* m_bar = nullptr;
    QWidget* m_transactionsPane = nullptr;
    QLabel* m_transactionsTitle = nullptr;
    QToolButton* m_exportTransactions = nullptr;
    QTableView* m_transactions = nullptr;
    BreakdownTransactionsModel* m_transactionsModel = nullptr;
};

} // namespace vantrel::ui
