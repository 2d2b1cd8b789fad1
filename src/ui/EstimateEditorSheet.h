#pragma once

#include "app/EstimateEditorModel.h"
#include "model/IcuBridge.h"

#include <QDialog>

class QDialogButtonBox;
class QPlainTextEdit;
class QRadioButton;

namespace vantrel::app {
class Workspace;
}

namespace vantrel::ui {

class AmountLineEdit;

// "Budget for <category>": the limit of one category in whole units, for the whole period or per
// month, with notes. Saving reports what the tables have to do.
class EstimateEditorSheet : public QDialog {
    Q_OBJECT

public:
    EstimateEditorSheet(app::Workspace& workspace, const model::CategoryLimit& limit,
                        const QString& localeId = model::IcuBridge::systemLocaleId(),
                        QWidget* parent = nullptr);

    AmountLineEdit* amountField() const { return m_amount; }
    QRadioButton* perPeriodButton() const { return m_perPeriod; }
    QRadioButton* perMonthButton() const { return m_perMonth; }
    QPlainTextEdit* notesField() const { return m_notes; }
    QDialogButtonBox* buttons() const { return m_buttons; }

    void accept() override;

signals:
    // `retrack`: the row changed table or moved into or out of "Not Budgeted".
    void limitSaved(const vantrel::model::CategoryLimit& limit, bool retrack);

private:
    void modeChosen();
    void takeShownAmount();

    app::EstimateEditorModel m_model;
    AmountLineEdit* m_amount = nullptr;
    QRadioButton* m_perPeriod = nullptr;
    QRadioButton* m_perMonth = nullptr;
    QPlainTextEdit* m_notes = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
};

} // namespace vantrel::ui
