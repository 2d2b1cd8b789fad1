#include "app/AccountSheetModel.h"

#include "AppWorkspaceFixture.h"
#include "app/AccountSidebarModel.h"

using namespace vantrel;
using testsupport::amount;
using testsupport::utf8;

namespace {

class AccountSheetModelTest : public testsupport::AppWorkspaceFixture {
protected:
    AccountSheetModelTest() { app::AccountSheetModel::registerDefaults(defaults); }

    std::size_t accountCount() const { return context.count(u"Account"); }

    app::AccountSidebarModel sidebar{workspace, locale()};
};

TEST_F(AccountSheetModelTest, ANewSheetStartsEmptyAsCheckingInTheHomeCurrency) {
    addCurrency("AUD", "Australian Dollar", "1.5");
    const app::AccountSheetModel sheet(workspace, locale());

    EXPECT_FALSE(sheet.isEditing());
    EXPECT_TRUE(sheet.name().isEmpty());
    EXPECT_EQ(sheet.typeTag(), 0);
    EXPECT_EQ(utf8(sheet.type()), "checking");
    EXPECT_EQ(app::AccountSheetModel::typeMenuTitles(),
              (QStringList{"Checking", "Savings", "Credit Card", "Cash", "Other"}));
    std::vector<std::string> currencies;
    for (const app::CurrencyChoice& choice : sheet.currencyMenu()) {
        currencies.push_back(utf8(choice.code));
    }
    EXPECT_EQ(currencies, (std::vector<std::string>{"USD", "AUD", "EUR"}));
    EXPECT_EQ(utf8(sheet.currencyCode()), "USD");
    EXPECT_TRUE(sheet.startBalanceField().text().isEmpty());
}

TEST_F(AccountSheetModelTest, TypeTagsMapToStoredTypesAndAnyOtherTagIsOther) {
    const std::vector<std::string> types{"checking", "savings", "credit_card", "cash", "other"};
    for (int tag = 0; tag < 5; ++tag) {
        EXPECT_EQ(utf8(app::AccountSheetModel::typeForTag(tag)), types[static_cast<std::size_t>(tag)]);
        EXPECT_EQ(
            app::AccountSheetModel::tagForType(QString::fromStdString(types[static_cast<std::size_t>(tag)])),
            tag);
    }
    EXPECT_EQ(utf8(app::AccountSheetModel::typeForTag(5)), "other");
    EXPECT_EQ(utf8(app::AccountSheetModel::typeForTag(-1)), "other");
    EXPECT_EQ(app::AccountSheetModel::tagForType(QStringLiteral("brokerage")), 4);
}

TEST_F(AccountSheetModelTest, OnlyACreditCardsStartBalanceAssumesAMinusSign) {
    app::AccountSheetModel sheet(workspace, locale());
    model::AmountFieldModel& field = sheet.startBalanceField();
    EXPECT_FALSE(field.shouldAssumeSign());
    field.focusIn();
    field.insert(QStringLiteral("250"));
    EXPECT_EQ(field.interpretedAmount(), amount("250"));

    sheet.selectTypeTag(2);
    field.setText(QString());
    field.focusIn();
    EXPECT_EQ(utf8(field.text()), "-");
    field.insert(QStringLiteral("250"));
    EXPECT_EQ(field.interpretedAmount(), amount("-250"));

    sheet.selectTypeTag(3);
    EXPECT_FALSE(field.shouldAssumeSign());

    // The edit sheet follows the account's type the same way.
    const model::Account card = newAccount(QStringLiteral("Visa"), QStringLiteral("credit_card"), "-80");
    app::AccountSheetModel edit(workspace, card, locale());
    EXPECT_TRUE(edit.startBalanceField().shouldAssumeSign());
    edit.selectTypeTag(0);
    EXPECT_FALSE(edit.startBalanceField().shouldAssumeSign());
}

TEST_F(AccountSheetModelTest, CreatingWithoutANameUsesTheTypesNameSavesAndSelectsTheAccount) {
    app::AccountSheetModel sheet(workspace, locale());
    sheet.selectTypeTag(2);
    ASSERT_TRUE(sheet.selectCurrency(QStringLiteral("EUR")));
    sheet.startBalanceField().focusIn();
    sheet.startBalanceField().insert(QStringLiteral("1,250.5"));

    ASSERT_TRUE(sheet.create(sidebar).succeeded());
    ASSERT_NE(sidebar.selectedAccount(), nullptr);
    const auto other = reloaded();
    const model::Account saved(in(*other, sidebar.selectedAccount()));
    EXPECT_EQ(utf8(saved.name()), "Credit Card");
    EXPECT_EQ(utf8(saved.type()), "credit_card");
    EXPECT_EQ(utf8(saved.currencyCode()), "EUR");
    EXPECT_EQ(saved.startBalance(), amount("-1250.50"));
}

TEST_F(AccountSheetModelTest, CreatingKeepsTheNameAndTakesAnEmptyStartBalanceAsZero) {
    app::AccountSheetModel sheet(workspace, locale());
    sheet.setName(QStringLiteral("Everyday"));
    EXPECT_FALSE(sheet.selectCurrency(QStringLiteral("GBP")));

    ASSERT_TRUE(sheet.create(sidebar).succeeded());
    const auto other = reloaded();
    const model::Account saved(in(*other, sidebar.selectedAccount()));
    EXPECT_EQ(utf8(saved.name()), "Everyday");
    EXPECT_EQ(utf8(saved.type()), "checking");
    EXPECT_EQ(utf8(saved.currencyCode()), "USD");
    EXPECT_EQ(saved.startBalance(), amount("0"));
}

TEST_F(AccountSheetModelTest, AStartBalanceThatIsNotAnAmountIsRefusedAndNothingIsCreated) {
    app::AccountSheetModel sheet(workspace, locale());
    sheet.startBalanceField().setText(QStringLiteral("12 apples"));

    const app::CommandOutcome outcome = sheet.create(sidebar);
    EXPECT_FALSE(outcome.succeeded());
    EXPECT_EQ(utf8(outcome.reason()), "The start balance is not an amount.");
    EXPECT_EQ(accountCount(), 0u);
    EXPECT_EQ(sidebar.selectedAccount(), nullptr);
}

TEST_F(AccountSheetModelTest, EditingWritesEveryFieldSavesAndRefreshes) {
    model::Account account = newAccount(QStringLiteral("Everyday"), QStringLiteral("checking"), "100");
    workspace.saveDatabase();

    app::AccountSheetModel sheet(workspace, account, locale());
    EXPECT_TRUE(sheet.isEditing());
    EXPECT_EQ(utf8(sheet.name()), "Everyday");
    EXPECT_EQ(sheet.typeTag(), 0);
    EXPECT_EQ(utf8(sheet.currencyCode()), "USD");
    EXPECT_EQ(utf8(sheet.startBalanceField().text()), "100.00");
    EXPECT_TRUE(sheet.isActive());

    sheet.setName(QStringLiteral("Holiday Fund"));
    sheet.selectTypeTag(1);
    sheet.selectCurrency(QStringLiteral("EUR"));
    sheet.startBalanceField().setText(QStringLiteral("75.25"));
    ASSERT_TRUE(sheet.saveChanges().succeeded());

    const auto other = reloaded();
    const model::Account saved(in(*other, account.object()));
    EXPECT_EQ(utf8(saved.name()), "Holiday Fund");
    EXPECT_EQ(utf8(saved.type()), "savings");
    EXPECT_EQ(utf8(saved.currencyCode()), "EUR");
    EXPECT_EQ(saved.startBalance(), amount("75.25"));
    EXPECT_FALSE(saved.isClosed());
    EXPECT_EQ(posted, QStringList{"RefreshAllViews"});
    EXPECT_TRUE(alerts.shown().empty());
}

TEST_F(AccountSheetModelTest, MakingAnAccountInactiveShowsTheTipOnlyOnce) {
    model::Account first = newAccount(QStringLiteral("Old Card"), QStringLiteral("credit_card"));
    model::Account second = newAccount(QStringLiteral("Old Savings"), QStringLiteral("savings"));
    workspace.saveDatabase();

    app::AccountSheetModel sheet(workspace, first, locale());
    sheet.setActive(false);
    ASSERT_TRUE(sheet.saveChanges().succeeded());
    ASSERT_EQ(alerts.shown().size(), 1u);
    EXPECT_EQ(alerts.last(), (app::Alert{"You have made an account inactive.",
                                         "You can hide your inactive accounts by choosing View > Hide "
                                         "Inactive Accounts from the menu.",
                                         {}}));
    EXPECT_FALSE(defaults.boolValue(QStringLiteral("VTShouldShowInactiveTip")));
    EXPECT_TRUE(model::Account(in(*reloaded(), first.object())).isClosed());

    app::AccountSheetModel another(workspace, second, locale());
    another.setActive(false);
    ASSERT_TRUE(another.saveChanges().succeeded());
    EXPECT_EQ(alerts.shown().size(), 1u);
    EXPECT_TRUE(model::Account(in(*reloaded(), second.object())).isClosed());

    // Reactivating is written too.
    app::AccountSheetModel reopen(workspace, first, locale());
    EXPECT_FALSE(reopen.isActive());
    reopen.setActive(true);
    ASSERT_TRUE(reopen.saveChanges().succeeded());
    EXPECT_FALSE(model::Account(in(*reloaded(), first.object())).isClosed());
}

TEST_F(AccountSheetModelTest, SavingAnAccountThatWasAlreadyInactiveShowsNoTip) {
    model::Account account = newAccount(QStringLiteral("Old Card"));
    account.setClosed(true);
    workspace.saveDatabase();

    app::AccountSheetModel sheet(workspace, account, locale());
    sheet.setName(QStringLiteral("Closed Card"));
    ASSERT_TRUE(sheet.saveChanges().succeeded());
    EXPECT_TRUE(alerts.shown().empty());
    EXPECT_TRUE(defaults.boolValue(QStringLiteral("VTShouldShowInactiveTip")));
}

} // namespace
