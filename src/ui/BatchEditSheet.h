#pragma once

#include "app/BatchEditModel.h"
#include "model/AmountFieldModel.h"

#include <QDialog>

#include <array>
#include <memory>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;

namespace vantrel::app {
class Workspace;
}

namespace vantrel::ui {

// The sheet that changes several selected transactions at once: each field starts with the value
// the transactions share, a "change" box beside it ticks as soon as the field is edited, and OK
// writes the ticked fields to every transaction through the batch-edit model.
class BatchEditSheet : public QDialog {
    Q_OBJECT

public:
    using Field = app::BatchEditModel::Field;

    BatchEditSheet(app::Workspace& workspace, std::unique_ptr<app::BatchEditModel> model,
                   QWidget* parent = nullptr);
    ~BatchEditSheet() override;

    app::BatchEditModel& model() const { return *m_model; }
    QLabel* subtitleLabel() const { return m_subtitle; }
    QLineEdit* amountField() const { return m_amount; }
    QComboBox* categoryField() const { return m_category; }
    QDateEdit* dateField() const { return m_date; }
    QLineEdit* titleField() const { return m_title; }
    QLineEdit* notesField() const { return m_notes; }
    QComboBox* flagField() const { return m_flag; }
    QCheckBox* changeBox(Field field) const { return m_boxes[static_cast<std::size_t>(field)]; }

    // OK: applies the ticked fields, unless the amount cannot be read.
    void accept() override;

signals:
    // The transactions were changed and saved.
    void applied();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildFields();
    void fillCategories();
    void fillFlagChoices();
    void connectFields();
    // Shows the model's values and ticks; the widgets' own signals stay quiet meanwhile.
    void showModel();
    void showAmountFieldText();
    void amountEdited(const QString& text);

    app::Workspace& m_workspace;
    std::unique_ptr<app::BatchEditModel> m_model;
    model::AmountFieldModel m_amountField;
    QLabel* m_subtitle = nullptr;
    QLineEdit* m_amount = nullptr;
    QComboBox* m_category = nullptr;
    QDateEdit* m_date = nullptr;
    QLineEdit* m_title = nullptr;
    QLineEdit* m_notes = nullptr;
    QComboBox* m_flag = nullptr;
    std::array<QCheckBox*, 6> m_boxes{};
    bool m_amountUnreadable = false;
};

} // namespace vantrel::ui
