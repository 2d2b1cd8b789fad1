#include "ui/EditPanel.h"

#include "app/AppWorkspaceFixture.h"
#include "app/EditPanelModel.h"
#include "ui/AmountLineEdit.h"
#include "ui/CategoryField.h"
#include "ui/PayeeField.h"
#include "ui/SplitRowWidget.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

using namespace vantrel;
using testsupport::amount;
using testsupport::day;

namespace {

class EditPanelTest : public testsupport::AppWorkspaceFixture {
protected:
    EditPanelTest() { workspace.saveDatabase(); }

    // Focus only moves inside an active window.
    void open(const model::Transaction& transaction, bool isAdd = false, bool showsAccountPopup = false) {
        panel.setup(transaction, isAdd, showsAccountPopup);
        panel.show();
        panel.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&panel));
    }

    static void focus(QWidget* field) {
        field->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(field->hasFocus());
    }

    // Replaces the whole text of a field the way a user does: select all, type.
    static void retype(QLineEdit* field, const QString& text) {
        focus(field);
        field->selectAll();
        QTest::keyClicks(field, text);
    }

    model::Transaction matchedTransaction() {
        model::Transaction mine = newTransaction(account, "-42.10", QStringLiteral("Hardware"));
        model::Transaction bank = newTransaction(account, "-42.10");
        bank.setImported(true);
        bank.setOfxAmount(amount("-42.10"));
        bank.setOfxTitle(QStringLiteral("ACME HARDWARE"));
        bank.setOfxDate(day(2024, 2, 18));
        mine.matchWith(bank);
        workspace.saveDatabase();
        return mine;
    }

    model::Account account = newAccount(QStringLiteral("Checking"));
    objectstore::ManagedObject* food = newCategory(QStringLiteral("Food"));
    objectstore::ManagedObject* fuel = newCategory(QStringLiteral("Fuel"));
    ui::EditPanel panel{workspace, nullptr, locale()};
};

TEST_F(EditPanelTest, OpensWithThePayeeSelectedAndTheBankDataOfAMatchWhichCanBeUndone) {
    model::Transaction matched = matchedTransaction();
    matched.setCheckNumber(310);
    open(matched);

    EXPECT_TRUE(panel.payeeField()->hasFocus());
    EXPECT_EQ(panel.payeeField()->selectedText(), QStringLiteral("Hardware"));
    EXPECT_EQ(panel.dateField()->date(), QDate(2024, 2, 20));
    EXPECT_EQ(panel.checkNumberField()->text(), QStringLiteral("310"));
    EXPECT_EQ(panel.amountField()->text(), QStringLiteral("-42.10"));
    EXPECT_FALSE(panel.accountPopup()->isVisible());
    EXPECT_TRUE(panel.bankArea()->isVisible());
    EXPECT_EQ(panel.bankTitleLabel()->text(), QStringLiteral("ACME HARDWARE"));
    EXPECT_EQ(panel.bankDateLabel()->text(), QStringLiteral("Feb 18, 2024"));
    ASSERT_TRUE(panel.undoMatchButton()->isVisible());
    EXPECT_EQ(panel.undoMatchButton()->text(), QStringLiteral("Undo Match"));

    QSignalSpy undone(&panel, &ui::EditPanel::matchUndone);
    alerts.answer(QStringLiteral("Undo Match"));
    QTest::mouseClick(panel.undoMatchButton(), Qt::LeftButton);
    ASSERT_EQ(alerts.shown().size(), 1u);
    EXPECT_EQ(alerts.last().message, QStringLiteral("Are you sure you want to undo this match?"));
    EXPECT_EQ(alerts.last().informativeText,
              QStringLiteral("You will end up with the original pending transaction and the imported "
                             "transaction, which will be marked as new."));
    EXPECT_EQ(alerts.last().buttons, (QStringList{QStringLiteral("Undo Match"), QStringLiteral("Cancel")}));
    EXPECT_EQ(undone.count(), 1);
    EXPECT_TRUE(matched.isPending());
    EXPECT_FALSE(panel.bankArea()->isVisible());
}

