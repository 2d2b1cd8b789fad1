#include "app/MatchCommand.h"

#include "app/Alert.h"
#include "app/Workspace.h"

namespace vantrel::app {

MatchCommand::MatchCommand(Workspace& workspace)
    : m_workspace(workspace) {}

bool MatchCommand::refuse(const QString& message, const QString& informativeText) {
    m_workspace.alerts().present(Alert{message, informativeText, {}});
    return false;
}

bool MatchCommand::run(const std::vector<model::Transaction>& selection) {
    if (selection.size() != 2) {
        return refuse(QStringLiteral("You must select two transactions to match together."),
                      QStringLiteral("Select a pending and an imported transaction to merge them into one."));
    }
    if (selection[0].account() != selection[1].account()) {
        return refuse(
            QStringLiteral("You can only match two transactions within the same account"),
            QStringLiteral("The two transactions you selected don't belong to the same account, so they "
                           "cannot be matched"));
    }
    const bool firstIsPending = selection[0].isPending();
    model::Transaction pending = firstIsPending ? selection[0] : selection[1];
    model::Transaction bank = firstIsPending ? selection[1] : selection[0];
    if (!pending.isPending() || !bank.isBank()) {
        return refuse(
            QStringLiteral("You must select a pending and an imported transaction."),
            QStringLiteral("Matching can only be done between a pending and an imported transaction."));
    }
    const Alert confirmation{
        QStringLiteral("Are you sure you want to match these two transactions?"),
        QStringLiteral(
            "Information from the imported transaction will be merged into the pending transaction after "
            "the match."),
        {QStringLiteral("Match"), QStringLiteral("Cancel")}};
    if (m_workspace.alerts().present(confirmation) != 0) {
        return false;
    }
    if (!reconcileAmounts(pending, bank)) {
        return false;
    }
    pending.matchWith(bank);
    m_workspace.saveDatabase();
    return true;
}

bool MatchCommand::reconcileAmounts(model::Transaction& pending, model::Transaction& bank) {
    const model::Amount pendingAmount = pending.amount().value_or(model::Amount());
    const model::Amount bankAmount = bank.amount().value_or(model::Amount());
    if (pendingAmount == bankAmount) {
        return true;
    }
    const Alert choice{
        QStringLiteral("The amounts of the transactions being matched are different."),
        QStringLiteral(
            "Would you like to use the amount in the imported transaction, or the amount in the pending "
            "transaction?"),
        {QStringLiteral("Use Imported Amount"), QStringLiteral("Cancel"),
         QStringLiteral("Use Pending Amount")}};
    switch (m_workspace.alerts().present(choice)) {
    case 0:
        // The pending transaction's split lines follow its new amount.
        pending.safelyChangeAmountTo(bankAmount);
        return true;
    case 2:
        bank.setAmount(pendingAmount);
        return true;
    default:
        return false;
    }
}

} // namespace vantrel::app
