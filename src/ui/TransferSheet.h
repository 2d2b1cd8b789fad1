#pragma once

#include "app/TransferDialogModel.h"
#include "model/IcuBridge.h"

#include <QDialog>

#include <memory>

class QComboBox;
class QDateEdit;
class QDialogButtonBox;
class QLineEdit;

namespace vantrel::app {
class Workspace;
}

namespace vantrel::model {
class Account;
}

namespace vantrel::objectstore {
class ManagedObject;
}

namespace vantrel::ui {

class AmountLineEdit;

// The transfer sheet: from and to accounts, amount, category, title and date, filled from the
// source account's last transfer by app::TransferDialogModel. Confirming makes the two
// transactions; a refusal is shown as an alert and the sheet stays open.
class TransferSheet : public QDialog {
    Q_OBJECT

public:
    TransferSheet(app::Workspace& workspace, const model::Account& source,
                  const QString& localeId = model::IcuBridge::systemLocaleId(), QWidget* parent = nullptr);
    ~TransferSheet() override;

    app::TransferDialogModel& dialogModel() { return *m_model; }
    QComboBox* fromMenu() const { return m_from; }
    QComboBox* toMenu() const { return m_to; }
    AmountLineEdit* amountField() const { return m_amount; }
    QComboBox* categoryMenu() const { return m_category; }
    QLineEdit* titleField() const { return m_title; }
    QDateEdit* dateField() const { return m_date; }
    QDialogButtonBox* buttons() const { return m_buttons; }

    void accept() override;

signals:
    void transferMade();

private:
    void buildForm();
    void fillAccountMenu(QComboBox* menu);
    void fillCategoryMenu();
    // Shows what the dialog model holds in every field.
    void showModel();
    void showAmount();
    void sourceChosen(int index);
    void destinationChosen(int index);
    void categoryChosen(int index);
    void handAmountToModel();
    // Whether the amount differs from what the sheet last filled in (the field reformats it when
    // it loses focus, so the text is compared, not the edit flag).
    bool amountTyped() const;
    objectstore::ManagedObject* accountAt(const QComboBox* menu, int index) const;
    static void selectData(QComboBox* menu, objectstore::ManagedObject* object);

    app::Workspace& m_workspace;
    QString m_localeId;
    std::unique_ptr<app::TransferDialogModel> m_model;
    QComboBox* m_from = nullptr;
    QComboBox* m_to = nullptr;
    AmountLineEdit* m_amount = nullptr;
    QString m_filledAmountText;
    QComboBox* m_category = nullptr;
    QLineEdit* m_title = nullptr;
    QDateEdit* m_date = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
};

} // namespace vantrel::ui
