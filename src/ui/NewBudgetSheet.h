#pragma once

#include "app/NewBudgetModel.h"
#include "model/IcuBridge.h"
#include "platform/objectstore/ObjectID.h"

#include <QDialog>

class QDateEdit;
class QDialogButtonBox;
class QLineEdit;
class QSpinBox;

namespace vantrel::app {
class Workspace;
}

namespace vantrel::ui {

// The "New Budget" sheet: name, first day and number of months, preset to the current month.
// Create generates the budget from the history; a period under a month is refused with an alert
// and the sheet stays open. After the first budget the "Your Budget" sheet explains it once.
class NewBudgetSheet : public QDialog {
    Q_OBJECT

public:
    NewBudgetSheet(app::Workspace& workspace, QWidget* parent);
    NewBudgetSheet(app::Workspace& workspace, const QString& localeId, QWidget* parent);

    QLineEdit* nameField() const { return m_name; }
    QDateEdit* startField() const { return m_start; }
    QSpinBox* monthsField() const { return m_months; }
    QDialogButtonBox* buttons() const { return m_buttons; }

    void accept() override;

signals:
    void budgetCreated(vantrel::objectstore::ObjectID budget);

private:
    void showHelpSheet();

    app::NewBudgetModel m_model;
    QLineEdit* m_name = nullptr;
    QDateEdit* m_start = nullptr;
    QSpinBox* m_months = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
};

} // namespace vantrel::ui
