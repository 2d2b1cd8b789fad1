#include "cli/AnsweringAlertPresenter.h"

namespace vantrel::cli {

int AnsweringAlertPresenter::present(const app::Alert& alert) {
    m_shown.push_back(alert);
    if (!m_answer.isEmpty()) {
        if (const auto index = alert.buttons.indexOf(m_answer); index >= 0) {
            return static_cast<int>(index);
        }
    }
    const auto cancel = alert.buttons.indexOf(QStringLiteral("Cancel"));
    return cancel >= 0 ? static_cast<int>(cancel) : 0;
}

} // namespace vantrel::cli
