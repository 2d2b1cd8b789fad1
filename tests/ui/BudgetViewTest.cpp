#include "ui/BudgetView.h"

#include "app/BudgetFixture.h"
#include "ui/AmountLineEdit.h"
#include "ui/BudgetEditSheet.h"
#include "ui/BudgetHelpSheet.h"
#include "ui/BudgetTableModel.h"
#include "ui/EstimateEditorSheet.h"
#include "ui/NewBudgetSheet.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

#include <gmock/gmock.h>

#include <memory>

using namespace vantrel;
using ::testing::ElementsAre;
using testsupport::amount;
using testsupport::day;
using testsupport::utf8;
using Side = app::BudgetViewModel::Side;

namespace {

class BudgetViewTest : public testsupport::BudgetFixture {
protected:
    BudgetViewTest() {
        defaults.registerDefaults({{QStringLiteral("VTShouldShowBudgetHelp"), true}});
        view = new ui::BudgetView(workspace, locale(), &window);
        window.resize(1000, 800);
        view->resize(1000, 800);
        window.show();
        expenseTester = std::make_unique<QAbstractItemModelTester>(
            view->tableModel(Side::Expense), QAbstractItemModelTester::FailureReportingMode::Fatal);
        incomeTester = std::make_unique<QAbstractItemModelTester>(
            view->tableModel(Side::Income), QAbstractItemModelTester::FailureReportingMode::Fatal);
    }

    static void present(QDialog* sheet) {
        ASSERT_NE(sheet, nullptr);
        if (!sheet->isVisible()) {
            sheet->open();
        }
        QApplication::setActiveWindow(sheet);
        ASSERT_TRUE(QTest::qWaitForWindowActive(sheet));
    }

    static void retype(QWidget* field, const QString& text) {
        field->setFocus();
        if (auto* line = qobject_cast<QLineEdit*>(field)) {
            line->selectAll();
        } else if (auto* spin = qobject_cast<QAbstractSpinBox*>(field)) {
            spin->selectAll();
        }
        QTest::keyClicks(field, text);
    }

    // Clicks the default button; a sheet that closes is gone afterwards.
    static void confirm(QDialogButtonBox* buttons) {
        QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // "name|limit|actual" as the table shows them, members of a group indented.
    static std::vector<std::string> shownRows(const QTableView* table) {
        const QAbstractItemModel* model = table->model();
        std::vector<std::string> rows;
        for (int row = 0; row < model->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < ui::BudgetTableModel::ProgressColumn; ++column) {
                cells.append(model->index(row, column).data().toString());
            }
            rows.push_back(utf8(cells.join(QLatin1Char('|'))));
        }
        return rows;
    }

    static int rowNamed(const QTableView* table, const char* name) {
        const QAbstractItemModel* model = table->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            if (model->index(row, 0).data().toString() == QString::fromLatin1(name)) {
                return row;
            }
        }
        return -1;
    }

    static void clickCell(QTableView* table, int row, int column) {
        const QModelIndex index = table->model()->index(row, column);
        ASSERT_TRUE(index.isValid());
        table->scrollTo(index);
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(index).center());
    }

    // Creates the budget from 1 February for two months through the sheet, as a user does.
    void createThroughSheet() {
        auto* sheet = new ui::NewBudgetSheet(workspace, locale(), &window);
        sheet->setAttribute(Qt::WA_DeleteOnClose);
        QObject::connect(sheet, &ui::NewBudgetSheet::budgetCreated, view,
                         [this](const objectstore::ObjectID& id) { view->showBudget(id); });
        present(sheet);
        EXPECT_EQ(utf8(sheet->nameField()->text()), "March, 2024");
        EXPECT_EQ(sheet->monthsField()->value(), 1);
        retype(sheet->nameField(), QStringLiteral("Household"));
        retype(sheet->monthsField(), QStringLiteral("2"));
        sheet->startField()->setDate(QDate(2024, 2, 1));
        confirm(sheet->buttons());

        auto* help = window.findChild<ui::BudgetHelpSheet*>();
        ASSERT_NE(help, nullptr);
        ASSERT_TRUE(help->isVisible());
        EXPECT_EQ(utf8(help->windowTitle()), "Your Budget");
        EXPECT_EQ(utf8(help->findChild<QLabel*>(QStringLiteral("budgetHelpMessage"))->text()),
                  "Vantrel has generated a budget based on your transaction history.");
        confirm(help->findChild<QDialogButtonBox*>());
        EXPECT_EQ(window.findChild<ui::BudgetHelpSheet*>(), nullptr);
    }

    QWidget window;
    ui::BudgetView* view = nullptr;
    std::unique_ptr<QAbstractItemModelTester> expenseTester;
    std::unique_ptr<QAbstractItemModelTester> incomeTester;
};

