#include "ui/ScheduledView.h"

#include "app/AppWorkspaceFixture.h"
#include "app/RegisterViewModel.h"
#include "app/StickyDate.h"
#include "model/ScheduledItem.h"
#include "ui/AmountLineEdit.h"
#include "ui/PaySheet.h"
#include "ui/ProjectionSheet.h"
#include "ui/RegisterTableModel.h"
#include "ui/RegisterView.h"
#include "ui/ScheduledEditorSheet.h"
#include "ui/ScheduledTableModel.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include <gmock/gmock.h>

#include <memory>

using namespace vantrel;
using testsupport::amount;
using testsupport::day;
using testsupport::utf8;
using ui::ScheduledTableModel;

namespace {

class ScheduledViewTest : public testsupport::AppWorkspaceFixture {
protected:
    ScheduledViewTest() {
        workspace.saveDatabase();
        view = std::make_unique<ui::ScheduledView>(workspace, nullptr, locale());
        tester = std::make_unique<QAbstractItemModelTester>(
            view->tableModel(), QAbstractItemModelTester::FailureReportingMode::Fatal);
        view->resize(900, 500);
    }

    void SetUp() override {
        view->show();
        QApplication::setActiveWindow(view.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    }

    template <typename Sheet>
    Sheet* openedSheet() {
        auto* sheet = view->findChild<Sheet*>();
        if (sheet == nullptr || !sheet->isVisible()) {
            return nullptr;
        }
        QApplication::setActiveWindow(sheet);
        EXPECT_TRUE(QTest::qWaitForWindowActive(sheet));
        return sheet;
    }

    static void typeInto(QLineEdit* field, const QString& text) {
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, text);
    }

    static void clickOk(QDialogButtonBox* buttons) {
        QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
    }

    std::string cell(int row, int column) const {
        return utf8(view->tableModel()->data(view->tableModel()->index(row, column)).toString());
    }

    std::vector<std::string> titleColumn() const {
        std::vector<std::string> titles;
        for (int row = 0; row < view->tableModel()->rowCount(); ++row) {
            titles.push_back(cell(row, ScheduledTableModel::Title));
        }
        return titles;
    }

    model::ScheduledItem onlyItem() const {
        const auto items = context.all(u"ScheduledItem");
        EXPECT_EQ(items.size(), 1U);
        return model::ScheduledItem(items.front());
    }

    model::ScheduledItem plannedItem(const QString& title, const char* value, const model::Day& due) {
        model::ScheduledItem item = model::ScheduledItem::insertInContext(context);
        item.setTitle(title);
        item.setAccount(checking.object());
        item.setAmount(amount(value));
        item.setNextDueDate(due);
        item.setRepeatType(QStringLiteral("Month"));
        item.setRepeatInterval(1);
        workspace.saveDatabase();
        view->reload();
        return item;
    }

