#pragma once

#include "model/Amount.h"
#include "model/Budget.h"
#include "model/CategoryLimit.h"
#include "model/CurrencyFormatter.h"
#include "model/IcuBridge.h"
#include "model/Transaction.h"
#include "planning/BudgetTrackResult.h"
#include "planning/BudgetTracker.h"
#include "platform/objectstore/ObjectID.h"

#include <QString>

#include <array>
#include <map>
#include <optional>
#include <vector>

namespace vantrel::app {

class Workspace;

// What the budget view shows for one budget: the expense and income tables as flat lists of the
// visible rows (group members follow their group while it is expanded, the total comes last), the
// status line and the transactions behind a row. Amounts are home-currency whole units.
class BudgetViewModel {
public:
    using Side = planning::BudgetTracker::Side;
    using SortKey = planning::BudgetTracker::SortKey;
    enum class StatusMode { Net, EndBalance };
    enum class BarColor { Blue, Red };

    static constexpr auto kRed = "EC7663";
    static constexpr auto kGreen = "62C749";
    static constexpr auto kGray = "9b9b9b";
    static constexpr auto kEndNoticeMessage = "This budget's period has ended";
    static constexpr auto kEndNoticeInformative =
        "It's time to review how you did and create a new budget for the next period.";
    static constexpr auto kEndBalanceToolTip = "This is the balance at the start of this budget period plus "
                                               "(or minus) your estimated savings (or loss).";

    struct Row {
        planning::BudgetRow::Type type = planning::BudgetRow::Type::Category;
        // 0 for top-level rows, 1 inside a group.
        int depth = 0;
        bool isNotBudgeted = false;
        // Groups only.
        bool isExpanded = false;
        QString name;
        model::Amount limit;
        model::Amount actual;
        QString limitText;
        // Hex colour without "#".
        QString limitColor;
        QString actualText;
        double barFraction = 0;
        BarColor barColor = BarColor::Blue;
        bool isOverBudget = false;
        QString toolTip;
        // Category rows only.
        std::optional<model::CategoryLimit> categoryLimit;
        // The category group of a group row (nullptr for "Not Budgeted").
        const objectstore::ManagedObject* group = nullptr;
    };

    struct TransactionLine {
        model::Transaction transaction;
        QString date;
        QString title;
        QString account;
        QString amount;
    };

    BudgetViewModel(Workspace& workspace, const objectstore::ObjectID& budget,
                    const QString& localeId = model::IcuBridge::systemLocaleId());

    // False once the budget is gone from the store; everything then reads empty.
    bool isValid() const;
    std::optional<model::Budget> budget() const;
    QString name() const;
    // "Mar 1, 2024 – Mar 31, 2024".
    QString periodText() const;

    // Tracks both sides again, keeping sort orders and which groups are open.
    void reload();

    const std::vector<Row>& rows(Side side) const { return m_rows[index(side)]; }
    // A group row at `row` opens or closes; any other row is left alone. Returns whether it was a group.
    bool toggleGroup(Side side, int row);
    void setSortOrder(Side side, SortKey key, bool descending);
    SortKey sortKey(Side side) const { return m_sort[index(side)].key; }
    bool isDescending(Side side) const { return m_sort[index(side)].descending; }

    // "Actual" while the period runs, "Actual Expense" / "Actual Income" once it has ended.
    QString actualColumnHeader(Side side) const;
    // Where today lies on every bar, only between start and end.
    std::optional<double> todayMarker() const;

    QString expenseSegment() const;
    QString incomeSegment() const;
    StatusMode statusMode() const { return m_statusMode; }
    void toggleStatusMode();
    QString statusLabel() const;
    QString statusAmountText() const;
    QString statusColor() const;
    QString statusToolTip() const;
    // "12 Days Left", "1 Day Left" or "This budget's period has ended".
    QString daysLeftText() const;

    // Shows the end notice when an ended budget is opened the first time; returns whether it did.
    bool presentEndNoticeIfNeeded();

    // The transactions behind a category or uncategorised row over the budget's period, newest
    // first; nothing for other rows.
    std::vector<TransactionLine> transactionsForRow(Side side, int row) const;
    bool listsTransactions(Side side, int row) const;

    // After the estimate editor saved `limit`: the row takes its new limit and the totals are summed
    // again, unless `retrack` (the limit changed side or moved into or out of "Not Budgeted").
    void limitEdited(Side side, const model::CategoryLimit& limit, bool retrack);

private:
    struct SortOrder {
        SortKey key = SortKey::AbsoluteLimit;
        bool descending = true;
    };

    static std::size_t index(Side side) { return side == Side::Expense ? 0 : 1; }
    model::Day today() const;
    void rebuildRows(Side side);
    Row makeRow(const planning::BudgetRow& row, int depth) const;
    bool isExpanded(Side side, const planning::BudgetRow& group) const;
    QString format(const model::Amount& amount) const;
    QString formatFloat(float value) const;
    float statusAmount() const;
    const Row* rowAt(Side side, int row) const;

    Workspace& m_workspace;
    objectstore::ObjectID m_budgetID;
    QString m_localeId;
    model::CurrencyFormatter m_formatter;
    std::array<planning::BudgetTrackResult, 2> m_results;
    std::array<std::vector<Row>, 2> m_rows;
    std::array<SortOrder, 2> m_sort;
    std::array<std::map<const objectstore::ManagedObject*, bool>, 2> m_expanded;
    StatusMode m_statusMode = StatusMode::Net;
};

} // namespace vantrel::app
