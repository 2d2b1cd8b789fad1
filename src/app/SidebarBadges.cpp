#include "app/SidebarBadges.h"

#include "app/Workspace.h"
#include "model/Day.h"
#include "planning/BudgetTracker.h"
#include "planning/ScheduledList.h"

namespace vantrel::app {

SidebarBadges SidebarBadges::compute(Workspace& workspace) {
    SidebarBadges badges;
    const model::Day today = model::Day::today_VT(workspace.clock());
    badges.scheduled = planning::ScheduledList::countRedItems(workspace.context(), today);
    badges.overBudget = planning::BudgetTracker::countOverBudgetForAll(workspace.context());
    return badges;
}

} // namespace vantrel::app
