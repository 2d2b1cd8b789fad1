#pragma once

#include "app/BudgetEditModel.h"

#include <QDialog>

class QDateEdit;
class QDialogButtonBox;
class QLineEdit;
class QSpinBox;

namespace vantrel::app {
class Workspace;
}

namespace vantrel::ui {

// "Edit Budget": renames a budget or moves its start; the number of months is shown for reference.
class BudgetEditSheet : public QDialog {
    Q_OBJECT

public:
    BudgetEditSheet(app::Workspace& workspace, const model::Budget& budget, QWidget* parent = nullptr);

    QLineEdit* nameField() const { return m_name; }
    QDateEdit* startField() const { return m_start; }
    QSpinBox* monthsField() const { return m_months; }
    QDialogButtonBox* buttons() const { return m_buttons; }

    void accept() override;

private:
    app::BudgetEditModel m_model;
    QLineEdit* m_name = nullptr;
    QDateEdit* m_start = nullptr;
    QSpinBox* m_months = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
};

} // namespace vantrel::ui
