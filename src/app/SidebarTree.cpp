#include "app/SidebarTree.h"

#include "app/AccountSidebarModel.h"
#include "app/Workspace.h"
#include "model/Budget.h"
#include "platform/objectstore/Context.h"
#include "platform/objectstore/ManagedObject.h"

#include <algorithm>

namespace vantrel::app {

namespace {

SidebarNode leaf(SidebarNode::Kind kind, const char* title, const char* icon) {
    SidebarNode node;
    node.kind = kind;
    node.title = QString::fromLatin1(title);
    node.iconName = QString::fromLatin1(icon);
    return node;
}

SidebarNode spacer() {
    SidebarNode node;
    node.kind = SidebarNode::Kind::Spacer;
    return node;
}

} // namespace

SidebarTree::SidebarTree(const AccountSidebarModel& accounts)
    : SidebarTree(accounts, Sections()) {}

SidebarTree::SidebarTree(const AccountSidebarModel& accounts, Sections sections, SidebarBadges badges)
    : m_accounts(accounts)
    , m_sections(sections)
    , m_badges(std::move(badges)) {}

std::vector<SidebarNode> SidebarTree::build() const {
    std::vector<SidebarNode> groups;
    groups.push_back(transactionsGroup());
    if (m_sections.charts) {
        groups.push_back(chartsGroup());
    }
    if (std::optional<SidebarNode> budgets = budgetsGroup()) {
        groups.push_back(std::move(*budgets));
    }
    return groups;
}

int SidebarTree::childPositionOfAccountRow(std::size_t row) {
    return AccountSidebarModel::kFirstAccountChild + static_cast<int>(row);
}

SidebarNode SidebarTree::transactionsGroup() const {
    SidebarNode group = leaf(SidebarNode::Kind::Group, kTransactionsTitle, "SidebarGroupTransactions");
    SidebarNode all = leaf(SidebarNode::Kind::AllAccounts, "", "SidebarIconAllAccounts");
    all.title = m_accounts.allAccountsTitle();
    all.balance = m_accounts.allAccountsBalance();
    group.children.push_back(std::move(all));

    const std::vector<AccountSidebarRow> rows = m_accounts.rows();
    // Without accounts there is nothing to drop between, and the group holds "All Accounts" alone.
    if (rows.empty() && !m_sections.scheduled) {
        return group;
    }
    group.children.push_back(spacer());
    for (const AccountSidebarRow& row : rows) {
        SidebarNode account;
        account.kind = SidebarNode::Kind::Account;
        account.title = row.name;
        account.iconName = row.iconName;
        account.balance = row.balance;
        account.object = row.account->id();
        group.children.push_back(std::move(account));
    }
    group.children.push_back(spacer());
    if (m_sections.scheduled) {
        SidebarNode scheduled = leaf(SidebarNode::Kind::Scheduled, "Scheduled", "SidebarIconScheduled");
        scheduled.badge = m_badges.scheduled;
        group.children.push_back(std::move(scheduled));
    }
    return group;
}

SidebarNode SidebarTree::chartsGroup() const {
    SidebarNode group = leaf(SidebarNode::Kind::Group, kChartsTitle, "SidebarGroupCharts");
    group.children.push_back(leaf(SidebarNode::Kind::Breakdown, "Breakdown", "SidebarIconBreakdown"));
    group.children.push_back(leaf(SidebarNode::Kind::Trends, "Trends", "SidebarIconTrends"));
    return group;
}

std::optional<SidebarNode> SidebarTree::budgetsGroup() const {
    if (!m_sections.budgets) {
        return std::nullopt;
    }
    objectstore::Context& context = m_accounts.workspace().context();
    std::vector<model::Budget> budgets;
    for (objectstore::ManagedObject* object : context.fetch(QString::fromLatin1(model::Budget::kEntity))) {
        budgets.emplace_back(object);
    }
    if (budgets.empty()) {
        return std::nullopt;
    }
    std::sort(budgets.begin(), budgets.end(),
              [](const model::Budget& a, const model::Budget& b) { return a.name() < b.name(); });
    SidebarNode group = leaf(SidebarNode::Kind::Group, kBudgetsTitle, "SidebarGroupBudgets");
    for (const model::Budget& budget : budgets) {
        SidebarNode node;
        node.kind = SidebarNode::Kind::Budget;
        node.title = budget.name();
        node.object = budget.object()->id();
        if (const auto count = m_badges.overBudget.find(*node.object); count != m_badges.overBudget.end()) {
            node.badge = count->second;
        }
        group.children.push_back(std::move(node));
    }
    return group;
}

} // namespace vantrel::app
