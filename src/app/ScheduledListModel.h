#pragma once

#include "model/IcuBridge.h"
#include "model/ScheduledItem.h"
#include "planning/ScheduledSummary.h"
#include "platform/objectstore/ObjectID.h"

#include <QString>

#include <optional>
#include <vector>

namespace vantrel::app {

class Workspace;

// The scheduled-items view without its widgets: the group and item rows, the status line with its
// monthly figure, the badge count, and the skip and delete commands with their confirmations.
class ScheduledListModel {
public:
    // The ui picks the colours.
    enum class AmountColour { Zero, Positive, Negative };

    struct Row {
        bool isGroup = false;
        // Group rows: "Due Now", "Within 7 Days", ...; item rows: the item's title.
        QString title;
        model::ScheduledItem::State state = model::ScheduledItem::State::Due;
        // Item rows only from here on.
        std::optional<objectstore::ObjectID> item;
        // The account's name, "From → To" for a transfer.
        QString accountText;
        // In the account's currency.
        QString amountText;
        AmountColour amountColour = AmountColour::Zero;
        QString dueText;
        // Empty for a one-time item.
        QString scheduleText;
        bool isRecurring = false;
        bool isRed = false;
        QString actionTitle;
    };

    struct Status {
        QString label;
        QString amountText;
        AmountColour colour = AmountColour::Zero;
        QString countText;
    };

    explicit ScheduledListModel(Workspace& workspace, QString localeId = model::IcuBridge::systemLocaleId());

    // Re-reads the items (after any change, or a new day).
    void reload();
    const std::vector<Row>& rows() const { return m_rows; }
    std::optional<std::size_t> rowOf(const objectstore::ObjectID& item) const;
    // The item of a row; nothing for a group row, a row out of range or an item deleted since.
    std::optional<model::ScheduledItem> itemAt(std::size_t row) const;
    // The items of the given rows, group rows left out.
    std::vector<model::ScheduledItem> itemsAt(const std::vector<std::size_t>& rows) const;

    // Items asking for attention: the badge of the "Scheduled" entry (no badge at 0).
    int badgeCount() const { return m_badgeCount; }

    planning::ScheduledSummary::Mode summaryMode() const { return m_mode; }
    // A click on the status line: monthly expense and monthly net take turns.
    void toggleSummaryMode();
    Status status() const;

    static bool canSkip(const std::vector<model::ScheduledItem>& selection) { return selection.size() == 1; }
    static bool canEdit(const std::vector<model::ScheduledItem>& selection) { return selection.size() == 1; }
    static bool canDelete(const std::vector<model::ScheduledItem>& selection) { return !selection.empty(); }

    // After the user confirms: advances the item past its current occurrence (deleting a one-time or
    // last one), saves and refreshes every view. Returns whether it skipped.
    bool skip(model::ScheduledItem item);
    // After the user confirms: deletes the items, saves and refreshes. Returns whether it deleted.
    bool deleteItems(const std::vector<model::ScheduledItem>& items);

private:
    Row itemRow(const model::ScheduledItem& item, const model::Day& today) const;
    void commit();

    Workspace& m_workspace;
    QString m_localeId;
    std::vector<Row> m_rows;
    std::size_t m_itemCount = 0;
    int m_badgeCount = 0;
    planning::ScheduledSummary::Mode m_mode = planning::ScheduledSummary::Mode::MonthlyExpense;
};

} // namespace vantrel::app
