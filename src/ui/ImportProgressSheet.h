#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace vantrel::app {
class ImportFromAppController;
}

namespace vantrel::ui {

// The progress of a background import of another application's file: what the run is doing, a bar
// that fills transaction by transaction (busy while starting and saving) and Abort. Closes itself
// when the controller leaves its progress sheet, whichever way the run ended.
class ImportProgressSheet : public QDialog {
    Q_OBJECT

public:
    ImportProgressSheet(app::ImportFromAppController& controller, QWidget* parent = nullptr);

    QLabel* statusLabel() const { return m_status; }
    QProgressBar* progressBar() const { return m_bar; }
    QPushButton* abortButton() const { return m_abort; }

    // Escape asks the run to stop, as Abort does; the sheet closes when the run has stopped.
    void reject() override;

private:
    void showProgress();
    void followSheet();
    void abortRun();

    app::ImportFromAppController& m_controller;
    QLabel* m_status = nullptr;
    QProgressBar* m_bar = nullptr;
    QPushButton* m_abort = nullptr;
};

} // namespace vantrel::ui
