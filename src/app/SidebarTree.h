#pragma once

#include "app/SidebarBadges.h"
#include "app/SidebarNode.h"

#include <vector>

namespace vantrel::app {

class AccountSidebarModel;

// The sidebar's structure: "Transactions" with "All Accounts", a spacer, the accounts, a spacer and
// "Scheduled"; then "Charts"; then "Budgets" while there is a budget. Sections whose views the
// application does not offer yet are left out.
class SidebarTree {
public:
    struct Sections {
        bool scheduled = false;
        bool charts = false;
        bool budgets = false;
    };

    static constexpr auto kTransactionsTitle = "Transactions";
    static constexpr auto kChartsTitle = "Charts";
    static constexpr auto kBudgetsTitle = "Budgets";

    explicit SidebarTree(const AccountSidebarModel& accounts);
    SidebarTree(const AccountSidebarModel& accounts, Sections sections, SidebarBadges badges = {});

    std::vector<SidebarNode> build() const;

    // Where an account row sits among the children of "Transactions" when it is the `row`th shown.
    static int childPositionOfAccountRow(std::size_t row);

private:
    SidebarNode transactionsGroup() const;
    SidebarNode chartsGroup() const;
    std::optional<SidebarNode> budgetsGroup() const;

    const AccountSidebarModel& m_accounts;
    Sections m_sections;
    SidebarBadges m_badges;
};

} // namespace vantrel::app
