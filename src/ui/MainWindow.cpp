#include "ui/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QStackedWidget>
#include <QTreeWidget>

namespace vantrel::ui {

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("Vantrel"));
    resize(1100, 720);

    QMenu* fileMenu = menuBar()->addMenu(tr("&File"));
    m_quitAction = fileMenu->addAction(tr("&Quit Vantrel"));
    m_quitAction->setShortcut(QKeySequence::Quit);
    m_quitAction->setMenuRole(QAction::QuitRole);
    connect(m_quitAction, &QAction::triggered, this, &MainWindow::quit);

    m_transactionMenu = menuBar()->addMenu(tr("&Transaction"));
    m_stickyDateAction = m_transactionMenu->addAction(tr("Sticky Date"));
    m_stickyDateAction->setCheckable(true);

    auto* empty = new QLabel(tr("You have no accounts yet. Add an account to start."), this);
    empty->setAlignment(Qt::AlignCenter);
    m_emptyView = empty;

    m_accounts = new QTreeWidget(this);
    m_accounts->setColumnCount(2);
    m_accounts->setHeaderLabels({tr("Account"), tr("Balance")});
    m_accounts->setRootIsDecorated(false);
    m_accounts->header()->setSectionResizeMode(0, QHeaderView::Stretch);

    m_views = new QStackedWidget(this);
    m_views->addWidget(m_emptyView);
    m_views->addWidget(m_accounts);
    setCentralWidget(m_views);
}

void MainWindow::quit() {
    if (m_quitHandler) {
        m_quitHandler();
        return;
    }
    close();
}

void MainWindow::showContent(const app::MainWindowContent& content) {
    m_accounts->clear();
    for (const app::AccountSidebarRow& row : content.accounts) {
        auto* item = new QTreeWidgetItem(m_accounts, {row.name, row.balance});
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    }
    m_views->setCurrentWidget(content.showsEmptyView() ? m_emptyView : static_cast<QWidget*>(m_accounts));
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

} // namespace vantrel::ui