    model::Account checking = newAccount(QStringLiteral("Checking"), QStringLiteral("checking"), "1000");
    std::unique_ptr<ui::ScheduledView> view;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

TEST_F(ScheduledViewTest, CreateAMonthlyPaymentPayItAndSeeItInTheRegisterAndMovedOn) {
    QSignalSpy badges(view.get(), &ui::ScheduledView::badgeCountChanged);
    EXPECT_TRUE(titleColumn().empty());
    EXPECT_EQ(utf8(view->statusLabel()->text()),
              "<b>Monthly Expense: </b><span style=\"color:gray\">$0.00</span>&nbsp;&nbsp;&nbsp;0 scheduled "
              "transactions");

    QTest::mouseClick(view->newButton(), Qt::LeftButton);
    auto* editor = openedSheet<ui::ScheduledEditorSheet>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(utf8(editor->windowTitle()), "New Scheduled Transaction");
    EXPECT_EQ(utf8(editor->buttons()->button(QDialogButtonBox::Ok)->text()), "Create");
    EXPECT_EQ(utf8(editor->titleField()->text()), "New Transaction");
    EXPECT_EQ(utf8(editor->repeatMenu()->currentText()), "Monthly");
    EXPECT_EQ(utf8(editor->intervalUnitLabel()->text()), "month");
    typeInto(editor->titleField(), QStringLiteral("Rent"));
    editor->amountField()->setFocus();
    QTest::keyClicks(editor->amountField(), QStringLiteral("1200"));
    clickOk(editor->buttons());
    QApplication::processEvents();

    EXPECT_THAT(titleColumn(), ::testing::ElementsAre("Due Now", "Rent"));
    EXPECT_EQ(cell(1, ScheduledTableModel::Due), "Today");
    EXPECT_EQ(cell(1, ScheduledTableModel::Amount), "-$1,200.00");
    EXPECT_EQ(cell(1, ScheduledTableModel::Account), "Checking");
    EXPECT_EQ(cell(1, ScheduledTableModel::Schedule), "↻ Monthly");
    EXPECT_THAT(utf8(view->statusLabel()->text()), ::testing::HasSubstr("-$1,200.00"));
    EXPECT_THAT(utf8(view->statusLabel()->text()), ::testing::HasSubstr("1 scheduled transaction"));
    ASSERT_FALSE(badges.isEmpty());
    EXPECT_EQ(badges.last().at(0).toInt(), 1);
    EXPECT_EQ(view->actionButton(0), nullptr);
    ASSERT_NE(view->actionButton(1), nullptr);
    EXPECT_EQ(utf8(view->actionButton(1)->text()), "Pay");

    QTest::mouseClick(view->actionButton(1), Qt::LeftButton);
    auto* pay = openedSheet<ui::PaySheet>();
    ASSERT_NE(pay, nullptr);
    EXPECT_EQ(utf8(pay->headingLabel()->text()), "Pay Rent");
    EXPECT_EQ(utf8(pay->dueLabel()->text()), "Due: 3/1/24");
    EXPECT_EQ(utf8(pay->amountField()->text()), "-1,200.00");
    EXPECT_EQ(utf8(pay->buttons()->button(QDialogButtonBox::Ok)->text()), "Pay");
    clickOk(pay->buttons());
    QApplication::processEvents();

    app::StickyDate sticky;
    ui::RegisterView registerView(workspace, sticky);
    registerView.setLocaleId(locale());
    registerView.showAccount(checking);
    const QAbstractItemModel* transactions = registerView.table()->model();
    ASSERT_EQ(transactions->rowCount(), 1);
    EXPECT_EQ(utf8(transactions->data(transactions->index(0, ui::RegisterTableModel::Amount)).toString()),
              "-$1,200.00");
    EXPECT_EQ(utf8(registerView.viewModel()->transactionAt(0).title()), "Rent");
    EXPECT_EQ(registerView.viewModel()->transactionAt(0).date(), day(2024, 3, 1));

    EXPECT_EQ(onlyItem().nextDueDate(), day(2024, 4, 1));
    EXPECT_THAT(titleColumn(), ::testing::ElementsAre("Later", "Rent"));
    EXPECT_EQ(cell(1, ScheduledTableModel::Due), "Apr 1");
    EXPECT_EQ(badges.last().at(0).toInt(), 0);
}

TEST_F(ScheduledViewTest, ButtonsFollowTheSelectionAndSkipAsksFirst) {
    const model::ScheduledItem rent = plannedItem(QStringLiteral("Rent"), "-1200", day(2024, 3, 1));
    plannedItem(QStringLiteral("Phone"), "-30", day(2024, 3, 4));
    EXPECT_THAT(titleColumn(), ::testing::ElementsAre("Due Now", "Rent", "Within 7 Days", "Phone"));
    EXPECT_FALSE(view->skipButton()->isEnabled());
    EXPECT_FALSE(view->deleteButton()->isEnabled());

    view->selectItem(rent.object()->id());
    EXPECT_TRUE(view->skipButton()->isEnabled());
    EXPECT_TRUE(view->editButton()->isEnabled());
    view->table()->selectAll();
    EXPECT_FALSE(view->skipButton()->isEnabled());
    EXPECT_FALSE(view->editButton()->isEnabled());
    EXPECT_TRUE(view->deleteButton()->isEnabled());

    view->selectItem(rent.object()->id());
    alerts.answer(QStringLiteral("Skip"));
    QTest::mouseClick(view->skipButton(), Qt::LeftButton);
    EXPECT_EQ(utf8(alerts.last().message),
              "Are you sure you want to skip the scheduled transaction \"Rent\"?");
    EXPECT_EQ(rent.nextDueDate(), day(2024, 4, 1));
    EXPECT_THAT(titleColumn(), ::testing::ElementsAre("Within 7 Days", "Phone", "Later", "Rent"));
    // The skipped item stays selected.
    ASSERT_EQ(view->selectedItems().size(), 1U);
    EXPECT_EQ(view->selectedItems().front(), rent);
}

TEST_F(ScheduledViewTest, DeleteKeyDeletesTheSelectionAfterConfirmation) {
    const model::ScheduledItem rent = plannedItem(QStringLiteral("Rent"), "-1200", day(2024, 3, 1));
    view->selectItem(rent.object()->id());
    alerts.answer(QStringLiteral("Delete"));
    QTest::keyClick(view->table(), Qt::Key_Delete);
    EXPECT_EQ(utf8(alerts.last().message),
              "Are you sure you want to delete the scheduled transaction \"Rent\"?");
    EXPECT_TRUE(titleColumn().empty());
    EXPECT_TRUE(reloaded()->all(u"ScheduledItem").empty());
}

TEST_F(ScheduledViewTest, ClickingTheStatusLineSwitchesToTheMonthlyNet) {
    plannedItem(QStringLiteral("Rent"), "-1200", day(2024, 3, 1));
    plannedItem(QStringLiteral("Salary"), "2000", day(2024, 3, 20));
    EXPECT_THAT(utf8(view->statusLabel()->text()), ::testing::HasSubstr("<b>Monthly Expense: </b>"));
    QTest::mouseClick(view->statusLabel(), Qt::LeftButton);
    EXPECT_EQ(utf8(view->statusLabel()->text()),
              "<b>Monthly Net: </b><span style=\"color:#1e8e3e\">$800.00</span>&nbsp;&nbsp;&nbsp;2 scheduled "
              "transactions");
    QTest::mouseClick(view->statusLabel(), Qt::LeftButton);
    EXPECT_THAT(utf8(view->statusLabel()->text()), ::testing::HasSubstr("<b>Monthly Expense: </b>"));
}

TEST_F(ScheduledViewTest, EditorSheetShowsTransferAndCustomDayRows) {
    newAccount(QStringLiteral("Savings"), QStringLiteral("savings"));
    const model::ScheduledItem rent = plannedItem(QStringLiteral("Rent"), "-1200", day(2024, 3, 1));
    view->selectItem(rent.object()->id());
    QTest::mouseClick(view->editButton(), Qt::LeftButton);
    auto* editor = openedSheet<ui::ScheduledEditorSheet>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(utf8(editor->windowTitle()), "Edit Scheduled Transaction");
    EXPECT_EQ(utf8(editor->buttons()->button(QDialogButtonBox::Ok)->text()), "Save");
    EXPECT_EQ(utf8(editor->accountLabel()->text()), "Account:");
    EXPECT_FALSE(editor->toAccountMenu()->isVisible());

    QTest::mouseClick(editor->transferBox(), Qt::LeftButton);
    EXPECT_EQ(utf8(editor->accountLabel()->text()), "From Account:");
    EXPECT_TRUE(editor->toAccountMenu()->isVisible());
    EXPECT_EQ(utf8(editor->toAccountMenu()->currentText()), "Savings");
    EXPECT_EQ(utf8(editor->amountField()->text()), "1,200.00");

    QTest::mouseClick(editor->customButton(), Qt::LeftButton);
    ASSERT_EQ(editor->ruleMenus().size(), 1U);
    EXPECT_EQ(utf8(editor->ruleMenus()[0]->currentText()), "1st day");
    auto* add = editor->findChild<QWidget*>(QStringLiteral("scheduledAddRule"));
    ASSERT_NE(add, nullptr);
    QTest::mouseClick(add, Qt::LeftButton);
    ASSERT_EQ(editor->ruleMenus().size(), 2U);
    editor->ruleMenus()[1]->setCurrentIndex(editor->ruleMenus()[1]->findText(QStringLiteral("15th day")));
    emit editor->ruleMenus()[1]->activated(editor->ruleMenus()[1]->currentIndex());

    clickOk(editor->buttons());
    QApplication::processEvents();
    EXPECT_TRUE(rent.isTransfer());
    EXPECT_EQ(rent.amount(), amount("-1200"));
    ASSERT_TRUE(rent.repeatRules().has_value());
    EXPECT_EQ(rent.repeatRules()->size(), 2U);
    EXPECT_EQ(cell(1, ScheduledTableModel::Account), "Checking → Savings");
    EXPECT_EQ(utf8(view->actionButton(1)->text()), "Transfer");
}

TEST_F(ScheduledViewTest, DoubleClickInTheProjectionShowsTheItemInTheList) {
    plannedItem(QStringLiteral("Phone"), "-30", day(2024, 3, 4));
    const model::ScheduledItem rent = plannedItem(QStringLiteral("Rent"), "-1200", day(2024, 3, 1));
    view->openProjection(checking);
    QPointer<ui::ProjectionSheet> sheet = openedSheet<ui::ProjectionSheet>();
    ASSERT_NE(sheet, nullptr);
    // Dies with the sheet's model.
    new QAbstractItemModelTester(sheet->table()->model(),
                                 QAbstractItemModelTester::FailureReportingMode::Fatal,
                                 sheet->table()->model());
    EXPECT_EQ(utf8(sheet->windowTitle()), "Projection for Checking");
    ASSERT_EQ(sheet->table()->model()->rowCount(), 73);
    EXPECT_EQ(utf8(sheet->table()->model()->index(0, 0).data().toString()), "Today");
    EXPECT_EQ(utf8(sheet->table()->model()->index(0, 3).data().toString()), "-$200.00");

    const QRect first = sheet->table()->visualRect(sheet->table()->model()->index(0, 1));
    // A double click starts with a press on the row, as the view tracks which row was pressed.
    QTest::mouseClick(sheet->table()->viewport(), Qt::LeftButton, {}, first.center());
    QTest::mouseDClick(sheet->table()->viewport(), Qt::LeftButton, {}, first.center());
    QApplication::processEvents();
    EXPECT_TRUE(sheet.isNull() || !sheet->isVisible());
    ASSERT_EQ(view->selectedItems().size(), 1U);
    EXPECT_EQ(view->selectedItems().front(), rent);
}

} // namespace
