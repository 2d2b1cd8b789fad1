#pragma once

#include "model/Day.h"
#include "model/ScheduledItem.h"

#include <optional>
#include <vector>

namespace vantrel::planning {

// What the scheduled-items view lists: for each non-empty due state in the order Due, Within 7 Days,
// Within 30 Days, Later, a group entry followed by its items by due date.
struct ScheduledListEntry {
    model::ScheduledItem::State state = model::ScheduledItem::State::Due;
    // Absent for the group entry itself.
    std::optional<model::ScheduledItem> item;

    bool isGroup() const { return !item.has_value(); }
};

class ScheduledList {
public:
    static std::vector<ScheduledListEntry> groupedItems(objectstore::Context& context,
                                                        const model::Day& today);
    // Items asking for attention (due, or inside their reminder window): the badge count.
    static int countRedItems(objectstore::Context& context, const model::Day& today);
    // Items whose reminder has just become active; they are marked as reminded, and items no longer
    // in their reminder window are unmarked.
    static std::vector<model::ScheduledItem> checkReminders(objectstore::Context& context,
                                                            const model::Day& today);
    // Every item, in due-date order.
    static std::vector<model::ScheduledItem> allItems(objectstore::Context& context);
};

} // namespace vantrel::planning
