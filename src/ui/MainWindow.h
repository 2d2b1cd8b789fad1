#pragma once

#include "app/MainWindowContent.h"
#include "app/SidebarNode.h"
#include "app/WindowCommands.h"

#include <QMainWindow>

#include <functional>
#include <map>
#include <memory>
#include <optional>

class QAction;
class QDialog;
class QLabel;
class QLineEdit;
class QMenu;
class QStackedWidget;
class QTreeView;

namespace vantrel::app {
class AccountSidebarModel;
class AppController;
class RegisterSearch;
class Workspace;
} // namespace vantrel::app

namespace vantrel::model {
class Account;
}

namespace vantrel::objectstore {
struct ObjectID;
}

namespace vantrel::ui {

class BreakdownView;
class BudgetView;
class EmptyView;
class PreferencesWindow;
class RegisterView;
class ScheduledView;
class TrendsView;
class SidebarModel;

// The application's main window: the sidebar beside the content view (the empty view, a register,
// or the search results), the toolbar with its search field, and the menus with every command,
// enabled and titled for what is shown. It works on the application controller's workspace once the
// store is loaded (attach()); until then it only offers quitting.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    using Command = app::WindowCommands::Command;
    static constexpr auto kGeometryKey = "VTMainWindowGeometry";
    static constexpr auto kSelectedEntryKey = "VTSelectedSidebarEntry";

    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    QAction* quitAction() const { return m_quitAction; }
    QAction* stickyDateAction() const { return m_stickyDateAction; }
    QMenu* transactionMenu() const { return m_transactionMenu; }
    // The quit command asks here instead of closing the window (the application decides when to
    // quit).
    void setQuitHandler(std::function<void()> handler) { m_quitHandler = std::move(handler); }
    // Where the window finds the application controller once the store is loaded.
    void setControllerProvider(std::function<app::AppController*()> provider) {
        m_controllerProvider = std::move(provider);
    }

    // Called once, right after the register first paints rows (start-up measurement).
    void setFirstRegisterPaintHandler(std::function<void()> handler) {
        m_firstPaintHandler = std::move(handler);
    }

    void showContent(const app::MainWindowContent& content);
    void removeStickyDateAction();
    // Lets go of the application controller's data before the controller goes: closes the sheets
    // and panes and removes the views.
    void detach();

    bool showsEmptyView() const;
    app::WindowCommands::View currentView() const;
    QAction* action(Command command) const { return m_actions.at(command); }
    QAction* undoAction() const { return m_undoAction; }
    QAction* redoAction() const { return m_redoAction; }
    QTreeView* sidebar() const { return m_sidebar; }
    SidebarModel* sidebarModel() const { return m_sidebarModel; }
    RegisterView* registerView() const { return m_register; }
    RegisterView* searchResultsView() const { return m_searchResults; }
    ScheduledView* scheduledView() const { return m_scheduled; }
    BudgetView* budgetView() const { return m_budget; }
    BreakdownView* breakdownView() const { return m_breakdown; }
    TrendsView* trendsView() const { return m_trends; }
    // Selects a fixed sidebar entry ("Scheduled", "Breakdown", "Trends") or a budget.
    void selectEntry(const app::SidebarNode::Key& key);
    QLineEdit* searchField() const { return m_searchField; }
    EmptyView* emptyView() const { return m_emptyView; }
    QString searchTitle() const;
    QString secondaryStatusText() const;
    PreferencesWindow* preferencesWindow() const { return m_preferences; }

