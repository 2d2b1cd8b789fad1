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
    box.exec();
    for (std::size_t index = 0; index < buttons.size(); ++index) {
        if (box.clickedButton() == buttons[index]) {
            return static_cast<int>(index);
        }
    }
    // Closed without a choice (Escape): the first button, like a dismissed sheet.
    return 0;
}

} // namespace vantrel::ui
