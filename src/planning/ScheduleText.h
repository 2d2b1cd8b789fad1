#pragma once

#include "model/ScheduledItem.h"

#include <QString>

namespace vantrel::planning {

// The words the scheduled-items list and the editor use for an item's schedule.
class ScheduleText {
public:
    // "Never", "Weekly", "Monthly", "Every 2 Weeks", "Weekly (Custom)", ...
    static QString repeatDescription(const model::ScheduledItem& item);
    // The list's action button: "Deposit", "Transfer" or "Pay".
    static QString actionTitle(const model::ScheduledItem& item);
    // "Due Now", "Within 7 Days", "Within 30 Days", "Later".
    static QString groupTitle(model::ScheduledItem::State state);
};

} // namespace vantrel::planning
