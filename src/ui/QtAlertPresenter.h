#pragma once

#include "app/AlertPresenter.h"

class QWidget;

namespace vantrel::ui {

// Alerts as modal message boxes: the message, the informative text below it, and the buttons in
// the alert's order (the first is the default; "OK" when the alert lists none).
class QtAlertPresenter final : public app::AlertPresenter {
public:
    explicit QtAlertPresenter(QWidget* parent = nullptr)
        : m_parent(parent) {}

    int present(const app::Alert& alert) override;

private:
    QWidget* m_parent;
};

} // namespace vantrel::ui
