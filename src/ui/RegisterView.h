#pragma once

#include "app/RegisterCommands.h"
#include "model/Account.h"
#include "model/Transaction.h"

#include <QPointer>
#include <QWidget>

#include <memory>
#include <vector>

class QLabel;
class QPushButton;
class QStackedWidget;
class QTableView;

namespace vantrel::app {
class RegisterViewModel;
struct StickyDate;
class Workspace;
} // namespace vantrel::app

namespace vantrel::objectstore {
class ManagedObject;
}

namespace vantrel::ui {

class EditPanel;
class FlagCellTracker;
class RegisterTableModel;

// The transaction list of the main window: the table over a register view-model, the status line
// below it, the welcome hint of an empty database, the inline edit panel and the batch-edit sheet.
// It forwards every command to RegisterCommands and follows the content through reload().
class RegisterView : public QWidget {
    Q_OBJECT

public:
    // The mime type of transactions dragged out of the table: object-identifier URIs, one per line.
    static constexpr auto kDraggedTransactionsType = "VTTransactionDraggedType";

    RegisterView(app::Workspace& workspace, app::StickyDate& stickyDate, QWidget* parent = nullptr);
    ~RegisterView() override;

    void showAccount(const model::Account& account);
    void showAllAccounts();
    // Search results, report lists: a given set, newest first.
    void showTransactions(std::vector<objectstore::ManagedObject*> transactions);
    // Re-reads the content ("RefreshAllViews"), keeping the selection where it can.
    void reload();

    app::RegisterViewModel* viewModel() const;
    std::vector<model::Transaction> selectedTransactions() const;
    void selectTransactions(const std::vector<model::Transaction>& transactions);

    // Commands of the window's menus and toolbar.
    void addTransaction();
    void editSelection();
    void deleteSelection();
    void matchSelection();
    void toggleFlagOfSelection();
    app::RegisterCommands::MenuItem flagMenuItem() const;
    bool isBalanceColumnShown() const;
    void toggleBalanceColumn();
    // Closes an open editor keeping its changes (the window is about to switch views or quit).
    void commitEditing();
    bool isEditing() const;

    QTableView* table() const { return m_table; }
    EditPanel* editPanel() const;
    QString statusText() const;
    QLabel* statusLabel() const { return m_status; }

    // The locale the texts are formatted for (the system's by default); applies to the next show...().
    void setLocaleId(const QString& localeId) { m_localeId = localeId; }
    RegisterTableModel* tableModel() const { return m_model; }
    // A click on the status line: the balance or the cleared balance of a single account.
    void clickStatusLine();
    // The welcome hint shows instead of the table while the database has no transaction.
    bool showsEmptyHint() const;
    QPushButton* emptyHintButton() const { return m_hintButton; }

signals:
    // Rows, balances or the selection changed: the window updates its menus and sidebar balances.
    void selectionChanged();
    void contentChanged();
    // "Edit Categories..." in the edit panel's category menu.
    void editCategoriesRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using Objects = std::vector<objectstore::ManagedObject*>;

    void buildTable();
    QWidget* buildEmptyHint();
    void install(std::unique_ptr<app::RegisterViewModel> viewModel);
    // After the content changed: the page, the balance column, the status line, the menus.
    void showContentChange();
    void applyBalanceColumn();
    void updateStatusLine();
    void showContentPage();

    Objects selectedObjects() const;
    // Resets the table after the view-model re-read its content; selects `selection` again and
    // puts an open edit panel back over its row.
    void refreshTable(const Objects& selection);
    // Selects the rows of `objects` without treating it as the user's selection.
    void selectObjects(const Objects& objects);
    void onSelectionChanged();
    void commitForSelectionChange();
    bool onlyEditedRowSelected() const;
    void onFlagClicked(int row);
    void selectRowNear(int row);

    void openPanel(int row, bool isAdd);
    void placePanel(int row);
    void unplacePanel();
    void fitPanelRow();
    void closePanelWidget();
    void closePanelKeeping(bool anotherRowSelected);
    void closePanelDiscarding();
    void onMatchUndone();
    void openBatchSheet(const std::vector<model::Transaction>& selection);

    app::Workspace& m_workspace;
    app::StickyDate& m_stickyDate;
    QString m_localeId;
    std::unique_ptr<app::RegisterViewModel> m_viewModel;
    std::unique_ptr<app::RegisterCommands> m_commands;
    RegisterTableModel* m_model = nullptr;
    FlagCellTracker* m_flagTracker = nullptr;
    QStackedWidget* m_pages = nullptr;
    QWidget* m_tablePage = nullptr;
    QWidget* m_hint = nullptr;
    QPushButton* m_hintButton = nullptr;
    QTableView* m_table = nullptr;
    QLabel* m_status = nullptr;
    QPointer<EditPanel> m_panel;
    int m_panelRow = -1;
    int m_rowHeight = 0;
    // Selection changes made by the view itself are not the user's.
    bool m_quiet = false;
    bool m_commitQueued = false;
    // While a command of this view runs, the content it re-reads is shown at its end: a reload asked
    // for meanwhile ("RefreshAllViews") would map rows of the new content onto the old table.
    int m_busy = 0;
};

} // namespace vantrel::ui
