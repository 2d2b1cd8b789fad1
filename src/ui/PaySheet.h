#pragma once

#include "app/PaySheetModel.h"
#include "model/IcuBridge.h"

#include <QDialog>

class QDateEdit;
class QDialogButtonBox;
class QLabel;
class QLineEdit;

namespace vantrel::app {
class Workspace;
}

namespace vantrel::ui {

class AmountLineEdit;
class CategoryField;

// The sheet that pays, deposits or transfers the current occurrence of a scheduled item: date,
// amount, category and notes, with the item's payment link or instructions. Confirming checks the
// amount through app::PaySheetModel; when nothing is logged the sheet stays open on the amount.
class PaySheet : public QDialog {
    Q_OBJECT

public:
    PaySheet(app::Workspace& workspace, const model::ScheduledItem& item,
             const QString& localeId = model::IcuBridge::systemLocaleId(), QWidget* parent = nullptr);
    ~PaySheet() override;

    app::PaySheetModel& sheetModel() { return m_model; }
    QLabel* headingLabel() const { return m_heading; }
    QLabel* dueLabel() const { return m_due; }
    // The link, or the instructions; hidden when the item has neither.
    QLabel* helpLabel() const { return m_help; }
    QDateEdit* dateField() const { return m_date; }
    AmountLineEdit* amountField() const { return m_amount; }
    CategoryField* categoryField() const { return m_category; }
    QLineEdit* notesField() const { return m_notes; }
    QDialogButtonBox* buttons() const { return m_buttons; }

    void accept() override;

signals:
    void paid();

private:
    void buildForm();

    app::Workspace& m_workspace;
    QString m_localeId;
    app::PaySheetModel m_model;
    QLabel* m_heading = nullptr;
    QLabel* m_due = nullptr;
    QLabel* m_help = nullptr;
    QDateEdit* m_date = nullptr;
    AmountLineEdit* m_amount = nullptr;
    CategoryField* m_category = nullptr;
    QLineEdit* m_notes = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
};

} // namespace vantrel::ui
