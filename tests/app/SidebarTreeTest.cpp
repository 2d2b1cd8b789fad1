#include "app/SidebarTree.h"

#include "AppWorkspaceFixture.h"
#include "app/AccountSidebarModel.h"
#include "model/Budget.h"

using namespace vantrel;
using testsupport::utf8;
using Kind = app::SidebarNode::Kind;

namespace {

class SidebarTreeTest : public testsupport::AppWorkspaceFixture {
protected:
    SidebarTreeTest() { app::AccountSidebarModel::registerDefaults(defaults); }

    // "title[kind]" per child of the first group, spacers as "-".
    static std::vector<std::string> outline(const app::SidebarNode& group) {
        std::vector<std::string> lines;
        for (const app::SidebarNode& child : group.children) {
            lines.push_back(child.kind == Kind::Spacer ? "-" : utf8(child.title));
        }
        return lines;
    }

    app::AccountSidebarModel accounts{workspace, locale()};
};

TEST_F(SidebarTreeTest, TransactionsGroupHoldsAllAccountsSpacersAndAccountsInOrder) {
    const std::vector<app::SidebarNode> empty = app::SidebarTree(accounts).build();
    ASSERT_EQ(empty.size(), 1u);
    EXPECT_EQ(outline(empty[0]), (std::vector<std::string>{"All Accounts"}));

    model::Account visa = newAccount(QStringLiteral("Visa"), QStringLiteral("credit_card"), "-80.25");
    newAccount(QStringLiteral("Everyday"), QStringLiteral("checking"), "1234.56");
    const std::vector<app::SidebarNode> groups = app::SidebarTree(accounts).build();
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(utf8(groups[0].title), "Transactions");
    EXPECT_EQ(outline(groups[0]), (std::vector<std::string>{"All Accounts", "-", "Visa", "Everyday", "-"}));
    const app::SidebarNode& all = groups[0].children[0];
    EXPECT_EQ(utf8(all.balance), "$1,154");
    EXPECT_TRUE(all.isSelectable());
    EXPECT_FALSE(all.isRenamable());
    const app::SidebarNode& first = groups[0].children[2];
    EXPECT_EQ(first.object, visa.object()->id());
    EXPECT_EQ(utf8(first.iconName), "SidebarIconCreditCard");
    EXPECT_EQ(utf8(first.balance), "-$80");
    EXPECT_TRUE(first.isRenamable());
    EXPECT_FALSE(groups[0].children[1].isSelectable());
    EXPECT_FALSE(groups[0].isSelectable());
}

TEST_F(SidebarTreeTest, OfferedSectionsFollowAndBudgetsAppearWithTheFirstBudget) {
    newAccount(QStringLiteral("Everyday"));
    const app::SidebarTree::Sections all{true, true, true};
    std::vector<app::SidebarNode> groups = app::SidebarTree(accounts, all).build();
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(outline(groups[0]),
              (std::vector<std::string>{"All Accounts", "-", "Everyday", "-", "Scheduled"}));
    EXPECT_EQ(outline(groups[1]), (std::vector<std::string>{"Breakdown", "Trends"}));

    for (const char* name : {"Travel", "Home"}) {
        model::Budget::insertInContext(context).setName(QString::fromLatin1(name));
    }
    groups = app::SidebarTree(accounts, all).build();
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_EQ(utf8(groups[2].title), "Budgets");
    EXPECT_EQ(outline(groups[2]), (std::vector<std::string>{"Home", "Travel"}));
    EXPECT_TRUE(groups[2].children[0].isRenamable());
}

// Inactive accounts sort last; with them hidden, a drop below the last shown row still lands after
// every account, hidden ones included.
TEST_F(SidebarTreeTest, DropPositionsCountHiddenAccounts) {
    newAccount(QStringLiteral("A"));
    model::Account closed = newAccount(QStringLiteral("Closed"));
    newAccount(QStringLiteral("C"));
    closed.setClosed(true);
    accounts.toggleHidesInactiveAccounts();
    ASSERT_EQ(accounts.rows().size(), 2u);
    EXPECT_EQ(accounts.childPositionAmongAllAccounts(2), 2); // before A
    EXPECT_EQ(accounts.childPositionAmongAllAccounts(3), 3); // before C
    EXPECT_EQ(accounts.childPositionAmongAllAccounts(4), 5); // after the last, hidden one included
    EXPECT_EQ(accounts.childPositionAmongAllAccounts(1), -1);
    EXPECT_EQ(accounts.childPositionAmongAllAccounts(5), -1);
}

TEST_F(SidebarTreeTest, BadgesSitOnScheduledAndOnTheirBudgets) {
    newAccount(QStringLiteral("Everyday"));
    model::Budget home = model::Budget::insertInContext(context);
    home.setName(QStringLiteral("Home"));
    model::Budget::insertInContext(context).setName(QStringLiteral("Travel"));
    app::SidebarBadges badges;
    badges.scheduled = 3;
    badges.overBudget[home.object()->id()] = 2;
    const std::vector<app::SidebarNode> groups =
        app::SidebarTree(accounts, {true, true, true}, badges).build();
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_EQ(groups[0].children.back().kind, Kind::Scheduled);
    EXPECT_EQ(groups[0].children.back().badge, 3);
    EXPECT_EQ(groups[0].children[0].badge, 0);
    EXPECT_EQ(groups[2].children[0].badge, 2);
    EXPECT_EQ(groups[2].children[1].badge, 0);
    // Fixed entries are known by their kind, budgets by their object.
    EXPECT_EQ(groups[0].children.back().key(), (app::SidebarNode::Key{Kind::Scheduled, std::nullopt}));
    EXPECT_EQ(groups[2].children[0].key(), (app::SidebarNode::Key{Kind::Budget, home.object()->id()}));
}

} // namespace
