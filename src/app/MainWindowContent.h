#pragma once

#include "app/AccountSidebarRow.h"

#include <vector>

namespace vantrel::app {

// What the main window shows right after start-up: with no account at all the empty view, else the
// accounts (in account order, as the sidebar lists them).
struct MainWindowContent {
    long accountCount = 0;
    std::vector<AccountSidebarRow> accounts;

    bool showsEmptyView() const { return accountCount == 0; }
};

} // namespace vantrel::app
