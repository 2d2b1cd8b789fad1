#include "ui/QtAlertPresenter.h"

#include <QMessageBox>
#include <QPushButton>

#include <vector>

namespace vantrel::ui {

int QtAlertPresenter::present(const app::Alert& alert) {
    QMessageBox box(m_parent);
    box.setIcon(QMessageBox::Warning);
    box.setText(alert.message);
    box.setInformativeText(alert.informativeText);
    if (alert.buttons.isEmpty()) {
        box.addButton(QMessageBox::Ok);
        box.exec();
        return 0;
    }
    // One role for every button keeps them in the alert's order on every platform style.
    std::vector<QPushButton*> buttons;
    for (const QString& title : alert.buttons) {
        buttons.push_back(box.addButton(title, QMessageBox::ActionRole));
    }
    box.setDefaultButton(buttons.front());
    // Escape or closing the box must never pick the first button, which is often "Delete": it
    // means "Cancel" when the alert offers one, else the last button.
    const qsizetype cancel = alert.buttons.indexOf(QStringLiteral("Cancel"));
    const std::size_t escape = cancel >= 0 ? static_cast<std::size_t>(cancel) : buttons.size() - 1;
    box.setEscapeButton(buttons[escape]);
    box.exec();
    for (std::size_t index = 0; index < buttons.size(); ++index) {
        if (box.clickedButton() == buttons[index]) {
            return static_cast<int>(index);
        }
    }
    return static_cast<int>(escape);
}

} // namespace vantrel::ui
