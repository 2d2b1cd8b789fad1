#pragma once

#include "app/AlertPresenter.h"

#include <QString>

#include <deque>
#include <stdexcept>
#include <vector>

namespace vantrel::testsupport {

// Answers alerts with the button texts a test queued, in order, and keeps every alert shown. An
// alert nobody queued an answer for, or an answer the alert does not offer, fails the test loudly
// instead of picking a button silently.
class ScriptedAlertPresenter : public app::AlertPresenter {
public:
    void answer(const QString& buttonText) { m_answers.push_back(buttonText); }

    int present(const app::Alert& alert) override {
        m_shown.push_back(alert);
        if (alert.buttons.isEmpty()) {
            return 0;
        }
        if (m_answers.empty()) {
            throw std::logic_error("unexpected alert: " + alert.message.toStdString());
        }
        const QString chosen = m_answers.front();
        m_answers.pop_front();
        const int index = static_cast<int>(alert.buttons.indexOf(chosen));
        if (index < 0) {
            throw std::logic_error("alert has no button " + chosen.toStdString());
        }
        return index;
    }

    const std::vector<app::Alert>& shown() const { return m_shown; }
    const app::Alert& last() const { return m_shown.back(); }
    bool allAnswersUsed() const { return m_answers.empty(); }

private:
    std::deque<QString> m_answers;
    std::vector<app::Alert> m_shown;
};

} // namespace vantrel::testsupport
