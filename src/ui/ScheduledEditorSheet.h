#pragma once

#include "app/ScheduledEditorModel.h"
#include "model/IcuBridge.h"

#include <QDialog>

#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QDialogButtonBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QVBoxLayout;

namespace vantrel::app {
class Workspace;
}

namespace vantrel::ui {

class AmountLineEdit;
class CategoryField;

// The scheduled-transaction sheet: title, amount, accounts, category, due date and schedule (with
// custom rule rows), end, reminder and notes, all kept in app::ScheduledEditorModel. Creating or
// saving writes the item; a refusal is shown as an alert and the sheet stays open.
class ScheduledEditorSheet : public QDialog {
    Q_OBJECT

public:
    // Nothing: a new item.
    ScheduledEditorSheet(app::Workspace& workspace, const std::optional<model::ScheduledItem>& item,
                         const QString& localeId = model::IcuBridge::systemLocaleId(),
                         QWidget* parent = nullptr);
    ~ScheduledEditorSheet() override;

    app::ScheduledEditorModel& editorModel() { return m_model; }
    QLineEdit* titleField() const { return m_title; }
    AmountLineEdit* amountField() const { return m_amount; }
    QComboBox* accountMenu() const { return m_account; }
    QLabel* accountLabel() const { return m_accountLabel; }
    QCheckBox* transferBox() const { return m_transfer; }
    QComboBox* toAccountMenu() const { return m_toAccount; }
    CategoryField* categoryField() const { return m_category; }
    QDateEdit* dateField() const { return m_date; }
    QLabel* dateLabel() const { return m_dateLabel; }
    QComboBox* repeatMenu() const { return m_repeat; }
    QSpinBox* intervalField() const { return m_interval; }
    QLabel* intervalUnitLabel() const { return m_intervalUnit; }
    QPushButton* customButton() const { return m_custom; }
    // The menus of the shown rule rows, top to bottom.
    std::vector<QComboBox*> ruleMenus() const;
    QComboBox* endsMenu() const { return m_ends; }
    QSpinBox* endsAfterField() const { return m_endsAfter; }
    QCheckBox* reminderBox() const { return m_reminder; }
    QSpinBox* reminderDaysField() const { return m_reminderDays; }
    QPlainTextEdit* notesField() const { return m_notes; }
    QDialogButtonBox* buttons() const { return m_buttons; }

    void accept() override;

signals:
    void itemSaved(const vantrel::objectstore::ObjectID& item);

private:
    void buildForm();
    QWidget* buildScheduleRow();
    QWidget* buildEndsRow();
    QWidget* buildReminderRow();
    void fillAccountMenu(QComboBox* menu);
    void showModel();
    // Rebuilds the rule rows from the model.
    void showRules();
    void showAmountField();
    void showVisibility();
    static void selectData(QComboBox* menu, objectstore::ManagedObject* object);

    app::Workspace& m_workspace;
    QString m_localeId;
    app::ScheduledEditorModel m_model;
    QFormLayout* m_form = nullptr;
    QLineEdit* m_title = nullptr;
    AmountLineEdit* m_amount = nullptr;
    QLabel* m_accountLabel = nullptr;
    QComboBox* m_account = nullptr;
    QCheckBox* m_transfer = nullptr;
    QComboBox* m_toAccount = nullptr;
    CategoryField* m_category = nullptr;
    QLabel* m_dateLabel = nullptr;
    QDateEdit* m_date = nullptr;
    QComboBox* m_repeat = nullptr;
    QWidget* m_intervalRow = nullptr;
    QSpinBox* m_interval = nullptr;
    QLabel* m_intervalUnit = nullptr;
    QPushButton* m_custom = nullptr;
    QWidget* m_rulesBox = nullptr;
    QVBoxLayout* m_rulesLayout = nullptr;
    std::vector<QComboBox*> m_ruleMenus;
    QWidget* m_endsRow = nullptr;
    QComboBox* m_ends = nullptr;
    QSpinBox* m_endsAfter = nullptr;
    QLabel* m_endsUnit = nullptr;
    QCheckBox* m_reminder = nullptr;
    QSpinBox* m_reminderDays = nullptr;
    QPlainTextEdit* m_notes = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
};

} // namespace vantrel::ui
