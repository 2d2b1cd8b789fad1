#include "app/AccountSidebarModel.h"

#include "AppWorkspaceFixture.h"

using namespace vantrel;
using testsupport::utf8;

namespace {

class AccountSidebarModelTest : public testsupport::AppWorkspaceFixture {
protected:
    AccountSidebarModelTest() { app::AccountSidebarModel::registerDefaults(defaults); }

    std::vector<std::string> names() const {
        std::vector<std::string> shown;
        for (const app::AccountSidebarRow& row : sidebar.rows()) {
            shown.push_back(utf8(row.name));
        }
        return shown;
    }

    std::vector<std::int64_t> savedIndexes(std::initializer_list<model::Account> accounts) const {
        const auto other = reloaded();
        std::vector<std::int64_t> indexes;
        for (const model::Account& account : accounts) {
            indexes.push_back(model::Account(in(*other, account.object())).index().value_or(-1));
        }
        return indexes;
    }

    app::AccountSidebarModel sidebar{workspace, locale()};
};

TEST_F(AccountSidebarModelTest, RowsShowTypeIconNameAndBalanceInAccountOrder) {
    model::Account everyday = newAccount(QStringLiteral("Everyday"), QStringLiteral("checking"), "1234.56");
    newAccount(QStringLiteral("Rainy Day"), QStringLiteral("savings"), "500");
    newAccount(QStringLiteral("Visa"), QStringLiteral("credit_card"), "-80.25");
    newAccount(QStringLiteral("Wallet"), QStringLiteral("cash"), "20");
    newAccount(QStringLiteral("Loan"), QStringLiteral("other"), "0");
    newAccount(QStringLiteral("Odd"), QStringLiteral("brokerage"), "0");
    newTransaction(everyday, "-34.56");

    const std::vector<app::AccountSidebarRow> rows = sidebar.rows();
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0].account, everyday.object());
    std::vector<std::string> icons;
    for (const app::AccountSidebarRow& row : rows) {
        icons.push_back(utf8(row.iconName));
    }
    EXPECT_EQ(icons,
              (std::vector<std::string>{"SidebarIconChecking", "SidebarIconSavings", "SidebarIconCreditCard",
                                        "SidebarIconCash", "SidebarIconOther", "SidebarIconOther"}));
    EXPECT_EQ(names(), (std::vector<std::string>{"Everyday", "Rainy Day", "Visa", "Wallet", "Loan", "Odd"}));
    EXPECT_EQ(utf8(rows[0].balance), "$1,200");
    EXPECT_EQ(utf8(rows[2].balance), "-$80");
    EXPECT_EQ(utf8(sidebar.allAccountsTitle()), "All Accounts");
    EXPECT_EQ(utf8(sidebar.allAccountsBalance()), "$1,640");
}

TEST_F(AccountSidebarModelTest, TheCentsCommandInvertsTheStoredPreference) {
    newAccount(QStringLiteral("Visa"), QStringLiteral("credit_card"), "-80.25");
    EXPECT_FALSE(sidebar.showsCents());

    sidebar.toggleShowsCents();
    EXPECT_TRUE(defaults.boolValue(QStringLiteral("VTShowCentsInAccountsList")));
    EXPECT_EQ(utf8(sidebar.rows().front().balance), "-$80.25");
    EXPECT_EQ(utf8(sidebar.allAccountsBalance()), "-$80.25");

    sidebar.toggleShowsCents();
    EXPECT_FALSE(defaults.boolValue(QStringLiteral("VTShowCentsInAccountsList")));
    EXPECT_EQ(utf8(sidebar.rows().front().balance), "-$80");
}

