#pragma once

#include "app/StickyDate.h"
#include "app/TransactionEdit.h"
#include "model/Account.h"
#include "model/Transaction.h"

#include <QString>

#include <optional>
#include <vector>

namespace vantrel::app {

class RegisterViewModel;
class Workspace;

// The commands of a register: adding, editing, deleting, flagging and matching transactions. Every
// command that changes the content re-reads the register, so its rows and balances follow.
class RegisterCommands {
public:
    using Selection = std::vector<model::Transaction>;

    struct MenuItem {
        QString title;
        bool enabled = false;
    };
    enum class EditorKind { None, Inline, Batch };

    static constexpr auto kLastUsedAccountKey = "VTLastUsedAccount";
    static constexpr auto kShowStickyDateOptionKey = "_VTShowStickyDateOption";

    RegisterCommands(RegisterViewModel& register_, StickyDate& stickyDate);

    // Whether the editor offers the sticky-date option at all.
    bool offersStickyDate() const;

    // Inserts a transaction into the target account and opens the editor on it.
    model::Transaction addTransaction();
    // The account a new transaction goes to. Without any account this is an InternalError.
    model::Account targetAccountForNewTransaction() const;

    // One row opens the inline editor, several the batch editor (BatchEditModel), none nothing.
    EditorKind edit(const Selection& selection);
    std::optional<model::Transaction> editingTransaction() const;
    void closeEditorKeeping(const TransactionEdit& fields);
    void closeEditorDiscarding();
    // Selecting another row while editing keeps the changes, then saves.
    void selectAnotherRowWhileEditing(const TransactionEdit& fields);

    void deleteTransactions(const Selection& selection);

    MenuItem flagMenuItem(const Selection& selection) const;
    void toggleFlag(const Selection& selection);
    // A click on a row's flag cell: saves unless the editor is open.
    void clickFlag(const model::Transaction& transaction);

    void match(const Selection& selection);

private:
    void writeFields(model::Transaction& transaction, const TransactionEdit& fields);

    RegisterViewModel& m_register;
    Workspace& m_workspace;
    StickyDate& m_stickyDate;
    objectstore::ManagedObject* m_editing = nullptr;
};

} // namespace vantrel::app
