#pragma once

#include "app/AccountSheetModel.h"
#include "model/IcuBridge.h"
#include "platform/objectstore/ManagedObject.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLineEdit;

namespace vantrel::app {
class AccountSidebarModel;
class Workspace;
} // namespace vantrel::app

namespace vantrel::model {
class Account;
}

namespace vantrel::ui {

class AmountLineEdit;

// The sheet that creates an account or edits one: name, type, currency, start balance, and in the
// edit sheet the "active" check box. Confirming writes through app::AccountSheetModel, which saves;
// a refusal is shown as an alert and the sheet stays open.
class AccountSheet : public QDialog {
    Q_OBJECT

public:
    // The new-account sheet; the created account is selected in `sidebar`.
    AccountSheet(app::Workspace& workspace, app::AccountSidebarModel& sidebar,
                 const QString& localeId = model::IcuBridge::systemLocaleId(), QWidget* parent = nullptr);
    // The edit sheet of `account`.
    AccountSheet(app::Workspace& workspace, app::AccountSidebarModel& sidebar, const model::Account& account,
                 const QString& localeId = model::IcuBridge::systemLocaleId(), QWidget* parent = nullptr);

    bool isEditing() const { return m_model.isEditing(); }
    QLineEdit* nameField() const { return m_name; }
    QComboBox* typeMenu() const { return m_type; }
    QComboBox* currencyMenu() const { return m_currency; }
    AmountLineEdit* startBalanceField() const { return m_startBalance; }
    // Edit sheet only; nullptr in the new-account sheet.
    QCheckBox* activeCheckBox() const { return m_active; }
    QDialogButtonBox* buttons() const { return m_buttons; }

    void accept() override;

signals:
    void accountCreated(vantrel::objectstore::ManagedObject* account);
    void accountChanged(vantrel::objectstore::ManagedObject* account);

private:
    void buildForm(const QString& localeId);
    void showModel();
    void typeChosen(int index);
    void followSignAssumption();

    app::Workspace& m_workspace;
    app::AccountSidebarModel& m_sidebar;
    app::AccountSheetModel m_model;
    objectstore::ManagedObject* m_account = nullptr;
    QLineEdit* m_name = nullptr;
    QComboBox* m_type = nullptr;
    QComboBox* m_currency = nullptr;
    AmountLineEdit* m_startBalance = nullptr;
    QCheckBox* m_active = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
};

} // namespace vantrel::ui
