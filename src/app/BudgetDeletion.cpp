#include "app/BudgetDeletion.h"

#include "app/AlertPresenter.h"
#include "app/Workspace.h"
#include "model/Budget.h"
#include "platform/objectstore/Context.h"

namespace vantrel::app {

namespace {

constexpr int kDeleteButton = 0;

} // namespace

BudgetDeletion::BudgetDeletion(Workspace& workspace)
    : m_workspace(workspace) {}

Alert BudgetDeletion::confirmationAlert(const model::Budget& budget) {
    return Alert{QStringLiteral("Are you sure you want to delete the budget \"%1\"?").arg(budget.name()),
                 QStringLiteral("Your transactions are not affected."),
                 {QStringLiteral("Delete"), QStringLiteral("Cancel")}};
}

bool BudgetDeletion::run(model::Budget& budget) {
    if (m_workspace.alerts().present(confirmationAlert(budget)) != kDeleteButton) {
        return false;
    }
    // Its limits go with it (cascade).
    m_workspace.context().deleteObject(budget.object());
    m_workspace.saveDatabase();
    return true;
}

} // namespace vantrel::app
