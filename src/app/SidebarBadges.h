#pragma once

#include "platform/objectstore/ObjectID.h"

#include <map>

namespace vantrel::app {

class Workspace;

// The counts the sidebar shows beside "Scheduled" (items due or inside their reminder window) and
// beside each budget (its over-budget expense categories).
struct SidebarBadges {
    int scheduled = 0;
    std::map<objectstore::ObjectID, int> overBudget;

    static SidebarBadges compute(Workspace& workspace);
};

} // namespace vantrel::app