TEST_F(AccountSidebarModelTest, InactiveAccountsHideAndShowWithTheMenuTitleNamingTheNextStep) {
    newAccount(QStringLiteral("Everyday"));
    newAccount(QStringLiteral("Old Card"), QStringLiteral("credit_card")).setClosed(true);
    newAccount(QStringLiteral("Savings"), QStringLiteral("savings"));

    EXPECT_EQ(utf8(sidebar.inactiveAccountsMenuTitle()), "Hide Inactive Accounts");
    // Inactive accounts come after the active ones whatever their index.
    EXPECT_EQ(names(), (std::vector<std::string>{"Everyday", "Savings", "Old Card"}));

    sidebar.toggleHidesInactiveAccounts();
    EXPECT_EQ(utf8(sidebar.inactiveAccountsMenuTitle()), "Show Inactive Accounts");
    EXPECT_EQ(names(), (std::vector<std::string>{"Everyday", "Savings"}));
    EXPECT_TRUE(defaults.boolValue(QStringLiteral("VTHideInactiveAccounts")));

    sidebar.toggleHidesInactiveAccounts();
    EXPECT_EQ(utf8(sidebar.inactiveAccountsMenuTitle()), "Hide Inactive Accounts");
    EXPECT_EQ(names().size(), 3u);
}

TEST_F(AccountSidebarModelTest, RenamingInPlaceSavesAndABlankNameKeepsTheOldOne) {
    model::Account account = newAccount(QStringLiteral("Everyday"));
    workspace.saveDatabase();

    EXPECT_TRUE(sidebar.rename(account, QStringLiteral("Joint Checking")));
    EXPECT_EQ(utf8(model::Account(in(*reloaded(), account.object())).name()), "Joint Checking");

    EXPECT_FALSE(sidebar.rename(account, QStringLiteral("  ")));
    EXPECT_EQ(utf8(account.name()), "Joint Checking");
}

TEST_F(AccountSidebarModelTest, DroppingMovesTheAccountSavesAndKeepsTheSelection) {
    model::Account a = newAccount(QStringLiteral("A"));
    model::Account b = newAccount(QStringLiteral("B"));
    model::Account c = newAccount(QStringLiteral("C"));
    model::Account d = newAccount(QStringLiteral("D"));
    workspace.saveDatabase();
    sidebar.selectAccount(c.object());
    ASSERT_EQ(sidebar.selectedRow(), 2u);

    // Children: A=2, B=3, C=4, D=5. Dropping A at 4 puts it right before C.
    EXPECT_TRUE(sidebar.drop(a, 4));
    EXPECT_EQ(names(), (std::vector<std::string>{"B", "A", "C", "D"}));
    EXPECT_EQ(savedIndexes({b, a, c, d}), (std::vector<std::int64_t>{0, 1, 2, 3}));
    EXPECT_EQ(sidebar.selectedAccount(), c.object());
    EXPECT_EQ(sidebar.selectedRow(), 2u);

    // Upwards: D dropped at the first child goes to the top.
    EXPECT_TRUE(sidebar.drop(d, 2));
    EXPECT_EQ(names(), (std::vector<std::string>{"D", "B", "A", "C"}));
    EXPECT_EQ(savedIndexes({d, b, a, c}), (std::vector<std::int64_t>{0, 1, 2, 3}));
    EXPECT_EQ(sidebar.selectedRow(), 3u);

    // Past the last child: to the end.
    EXPECT_TRUE(sidebar.drop(b, 6));
    EXPECT_EQ(names(), (std::vector<std::string>{"D", "A", "C", "B"}));

    // Onto its own position, or outside the accounts: nothing happens.
    EXPECT_FALSE(sidebar.drop(a, 3));
    EXPECT_FALSE(sidebar.drop(a, 1));
    EXPECT_FALSE(sidebar.drop(a, 7));
    EXPECT_EQ(names(), (std::vector<std::string>{"D", "A", "C", "B"}));
    EXPECT_FALSE(context.hasChanges());
}

TEST_F(AccountSidebarModelTest, ASelectedAccountThatIsDeletedLeavesTheAllAccountsRowSelected) {
    model::Account account = newAccount(QStringLiteral("Everyday"));
    workspace.saveDatabase();
    sidebar.selectAccount(account.object());

    account.destroy();
    workspace.saveDatabase();
    EXPECT_EQ(sidebar.selectedAccount(), nullptr);
    EXPECT_FALSE(sidebar.selectedRow());
}

} // namespace
