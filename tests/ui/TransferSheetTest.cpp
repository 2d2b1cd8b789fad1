#include "ui/TransferSheet.h"

#include "app/AppWorkspaceFixture.h"
#include "model/TransferSetting.h"
#include "ui/AmountLineEdit.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gmock/gmock.h>

using namespace vantrel;
using testsupport::amount;
using testsupport::utf8;

namespace {

class TransferSheetTest : public testsupport::AppWorkspaceFixture {
protected:
    TransferSheetTest() {
        euros.setCurrencyCode(QStringLiteral("EUR"));
        workspace.saveDatabase();
    }

    static void present(ui::TransferSheet& sheet) {
        sheet.open();
        QApplication::setActiveWindow(&sheet);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&sheet));
    }

    // Picks the item in the menu's list as a click would.
    static void choose(QComboBox* menu, const QString& title) {
        const int index = menu->findText(title);
        ASSERT_GE(index, 0) << utf8(title);
        menu->showPopup();
        QAbstractItemView* list = menu->view();
        const QModelIndex item = list->model()->index(index, menu->modelColumn(), menu->rootModelIndex());
        list->scrollTo(item);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(item).center());
        ASSERT_EQ(utf8(menu->currentText()), utf8(title));
    }

    static void typeAmount(ui::TransferSheet& sheet, const QString& text) {
        sheet.amountField()->setFocus();
        sheet.amountField()->selectAll();
        QTest::keyClicks(sheet.amountField(), text);
    }

    static void confirm(ui::TransferSheet& sheet) {
        QTest::mouseClick(sheet.buttons()->button(QDialogButtonBox::Ok), Qt::LeftButton);
    }

    // The account's register as stored: amount (to the cent) and title of each transaction, newest first.
    std::vector<std::pair<std::string, std::string>> savedRegister(const model::Account& account) {
        const auto saved = reloaded();
        std::vector<std::pair<std::string, std::string>> lines;
        for (objectstore::ManagedObject* object :
             model::Account(in(*saved, account.object())).transactions()) {
            const model::Transaction transaction(object);
            lines.emplace_back(transaction.amount()->rounded(2).toStdString(), utf8(transaction.title()));
        }
        return lines;
    }

    model::Account savings = newAccount(QStringLiteral("Savings"), QStringLiteral("savings"));
    model::Account checking = newAccount(QStringLiteral("Checking"));
    model::Account euros = newAccount(QStringLiteral("Euro trip"));
};

TEST_F(TransferSheetTest, StartsFromDefaultsAndTransfersBetweenTheTwoRegisters) {
    ui::TransferSheet sheet(workspace, checking, locale());
    QStringList accounts;
    for (int index = 0; index < sheet.toMenu()->count(); ++index) {
        accounts.append(sheet.toMenu()->itemText(index));
    }
    EXPECT_EQ(accounts, (QStringList{"Savings", "Checking", "Euro trip"}));
    EXPECT_EQ(utf8(sheet.fromMenu()->currentText()), "Checking");
    EXPECT_EQ(utf8(sheet.toMenu()->currentText()), "Savings");
    EXPECT_EQ(utf8(sheet.categoryMenu()->currentText()), "Transfer");
    EXPECT_EQ(utf8(sheet.categoryMenu()->itemText(0)), "None");
    EXPECT_TRUE(sheet.amountField()->text().isEmpty());
    EXPECT_TRUE(sheet.titleField()->text().isEmpty());
    EXPECT_EQ(utf8(sheet.titleField()->placeholderText()), "To Savings");
    EXPECT_EQ(sheet.dateField()->date(), QDate(2024, 3, 1));

    present(sheet);
    QSignalSpy made(&sheet, &ui::TransferSheet::transferMade);
    typeAmount(sheet, QStringLiteral("100"));
    confirm(sheet);

    EXPECT_EQ(made.count(), 1);
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
    using Lines = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(savedRegister(checking), (Lines{{"-100.00", "To Savings"}}));
    EXPECT_EQ(savedRegister(savings), (Lines{{"100.00", "From Checking"}}));
    EXPECT_TRUE(savedRegister(euros).empty());
    const model::Transaction sent(checking.transactions().front());
    ASSERT_NE(sent.category(), nullptr);
    EXPECT_EQ(utf8(model::CategoryVT(sent.category()).name()), "Transfer");
    EXPECT_TRUE(posted.contains(QStringLiteral("RefreshAllViews")));
}

