#pragma once

#include "app/EditPanelModel.h"
#include "app/TransactionEdit.h"
#include "model/Account.h"
#include "model/IcuBridge.h"
#include "model/Transaction.h"

#include <QList>
#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class QVBoxLayout;

namespace vantrel::app {
class Workspace;
} // namespace vantrel::app

namespace vantrel::ui {

class AmountLineEdit;
class CategoryField;
class PayeeField;
class SplitRowWidget;

// The inline transaction editor that opens in place over a register row: account pop-up (adding
// from the all-accounts register), date, check number, payee with in-place completion, amount,
// notes, and one category field or split rows with their remainder; the bank-data area with
// "Undo Match". Return asks to save, Escape to discard; the register decides what closing does.
class EditPanel : public QWidget {
    Q_OBJECT

public:
    explicit EditPanel(app::Workspace& workspace, QWidget* parent = nullptr,
                       const QString& localeId = model::IcuBridge::systemLocaleId());
    ~EditPanel() override;

    // Fills the fields from `transaction`. An add starts with an empty amount; `showsAccountPopup`
    // offers the account pop-up (adding from the all-accounts register).
    void setup(const model::Transaction& transaction, bool isAdd, bool showsAccountPopup);
    // What closing with "keep" writes.
    app::TransactionEdit fields() const;
    // The account chosen in the pop-up, when it is shown.
    std::optional<model::Account> chosenAccount() const;
    app::EditPanelModel& model() const { return *m_model; }

    QComboBox* accountPopup() const { return m_accountPopup; }
    QDateEdit* dateField() const { return m_date; }
    QLineEdit* checkNumberField() const { return m_checkNumber; }
    PayeeField* payeeField() const { return m_payee; }
    AmountLineEdit* amountField() const { return m_amount; }
    CategoryField* categoryField() const { return m_category; }
    QToolButton* splitButton() const { return m_splitButton; }
    const std::vector<SplitRowWidget*>& splitRowWidgets() const { return m_rows; }
    QLabel* remainderLabel() const { return m_remainder; }
    QLineEdit* notesField() const { return m_notes; }
    QWidget* bankArea() const { return m_bankArea; }
    QLabel* bankTitleLabel() const { return m_bankTitle; }
    QLabel* bankDateLabel() const { return m_bankDate; }
    QPushButton* undoMatchButton() const { return m_undoMatch; }

signals:
    // Return in the panel.
    void saveRequested();
    // Escape in the panel.
    void discardRequested();
    // "Undo Match" was confirmed and done: the register reloads.
    void matchUndone();
    // "Edit Categories..." in a category menu: the window opens the categories preferences.
    void editCategoriesRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildFields();
    void buildCategoryArea(app::Workspace& workspace);
    void buildBankArea();
    void connectFields();
    void showAccounts();
    void showCategoryArea();
    void rebuildRows();
    void showRows();
    void showBankData();
    void moveFocus(const app::EditPanelModel::Focus& focus);
    void toggleSplit(bool split);
    void payeeEditingFinished();
    void undoMatch();
    void requestSave();
    // The first field whose text the model could not take, or nullptr.
    QLineEdit* invalidField();

    app::Workspace& m_workspace;
    QString m_localeId;
    std::unique_ptr<app::EditPanelModel> m_model;
    std::vector<model::Account> m_accounts;

    QWidget* m_accountRow = nullptr;
    QComboBox* m_accountPopup = nullptr;
    QDateEdit* m_date = nullptr;
    QLineEdit* m_checkNumber = nullptr;
    PayeeField* m_payee = nullptr;
    AmountLineEdit* m_amount = nullptr;
    CategoryField* m_category = nullptr;
    QToolButton* m_splitButton = nullptr;
    QWidget* m_splitArea = nullptr;
    QVBoxLayout* m_rowsLayout = nullptr;
    std::vector<SplitRowWidget*> m_rows;
    QWidget* m_remainderRow = nullptr;
    QLabel* m_remainder = nullptr;
    QLineEdit* m_notes = nullptr;
    QWidget* m_bankArea = nullptr;
    QLabel* m_bankTitle = nullptr;
    QLabel* m_bankDate = nullptr;
    QPushButton* m_undoMatch = nullptr;
};

} // namespace vantrel::ui
