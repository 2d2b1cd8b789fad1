#include "ui/RegisterView.h"

#include "app/AppWorkspaceFixture.h"
#include "app/RegisterViewModel.h"
#include "app/StickyDate.h"
#include "ui/AmountLineEdit.h"
#include "ui/BatchEditSheet.h"
#include "ui/EditPanel.h"
#include "ui/PayeeField.h"
#include "ui/RegisterTableModel.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

using namespace vantrel;
using testsupport::amount;
using testsupport::day;
using testsupport::utf8;
using ui::RegisterTableModel;

namespace {

class RegisterViewTest : public testsupport::AppWorkspaceFixture {
protected:
    RegisterViewTest() {
        view.setLocaleId(locale());
        view.resize(900, 600);
    }

    void showAccount(const model::Account& account) {
        view.showAccount(account);
        view.show();
        view.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    }

    QTableView& table() const { return *view.table(); }
    QWidget* viewport() const { return view.table()->viewport(); }

    int rowOf(const model::Transaction& transaction) const {
        return static_cast<int>(view.viewModel()->rowOf(transaction).value());
    }

    QPoint cellCentre(int row, int column) const {
        return table().visualRect(table().model()->index(row, column)).center();
    }

    void clickRow(int row, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseClick(viewport(), Qt::LeftButton, modifiers, cellCentre(row, RegisterTableModel::Date));
    }

    std::string cell(int row, int column) const {
        return utf8(table().model()->data(table().model()->index(row, column)).toString());
    }

    void pressKey(QWidget* widget, Qt::Key key) {
        QTest::keyClick(widget, key);
        QApplication::processEvents();
    }

    // What a later session would find.
    std::vector<QString> savedTitles() const {
        std::vector<QString> titles;
        const auto saved = reloaded();
        for (objectstore::ManagedObject* object : saved->all(u"Transaction")) {
            titles.push_back(model::Transaction(object).title());
        }
        std::sort(titles.begin(), titles.end());
        return titles;
    }