TEST_F(BudgetViewTest, ABudgetCreatedThroughTheSheetShowsEstimatesAgainstWhatWasBooked) {
    createThroughSheet();

    // Each limit: the category's amount over the 31 days from 31 January to today, per day,
    // times the 60 days of February and March. Actuals are February and March only.
    EXPECT_EQ(utf8(view->nameLabel()->text()), "Household");
    EXPECT_THAT(shownRows(view->expenseTable()), ElementsAre("Living|-$4,314|-$1,230",  //
                                                             "Groceries|-$2,379|-$230", //
                                                             "Rent|-$1,935|-$1,000",    //
                                                             "Dining|-$252|-$130",      //
                                                             "Not Budgeted|$0|$0",      //
                                                             "Total|-$4,566|-$1,360"));
    // The net refund of Electronics made its estimate income.
    EXPECT_THAT(shownRows(view->incomeTable()), ElementsAre("Salary|$5,806|$3,000", //
                                                            "Electronics|$77|$40",  //
                                                            "Total|$5,883|$3,040"));
    EXPECT_EQ(utf8(view->expenseTable()
                       ->model()
                       ->headerData(ui::BudgetTableModel::ActualColumn, Qt::Horizontal)
                       .toString()),
              "Actual");
    EXPECT_EQ(utf8(view->expenseSegment()->text()), "Expense: -$4,566");
    EXPECT_EQ(utf8(view->incomeSegment()->text()), "Income: $5,883");
    EXPECT_EQ(utf8(view->daysLeftLabel()->text()), "31 Days Left");
    EXPECT_FALSE(defaults.boolValue(QStringLiteral("VTShouldShowBudgetHelp")));
}

TEST_F(BudgetViewTest, APeriodUnderAMonthKeepsTheSheetOpen) {
    auto* sheet = new ui::NewBudgetSheet(workspace, locale(), &window);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    present(sheet);
    retype(sheet->monthsField(), QStringLiteral("0"));
    alerts.answer(QStringLiteral("OK"));
    confirm(sheet->buttons());

    ASSERT_EQ(alerts.shown().size(), 1u);
    EXPECT_EQ(utf8(alerts.last().message), "Invalid period");
    EXPECT_EQ(utf8(alerts.last().informativeText), "Period has to be at least one month.");
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(context.count(u"Budget"), 0u);
    sheet->reject();
}

TEST_F(BudgetViewTest, ClickingALimitOpensTheEstimateEditorAndTheTableFollowsTheChange) {
    const model::Budget budget = householdBudget();
    view->showBudget(budget.object()->id());
    QTableView* expenses = view->expenseTable();

    clickCell(expenses, rowNamed(expenses, "Dining"), ui::BudgetTableModel::LimitColumn);
    auto* editor = view->findChild<ui::EstimateEditorSheet*>();
    present(editor);
    EXPECT_EQ(utf8(editor->windowTitle()), "Budget for Dining");
    EXPECT_EQ(utf8(editor->findChild<QLabel*>(QStringLiteral("estimateSubtitle"))->text()),
              "Set the estimated value for this category over the course of 2 months.");
    EXPECT_EQ(utf8(editor->amountField()->text()), "-100");
    retype(editor->amountField(), QStringLiteral("-150"));
    confirm(editor->buttons());

    EXPECT_THAT(shownRows(expenses), ElementsAre("Living|-$1,400|-$1,230", //
                                                 "Rent|-$1,000|-$1,000",   //
                                                 "Groceries|-$400|-$230",  //
                                                 "Dining|-$150|-$130",     //
                                                 "Electronics|-$50|$40",   //
                                                 "Not Budgeted|$0|$0",     //
                                                 "Total|-$1,600|-$1,320"));
    EXPECT_EQ(utf8(view->expenseSegment()->text()), "Expense: -$1,600");
    EXPECT_EQ(limitOf(budget, dining).amount(), amount("-150"));

    // Per month, the entry is multiplied by the two months; as income the row changes table.
    clickCell(expenses, rowNamed(expenses, "Dining"), ui::BudgetTableModel::LimitColumn);
    editor = view->findChild<ui::EstimateEditorSheet*>();
    present(editor);
    QTest::mouseClick(editor->perMonthButton(), Qt::LeftButton);
    EXPECT_EQ(utf8(editor->amountField()->text()), "-75");
    retype(editor->amountField(), QStringLiteral("40"));
    confirm(editor->buttons());
    EXPECT_EQ(rowNamed(expenses, "Dining"), -1);
    EXPECT_THAT(shownRows(view->incomeTable()), ElementsAre("Salary|$3,000|$3,000", //
                                                            "Dining|$80|-$130",     //
                                                            "Total|$3,080|$2,870"));
}

