#include "ui/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>

namespace vantrel::ui {

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("Vantrel"));
    resize(1100, 720);

    QMenu* fileMenu = menuBar()->addMenu(tr("&File"));
    m_quitAction = fileMenu->addAction(tr("&Quit Vantrel"));
    m_quitAction->setShortcut(QKeySequence::Quit);
    m_quitAction->setMenuRole(QAction::QuitRole);
    connect(m_quitAction, &QAction::triggered, this, &QMainWindow::close);

    auto* placeholder = new QLabel(tr("Your accounts will appear here."), this);
    placeholder->setAlignment(Qt::AlignCenter);
    setCentralWidget(placeholder);
}

} // namespace vantrel::ui
