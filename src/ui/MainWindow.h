#pragma once

#include <QMainWindow>

class QAction;

namespace vantrel::ui {

// The application's main window. For now a frame with the menus every later view hangs off.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);

    QAction* quitAction() const { return m_quitAction; }

private:
    QAction* m_quitAction = nullptr;
};

} // namespace vantrel::ui