TEST_F(EditPanelTest, ThePayeeCompletesInPlaceAndItsCategoryAndAccountFollowOnReturn) {
    model::Account savings = newAccount(QStringLiteral("Savings"));
    newTransaction(savings, "-12", QStringLiteral("Grocer Market"), food);
    model::Transaction added = model::Transaction::insertInContext(context, clock);
    added.setAccount(account.object());
    open(added, true, true);
    ASSERT_TRUE(panel.accountPopup()->isVisible());
    EXPECT_EQ(panel.accountPopup()->currentText(), QStringLiteral("Checking"));
    EXPECT_TRUE(panel.amountField()->text().isEmpty());

    QTest::keyClicks(panel.payeeField(), QStringLiteral("gro"));
    EXPECT_EQ(panel.payeeField()->text(), QStringLiteral("grocer Market"));
    EXPECT_EQ(panel.payeeField()->selectedText(), QStringLiteral("cer Market"));
    // Deleting takes the completed part away and does not bring it back.
    QTest::keyClick(panel.payeeField(), Qt::Key_Backspace);
    EXPECT_EQ(panel.payeeField()->text(), QStringLiteral("gro"));
    QTest::keyClick(panel.payeeField(), Qt::Key_Backspace);
    EXPECT_EQ(panel.payeeField()->text(), QStringLiteral("gr"));
    QTest::keyClicks(panel.payeeField(), QStringLiteral("o"));
    EXPECT_EQ(panel.payeeField()->text(), QStringLiteral("grocer Market"));

    QSignalSpy save(&panel, &ui::EditPanel::saveRequested);
    QTest::keyClick(panel.payeeField(), Qt::Key_Return);
    EXPECT_EQ(save.count(), 1);
    EXPECT_EQ(panel.payeeField()->text(), QStringLiteral("Grocer Market"));
    EXPECT_EQ(panel.categoryField()->lineEdit()->text(), QStringLiteral("Food"));
    EXPECT_EQ(panel.accountPopup()->currentText(), QStringLiteral("Savings"));
    ASSERT_TRUE(panel.chosenAccount());
    EXPECT_EQ(panel.chosenAccount()->object(), savings.object());
    const app::TransactionEdit edit = panel.fields();
    EXPECT_EQ(edit.title, QStringLiteral("Grocer Market"));
    EXPECT_EQ(edit.amount, model::Amount());
    EXPECT_EQ(edit.categoryLines, (std::vector<model::PlainSplit>{{food, model::Amount()}}));
}

TEST_F(EditPanelTest, TypedAmountsAssumeASpendingAndTheCategoryCompletesFromAPopup) {
    open(newTransaction(account, "-5", QStringLiteral("Kiosk")));
    QSignalSpy save(&panel, &ui::EditPanel::saveRequested);

    panel.amountField()->clear();
    focus(panel.amountField());
    EXPECT_EQ(panel.amountField()->text(), QStringLiteral("-"));
    QTest::keyClicks(panel.amountField(), QStringLiteral("12.5"));
    EXPECT_EQ(panel.amountField()->text(), QStringLiteral("-12.5"));

    QLineEdit* category = panel.categoryField()->lineEdit();
    focus(category);
    EXPECT_EQ(panel.amountField()->text(), QStringLiteral("-12.50"));
    QTest::keyClicks(category, QStringLiteral("fu"));
    QAbstractItemView* popup = panel.categoryField()->completer()->popup();
    ASSERT_TRUE(popup->isVisible());
    ASSERT_EQ(popup->model()->rowCount(), 1);
    EXPECT_EQ(popup->model()->index(0, 0).data().toString(), QStringLiteral("fuel"));
    popup->setCurrentIndex(popup->model()->index(0, 0));
    // Return picks the completion; it does not close the panel.
    QTest::keyClick(popup, Qt::Key_Return);
    EXPECT_FALSE(popup->isVisible());
    EXPECT_TRUE(QTest::qWaitFor([category] { return category->text() == QStringLiteral("Fuel"); }));
    EXPECT_EQ(save.count(), 0);

    QTest::keyClick(category, Qt::Key_Return);
    ASSERT_EQ(save.count(), 1);
    const app::TransactionEdit edit = panel.fields();
    EXPECT_EQ(edit.amount, amount("-12.50"));
    EXPECT_EQ(edit.categoryLines, (std::vector<model::PlainSplit>{{fuel, amount("-12.50")}}));
}

TEST_F(EditPanelTest, ReturnSavesUnlessAFieldHoldsNoNumberAndEscapeDiscards) {
    open(newTransaction(account, "-5", QStringLiteral("Kiosk")));
    QSignalSpy save(&panel, &ui::EditPanel::saveRequested);
    QSignalSpy discard(&panel, &ui::EditPanel::discardRequested);

    retype(panel.amountField(), QStringLiteral("12x"));
    QTest::keyClick(panel.notesField(), Qt::Key_Return);
    EXPECT_EQ(save.count(), 0);
    EXPECT_TRUE(panel.amountField()->hasFocus());

    retype(panel.amountField(), QStringLiteral("-7"));
    retype(panel.checkNumberField(), QStringLiteral("no"));
    QTest::keyClick(panel.checkNumberField(), Qt::Key_Return);
    EXPECT_EQ(save.count(), 0);
    retype(panel.checkNumberField(), QStringLiteral("1001"));

    retype(panel.notesField(), QStringLiteral("for the weekend"));
    QTest::keyClick(panel.notesField(), Qt::Key_Return);
    EXPECT_EQ(save.count(), 1);
    EXPECT_EQ(discard.count(), 0);
    const app::TransactionEdit edit = panel.fields();
    EXPECT_EQ(edit.amount, amount("-7"));
    EXPECT_EQ(edit.checkNumber, 1001);
    EXPECT_EQ(edit.notes, QStringLiteral("for the weekend"));

    QTest::keyClick(panel.dateField(), Qt::Key_Escape);
    EXPECT_EQ(discard.count(), 1);
    EXPECT_EQ(save.count(), 1);
}

