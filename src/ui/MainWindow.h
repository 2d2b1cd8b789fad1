#pragma once

#include "app/MainWindowContent.h"

#include <QMainWindow>

#include <functional>

class QAction;
class QMenu;
class QStackedWidget;
class QTreeWidget;

namespace vantrel::ui {

// The application's main window: the menus every later view hangs off, and for now either the
// empty view (no account yet) or a plain list of the accounts with their balances.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);

    QAction* quitAction() const { return m_quitAction; }
    QAction* stickyDateAction() const { return m_stickyDateAction; }
    QMenu* transactionMenu() const { return m_transactionMenu; }
    // The quit command asks here instead of closing the window (the application decides when to
    // quit).
    void setQuitHandler(std::function<void()> handler) { m_quitHandler = std::move(handler); }

    void showContent(const app::MainWindowContent& content);
    void removeStickyDateAction();

    bool showsEmptyView() const;
    QTreeWidget* accountList() const { return m_accounts; }

private:
    void quit();

    QAction* m_quitAction = nullptr;
    QMenu* m_transactionMenu = nullptr;
    QAction* m_stickyDateAction = nullptr;
    QStackedWidget* m_views = nullptr;
    QWidget* m_emptyView = nullptr;
    QTreeWidget* m_accounts = nullptr;
    std::function<void()> m_quitHandler;
};

} // namespace vantrel::ui
