#include "app/WindowCommands.h"

namespace vantrel::app {

namespace {

WindowCommands::Item titled(const char* title, bool enabled) {
    return {QString::fromUtf8(title), enabled};
}

} // namespace

bool WindowCommands::showsRegister(const State& state) {
    return state.view == View::AccountRegister || state.view == View::AllAccountsRegister ||
           state.view == View::SearchResults;
}

bool WindowCommands::accountSelected(const State& state) {
    return state.view != View::Empty && state.selectedAccountType.has_value();
}

WindowCommands::Item WindowCommands::item(Command command, const State& state) {
    const bool hasAccounts = state.view != View::Empty;
    switch (command) {
    case Command::NewTransaction:
        return titled("New Transaction",
                      state.view == View::AccountRegister || state.view == View::AllAccountsRegister);
    case Command::EditTransaction:
        return titled("Edit Transaction", showsRegister(state) && state.selectedTransactions > 0);
    case Command::Transfer:
        return titled("Transfer\u2026", hasAccounts);
    case Command::Delete:
        if (state.sidebarHasFocus) {
            return titled("Delete", accountSelected(state));
        }
        return titled("Delete", showsRegister(state) && state.selectedTransactions > 0);
    case Command::Match:
        return titled("Match", showsRegister(state) && state.selectedTransactions == 2);
    case Command::ToggleFlag:
        return {state.flagItem.title.isEmpty() ? QStringLiteral("Mark as Pending") : state.flagItem.title,
                showsRegister(state) && state.flagItem.enabled};
    case Command::NewAccount:
        return titled("New Account\u2026", true);
    case Command::EditAccount:
        return titled("Edit Account\u2026", accountSelected(state));
    case Command::DeleteAccount:
        return titled("Delete Account\u2026", accountSelected(state));
    case Command::ImportFromBank:
        return titled("Import from Bank File\u2026",
                      accountSelected(state) && *state.selectedAccountType != QLatin1String("cash"));
    case Command::ImportFromApplication:
        return titled("Import from Another Application\u2026", true);
    case Command::Export:
        return titled("Export\u2026", accountSelected(state) && state.view != View::SearchResults);
    case Command::BackUpNow:
        return titled("Back Up Now", true);
    case Command::ToggleRunningBalance:
        return titled(state.balanceColumnShown ? "Hide Running Balance" : "Show Running Balance",
                      state.view == View::AccountRegister);
    case Command::ToggleCents:
        return titled(state.showsCents ? "Hide Cents in Accounts List" : "Show Cents in Accounts List", true);
    case Command::ToggleInactive:
        return titled(state.hidesInactiveAccounts ? "Show Inactive Accounts" : "Hide Inactive Accounts",
                      true);
    case Command::NewScheduledTransaction:
        return titled("New Scheduled Transaction\u2026", hasAccounts);
    case Command::ScheduleTransaction:
        return titled("Schedule Transaction\u2026", showsRegister(state) && state.selectedTransactions == 1);
    case Command::ShowProjection:
        return titled("Projection\u2026", hasAccounts);
    case Command::NewBudget:
        return titled("New Budget\u2026", true);
    case Command::EditBudget:
        return titled("Edit Budget\u2026", state.view == View::Budget);
    case Command::DeleteBudget:
        return titled("Delete Budget\u2026", state.view == View::Budget);
    case Command::ExportBreakdown:
        return titled("Export Breakdown\u2026", state.view == View::Breakdown);
    case Command::ExportBreakdownTransactions:
        return titled("Export Transactions\u2026",
                      state.view == View::Breakdown && state.breakdownEntrySelected);
    }
    return {};
}

} // namespace vantrel::app
