#include "app/AccountDeletion.h"

#include "app/Workspace.h"
#include "model/Account.h"

namespace vantrel::app {

namespace {

constexpr int kDeleteButton = 0;

} // namespace

AccountDeletion::AccountDeletion(Workspace& workspace)
    : m_workspace(workspace) {}

Alert AccountDeletion::confirmationAlert(const model::Account& account) {
    const QString transactionsGo =
        QStringLiteral("All transactions within the account will be deleted as well.");
    QString informative = transactionsGo;
    if (account.hasScheduledItems()) {
        informative =
            QStringLiteral("%1\n\n%2\n\n%3")
                .arg(transactionsGo,
                     QStringLiteral("Deleting this account will also delete the following scheduled "
                                    "transactions which are associated with it, are you sure you "
                                    "want to continue?"),
                     account.displayableScheduleList());
    }
    return Alert{QStringLiteral("Are you sure you want to delete the account \"%1\"?").arg(account.name()),
                 informative,
                 {QStringLiteral("Delete"), QStringLiteral("Cancel")}};
}

bool AccountDeletion::run(model::Account& account) {
    // Whatever the user was doing is kept whichever way they answer.
    m_workspace.saveDatabase();
    if (m_workspace.alerts().present(confirmationAlert(account)) != kDeleteButton) {
        return false;
    }
    account.destroy();
    m_workspace.saveDatabase();
    return true;
}

} // namespace vantrel::app
