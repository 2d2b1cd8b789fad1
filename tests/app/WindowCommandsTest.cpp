#include "app/WindowCommands.h"

#include "support/ModelValues.h"

#include <gtest/gtest.h>

using namespace vantrel;
using app::WindowCommands;
using Command = WindowCommands::Command;
using View = WindowCommands::View;
using testsupport::utf8;

namespace {

WindowCommands::State accountRegister(const char* type) {
    WindowCommands::State state;
    state.view = View::AccountRegister;
    state.selectedAccountType = QString::fromLatin1(type);
    return state;
}

bool enabled(Command command, const WindowCommands::State& state) {
    return WindowCommands::item(command, state).enabled;
}

TEST(WindowCommands, EmptyWindowOffersOnlyWhatNeedsNoAccount) {
    const WindowCommands::State empty;
    for (Command command : {Command::NewAccount, Command::ImportFromApplication, Command::BackUpNow,
                            Command::ToggleCents, Command::ToggleInactive}) {
        EXPECT_TRUE(enabled(command, empty)) << static_cast<int>(command);
    }
    for (Command command :
         {Command::NewTransaction, Command::Transfer, Command::Delete, Command::EditAccount,
          Command::ImportFromBank, Command::Export, Command::ToggleRunningBalance, Command::Match}) {
        EXPECT_FALSE(enabled(command, empty)) << static_cast<int>(command);
    }
}

TEST(WindowCommands, AccountCommandsNeedAnAccountAndImportRefusesCash) {
    EXPECT_TRUE(enabled(Command::ImportFromBank, accountRegister("checking")));
    EXPECT_FALSE(enabled(Command::ImportFromBank, accountRegister("cash")));
    WindowCommands::State all;
    all.view = View::AllAccountsRegister;
    for (Command command : {Command::ImportFromBank, Command::Export, Command::EditAccount,
                            Command::DeleteAccount, Command::ToggleRunningBalance}) {
        EXPECT_FALSE(enabled(command, all)) << static_cast<int>(command);
    }
    EXPECT_TRUE(enabled(Command::NewTransaction, all));

    WindowCommands::State search = accountRegister("checking");
    search.view = View::SearchResults;
    EXPECT_FALSE(enabled(Command::Export, search));
    EXPECT_FALSE(enabled(Command::NewTransaction, search));
}

TEST(WindowCommands, TogglesNameWhatChoosingThemDoes) {
    WindowCommands::State state = accountRegister("savings");
    EXPECT_EQ(utf8(WindowCommands::item(Command::ToggleRunningBalance, state).title), "Show Running Balance");
    EXPECT_EQ(utf8(WindowCommands::item(Command::ToggleCents, state).title), "Show Cents in Accounts List");
    EXPECT_EQ(utf8(WindowCommands::item(Command::ToggleInactive, state).title), "Hide Inactive Accounts");
    state.balanceColumnShown = true;
    state.showsCents = true;
    state.hidesInactiveAccounts = true;
    EXPECT_EQ(utf8(WindowCommands::item(Command::ToggleRunningBalance, state).title), "Hide Running Balance");
    EXPECT_EQ(utf8(WindowCommands::item(Command::ToggleCents, state).title), "Hide Cents in Accounts List");
    EXPECT_EQ(utf8(WindowCommands::item(Command::ToggleInactive, state).title), "Show Inactive Accounts");
}

TEST(WindowCommands, SelectionDecidesDeleteMatchAndFlag) {
    WindowCommands::State state = accountRegister("checking");
    EXPECT_FALSE(enabled(Command::Delete, state));
    state.selectedTransactions = 2;
    EXPECT_TRUE(enabled(Command::Delete, state));
    EXPECT_TRUE(enabled(Command::Match, state));
    state.selectedTransactions = 3;
    EXPECT_FALSE(enabled(Command::Match, state));
    // In the sidebar, delete means the account.
    state.selectedTransactions = 0;
    state.sidebarHasFocus = true;
    EXPECT_TRUE(enabled(Command::Delete, state));
    state.selectedAccountType.reset();
    EXPECT_FALSE(enabled(Command::Delete, state));

    state = accountRegister("checking");
    state.flagItem = {QStringLiteral("Mark as Not New"), true};
    EXPECT_EQ(WindowCommands::item(Command::ToggleFlag, state),
              (WindowCommands::Item{QStringLiteral("Mark as Not New"), true}));
}

TEST(WindowCommands, PlanningAndReportCommandsFollowTheShownView) {
    WindowCommands::State scheduled;
    scheduled.view = View::Scheduled;
    EXPECT_EQ(utf8(WindowCommands::item(Command::NewScheduledTransaction, scheduled).title),
              "New Scheduled Transaction\u2026");
    EXPECT_TRUE(enabled(Command::NewScheduledTransaction, scheduled));
    EXPECT_TRUE(enabled(Command::ShowProjection, scheduled));
    // A register command has no register to act on here.
    EXPECT_FALSE(enabled(Command::NewTransaction, scheduled));
    EXPECT_FALSE(enabled(Command::EditBudget, scheduled));
    EXPECT_FALSE(enabled(Command::ExportBreakdown, scheduled));
    EXPECT_FALSE(enabled(Command::ScheduleTransaction, scheduled));

    // A scheduled item is made from exactly one register row.
    WindowCommands::State rows = accountRegister("checking");
    rows.selectedTransactions = 1;
    EXPECT_TRUE(enabled(Command::ScheduleTransaction, rows));
    rows.selectedTransactions = 2;
    EXPECT_FALSE(enabled(Command::ScheduleTransaction, rows));

    const WindowCommands::State empty;
    EXPECT_FALSE(enabled(Command::NewScheduledTransaction, empty));
    EXPECT_FALSE(enabled(Command::ShowProjection, empty));
    EXPECT_TRUE(enabled(Command::NewBudget, empty));

    WindowCommands::State budget;
    budget.view = View::Budget;
    EXPECT_TRUE(enabled(Command::EditBudget, budget));
    EXPECT_TRUE(enabled(Command::DeleteBudget, budget));
    EXPECT_FALSE(enabled(Command::Export, budget));

    WindowCommands::State breakdown;
    breakdown.view = View::Breakdown;
    EXPECT_TRUE(enabled(Command::ExportBreakdown, breakdown));
    EXPECT_FALSE(enabled(Command::ExportBreakdownTransactions, breakdown));
    breakdown.breakdownEntrySelected = true;
    EXPECT_TRUE(enabled(Command::ExportBreakdownTransactions, breakdown));
}

} // namespace