TEST_F(EditPanelTest, SplittingShowsRowsWhoseUntouchedLastRowTakesTheRestUntilTypedInto) {
    open(newTransaction(account, "-100", QStringLiteral("Market"), food));
    QTest::mouseClick(panel.splitButton(), Qt::LeftButton);
    EXPECT_TRUE(panel.splitButton()->isChecked());
    EXPECT_FALSE(panel.categoryField()->isVisible());
    ASSERT_EQ(panel.splitRowWidgets().size(), 2u);
    ui::SplitRowWidget* first = panel.splitRowWidgets()[0];
    ui::SplitRowWidget* second = panel.splitRowWidgets()[1];
    EXPECT_EQ(first->categoryField()->lineEdit()->text(), QStringLiteral("Food"));
    EXPECT_EQ(first->amountField()->text(), QStringLiteral("-100.00"));
    EXPECT_TRUE(second->categoryField()->lineEdit()->text().isEmpty());
    EXPECT_TRUE(second->amountField()->text().isEmpty());
    // The first row's amount has the focus, its digits selected after the minus sign.
    ASSERT_TRUE(first->amountField()->hasFocus());
    EXPECT_EQ(first->amountField()->selectedText(), QStringLiteral("100.00"));

    QTest::keyClicks(first->amountField(), QStringLiteral("60.00"));
    EXPECT_EQ(second->amountField()->text(), QStringLiteral("-40.00"));
    EXPECT_FALSE(panel.remainderLabel()->isVisible());

    retype(second->amountField(), QStringLiteral("-30"));
    ASSERT_TRUE(panel.remainderLabel()->isVisible());
    EXPECT_EQ(panel.remainderLabel()->text(), QStringLiteral("-10.00"));
    retype(panel.amountField(), QStringLiteral("-120"));
    EXPECT_EQ(panel.remainderLabel()->text(), QStringLiteral("-30.00"));
    EXPECT_EQ(second->amountField()->text(), QStringLiteral("-30.00"));

    // A new row has not been typed into: it takes the remainder.
    QTest::mouseClick(second->addButton(), Qt::LeftButton);
    ASSERT_EQ(panel.splitRowWidgets().size(), 3u);
    EXPECT_EQ(panel.splitRowWidgets()[2]->amountField()->text(), QStringLiteral("-30.00"));
    EXPECT_FALSE(panel.remainderLabel()->isVisible());
    EXPECT_TRUE(panel.splitRowWidgets()[2]->categoryField()->lineEdit()->hasFocus());

    QTest::mouseClick(panel.splitRowWidgets()[1]->removeButton(), Qt::LeftButton);
    ASSERT_EQ(panel.splitRowWidgets().size(), 2u);
    const app::TransactionEdit edit = panel.fields();
    EXPECT_EQ(edit.amount, amount("-120"));
    EXPECT_EQ(edit.categoryLines,
              (std::vector<model::PlainSplit>{{food, amount("-60")}, {nullptr, amount("-60")}}));

    // Unsplitting keeps the first row's category.
    QTest::mouseClick(panel.splitButton(), Qt::LeftButton);
    EXPECT_FALSE(panel.splitButton()->isChecked());
    EXPECT_TRUE(panel.categoryField()->isVisible());
    EXPECT_TRUE(panel.splitRowWidgets().empty());
    EXPECT_EQ(panel.categoryField()->lineEdit()->text(), QStringLiteral("Food"));
    EXPECT_EQ(panel.fields().categoryLines, (std::vector<model::PlainSplit>{{food, amount("-120")}}));
}

TEST_F(EditPanelTest, TheCategoryMenuListsNoneTheCategoriesAndEditCategories) {
    open(newTransaction(account, "-5", QStringLiteral("Kiosk"), food));
    QSignalSpy edit(&panel, &ui::EditPanel::editCategoriesRequested);
    QMenu* menu = panel.categoryField()->menu();
    emit menu->aboutToShow();
    QStringList titles;
    for (QAction* action : menu->actions()) {
        titles.append(action->isSeparator() ? QStringLiteral("---") : action->text());
    }
    EXPECT_EQ(titles, (QStringList{QStringLiteral("None"), QStringLiteral("---"), QStringLiteral("Food"),
                                   QStringLiteral("Fuel"), QStringLiteral("---"),
                                   QStringLiteral("Edit Categories...")}));
    menu->actions()[3]->trigger();
    EXPECT_EQ(panel.categoryField()->lineEdit()->text(), QStringLiteral("Fuel"));
    EXPECT_EQ(panel.fields().categoryLines.front().category, fuel);
    menu->actions()[0]->trigger();
    EXPECT_EQ(panel.fields().categoryLines.front().category, nullptr);
    menu->actions().back()->trigger();
    EXPECT_EQ(edit.count(), 1);
}

} // namespace
