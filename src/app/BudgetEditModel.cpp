#include "app/BudgetEditModel.h"

#include "app/Workspace.h"

namespace vantrel::app {

BudgetEditModel::BudgetEditModel(Workspace& workspace, const model::Budget& budget)
    : m_workspace(workspace)
    , m_budget(budget)
    , m_name(budget.name())
    , m_start(budget.startDate().value_or(model::Day::today_VT(workspace.clock()).beginningOfMonth_vt())) {}

void BudgetEditModel::save() {
    m_budget.setName(m_name);
    if (m_budget.startDate() != m_start) {
        m_budget.setStartDate(m_start);
        m_budget.setDidShowEndNotice(false);
    }
    m_workspace.saveDatabase();
    m_workspace.refreshAllViews();
}

} // namespace vantrel::app