TEST_F(BudgetViewTest, ClickingRowsOpensGroupsAndListsTransactions) {
    view->showBudget(householdBudget().object()->id());
    QTableView* expenses = view->expenseTable();

    clickCell(expenses, rowNamed(expenses, "Living"), ui::BudgetTableModel::NameColumn);
    EXPECT_EQ(rowNamed(expenses, "Rent"), -1);
    clickCell(expenses, rowNamed(expenses, "Not Budgeted"), ui::BudgetTableModel::ActualColumn);
    EXPECT_NE(rowNamed(expenses, "Gifts"), -1);
    clickCell(expenses, rowNamed(expenses, "Living"), ui::BudgetTableModel::NameColumn);

    clickCell(expenses, rowNamed(expenses, "Groceries"), ui::BudgetTableModel::ActualColumn);
    EXPECT_EQ(utf8(view->transactionsTitle()->text()), "Transactions in Groceries");
    QTableWidget* list = view->transactionsTable();
    ASSERT_EQ(list->rowCount(), 2);
    EXPECT_EQ(utf8(list->item(0, 1)->text()), "Corner Shop");
    EXPECT_EQ(utf8(list->item(0, 3)->text()), "-$80.00");
    EXPECT_EQ(utf8(list->item(1, 1)->text()), "Market");

    // The list follows the row when the view is refreshed.
    workspace.refreshAllViews();
    EXPECT_EQ(list->rowCount(), 2);
    EXPECT_EQ(view->findChild<ui::EstimateEditorSheet*>(), nullptr);
}

TEST_F(BudgetViewTest, ClickingTheStatusSwitchesToTheEstimatedEndBalance) {
    view->showBudget(householdBudget().object()->id());
    QLabel* status = view->statusText();
    EXPECT_TRUE(status->text().startsWith(QStringLiteral("Estimated Savings: ")));
    EXPECT_TRUE(status->text().contains(QStringLiteral("$1,450")));
    EXPECT_TRUE(status->text().contains(QStringLiteral("#62C749")));
    EXPECT_TRUE(status->toolTip().isEmpty());

    QTest::mouseClick(status, Qt::LeftButton);
    EXPECT_TRUE(status->text().startsWith(QStringLiteral("Estimated End Balance: ")));
    EXPECT_TRUE(status->text().contains(QStringLiteral("$951")));
    EXPECT_FALSE(status->toolTip().isEmpty());
}

TEST_F(BudgetViewTest, EditBudgetRenamesItAndAnEndedBudgetSaysSoOnce) {
    const model::Budget budget = householdBudget();
    setToday(day(2024, 4, 3));
    view->showBudget(budget.object()->id());
    ASSERT_EQ(alerts.shown().size(), 1u);
    EXPECT_EQ(utf8(alerts.last().message), "This budget's period has ended");
    EXPECT_EQ(utf8(view->daysLeftLabel()->text()), "This budget's period has ended");
    EXPECT_EQ(utf8(view->incomeTable()
                       ->model()
                       ->headerData(ui::BudgetTableModel::ActualColumn, Qt::Horizontal)
                       .toString()),
              "Actual Income");

    QTest::mouseClick(view->editButton(), Qt::LeftButton);
    auto* sheet = view->findChild<ui::BudgetEditSheet*>();
    present(sheet);
    EXPECT_FALSE(sheet->monthsField()->isEnabled());
    retype(sheet->nameField(), QStringLiteral("Winter"));
    confirm(sheet->buttons());
    EXPECT_EQ(utf8(view->nameLabel()->text()), "Winter");

    view->showBudget(budget.object()->id());
    EXPECT_EQ(alerts.shown().size(), 1u);
}

} // namespace
