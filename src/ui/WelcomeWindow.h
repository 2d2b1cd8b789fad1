#pragma once

#include "app/FirstRunChoices.h"

#include <QWidget>

class QHBoxLayout;
class QLabel;
class QProgressBar;
class QPushButton;

namespace vantrel::ui {

// The first-run window: a spinner while the cloud is asked, then the choices as buttons carrying
// their tags, or a progress bar while the cloud's data loads.
class WelcomeWindow : public QWidget {
    Q_OBJECT

public:
    explicit WelcomeWindow(QWidget* parent = nullptr);

    void showSpinner();
    void showChoices(const app::FirstRunChoices& choices);
    // fraction in [0, 1].
    void showLoading(double fraction);

    QString infoText() const;
    QList<QPushButton*> choiceButtons() const;
    bool isSpinning() const;
    // The loading bar's fraction, or -1 while it is hidden.
    double loadingFraction() const;

signals:
    void buttonClicked(int tag);

private:
    void clearButtons();

    QLabel* m_info = nullptr;
    QProgressBar* m_spinner = nullptr;
    QProgressBar* m_loading = nullptr;
    QHBoxLayout* m_buttons = nullptr;
};

} // namespace vantrel::ui