    // Selects a sidebar entry as a click does; nothing selects "All Accounts".
    void selectAccount(const std::optional<model::Account>& account);
    // The account whose entry is selected, if any.
    std::optional<model::Account> selectedAccount() const;
    // Re-reads every view from the data ("RefreshAllViews").
    void reloadAllViews();
    // Enables and titles the commands for what is shown and selected.
    void updateCommands();
    // The preferences window on its Categories pane ("Edit Categories..." in a category menu).
    void showCategoriesPane();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildToolBar();
    void buildViews();
    QAction* addCommand(QMenu* menu, Command command, void (MainWindow::*slot)(),
                        const QKeySequence& shortcut = {});
    void attach(app::AppController& controller);
    app::WindowCommands::State commandState() const;
    void sidebarSelectionChanged();
    void showRegisterFor(const std::optional<model::Account>& account);
    void restoreSelection(const std::optional<objectstore::ObjectID>& entry);
    void restoreSelection(const std::optional<app::SidebarNode::Key>& key);
    std::optional<app::SidebarNode::Key> selectedKey() const;
    std::optional<app::SidebarNode::Key> rememberedKey() const;
    void rememberSelection();
    // Shows the planning or report view of a fixed entry or a budget.
    void showPlanningView(const app::SidebarNode& node);
    // Recounts the sidebar's and the application's badges.
    void updateBadges();
    void reloadSidebarKeepingSelection();
    std::optional<objectstore::ObjectID> selectedEntry() const;
    void rememberGeometry();
    void restoreGeometryFromDefaults();
    RegisterView* shownRegister() const;
    void openSheet(QDialog* sheet);
    // Closes an open editor, keeping its changes, before a command works on the data.
    void commitEditing();
    QString localeId() const;

    // Commands.
    void quit();
    void newTransaction();
    void editTransaction();
    void transfer();
    void deleteSelection();
    void matchTransactions();
    void toggleFlag();
    void newAccount();
    void editAccount();
    void deleteAccount();
    void importFromBank();
    void importFromApplication();
    void exportAccount();
    void backUpNow();
    void toggleRunningBalance();
    void toggleCents();
    void toggleInactiveAccounts();
    void undo();
    void redo();
    void showPreferences();
    void searchTextChanged(const QString& text);
    void cancelSearch();
    void newScheduledTransaction();
    void scheduleTransaction();
    void showProjection();
    void newBudget();
    void editBudget();
    void deleteBudget();
    void exportBreakdown();
    void exportBreakdownTransactions();
    void accountDropped(const objectstore::ObjectID& account, int childPosition);
    void transactionsDropped(const QStringList& transactions, const objectstore::ObjectID& account);

    std::function<void()> m_quitHandler;
    std::function<app::AppController*()> m_controllerProvider;
    std::function<void()> m_firstPaintHandler;
    app::AppController* m_controller = nullptr;
    app::Workspace* m_workspace = nullptr;
    std::unique_ptr<app::AccountSidebarModel> m_accounts;
    std::unique_ptr<app::RegisterSearch> m_search;

    QAction* m_quitAction = nullptr;
    QAction* m_undoAction = nullptr;
    QAction* m_redoAction = nullptr;
    QAction* m_preferencesAction = nullptr;
    QMenu* m_transactionMenu = nullptr;
    QAction* m_stickyDateAction = nullptr;
    std::map<Command, QAction*> m_actions;

    QTreeView* m_sidebar = nullptr;
    SidebarModel* m_sidebarModel = nullptr;
    QStackedWidget* m_views = nullptr;
    EmptyView* m_emptyView = nullptr;
    RegisterView* m_register = nullptr;
    QWidget* m_searchPage = nullptr;
    QLabel* m_searchIcon = nullptr;
    QLabel* m_searchTitle = nullptr;
    RegisterView* m_searchResults = nullptr;
    ScheduledView* m_scheduled = nullptr;
    BudgetView* m_budget = nullptr;
    BreakdownView* m_breakdown = nullptr;
    TrendsView* m_trends = nullptr;
    int m_applicationBadge = -1;
    QLineEdit* m_searchField = nullptr;
    QLabel* m_secondaryStatus = nullptr;
    PreferencesWindow* m_preferences = nullptr;
    bool m_switchingViews = false;
};

} // namespace vantrel::ui
