#pragma once

#include "app/SplitLine.h"
#include "app/TitleCompletionModel.h"
#include "app/TransactionEdit.h"
#include "model/Account.h"
#include "model/Amount.h"
#include "model/Day.h"
#include "model/IcuBridge.h"
#include "model/Transaction.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace vantrel::app {

class SplitEditorModel;
class Workspace;

// The inline transaction editor without its widgets: the fields it shows for one transaction, one
// category or split rows (the remainder rule lives in SplitEditorModel), payee completion, the
// bank-data area and undoing a match. The register turns fields() into changes when it closes the
// panel.
class EditPanelModel {
public:
    // Which field takes the keyboard focus after a change of the category area.
    struct Focus {
        enum class Field { Payee, SingleCategory, RowCategory, RowAmount };
        Field field = Field::Payee;
        std::size_t row = 0;

        friend bool operator==(const Focus&, const Focus&) = default;
    };

    // The bank's view of the transaction, shown under the fields.
    struct BankData {
        bool shown = false;
        QString title;
        QString date;
        bool offersUndoMatch = false;
    };

    explicit EditPanelModel(Workspace& workspace,
                            const QString& localeId = model::IcuBridge::systemLocaleId());
    ~EditPanelModel();
    EditPanelModel(const EditPanelModel&) = delete;
    EditPanelModel& operator=(const EditPanelModel&) = delete;

    // Fills the fields from `transaction`. An add starts with an empty amount; `showsAccountPopup`
    // when adding from the all-accounts register.
    void setup(const model::Transaction& transaction, bool isAdd, bool showsAccountPopup);
    bool isSetUp() const { return m_transaction.has_value(); }
    const model::Transaction& transaction() const;
    bool isAdd() const { return m_isAdd; }

    const model::Day& date() const { return m_date; }
    void setDate(const model::Day& date) { m_date = date; }

    const std::optional<std::int64_t>& checkNumber() const { return m_checkNumber; }
    QString checkNumberText() const;
    // Blank text clears the number; text that is not a check number is refused (false) and the
    // number stays as it was.
    bool setCheckNumberText(const QString& text);

    // The payee field: in-place completion while typing.
    TitleCompletionModel& payee() { return m_payee; }
    const TitleCompletionModel& payee() const { return m_payee; }
    // Editing of the payee ends: settles its spelling and suggests the single category (when none is
    // chosen) and, adding from the all-accounts register, the account. Returns whether the account
    // changed.
    bool endPayeeEditing();

    const QString& notes() const { return m_notes; }
    void setNotes(const QString& notes) { m_notes = notes; }

    // The amount field's value: nothing while it is empty. The split rows follow every change.
    const std::optional<model::Amount>& amount() const { return m_amount; }
    void setAmount(const std::optional<model::Amount>& amount);
    // What the transaction gets: the value, or zero for an empty field.
    model::Amount interpretedAmount() const;

    // One category, or split rows.
    bool showsSplitRows() const;
    objectstore::ManagedObject* singleCategory() const;
    void setSingleCategory(objectstore::ManagedObject* category);
    const std::vector<SplitLine>& splitRows() const;
    void setRowCategory(std::size_t row, objectstore::ManagedObject* category);
    // The row's field now holds `amount` (nothing when empty).
    void setRowAmount(std::size_t row, const std::optional<model::Amount>& amount);
    // The single category becomes the first of two rows, carrying the amount field's value (no
    // amount while the field is empty); the second row is empty.
    Focus split();
    // Back to the single category field, with the first row's category.
    Focus merge();
    Focus addSplitRow();
    // With one row left the panel shows the single category field again.
    void removeSplitRow(std::size_t row);
    // Rebalances the rows after a change: the untouched last row takes the difference, otherwise it
    // shows as the remainder.
    void updateSplitAmount();
    const std::optional<model::Amount>& remainder() const;
    // The remainder as the panel shows it; empty when there is none.
    QString remainderText() const;

    // The account pop-up (adding from the all-accounts register).
    bool showsAccountPopup() const { return m_showsAccountPopup; }
    std::vector<model::Account> accountChoices() const;
    std::optional<model::Account> chosenAccount() const;
    void chooseAccount(objectstore::ManagedObject* account);

    BankData bankData() const;
    // Asks, then splits the bank data off the matched transaction into a new bank transaction,
    // saving before and after. Returns whether that happened.
    bool undoMatch();

    // What closing the panel with "keep" writes to the transaction.
    TransactionEdit fields() const;

private:
    SplitEditorModel& splits() const;

    Workspace& m_workspace;
    QString m_localeId;
    std::optional<model::Transaction> m_transaction;
    std::unique_ptr<SplitEditorModel> m_splits;
    TitleCompletionModel m_payee;
    bool m_isAdd = false;
    bool m_showsAccountPopup = false;
    model::Day m_date;
    std::optional<std::int64_t> m_checkNumber;
    QString m_notes;
    std::optional<model::Amount> m_amount;
    objectstore::ManagedObject* m_account = nullptr;
};

} // namespace vantrel::app
