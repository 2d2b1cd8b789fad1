#include "ui/MainWindow.h"

#include "app/AccountDeletion.h"
#include "app/AccountSidebarModel.h"
#include "app/AppController.h"
#include "app/ApplicationBadge.h"
#include "app/BudgetDeletion.h"
#include "app/ImportFromAppController.h"
#include "app/MoveTransactionsCommand.h"
#include "app/RegisterSearch.h"
#include "app/RegisterViewModel.h"
#include "app/SidebarBadges.h"
#include "app/Workspace.h"
#include "import/AccountExporter.h"
#include "model/Account.h"
#include "model/Budget.h"
#include "model/ScheduledItem.h"
#include "planning/ScheduledItemFromTransaction.h"
#include "platform/NotificationHub.h"
#include "platform/NotificationNames.h"
#include "platform/UserDefaults.h"
#include "platform/objectstore/Context.h"
#include "platform/objectstore/UndoManager.h"
#include "store/CoreDataController.h"
#include "ui/AccountSheet.h"
#include "ui/BreakdownView.h"
#include "ui/BudgetView.h"
#include "ui/EmptyView.h"
#include "ui/Icons.h"
#include "ui/ImportAppSheet.h"
#include "ui/ImportBankSheet.h"
#include "ui/LauncherBadge.h"
#include "ui/NewBudgetSheet.h"
#include "ui/PreferencesWindow.h"
#include "ui/ProjectionSheet.h"
#include "ui/RegisterView.h"
#include "ui/ScheduledView.h"
#include "ui/SidebarDelegate.h"
#include "ui/SidebarModel.h"
#include "ui/TransferSheet.h"
#include "ui/TrendsView.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>

#include <utility>

namespace vantrel::ui {

namespace {

using View = app::WindowCommands::View;
using Kind = app::SidebarNode::Kind;

// The remembered selection of a fixed entry is its name; accounts and budgets are remembered by
// object identity.
constexpr std::pair<Kind, const char*> kFixedEntries[] = {
    {Kind::Scheduled, "Scheduled"}, {Kind::Breakdown, "Breakdown"}, {Kind::Trends, "Trends"}};

QString key(const char* name) {
    return QString::fromLatin1(name);
}

} // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("Vantrel"));
    setWindowIcon(applicationIcon());
    resize(1100, 720);
    buildMenus();
    buildToolBar();
    buildViews();
    updateCommands();
}

MainWindow::~MainWindow() = default;

void MainWindow::detach() {
    if (m_controller == nullptr) {
        return;
    }
    // Sheets, panes and registers read the controller's data while they close: they go first.
    for (QDialog* sheet : findChildren<QDialog*>(Qt::FindDirectChildrenOnly)) {
        delete sheet;
    }
    delete m_preferences;
    m_preferences = nullptr;
    m_views->setCurrentWidget(m_emptyView);
    delete m_searchPage;
    m_searchPage = nullptr;
    m_searchResults = nullptr;
    m_searchIcon = nullptr;
    m_searchTitle = nullptr;
    delete m_register;
    m_register = nullptr;
    delete m_scheduled;
    m_scheduled = nullptr;
    delete m_budget;
    m_budget = nullptr;
    delete m_breakdown;
    m_breakdown = nullptr;
    delete m_trends;
    m_trends = nullptr;
    m_sidebar->setModel(nullptr);
    delete m_sidebarModel;
    m_sidebarModel = nullptr;
    m_search.reset();
    m_accounts.reset();
    m_controller = nullptr;
    m_workspace = nullptr;
}

QAction* MainWindow::addCommand(QMenu* menu, Command command, void (MainWindow::*slot)(),
                                const QKeySequence& shortcut) {
    QAction* action = menu->addAction(app::WindowCommands::item(command, {}).title);
    action->setShortcut(shortcut);
    connect(action, &QAction::triggered, this, slot);
    m_actions[command] = action;
    return action;
}

void MainWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    addCommand(file, Command::NewAccount, &MainWindow::newAccount, QKeySequence(tr("Ctrl+Shift+N")));
    file->addSeparator();
    addCommand(file, Command::ImportFromBank, &MainWindow::importFromBank, QKeySequence(tr("Ctrl+Shift+I")));
    addCommand(file, Command::ImportFromApplication, &MainWindow::importFromApplication);
    addCommand(file, Command::Export, &MainWindow::exportAccount, QKeySequence(tr("Ctrl+Shift+E")));
    addCommand(file, Command::ExportBreakdown, &MainWindow::exportBreakdown);
    addCommand(file, Command::ExportBreakdownTransactions, &MainWindow::exportBreakdownTransactions);
    file->addSeparator();
    addCommand(file, Command::BackUpNow, &MainWindow::backUpNow);
    file->addSeparator();
    m_quitAction = file->addAction(tr("&Quit Vantrel"));
    m_quitAction->setShortcut(QKeySequence::Quit);
    m_quitAction->setMenuRole(QAction::QuitRole);
    connect(m_quitAction, &QAction::triggered, this, &MainWindow::quit);

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    m_undoAction = edit->addAction(tr("Undo"), this, &MainWindow::undo);
    m_undoAction->setShortcut(QKeySequence::Undo);
    m_redoAction = edit->addAction(tr("Redo"), this, &MainWindow::redo);
    m_redoAction->setShortcut(QKeySequence::Redo);
    edit->addSeparator();
    addCommand(edit, Command::Delete, &MainWindow::deleteSelection);
    edit->addSeparator();
    m_preferencesAction = edit->addAction(tr("Preferences\u2026"), this, &MainWindow::showPreferences);
    m_preferencesAction->setShortcut(QKeySequence::Preferences);
    m_preferencesAction->setMenuRole(QAction::PreferencesRole);
    connect(edit, &QMenu::aboutToShow, this, &MainWindow::updateCommands);

    QMenu* view = menuBar()->addMenu(tr("&View"));
    addCommand(view, Command::ToggleRunningBalance, &MainWindow::toggleRunningBalance);
    addCommand(view, Command::ToggleCents, &MainWindow::toggleCents);
    addCommand(view, Command::ToggleInactive, &MainWindow::toggleInactiveAccounts);
    connect(view, &QMenu::aboutToShow, this, &MainWindow::updateCommands);

    QMenu* accounts = menuBar()->addMenu(tr("&Account"));
    accounts->addAction(m_actions.at(Command::NewAccount));
    addCommand(accounts, Command::EditAccount, &MainWindow::editAccount);
    addCommand(accounts, Command::DeleteAccount, &MainWindow::deleteAccount);
    connect(accounts, &QMenu::aboutToShow, this, &MainWindow::updateCommands);

    QMenu* budgets = menuBar()->addMenu(tr("&Budget"));
    addCommand(budgets, Command::NewBudget, &MainWindow::newBudget);
    addCommand(budgets, Command::EditBudget, &MainWindow::editBudget);
    addCommand(budgets, Command::DeleteBudget, &MainWindow::deleteBudget);
    connect(budgets, &QMenu::aboutToShow, this, &MainWindow::updateCommands);

    m_transactionMenu = menuBar()->addMenu(tr("&Transaction"));
    addCommand(m_transactionMenu, Command::NewTransaction, &MainWindow::newTransaction, QKeySequence::New);
    addCommand(m_transactionMenu, Command::EditTransaction, &MainWindow::editTransaction);
    addCommand(m_transactionMenu, Command::Transfer, &MainWindow::transfer, QKeySequence(tr("Ctrl+T")));
    m_transactionMenu->addSeparator();
    addCommand(m_transactionMenu, Command::Match, &MainWindow::matchTransactions, QKeySequence(tr("Ctrl+M")));
    addCommand(m_transactionMenu, Command::ToggleFlag, &MainWindow::toggleFlag, QKeySequence(tr("Ctrl+K")));
    m_transactionMenu->addSeparator();
    addCommand(m_transactionMenu, Command::NewScheduledTransaction, &MainWindow::newScheduledTransaction);
    addCommand(m_transactionMenu, Command::ScheduleTransaction, &MainWindow::scheduleTransaction);
    addCommand(m_transactionMenu, Command::ShowProjection, &MainWindow::showProjection,
               QKeySequence(tr("Ctrl+Shift+P")));
    m_transactionMenu->addSeparator();
    m_stickyDateAction = m_transactionMenu->addAction(tr("Sticky Date"));
    m_stickyDateAction->setCheckable(true);
    connect(m_transactionMenu, &QMenu::aboutToShow, this, &MainWindow::updateCommands);
}

