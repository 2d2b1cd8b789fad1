#include "app/MoveTransactionsCommand.h"

#include "app/Workspace.h"
#include "model/Account.h"
#include "model/TextHelper.h"
#include "model/Transaction.h"

namespace vantrel::app {

namespace {

constexpr int kMoveButton = 0;

} // namespace

MoveTransactionsCommand::MoveTransactionsCommand(Workspace& workspace)
    : m_workspace(workspace) {}

Alert MoveTransactionsCommand::confirmationAlert(std::int64_t count, const model::Account& destination) {
    return Alert{
        QStringLiteral("Are you sure you want to move %1 to %2?")
            .arg(model::TextHelper::pluralize(QStringLiteral("transaction"), count), destination.name()),
        QStringLiteral("Moving transactions will not change your accounts' starting balances. So, "
                       "double check to make sure your accounts balances are correct after the move."),
        {QStringLiteral("Move"), QStringLiteral("Cancel")}};
}

bool MoveTransactionsCommand::run(const std::vector<model::Transaction>& transactions,
                                  const model::Account& destination) {
    if (transactions.empty()) {
        return false;
    }
    const auto count = static_cast<std::int64_t>(transactions.size());
    if (m_workspace.alerts().present(confirmationAlert(count, destination)) != kMoveButton) {
        return false;
    }
    for (model::Transaction transaction : transactions) {
        transaction.moveTo(destination);
    }
    m_workspace.saveDatabase();
    m_workspace.refreshAllViews();
    return true;
}

} // namespace vantrel::app