TEST_F(TransferSheetTest, TheChosenDestinationTitleAndDateAreUsedAndForeignAmountsConverted) {
    ui::TransferSheet sheet(workspace, checking, locale());
    present(sheet);
    choose(sheet.toMenu(), QStringLiteral("Euro trip"));
    EXPECT_EQ(utf8(sheet.titleField()->placeholderText()), "To Euro trip");
    choose(sheet.categoryMenu(), QStringLiteral("None"));
    typeAmount(sheet, QStringLiteral("100"));
    QTest::keyClicks(sheet.titleField(), QStringLiteral("Holiday money"));
    sheet.dateField()->setFocus();
    sheet.dateField()->setDate(QDate(2024, 2, 27));
    confirm(sheet);

    using Lines = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(savedRegister(checking), (Lines{{"-100.00", "Holiday money"}}));
    EXPECT_EQ(savedRegister(euros), (Lines{{"90.00", "Holiday money"}}));
    const model::Transaction received(euros.transactions().front());
    EXPECT_EQ(received.category(), nullptr);
    EXPECT_EQ(received.date(), testsupport::day(2024, 2, 27));
}

TEST_F(TransferSheetTest, AMissingOrUnreadableAmountIsRefusedAndNothingIsWritten) {
    ui::TransferSheet sheet(workspace, checking, locale());
    present(sheet);
    confirm(sheet);
    typeAmount(sheet, QStringLiteral("a lot"));
    confirm(sheet);

    ASSERT_EQ(alerts.shown().size(), 2u);
    EXPECT_EQ(alerts.shown()[0], (app::Alert{"Enter the amount to transfer.", QString(), {}}));
    EXPECT_EQ(alerts.shown()[1], (app::Alert{"\"a lot\" is not an amount.", QString(), {}}));
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_TRUE(checking.transactions().empty());
    EXPECT_TRUE(savings.transactions().empty());
}

TEST_F(TransferSheetTest, PickingAnotherAccountRefillsTheFieldsButKeepsATypedAmount) {
    checking.transfer(amount("40"), euros, nullptr, QStringLiteral("Pocket money"), std::nullopt, clock);
    workspace.saveDatabase();

    ui::TransferSheet sheet(workspace, checking, locale());
    EXPECT_EQ(utf8(sheet.toMenu()->currentText()), "Euro trip");
    EXPECT_EQ(utf8(sheet.amountField()->text()), "40.00");
    EXPECT_EQ(utf8(sheet.titleField()->text()), "Pocket money");
    EXPECT_EQ(utf8(sheet.categoryMenu()->currentText()), "None");

    present(sheet);
    choose(sheet.toMenu(), QStringLiteral("Savings"));
    EXPECT_TRUE(sheet.amountField()->text().isEmpty());
    EXPECT_TRUE(sheet.titleField()->text().isEmpty());
    EXPECT_EQ(utf8(sheet.titleField()->placeholderText()), "To Savings");
    EXPECT_EQ(utf8(sheet.categoryMenu()->currentText()), "Transfer");

    typeAmount(sheet, QStringLiteral("75"));
    choose(sheet.toMenu(), QStringLiteral("Euro trip"));
    EXPECT_EQ(utf8(sheet.titleField()->text()), "Pocket money");
    EXPECT_EQ(sheet.amountField()->value(), amount("75"));

    // Another source starts from its own last transfer (none here: the first other account), the
    // typed amount still kept.
    choose(sheet.fromMenu(), QStringLiteral("Savings"));
    EXPECT_EQ(utf8(sheet.toMenu()->currentText()), "Checking");
    EXPECT_EQ(sheet.amountField()->value(), amount("75"));
    choose(sheet.toMenu(), QStringLiteral("Checking"));
    confirm(sheet);

    using Lines = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(savedRegister(savings), (Lines{{"-75.00", "To Checking"}}));
    EXPECT_THAT(savedRegister(checking),
                ::testing::Contains(std::pair<std::string, std::string>{"75.00", "From Savings"}));
}

} // namespace
