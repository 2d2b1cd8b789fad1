#include "ui/AccountSheet.h"

#include "app/AccountSidebarModel.h"
#include "app/AppWorkspaceFixture.h"
#include "ui/AmountLineEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace vantrel;
using testsupport::amount;
using testsupport::utf8;

namespace {

class AccountSheetTest : public testsupport::AppWorkspaceFixture {
protected:
    AccountSheetTest() {
        app::AccountSheetModel::registerDefaults(defaults);
        workspace.saveDatabase();
    }

    // Shown and active, so that clicks give focus as they do for the user.
    static void present(ui::AccountSheet& sheet) {
        sheet.open();
        QApplication::setActiveWindow(&sheet);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&sheet));
    }

    static void choose(QComboBox* menu, const QString& title) {
        const int index = menu->findText(title);
        ASSERT_GE(index, 0) << utf8(title);
        // Keyboard search in a closed menu picks the item as a click in its list would.
        menu->setFocus();
        menu->setCurrentIndex(index == 0 ? 1 : 0);
        QTest::keyClicks(menu, title);
        ASSERT_EQ(utf8(menu->currentText()), utf8(title));
    }

    // Tabbing in from the currency menu, as the fields follow each other.
    static void typeStartBalance(ui::AccountSheet& sheet, const QString& text) {
        sheet.currencyMenu()->setFocus();
        QTest::keyClick(sheet.currencyMenu(), Qt::Key_Tab);
        EXPECT_TRUE(sheet.startBalanceField()->hasFocus());
        QTest::keyClicks(sheet.startBalanceField(), text);
    }

    static void confirm(ui::AccountSheet& sheet) {
        QTest::mouseClick(sheet.buttons()->button(QDialogButtonBox::Ok), Qt::LeftButton);
    }

    std::vector<model::Account> accounts() { return model::Account::allInAccountOrder(context); }

    app::AccountSidebarModel sidebar{workspace, locale()};
};

TEST_F(AccountSheetTest, ANewSheetOffersTheTypesAndTheHomeCurrencyFirst) {
    addCurrency("AUD", "Australian Dollar", "1.5");
    ui::AccountSheet sheet(workspace, sidebar, locale());

    EXPECT_EQ(utf8(sheet.windowTitle()), "New Account");
    EXPECT_TRUE(sheet.nameField()->text().isEmpty());
    QStringList types;
    for (int index = 0; index < sheet.typeMenu()->count(); ++index) {
        types.append(sheet.typeMenu()->itemText(index));
        EXPECT_EQ(sheet.typeMenu()->itemData(index).toInt(), index);
    }
    EXPECT_EQ(types, (QStringList{"Checking", "Savings", "Credit Card", "Cash", "Other"}));
    EXPECT_EQ(utf8(sheet.typeMenu()->currentText()), "Checking");
    EXPECT_EQ(utf8(sheet.nameField()->placeholderText()), "Checking");
    ASSERT_EQ(sheet.currencyMenu()->count(), 3);
    EXPECT_EQ(utf8(sheet.currencyMenu()->itemText(0)), "US Dollar (USD)");
    EXPECT_EQ(utf8(sheet.currencyMenu()->itemText(1)), "Australian Dollar (AUD)");
    EXPECT_EQ(utf8(sheet.currencyMenu()->itemText(2)), "Euro (EUR)");
    EXPECT_EQ(sheet.currencyMenu()->currentIndex(), 0);
    EXPECT_TRUE(sheet.startBalanceField()->text().isEmpty());
    EXPECT_EQ(sheet.activeCheckBox(), nullptr);
}

TEST_F(AccountSheetTest, CreatesTheTypedAccountWithAMinusSignAssumedOnlyForCreditCards) {
    struct Case {
        QString name;
        QString type;
        QString typed;
        const char* expected;
        const char* storedType;
    };
    for (const Case& example : {Case{"Visa", "Credit Card", "500", "-500", "credit_card"},
                                Case{"Main", "Checking", "250", "250", "checking"},
                                Case{"Card refund", "Credit Card", "\b75", "75", "credit_card"}}) {
        SCOPED_TRACE(utf8(example.name));
        ui::AccountSheet sheet(workspace, sidebar, locale());
        present(sheet);
        QSignalSpy created(&sheet, &ui::AccountSheet::accountCreated);
        QTest::keyClicks(sheet.nameField(), example.name);
        choose(sheet.typeMenu(), example.type);
        typeStartBalance(sheet, example.typed);
        confirm(sheet);

        EXPECT_EQ(sheet.result(), QDialog::Accepted);
        ASSERT_EQ(created.count(), 1);
        const model::Account account(created.front().front().value<objectstore::ManagedObject*>());
        EXPECT_EQ(sidebar.selectedAccount(), account.object());
        EXPECT_EQ(utf8(account.name()), utf8(example.name));
        EXPECT_EQ(utf8(account.type()), example.storedType);
        EXPECT_EQ(utf8(account.currencyCode()), "USD");
        EXPECT_EQ(account.startBalance(), amount(example.expected));
        const auto saved = reloaded();
        EXPECT_EQ(model::Account(in(*saved, account.object())).startBalance(), amount(example.expected));
    }
    EXPECT_TRUE(alerts.shown().empty());
}

