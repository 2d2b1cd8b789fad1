#pragma once

#include "app/RegisterCommands.h"

#include <QString>

#include <cstddef>
#include <optional>

namespace vantrel::app {

// Which of the main window's commands are offered, and under which title, for what the window shows
// and what is selected. The window asks before it shows a menu and whenever the selection changes.
class WindowCommands {
public:
    enum class View {
        Empty,
        AccountRegister,
        AllAccountsRegister,
        SearchResults,
        Scheduled,
        Breakdown,
        Trends,
        Budget
    };
    enum class Command {
        NewTransaction,
        EditTransaction,
        Transfer,
        Delete,
        Match,
        ToggleFlag,
        NewAccount,
        EditAccount,
        DeleteAccount,
        ImportFromBank,
        ImportFromApplication,
        Export,
        BackUpNow,
        ToggleRunningBalance,
        ToggleCents,
        ToggleInactive,
        NewScheduledTransaction,
        ScheduleTransaction,
        ShowProjection,
        NewBudget,
        EditBudget,
        DeleteBudget,
        ExportBreakdown,
        ExportBreakdownTransactions,
    };

    struct State {
        View view = View::Empty;
        // The type of the account selected in the sidebar ("checking", ...); none for "All Accounts".
        std::optional<QString> selectedAccountType;
        std::size_t selectedTransactions = 0;
        // The delete command acts on the sidebar's account while the sidebar has the focus.
        bool sidebarHasFocus = false;
        bool balanceColumnShown = false;
        bool showsCents = false;
        bool hidesInactiveAccounts = false;
        bool editorOpen = false;
        // The breakdown view has an entry selected whose transactions can be exported.
        bool breakdownEntrySelected = false;
        RegisterCommands::MenuItem flagItem;
    };

    struct Item {
        QString title;
        bool enabled = false;

        friend bool operator==(const Item&, const Item&) = default;
    };

    static Item item(Command command, const State& state);

private:
    static bool showsRegister(const State& state);
    static bool accountSelected(const State& state);
};

} // namespace vantrel::app
