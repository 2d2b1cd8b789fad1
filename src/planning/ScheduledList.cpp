#include "planning/ScheduledList.h"

#include "platform/objectstore/Context.h"

#include <algorithm>
#include <array>

namespace vantrel::planning {

namespace {

using model::ScheduledItem;

// Earlier due dates first; an item without a due date goes last.
bool dueEarlier(const ScheduledItem& a, const ScheduledItem& b) {
    const auto first = a.nextDueDate();
    const auto second = b.nextDueDate();
    if (first && second) {
        return *first < *second;
    }
    return first.has_value() && !second.has_value();
}

constexpr std::array kStatesInListOrder{ScheduledItem::State::Due, ScheduledItem::State::Within7Days,
                                        ScheduledItem::State::Within30Days, ScheduledItem::State::Later};

} // namespace

std::vector<ScheduledItem> ScheduledList::allItems(objectstore::Context& context) {
    std::vector<ScheduledItem> items;
    for (objectstore::ManagedObject* object : context.all(u"ScheduledItem")) {
        items.emplace_back(object);
    }
    std::stable_sort(items.begin(), items.end(), dueEarlier);
    return items;
}

std::vector<ScheduledListEntry> ScheduledList::groupedItems(objectstore::Context& context,
                                                            const model::Day& today) {
    const std::vector<ScheduledItem> items = allItems(context);
    std::vector<ScheduledListEntry> entries;
    for (const ScheduledItem::State state : kStatesInListOrder) {
        const auto inState = [&](const ScheduledItem& item) { return item.state(today) == state; };
        if (std::none_of(items.begin(), items.end(), inState)) {
            continue;
        }
        entries.push_back({state, std::nullopt});
        for (const ScheduledItem& item : items) {
            if (inState(item)) {
                entries.push_back({state, item});
            }
        }
    }
    return entries;
}

int ScheduledList::countRedItems(objectstore::Context& context, const model::Day& today) {
    const std::vector<ScheduledItem> items = allItems(context);
    return static_cast<int>(std::count_if(
        items.begin(), items.end(), [&](const ScheduledItem& item) { return item.shouldColorRed(today); }));
}

std::vector<ScheduledItem> ScheduledList::checkReminders(objectstore::Context& context,
                                                         const model::Day& today) {
    std::vector<ScheduledItem> reminded;
    for (ScheduledItem& item : allItems(context)) {
        const bool remind = item.shouldRemind(today);
        if (remind && !item.hasReminded()) {
            item.setHasReminded(true);
            reminded.push_back(item);
        } else if (!remind && item.hasReminded()) {
            item.setHasReminded(false);
        }
    }
    return reminded;
}

} // namespace vantrel::planning