void MainWindow::buildToolBar() {
    QToolBar* bar = addToolBar(tr("Toolbar"));
    bar->setObjectName(QStringLiteral("mainToolBar"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    bar->addAction(m_actions.at(Command::NewTransaction));
    bar->addAction(m_actions.at(Command::Transfer));
    bar->addAction(m_actions.at(Command::ImportFromBank));
    auto* stretch = new QWidget(bar);
    stretch->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    bar->addWidget(stretch);
    m_searchField = new QLineEdit(bar);
    m_searchField->setObjectName(QStringLiteral("searchField"));
    m_searchField->setPlaceholderText(tr("Search"));
    m_searchField->setClearButtonEnabled(true);
    m_searchField->setMaximumWidth(260);
    m_searchField->setEnabled(false);
    bar->addWidget(m_searchField);
    connect(m_searchField, &QLineEdit::textChanged, this, &MainWindow::searchTextChanged);
    auto* find = new QAction(this);
    find->setShortcut(QKeySequence::Find);
    connect(find, &QAction::triggered, m_searchField, [this] {
        m_searchField->setFocus();
        m_searchField->selectAll();
    });
    addAction(find);
}

void MainWindow::buildViews() {
    m_views = new QStackedWidget(this);
    m_emptyView = new EmptyView(m_views);
    connect(m_emptyView, &EmptyView::addAccountClicked, this, &MainWindow::newAccount);
    m_views->addWidget(m_emptyView);
    m_secondaryStatus = new QLabel(this);
    m_secondaryStatus->setObjectName(QStringLiteral("secondaryStatus"));
    statusBar()->addPermanentWidget(m_secondaryStatus);
    statusBar()->setSizeGripEnabled(true);

    m_sidebar = new QTreeView(this);
    m_sidebar->setObjectName(QStringLiteral("sidebar"));
    m_sidebar->setHeaderHidden(true);
    m_sidebar->setRootIsDecorated(false);
    m_sidebar->setItemsExpandable(false);
    m_sidebar->setIndentation(6);
    m_sidebar->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    m_sidebar->setDragDropMode(QAbstractItemView::DragDrop);
    m_sidebar->setDefaultDropAction(Qt::CopyAction);
    m_sidebar->setDropIndicatorShown(true);
    m_sidebar->setMinimumWidth(220);
    m_sidebar->setFrameShape(QFrame::NoFrame);
    m_sidebar->setItemDelegate(new SidebarDelegate(m_sidebar));
    m_sidebar->setEnabled(false);

    auto* splitter = new QSplitter(this);
    splitter->setObjectName(QStringLiteral("mainSplitter"));
    splitter->addWidget(m_sidebar);
    splitter->addWidget(m_views);
    splitter->setStretchFactor(1, 1);
    splitter->setChildrenCollapsible(false);
    splitter->setSizes({240, 860});
    setCentralWidget(splitter);
}

void MainWindow::attach(app::AppController& controller) {
    m_controller = &controller;
    m_workspace = &controller.workspace();
    controller.undoManager().setGroupsByEvent(true);
    m_accounts = std::make_unique<app::AccountSidebarModel>(*m_workspace, controller.services().localeId);
    app::AccountSidebarModel::registerDefaults(m_workspace->defaults());

    m_sidebarModel = new SidebarModel(*m_accounts, this);
    m_sidebarModel->setSections({.scheduled = true, .charts = true, .budgets = true});
    m_sidebarModel->setBadges(app::SidebarBadges::compute(*m_workspace));
    m_sidebarModel->reload();
    m_sidebar->setModel(m_sidebarModel);
    m_sidebar->expandAll();
    m_sidebar->setEnabled(true);
    connect(m_sidebar->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &MainWindow::sidebarSelectionChanged);
    connect(m_sidebarModel, &SidebarModel::modelReset, m_sidebar, &QTreeView::expandAll);
    // Drops finish inside the view's drop event; the work (which may ask the user) runs after it.
    connect(m_sidebarModel, &SidebarModel::accountDropped, this,
            [this](const objectstore::ObjectID& account, int position) {
                QTimer::singleShot(0, this, [this, account, position] { accountDropped(account, position); });
            });
    connect(m_sidebarModel, &SidebarModel::transactionsDropped, this,
            [this](const QStringList& transactions, const objectstore::ObjectID& account) {
                QTimer::singleShot(
                    0, this, [this, transactions, account] { transactionsDropped(transactions, account); });
            });

    m_register = new RegisterView(*m_workspace, controller.stickyDate(), m_views);
    m_register->setObjectName(QStringLiteral("register"));
    m_register->table()->viewport()->installEventFilter(this);
    m_views->addWidget(m_register);

    m_searchPage = new QWidget(m_views);
    m_searchIcon = new QLabel(m_searchPage);
    m_searchTitle = new QLabel(m_searchPage);
    m_searchTitle->setObjectName(QStringLiteral("searchTitle"));
    QFont titleFont = m_searchTitle->font();
    titleFont.setBold(true);
    m_searchTitle->setFont(titleFont);
    m_searchResults = new RegisterView(*m_workspace, controller.stickyDate(), m_searchPage);
    m_searchResults->setObjectName(QStringLiteral("searchResults"));
    auto* header = new QHBoxLayout;
    header->addWidget(m_searchIcon);
    header->addWidget(m_searchTitle, 1);
    auto* searchLayout = new QVBoxLayout(m_searchPage);
    searchLayout->setContentsMargins(0, 6, 0, 0);
    searchLayout->addLayout(header);
    searchLayout->addWidget(m_searchResults, 1);
    m_views->addWidget(m_searchPage);

    for (RegisterView* view : {m_register, m_searchResults}) {
        view->setLocaleId(controller.services().localeId);
        connect(view, &RegisterView::editCategoriesRequested, this, &MainWindow::showCategoriesPane);
        connect(view, &RegisterView::selectionChanged, this, &MainWindow::updateCommands);
        connect(view, &RegisterView::contentChanged, this, [this] {
            reloadSidebarKeepingSelection();
            updateCommands();
        });
    }
    connect(m_sidebarModel, &SidebarModel::accountRenamed, this, [this] { m_register->reload(); });

    m_scheduled = new ScheduledView(*m_workspace, m_views, controller.services().localeId);
    m_scheduled->setObjectName(QStringLiteral("scheduledView"));
    m_views->addWidget(m_scheduled);
    connect(m_scheduled, &ScheduledView::badgeCountChanged, this, [this] {
        updateBadges();
        reloadSidebarKeepingSelection();
    });
    m_budget = new BudgetView(*m_workspace, controller.services().localeId, m_views);
    m_budget->setObjectName(QStringLiteral("budgetView"));
    m_views->addWidget(m_budget);
    m_breakdown = new BreakdownView(*m_workspace, m_views);
    m_breakdown->setLocaleId(controller.services().localeId);
    connect(m_breakdown, &BreakdownView::selectionChanged, this, &MainWindow::updateCommands);
    m_breakdown->setObjectName(QStringLiteral("breakdownView"));
    m_views->addWidget(m_breakdown);
    m_trends = new TrendsView(*m_workspace, m_views);
    m_trends->setObjectName(QStringLiteral("trendsView"));
    m_views->addWidget(m_trends);
    updateBadges();
    m_workspace->notifications().observe(key(platform::kRefreshAllViews), this,
                                         [this](const platform::Notification&) { reloadAllViews(); });
    restoreGeometryFromDefaults();
}

void MainWindow::showContent(const app::MainWindowContent& content) {
    if (m_controller == nullptr && m_controllerProvider) {
        if (app::AppController* controller = m_controllerProvider()) {
            attach(*controller);
        }
    }
    if (m_controller == nullptr) {
        m_views->setCurrentWidget(m_emptyView);
        return;
    }
    if (content.showsEmptyView()) {
        m_sidebarModel->reload();
        m_views->setCurrentWidget(m_emptyView);
        updateCommands();
        return;
    }
    restoreSelection(rememberedKey());
}

std::optional<app::SidebarNode::Key> MainWindow::rememberedKey() const {
    const QString remembered = m_workspace->defaults().stringValue(key(kSelectedEntryKey));
    if (remembered.isEmpty()) {
        return std::nullopt;
    }
    for (const auto& [kind, name] : kFixedEntries) {
        if (remembered == QLatin1String(name)) {
            return app::SidebarNode::Key{kind, std::nullopt};
        }
    }
    const std::optional<objectstore::ObjectID> object =
        objectstore::ObjectID::fromText(remembered, m_workspace->context().model());
    if (!object) {
        return std::nullopt;
    }
    return app::SidebarNode::Key{Kind::Account, object};
}

void MainWindow::rememberSelection() {
    QString text;
    if (const std::optional<app::SidebarNode::Key> current = selectedKey()) {
        if (current->object) {
            text = current->object->toText(m_workspace->context().model());
        }
        for (const auto& [kind, name] : kFixedEntries) {
            if (current->kind == kind) {
                text = QString::fromLatin1(name);
            }
        }
    }
    m_workspace->defaults().setValue(key(kSelectedEntryKey), text);
}

void MainWindow::removeStickyDateAction() {
    if (m_stickyDateAction != nullptr) {
        m_transactionMenu->removeAction(m_stickyDateAction);
        m_stickyDateAction->deleteLater();
        m_stickyDateAction = nullptr;
    }
}

bool MainWindow::showsEmptyView() const {
    return m_views->currentWidget() == m_emptyView;
}

View MainWindow::currentView() const {
    QWidget* shown = m_views->currentWidget();
    if (shown == m_searchPage && m_searchPage != nullptr) {
        return View::SearchResults;
    }
    if (shown == m_register && m_register != nullptr) {
        return selectedAccount() ? View::AccountRegister : View::AllAccountsRegister;
    }
    if (shown == nullptr || shown == m_emptyView) {
        return View::Empty;
    }
    if (shown == m_scheduled) {
        return View::Scheduled;
    }
    if (shown == m_budget) {
        return View::Budget;
    }
    return shown == m_breakdown ? View::Breakdown : View::Trends;
}

QString MainWindow::searchTitle() const {
    return m_searchTitle != nullptr ? m_searchTitle->text() : QString();
}

QString MainWindow::secondaryStatusText() const {
    return m_secondaryStatus->text();
}

RegisterView* MainWindow::shownRegister() const {
    switch (currentView()) {
    case View::SearchResults:
        return m_searchResults;
    case View::AccountRegister:
    case View::AllAccountsRegister:
        return m_register;
    case View::Empty:
    case View::Scheduled:
    case View::Breakdown:
    case View::Trends:
    case View::Budget:
        break;
    }
    return nullptr;
}

std::optional<objectstore::ObjectID> MainWindow::selectedEntry() const {
    if (m_sidebarModel == nullptr) {
        return std::nullopt;
    }
    const app::SidebarNode* node = m_sidebarModel->node(m_sidebar->currentIndex());
    return node != nullptr ? node->object : std::nullopt;
}

std::optional<app::SidebarNode::Key> MainWindow::selectedKey() const {
    if (m_sidebarModel == nullptr) {
        return std::nullopt;
    }
    const app::SidebarNode* node = m_sidebarModel->node(m_sidebar->currentIndex());
    return node != nullptr ? std::optional(node->key()) : std::nullopt;
}

std::optional<model::Account> MainWindow::selectedAccount() const {
    const std::optional<objectstore::ObjectID> entry = selectedEntry();
    if (!entry || m_workspace == nullptr) {
        return std::nullopt;
    }
    objectstore::ManagedObject* object = m_workspace->context().object(*entry);
    if (object == nullptr || object->isDeleted() ||
        object->entity().name() != QLatin1String(model::Account::kEntity)) {
        return std::nullopt;
    }
    return model::Account(object);
}

void MainWindow::selectAccount(const std::optional<model::Account>& account) {
    restoreSelection(account ? std::optional(account->object()->id()) : std::nullopt);
}

void MainWindow::selectEntry(const app::SidebarNode::Key& key) {
    restoreSelection(std::optional(key));
}

void MainWindow::restoreSelection(const std::optional<objectstore::ObjectID>& entry) {
    restoreSelection(entry ? std::optional(app::SidebarNode::Key{Kind::Account, entry}) : std::nullopt);
}

void MainWindow::restoreSelection(const std::optional<app::SidebarNode::Key>& entry) {
    QModelIndex index = entry ? m_sidebarModel->indexOf(*entry) : QModelIndex();
    if (!index.isValid()) {
        index = m_sidebarModel->allAccountsIndex();
    }
    if (m_sidebar->currentIndex() == index) {
        sidebarSelectionChanged();
        return;
    }
    m_sidebar->setCurrentIndex(index);
}

void MainWindow::sidebarSelectionChanged() {
    if (m_switchingViews || m_workspace == nullptr) {
        return;
    }
    if (m_workspace->context().count(u"Account") == 0) {
        m_views->setCurrentWidget(m_emptyView);
        m_searchField->setEnabled(false);
        updateCommands();
        return;
    }
    rememberSelection();
    cancelSearch();
    const app::SidebarNode* node = m_sidebarModel->node(m_sidebar->currentIndex());
    if (node != nullptr && node->kind != Kind::Account && node->kind != Kind::AllAccounts) {
        showPlanningView(*node);
        return;
    }
    showRegisterFor(selectedAccount());
}

void MainWindow::showPlanningView(const app::SidebarNode& node) {
    m_register->commitEditing();
    m_searchField->setEnabled(false);
    switch (node.kind) {
    case Kind::Scheduled:
        m_scheduled->reload();
        m_views->setCurrentWidget(m_scheduled);
        break;
    case Kind::Breakdown:
        // The chart views compute when they are shown.
        m_views->setCurrentWidget(m_breakdown);
        break;
    case Kind::Trends:
        m_views->setCurrentWidget(m_trends);
        break;
    case Kind::Budget:
        m_budget->showBudget(*node.object);
        m_views->setCurrentWidget(m_budget);
        break;
    default:
        break;
    }
    updateCommands();
}

void MainWindow::updateBadges() {
    if (m_workspace == nullptr) {
        return;
    }
    app::SidebarBadges badges = app::SidebarBadges::compute(*m_workspace);
    const int scheduled = badges.scheduled;
    m_sidebarModel->setBadges(std::move(badges));
    if (scheduled == m_applicationBadge) {
        return;
    }
    m_applicationBadge = scheduled;
    const bool dockShowsCount =
        app::ApplicationBadge::desktopShowsLauncherCounts(qEnvironmentVariable("XDG_CURRENT_DESKTOP")) &&
        LauncherBadge::send(scheduled);
    setWindowTitle(app::ApplicationBadge::windowTitle(scheduled, !dockShowsCount));
}

void MainWindow::showRegisterFor(const std::optional<model::Account>& account) {
    m_register->commitEditing();
    m_accounts->selectAccount(account ? account->object() : nullptr);
    if (account) {
        m_register->showAccount(*account);
    } else {
        m_register->showAllAccounts();
    }
    m_views->setCurrentWidget(m_register);
    m_searchField->setEnabled(true);
    updateCommands();
}

void MainWindow::reloadSidebarKeepingSelection() {
    const std::optional<app::SidebarNode::Key> entry = selectedKey();
    const bool wasAll = entry && entry->kind == Kind::AllAccounts;
    m_sidebarModel->reload();
    if (m_sidebar->currentIndex().isValid()) {
        return;
    }
    // The entries changed (an account added or gone): put the selection back without switching.
    const QModelIndex index = entry ? m_sidebarModel->indexOf(*entry) : QModelIndex();
    if (index.isValid() || wasAll) {
        const QSignalBlocker quiet(m_sidebar->selectionModel());
        m_sidebar->setCurrentIndex(index.isValid() ? index : m_sidebarModel->allAccountsIndex());
        m_sidebar->viewport()->update();
    }
}

void MainWindow::reloadAllViews() {
    if (m_sidebarModel == nullptr) {
        return;
    }
    const std::optional<app::SidebarNode::Key> entry = selectedKey();
    m_switchingViews = true;
    updateBadges();
    m_sidebarModel->reload();
    const QModelIndex index = entry ? m_sidebarModel->indexOf(*entry) : QModelIndex();
    m_sidebar->setCurrentIndex(index.isValid() ? index : m_sidebarModel->allAccountsIndex());
    m_switchingViews = false;
    if (m_workspace->context().count(u"Account") == 0) {
        m_views->setCurrentWidget(m_emptyView);
        m_searchField->setEnabled(false);
    } else if (!index.isValid() && entry && entry->kind != Kind::AllAccounts) {
        // The selected account or budget is gone: show everything.
        showRegisterFor(std::nullopt);
    } else if (entry && entry->kind != Kind::Account && entry->kind != Kind::AllAccounts) {
        // The planning and report views follow "RefreshAllViews" themselves.
        if (m_views->currentWidget() == m_emptyView) {
            showPlanningView(*m_sidebarModel->node(index));
        }
    } else if (currentView() == View::Empty) {
        showRegisterFor(selectedAccount());
    } else {
        m_register->reload();
        if (m_search && m_search->isActive()) {
            searchTextChanged(m_search->text());
        }
    }
    updateCommands();
}

app::WindowCommands::State MainWindow::commandState() const {
    app::WindowCommands::State state;
    state.view = currentView();
    if (const std::optional<model::Account> account = selectedAccount()) {
        state.selectedAccountType = account->type();
    }
    state.sidebarHasFocus = m_sidebar->hasFocus();
    if (m_accounts) {
        state.showsCents = m_accounts->showsCents();
        state.hidesInactiveAccounts = m_accounts->hidesInactiveAccounts();
    }
    if (RegisterView* shown = shownRegister()) {
        state.selectedTransactions = shown->selectedTransactions().size();
        state.balanceColumnShown = shown->isBalanceColumnShown();
        state.editorOpen = shown->isEditing();
        state.flagItem = shown->flagMenuItem();
    }
    if (state.view == View::Breakdown) {
        state.breakdownEntrySelected = m_breakdown->viewModel().canExportSelectedTransactions();
    }
    return state;
}

void MainWindow::updateCommands() {
    const app::WindowCommands::State state = commandState();
    for (const auto& [command, action] : m_actions) {
        const app::WindowCommands::Item item = app::WindowCommands::item(command, state);
        action->setText(item.title);
        action->setEnabled(item.enabled && m_controller != nullptr);
    }
    const bool attached = m_controller != nullptr;
    m_undoAction->setEnabled(attached && m_controller->undoManager().canUndo());
    m_redoAction->setEnabled(attached && m_controller->undoManager().canRedo());
    m_preferencesAction->setEnabled(attached);
}

void MainWindow::quit() {
    if (m_register != nullptr) {
        m_register->commitEditing();
    }
    rememberGeometry();
    if (m_quitHandler) {
        m_quitHandler();
        return;
    }
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    rememberGeometry();
    QMainWindow::closeEvent(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint && m_firstPaintHandler && m_register != nullptr &&
        watched == m_register->table()->viewport() && m_register->table()->model() != nullptr &&
        m_register->table()->model()->rowCount() > 0) {
        // After this paint has run: the rows are on screen then.
        QTimer::singleShot(0, this, std::exchange(m_firstPaintHandler, {}));
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::rememberGeometry() {
    if (m_workspace != nullptr) {
        m_workspace->defaults().setValue(key(kGeometryKey), QString::fromLatin1(saveGeometry().toBase64()));
    }
}

void MainWindow::restoreGeometryFromDefaults() {
    const QString saved = m_workspace->defaults().stringValue(key(kGeometryKey));
    if (!saved.isEmpty()) {
        restoreGeometry(QByteArray::fromBase64(saved.toLatin1()));
    }
}

void MainWindow::newTransaction() {
    if (currentView() == View::SearchResults) {
        return;
    }
    if (RegisterView* shown = shownRegister()) {
        shown->addTransaction();
    }
}

void MainWindow::editTransaction() {
    if (RegisterView* shown = shownRegister()) {
        shown->editSelection();
    }
}

void MainWindow::deleteSelection() {
    if (m_sidebar->hasFocus()) {
        deleteAccount();
        return;
    }
    if (RegisterView* shown = shownRegister()) {
        shown->deleteSelection();
    }
    updateCommands();
}

void MainWindow::matchTransactions() {
    if (RegisterView* shown = shownRegister()) {
        shown->matchSelection();
    }
    updateCommands();
}

void MainWindow::toggleFlag() {
    if (RegisterView* shown = shownRegister()) {
        shown->toggleFlagOfSelection();
    }
    updateCommands();
}

void MainWindow::deleteAccount() {
    std::optional<model::Account> account = selectedAccount();
    if (!account) {
        return;
    }
    m_register->commitEditing();
    if (app::AccountDeletion(*m_workspace).run(*account)) {
        reloadAllViews();
    }
}

void MainWindow::exportAccount() {
    const std::optional<model::Account> account = selectedAccount();
    if (!account || currentView() == View::SearchResults) {
        return;
    }
    m_register->commitEditing();
    QFileDialog dialog(this, tr("Export"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setLabelText(QFileDialog::Accept, tr("Export"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("Export As:"));
    dialog.setNameFilters({tr("CSV file (*.csv)"), tr("QIF file (*.qif)")});
    dialog.selectFile(account->name());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    const bool qif = dialog.selectedNameFilter().contains(QLatin1String("qif"));
    QString path = dialog.selectedFiles().constFirst();
    const QString extension = qif ? QStringLiteral(".qif") : QStringLiteral(".csv");
    if (!path.endsWith(extension, Qt::CaseInsensitive)) {
        path += extension;
    }
    const QString text = qif ? vantrel::import::AccountExporter::exportTransactionsToQif(*account)
                             : vantrel::import::AccountExporter::exportTransactionsToCsv(*account);
    if (const std::optional<QString> error = vantrel::import::AccountExporter::writeToFile(path, text)) {
        m_workspace->alerts().present({tr("The export could not be saved."), *error, {}});
    }
}

void MainWindow::backUpNow() {
    if (m_controller != nullptr) {
        m_controller->forceBackup();
    }
}

void MainWindow::toggleRunningBalance() {
    if (currentView() == View::AccountRegister) {
        m_register->toggleBalanceColumn();
    }
    updateCommands();
}

void MainWindow::toggleCents() {
    m_accounts->toggleShowsCents();
    reloadSidebarKeepingSelection();
    updateCommands();
}

void MainWindow::toggleInactiveAccounts() {
    m_accounts->toggleHidesInactiveAccounts();
    reloadAllViews();
}

void MainWindow::undo() {
    if (m_controller == nullptr || !m_controller->undoManager().canUndo()) {
        return;
    }
    commitEditing();
    m_controller->undoManager().undo();
    m_controller->didUndoOrRedo();
    updateCommands();
}

void MainWindow::redo() {
    if (m_controller == nullptr || !m_controller->undoManager().canRedo()) {
        return;
    }
    m_controller->undoManager().redo();
    m_controller->didUndoOrRedo();
    updateCommands();
}

void MainWindow::searchTextChanged(const QString& text) {
    if (m_workspace == nullptr) {
        return;
    }
    if (text.isEmpty()) {
        cancelSearch();
        if (currentView() == View::SearchResults || currentView() == View::Empty) {
            showRegisterFor(selectedAccount());
        }
        return;
    }
    if (!m_search) {
        m_register->commitEditing();
        m_search = std::make_unique<app::RegisterSearch>(*m_workspace, selectedAccount(),
                                                         m_controller->services().localeId);
    }
    m_search->setText(text);
    std::vector<objectstore::ManagedObject*> results;
    const app::RegisterViewModel& found = m_search->results();
    results.reserve(found.rowCount());
    for (std::size_t row = 0; row < found.rowCount(); ++row) {
        results.push_back(found.transactionAt(row).object());
    }
    m_searchResults->showTransactions(std::move(results));
    m_searchIcon->setPixmap(namedIcon(m_search->titleIconName()).pixmap(16, 16));
    m_searchTitle->setText(m_search->titleText());
    m_secondaryStatus->setText(m_search->resultCountText());
    m_views->setCurrentWidget(m_searchPage);
    updateCommands();
}

void MainWindow::cancelSearch() {
    m_search.reset();
    m_secondaryStatus->clear();
    if (!m_searchField->text().isEmpty()) {
        const QSignalBlocker quiet(m_searchField);
        m_searchField->clear();
    }
}

void MainWindow::accountDropped(const objectstore::ObjectID& id, int childPosition) {
    objectstore::ManagedObject* object = m_workspace->context().object(id);
    if (object == nullptr) {
        return;
    }
    model::Account account(object);
    if (m_accounts->drop(account, childPosition)) {
        reloadAllViews();
    }
}

void MainWindow::transactionsDropped(const QStringList& transactions, const objectstore::ObjectID& id) {
    objectstore::Context& context = m_workspace->context();
    objectstore::ManagedObject* destination = context.object(id);
    if (destination == nullptr) {
        return;
    }
    std::vector<model::Transaction> moved;
    for (const QString& text : transactions) {
        const std::optional<objectstore::ObjectID> transaction =
            objectstore::ObjectID::fromText(text, context.model());
        objectstore::ManagedObject* object = transaction ? context.object(*transaction) : nullptr;
        if (object != nullptr && !object->isDeleted()) {
            moved.emplace_back(object);
        }
    }
    if (moved.empty()) {
        return;
    }
    commitEditing();
    if (app::MoveTransactionsCommand(*m_workspace).run(moved, model::Account(destination))) {
        reloadAllViews();
    }
}

void MainWindow::openSheet(QDialog* sheet) {
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->setWindowModality(Qt::WindowModal);
    sheet->open();
}

void MainWindow::newAccount() {
    if (m_workspace == nullptr) {
        return;
    }
    commitEditing();
    auto* sheet = new AccountSheet(*m_workspace, *m_accounts, localeId(), this);
    connect(sheet, &AccountSheet::accountCreated, this, [this](objectstore::ManagedObject* account) {
        const objectstore::ObjectID created = account->id();
        reloadAllViews();
        restoreSelection(created);
    });
    openSheet(sheet);
}

void MainWindow::editAccount() {
    const std::optional<model::Account> account = selectedAccount();
    if (!account) {
        return;
    }
    commitEditing();
    auto* sheet = new AccountSheet(*m_workspace, *m_accounts, *account, localeId(), this);
    connect(sheet, &AccountSheet::accountChanged, this, [this] { reloadAllViews(); });
    openSheet(sheet);
}

void MainWindow::transfer() {
    if (m_workspace == nullptr) {
        return;
    }
    // From the selected account; from "All Accounts" the first account is the natural source.
    std::optional<model::Account> source = selectedAccount();
    if (!source) {
        source = model::Account::first(m_workspace->context());
    }
    if (!source) {
        return;
    }
    commitEditing();
    auto* sheet = new TransferSheet(*m_workspace, *source, localeId(), this);
    connect(sheet, &TransferSheet::transferMade, this, [this] { reloadAllViews(); });
    openSheet(sheet);
}

void MainWindow::importFromBank() {
    const std::optional<model::Account> account = selectedAccount();
    if (!account || account->type() == QLatin1String("cash")) {
        return;
    }
    commitEditing();
    auto* sheet = new ImportBankSheet(*m_workspace, *account, this);
    connect(sheet, &ImportBankSheet::importFinished, this, [this] { reloadAllViews(); });
    openSheet(sheet);
    sheet->start();
}

void MainWindow::importFromApplication() {
    if (m_workspace == nullptr) {
        return;
    }
    commitEditing();
    auto* controller = new app::ImportFromAppController(
        *m_workspace, *m_accounts, m_controller->services().shell,
        m_controller->coreDataController().sharedPersistentStore(), {}, nullptr);
    auto* sheet = new ImportAppSheet(*controller, this);
    // The controller lives as long as its sheet; its destructor waits for a run still going.
    controller->setParent(sheet);
    connect(sheet, &ImportAppSheet::importFinished, this, [this] {
        reloadAllViews();
        if (currentView() == View::Empty && m_workspace->context().count(u"Account") > 0) {
            showRegisterFor(std::nullopt);
        }
    });
    openSheet(sheet);
    sheet->start();
}

void MainWindow::newScheduledTransaction() {
    if (m_workspace == nullptr || m_workspace->context().count(u"Account") == 0) {
        return;
    }
    commitEditing();
    selectEntry({Kind::Scheduled, std::nullopt});
    m_scheduled->newItem();
}

void MainWindow::scheduleTransaction() {
    RegisterView* shown = shownRegister();
    if (shown == nullptr) {
        return;
    }
    const std::vector<model::Transaction> selected = shown->selectedTransactions();
    if (selected.size() != 1) {
        return;
    }
    commitEditing();
    const model::ScheduledItem item = planning::ScheduledItemFromTransaction::create(
        selected.front(), model::Day::today_VT(m_workspace->clock()));
    const objectstore::ObjectID created = item.object()->id();
    m_workspace->saveDatabase();
    m_workspace->refreshAllViews();
    // The new item opens in the editor, where the user sets its schedule.
    selectEntry({Kind::Scheduled, std::nullopt});
    m_scheduled->selectItem(created);
    m_scheduled->editSelection();
}

void MainWindow::showProjection() {
    if (m_workspace == nullptr || m_workspace->context().count(u"Account") == 0) {
        return;
    }
    commitEditing();
    auto* sheet = new ProjectionSheet(*m_workspace, selectedAccount(), this, localeId());
    connect(sheet, &ProjectionSheet::showItemRequested, this, [this](const objectstore::ObjectID& item) {
        selectEntry({Kind::Scheduled, std::nullopt});
        m_scheduled->selectItem(item);
    });
    openSheet(sheet);
}

void MainWindow::newBudget() {
    if (m_workspace == nullptr) {
        return;
    }
    commitEditing();
    auto* sheet = new NewBudgetSheet(*m_workspace, localeId(), this);
    connect(sheet, &NewBudgetSheet::budgetCreated, this, [this](const objectstore::ObjectID& budget) {
        reloadAllViews();
        selectEntry({Kind::Budget, budget});
    });
    openSheet(sheet);
}

void MainWindow::editBudget() {
    if (currentView() == View::Budget) {
        m_budget->editButton()->click();
    }
}

void MainWindow::deleteBudget() {
    const std::optional<app::SidebarNode::Key> entry = selectedKey();
    if (currentView() != View::Budget || !entry || !entry->object) {
        return;
    }
    objectstore::ManagedObject* object = m_workspace->context().object(*entry->object);
    if (object == nullptr) {
        return;
    }
    model::Budget budget(object);
    if (app::BudgetDeletion(*m_workspace).run(budget)) {
        reloadAllViews();
    }
}

void MainWindow::exportBreakdown() {
    if (currentView() == View::Breakdown) {
        m_breakdown->exportBreakdown();
    }
}

void MainWindow::exportBreakdownTransactions() {
    if (currentView() == View::Breakdown) {
        m_breakdown->exportSelectedTransactions();
    }
}

void MainWindow::showPreferences() {
    if (m_workspace == nullptr) {
        return;
    }
    if (m_preferences == nullptr) {
        m_preferences = new PreferencesWindow(*m_workspace, localeId(), this);
        m_preferences->setWindowFlag(Qt::Window);
    }
    m_preferences->show();
    m_preferences->raise();
    m_preferences->activateWindow();
}

void MainWindow::showCategoriesPane() {
    showPreferences();
    if (m_preferences != nullptr) {
        m_preferences->showPane(PreferencesWindow::Pane::Categories);
    }
}

void MainWindow::commitEditing() {
    for (RegisterView* view : {m_register, m_searchResults}) {
        if (view != nullptr) {
            view->commitEditing();
        }
    }
}

QString MainWindow::localeId() const {
    return m_controller->services().localeId;
}

} // namespace vantrel::ui
