#pragma once

#include "app/AlertPresenter.h"

#include <QString>

#include <vector>

namespace vantrel::cli {

// Alerts on a command line without a person to ask: the command decides the answer up front (for
// example "Delete" after --yes). An alert without that button is answered "Cancel" when it offers
// one, else with its default button.
class AnsweringAlertPresenter final : public app::AlertPresenter {
public:
    void answerWith(const QString& button) { m_answer = button; }
    int present(const app::Alert& alert) override;
    const std::vector<app::Alert>& shown() const { return m_shown; }

private:
    QString m_answer;
    std::vector<app::Alert> m_shown;
};

} // namespace vantrel::cli