TEST_F(AccountSheetTest, AnEmptyNameTakesTheTypeNameAndTheChosenCurrencyIsKept) {
    ui::AccountSheet sheet(workspace, sidebar, locale());
    present(sheet);
    choose(sheet.typeMenu(), QStringLiteral("Credit Card"));
    EXPECT_EQ(utf8(sheet.nameField()->placeholderText()), "Credit Card");
    choose(sheet.currencyMenu(), QStringLiteral("Euro (EUR)"));
    confirm(sheet);

    ASSERT_EQ(accounts().size(), 1u);
    const model::Account account = accounts().front();
    EXPECT_EQ(utf8(account.name()), "Credit Card");
    EXPECT_EQ(utf8(account.currencyCode()), "EUR");
    EXPECT_EQ(account.startBalance(), amount("0"));
}

TEST_F(AccountSheetTest, AStartBalanceThatIsNoAmountIsRefusedAndTheSheetStaysOpen) {
    ui::AccountSheet sheet(workspace, sidebar, locale());
    present(sheet);
    QSignalSpy created(&sheet, &ui::AccountSheet::accountCreated);
    QTest::keyClicks(sheet.nameField(), QStringLiteral("Savings"));
    typeStartBalance(sheet, QStringLiteral("twelve"));
    confirm(sheet);

    ASSERT_EQ(alerts.shown().size(), 1u);
    EXPECT_EQ(alerts.last(), (app::Alert{"The start balance is not an amount.", QString(), {}}));
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_EQ(created.count(), 0);
    EXPECT_TRUE(accounts().empty());

    // Escape leaves without creating anything.
    QTest::keyClick(&sheet, Qt::Key_Escape);
    EXPECT_EQ(sheet.result(), QDialog::Rejected);
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_TRUE(accounts().empty());
}

TEST_F(AccountSheetTest, TheEditSheetShowsTheAccountAndWritesWhatChanged) {
    model::Account account = newAccount(QStringLiteral("Visa"), QStringLiteral("credit_card"), "-1234.5");
    account.setCurrencyCode(QStringLiteral("EUR"));
    workspace.saveDatabase();

    ui::AccountSheet sheet(workspace, sidebar, account, locale());
    EXPECT_EQ(utf8(sheet.windowTitle()), "Edit Account");
    EXPECT_EQ(utf8(sheet.nameField()->text()), "Visa");
    EXPECT_EQ(utf8(sheet.typeMenu()->currentText()), "Credit Card");
    EXPECT_EQ(utf8(sheet.currencyMenu()->currentText()), "Euro (EUR)");
    EXPECT_EQ(utf8(sheet.startBalanceField()->text()), "-1,234.50");
    ASSERT_NE(sheet.activeCheckBox(), nullptr);
    EXPECT_TRUE(sheet.activeCheckBox()->isChecked());

    present(sheet);
    QSignalSpy changed(&sheet, &ui::AccountSheet::accountChanged);
    sheet.nameField()->selectAll();
    QTest::keyClicks(sheet.nameField(), QStringLiteral("Travel card"));
    choose(sheet.currencyMenu(), QStringLiteral("US Dollar (USD)"));
    confirm(sheet);

    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.front().front().value<objectstore::ManagedObject*>(), account.object());
    const auto saved = reloaded();
    const model::Account stored(in(*saved, account.object()));
    EXPECT_EQ(utf8(stored.name()), "Travel card");
    EXPECT_EQ(utf8(stored.currencyCode()), "USD");
    EXPECT_EQ(stored.startBalance(), amount("-1234.5"));
    EXPECT_FALSE(stored.isClosed());
    EXPECT_TRUE(posted.contains(QStringLiteral("RefreshAllViews")));
    EXPECT_TRUE(alerts.shown().empty());
}

TEST_F(AccountSheetTest, MakingAnAccountInactiveShowsTheTipOnlyOnce) {
    model::Account account = newAccount(QStringLiteral("Old savings"), QStringLiteral("savings"), "10");
    workspace.saveDatabase();
    const app::Alert tip{
        "You have made an account inactive.",
        "You can hide your inactive accounts by choosing View > Hide Inactive Accounts from the "
        "menu.",
        {}};

    auto deactivate = [&] {
        ui::AccountSheet sheet(workspace, sidebar, account, locale());
        present(sheet);
        ASSERT_TRUE(sheet.activeCheckBox()->isChecked());
        QTest::mouseClick(sheet.activeCheckBox(), Qt::LeftButton);
        confirm(sheet);
        EXPECT_TRUE(account.isClosed());
    };
    deactivate();
    ASSERT_EQ(alerts.shown().size(), 1u);
    EXPECT_EQ(alerts.last(), tip);
    EXPECT_FALSE(defaults.value(QStringLiteral("VTShouldShowInactiveTip")).toBool());

    {
        ui::AccountSheet reactivate(workspace, sidebar, account, locale());
        present(reactivate);
        EXPECT_FALSE(reactivate.activeCheckBox()->isChecked());
        QTest::mouseClick(reactivate.activeCheckBox(), Qt::LeftButton);
        confirm(reactivate);
        EXPECT_FALSE(account.isClosed());
    }
    deactivate();
    EXPECT_EQ(alerts.shown().size(), 1u);
    EXPECT_TRUE(model::Account(in(*reloaded(), account.object())).isClosed());
}

} // namespace