    app::StickyDate sticky;
    ui::RegisterView view{workspace, sticky};
    model::Account checking = newAccount(QStringLiteral("Checking"), QStringLiteral("checking"), "100");
};

TEST_F(RegisterViewTest, StatusLineShowsTheBalanceThenTheCountAndTotalOfTheSelection) {
    const model::Transaction a = newTransaction(checking, "-12.50", QStringLiteral("a"));
    const model::Transaction b = newTransaction(checking, "-20", QStringLiteral("b"));
    const model::Transaction c = newTransaction(checking, "5", QStringLiteral("c"));
    showAccount(checking);
    EXPECT_EQ(utf8(view.statusText()), "Balance: $72.50");

    QSignalSpy selectionChanges(&view, &ui::RegisterView::selectionChanged);
    clickRow(rowOf(a));
    EXPECT_EQ(view.selectedTransactions().size(), 1u);
    EXPECT_EQ(utf8(view.statusText()), "Balance: $72.50");
    clickRow(rowOf(b), Qt::ControlModifier);
    EXPECT_EQ(utf8(view.statusText()), "2 Selected, -$32.50 Total");
    clickRow(rowOf(c), Qt::ControlModifier);
    EXPECT_EQ(view.selectedTransactions().size(), 3u);
    EXPECT_EQ(utf8(view.statusText()), "3 Selected, -$27.50 Total");
    EXPECT_GE(selectionChanges.count(), 2);
}

TEST_F(RegisterViewTest, ClickingTheStatusLineSwitchesToTheClearedBalanceAndBack) {
    model::Transaction pending = newTransaction(checking, "-20", QStringLiteral("pending"));
    pending.setFlagged(true);
    model::Transaction cleared = newTransaction(checking, "-10", QStringLiteral("cleared"));
    cleared.setFlagged(false);
    showAccount(checking);
    EXPECT_EQ(utf8(view.statusText()), "Balance: $70.00");
    EXPECT_TRUE(view.statusLabel()->toolTip().isEmpty());

    QTest::mouseClick(view.statusLabel(), Qt::LeftButton);
    EXPECT_EQ(utf8(view.statusText()), "Cleared Balance: $90.00");
    EXPECT_EQ(utf8(view.statusLabel()->toolTip()),
              "Cleared balance is the balance of this account excluding pending transactions. After "
              "reconciliation, the cleared balance should match the bank's balance.");
    QTest::mouseClick(view.statusLabel(), Qt::LeftButton);
    EXPECT_EQ(utf8(view.statusText()), "Balance: $70.00");
    EXPECT_TRUE(view.statusLabel()->toolTip().isEmpty());

    // All accounts: one overall balance, nothing to switch.
    view.showAllAccounts();
    EXPECT_EQ(utf8(view.statusText()), "Overall Balance: $70.00");
    QTest::mouseClick(view.statusLabel(), Qt::LeftButton);
    EXPECT_EQ(utf8(view.statusText()), "Overall Balance: $70.00");
}

TEST_F(RegisterViewTest, AnEmptyDatabaseShowsTheHintWhoseButtonAddsATransaction) {
    showAccount(checking);
    ASSERT_TRUE(view.showsEmptyHint());
    EXPECT_EQ(utf8(view.findChild<QLabel*>(QStringLiteral("emptyHintTitle"))->text()),
              "Add your first\ntransaction");
    EXPECT_EQ(utf8(view.findChild<QLabel*>(QStringLiteral("emptyHintMessage"))->text()),
              "A transaction can be an expense, income or transfer.\nBe sure to enter a category so you can "
              "analyze your\nspending later.");
    EXPECT_EQ(utf8(view.emptyHintButton()->text()), "Add a transaction");

    QTest::mouseClick(view.emptyHintButton(), Qt::LeftButton);
    EXPECT_FALSE(view.showsEmptyHint());
    EXPECT_EQ(context.count(u"Transaction"), 1u);
    EXPECT_EQ(table().model()->rowCount(), 1);
    ASSERT_TRUE(view.isEditing());
    EXPECT_EQ(model::Transaction(context.all(u"Transaction").front()).account(), checking.object());
}

TEST_F(RegisterViewTest, DeleteKeyAsksAndRemovesTheRowOnlyOnDelete) {
    newTransaction(checking, "-1", QStringLiteral("keep"));
    const model::Transaction doomed = newTransaction(checking, "-2", QStringLiteral("Dinner"));
    ASSERT_TRUE(context.save().succeeded());
    showAccount(checking);
    clickRow(rowOf(doomed));

    alerts.answer(QStringLiteral("Cancel"));
    pressKey(&table(), Qt::Key_Delete);
    ASSERT_EQ(alerts.shown().size(), 1u);
    EXPECT_EQ(utf8(alerts.last().message), "Are you sure you want to delete the transaction \"Dinner\"?");
    EXPECT_EQ(utf8(alerts.last().informativeText),
              "A deleted transaction will be permanently removed from its account.");
    EXPECT_EQ(alerts.last().buttons, (QStringList{QStringLiteral("Delete"), QStringLiteral("Cancel")}));
    EXPECT_EQ(table().model()->rowCount(), 2);
    EXPECT_EQ(savedTitles().size(), 2u);

    alerts.answer(QStringLiteral("Delete"));
    pressKey(&table(), Qt::Key_Delete);
    ASSERT_EQ(alerts.shown().size(), 2u);
    EXPECT_EQ(table().model()->rowCount(), 1);
    EXPECT_EQ(cell(0, RegisterTableModel::Description), "keep");
    EXPECT_EQ(savedTitles(), std::vector<QString>{QStringLiteral("keep")});
    // The row that took its place is selected.
    EXPECT_EQ(view.selectedTransactions().size(), 1u);
}

TEST_F(RegisterViewTest, DeletingSeveralRowsNamesTheirCount) {
    newTransaction(checking, "-1", QStringLiteral("one"));
    newTransaction(checking, "-2", QStringLiteral("two"));
    showAccount(checking);
    clickRow(0);
    clickRow(1, Qt::ShiftModifier);
    alerts.answer(QStringLiteral("Delete"));
    view.deleteSelection();
    EXPECT_EQ(utf8(alerts.last().message), "Are you sure you want to delete the selected 2 transactions?");
    EXPECT_TRUE(savedTitles().empty());
    EXPECT_TRUE(view.showsEmptyHint());
}

TEST_F(RegisterViewTest, ClickingAFlagCellTogglesTheFlagAndSavesWithoutSelecting) {
    model::Transaction transaction = newTransaction(checking, "-5", QStringLiteral("coffee"));
    transaction.setFlagged(false);
    ASSERT_TRUE(context.save().succeeded());
    showAccount(checking);
    const QModelIndex flag = table().model()->index(0, RegisterTableModel::Flag);
    EXPECT_EQ(utf8(flag.data(RegisterTableModel::FlagImageRole).toString()), "");

    QTest::mouseMove(viewport(), cellCentre(0, RegisterTableModel::Flag));
    QApplication::processEvents();
    EXPECT_EQ(utf8(flag.data(RegisterTableModel::FlagImageRole).toString()), "FlagPendingHover");
    QTest::mouseMove(viewport(), cellCentre(0, RegisterTableModel::Description));
    QApplication::processEvents();
    EXPECT_EQ(utf8(flag.data(RegisterTableModel::FlagImageRole).toString()), "");

    QTest::mouseClick(viewport(), Qt::LeftButton, {}, cellCentre(0, RegisterTableModel::Flag));
    EXPECT_TRUE(transaction.isPending());
    EXPECT_EQ(utf8(flag.data(RegisterTableModel::FlagImageRole).toString()), "FlagPending");
    EXPECT_TRUE(view.selectedTransactions().empty());
    EXPECT_TRUE(model::Transaction(in(*reloaded(), transaction.object())).isFlagged());
    EXPECT_EQ(utf8(view.statusText()), "Balance: $95.00");

    QTest::mouseClick(viewport(), Qt::LeftButton, {}, cellCentre(0, RegisterTableModel::Flag));
    EXPECT_FALSE(transaction.isPending());
    EXPECT_FALSE(model::Transaction(in(*reloaded(), transaction.object())).isFlagged());
}

TEST_F(RegisterViewTest, BatchEditOfTwoRowsRetitlesBothThroughTheSheet) {
    const model::Transaction a = newTransaction(checking, "-1", QStringLiteral("a"));
    const model::Transaction b = newTransaction(checking, "-2", QStringLiteral("b"));
    const model::Transaction other = newTransaction(checking, "-3", QStringLiteral("other"));
    showAccount(checking);
    view.selectTransactions({a, b});
    view.editSelection();

    auto* sheet = view.findChild<ui::BatchEditSheet*>();
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(utf8(sheet->subtitleLabel()->text()), "Modifying 2 transactions.");
    EXPECT_FALSE(view.isEditing());
    EXPECT_FALSE(sheet->changeBox(ui::BatchEditSheet::Field::Title)->isChecked());
    QTest::keyClicks(sheet->titleField(), QStringLiteral("Rent"));
    EXPECT_TRUE(sheet->changeBox(ui::BatchEditSheet::Field::Title)->isChecked());
    QTest::mouseClick(sheet->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
    QApplication::processEvents();

    EXPECT_EQ(utf8(a.title()), "Rent");
    EXPECT_EQ(utf8(b.title()), "Rent");
    EXPECT_EQ(utf8(other.title()), "other");
    EXPECT_EQ(savedTitles(), (std::vector<QString>{QStringLiteral("Rent"), QStringLiteral("Rent"),
                                                   QStringLiteral("other")}));
    EXPECT_EQ(cell(rowOf(a), RegisterTableModel::Description), "Rent");
    EXPECT_EQ(view.selectedTransactions().size(), 2u);
}

TEST_F(RegisterViewTest, DraggedRowsCarryTheSelectedTransactions) {
    const model::Transaction a = newTransaction(checking, "-1", QStringLiteral("a"));
    newTransaction(checking, "-2", QStringLiteral("b"));
    const model::Transaction c = newTransaction(checking, "-3", QStringLiteral("c"));
    ASSERT_TRUE(context.save().succeeded());
    showAccount(checking);
    EXPECT_TRUE(table().dragEnabled());
    clickRow(rowOf(a));
    clickRow(rowOf(c), Qt::ControlModifier);

    // What the table hands to a drag: the selected cells.
    const std::unique_ptr<QMimeData> mime(
        table().model()->mimeData(table().selectionModel()->selectedIndexes()));
    ASSERT_NE(mime, nullptr);
    const QStringList uris =
        QString::fromUtf8(mime->data(QString::fromLatin1(ui::RegisterView::kDraggedTransactionsType)))
            .split(u'\n');
    std::vector<objectstore::ManagedObject*> dragged;
    const auto other = reloaded();
    for (const QString& uri : uris) {
        const std::optional<objectstore::ObjectID> id = objectstore::ObjectID::fromText(uri, other->model());
        ASSERT_TRUE(id.has_value()) << utf8(uri);
        dragged.push_back(other->object(*id));
    }
    std::vector<objectstore::ManagedObject*> expected{in(*other, a.object()), in(*other, c.object())};
    if (rowOf(c) < rowOf(a)) {
        std::swap(expected[0], expected[1]);
    }
    EXPECT_EQ(dragged, expected);
}

TEST_F(RegisterViewTest, BalanceColumnFollowsTheToggleAndIsRemembered) {
    newTransaction(checking, "-1", QStringLiteral("a"));
    showAccount(checking);
    EXPECT_FALSE(view.isBalanceColumnShown());
    EXPECT_TRUE(table().isColumnHidden(RegisterTableModel::Balance));
    view.toggleBalanceColumn();
    EXPECT_FALSE(table().isColumnHidden(RegisterTableModel::Balance));
    EXPECT_TRUE(defaults.boolValue(QStringLiteral("VTShowBalanceColumn")));

    ui::RegisterView another(workspace, sticky);
    another.showAccount(checking);
    EXPECT_FALSE(another.table()->isColumnHidden(RegisterTableModel::Balance));
    another.showAllAccounts();
    EXPECT_TRUE(another.table()->isColumnHidden(RegisterTableModel::Balance));
}

// ---- The inline editor ---------------------------------------------------------------------------

class RegisterViewEditingTest : public RegisterViewTest {
protected:
    ui::EditPanel& panel() const { return *view.editPanel(); }

    void typeInto(QWidget* field, const QString& text) {
        field->setFocus();
        QApplication::processEvents();
        QTest::keyClicks(field, text);
    }
};

TEST_F(RegisterViewEditingTest, AnAddTypedIntoThePanelIsSavedOnReturn) {
    newTransaction(checking, "-20", QStringLiteral("Earlier"));
    ASSERT_TRUE(context.save().succeeded());
    showAccount(checking);
    view.toggleBalanceColumn();
    view.addTransaction();
    ASSERT_TRUE(view.isEditing());
    EXPECT_EQ(table().model()->rowCount(), 2);
    // Dated today, the new transaction is the newest.
    const int editedRow = 0;
    EXPECT_TRUE(view.viewModel()->transactionAt(0).title().isEmpty());
    EXPECT_EQ(table().columnSpan(editedRow, 0), RegisterTableModel::ColumnCount);
    EXPECT_GE(table().rowHeight(editedRow), panel().sizeHint().height());

    typeInto(panel().payeeField(), QStringLiteral("Coffee"));
    typeInto(panel().amountField(), QStringLiteral("4.50"));
    pressKey(panel().amountField(), Qt::Key_Return);

    ASSERT_FALSE(view.isEditing());
    EXPECT_EQ(table().columnSpan(editedRow, 0), 1);
    const std::vector<model::Transaction> selected = view.selectedTransactions();
    ASSERT_EQ(selected.size(), 1u);
    const int row = rowOf(selected.front());
    EXPECT_EQ(cell(row, RegisterTableModel::Description), "Coffee");
    EXPECT_EQ(cell(row, RegisterTableModel::Amount), "-$4.50");
    EXPECT_EQ(cell(row, RegisterTableModel::Balance), "$75.50");
    EXPECT_EQ(savedTitles(), (std::vector<QString>{QStringLiteral("Coffee"), QStringLiteral("Earlier")}));
    EXPECT_EQ(utf8(view.statusText()), "Balance: $75.50");
    EXPECT_TRUE(table().hasFocus());
}

TEST_F(RegisterViewEditingTest, EscapeOnAnAddRemovesIt) {
    showAccount(checking);
    view.addTransaction();
    ASSERT_TRUE(view.isEditing());
    typeInto(panel().payeeField(), QStringLiteral("Abandoned"));
    pressKey(panel().payeeField(), Qt::Key_Escape);

    EXPECT_FALSE(view.isEditing());
    EXPECT_EQ(context.count(u"Transaction"), 0u);
    EXPECT_TRUE(savedTitles().empty());
    EXPECT_TRUE(view.showsEmptyHint());
}

TEST_F(RegisterViewEditingTest, ReturnOnARowEditsItAndSelectingAnotherRowKeepsAndSavesTheChanges) {
    const model::Transaction first = newTransaction(checking, "-1", QStringLiteral("first"));
    const model::Transaction second = newTransaction(checking, "-2", QStringLiteral("second"));
    ASSERT_TRUE(context.save().succeeded());
    showAccount(checking);
    clickRow(rowOf(first));
    pressKey(&table(), Qt::Key_Return);
    ASSERT_TRUE(view.isEditing());

    auto* payee = panel().payeeField();
    payee->selectAll();
    typeInto(payee, QStringLiteral("renamed"));
    // A reload meanwhile ("RefreshAllViews") leaves the panel and its text alone.
    view.reload();
    ASSERT_TRUE(view.isEditing());
    EXPECT_EQ(utf8(panel().payeeField()->text()), "renamed");

    clickRow(rowOf(second));
    QApplication::processEvents();
    EXPECT_FALSE(view.isEditing());
    EXPECT_EQ(utf8(first.title()), "renamed");
    EXPECT_EQ(savedTitles(), (std::vector<QString>{QStringLiteral("renamed"), QStringLiteral("second")}));
    const std::vector<model::Transaction> selected = view.selectedTransactions();
    ASSERT_EQ(selected.size(), 1u);
    EXPECT_EQ(selected.front().object(), second.object());
}

} // namespace
