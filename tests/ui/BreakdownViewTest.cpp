#include "ui/BreakdownView.h"

#include "app/AppWorkspaceFixture.h"
#include "app/BreakdownViewModel.h"
#include "model/CategoryGroup.h"
#include "platform/NotificationNames.h"
#include "ui/BreadcrumbLabel.h"
#include "ui/BreakdownLegendModel.h"
#include "ui/BreakdownTransactionsModel.h"
#include "ui/IncomeExpenseBar.h"
#include "ui/PieChart.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include <gmock/gmock.h>

#include <memory>

using namespace vantrel;
using ::testing::ElementsAre;
using testsupport::amount;
using testsupport::day;
using testsupport::utf8;

namespace {

class BreakdownViewTest : public testsupport::AppWorkspaceFixture {
protected:
    // Food -900; Rent -200 and Utilities -100 in the group Home; Salary +3000; all in March 2024.
    BreakdownViewTest() {
        model::CategoryGroup group = model::CategoryGroup::insertInContext(context);
        group.setName(QStringLiteral("Home"));
        model::CategoryVT(rent).setGroup(group.object());
        model::CategoryVT(utilities).setGroup(group.object());
        spend("-900", food, 5, QStringLiteral("Groceries"));
        spend("-200", rent, 1, QStringLiteral("Landlord"));
        spend("-100", utilities, 10, QStringLiteral("Power"));
        spend("3000", salary, 15, QStringLiteral("Payroll"));
        workspace.saveDatabase();
    }

    void spend(const char* value, objectstore::ManagedObject* category, int dayOfMonth,
               const QString& title) {
        checking.createTransactionWithDate(day(2024, 3, dayOfMonth), title, amount(value), category,
                                           QString(), std::nullopt, clock);
    }

    // The view shown on the current month, its item models watched while they change.
    std::unique_ptr<ui::BreakdownView> openView() {
        auto view = std::make_unique<ui::BreakdownView>(workspace);
        view->setLocaleId(locale());
        legendTester = std::make_unique<QAbstractItemModelTester>(
            view->legendModel(), QAbstractItemModelTester::FailureReportingMode::Fatal);
        transactionsTester = std::make_unique<QAbstractItemModelTester>(
            view->transactionsModel(), QAbstractItemModelTester::FailureReportingMode::Fatal);
        view->resize(900, 700);
        view->reload();
        view->show();
        QApplication::setActiveWindow(view.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(view.get()));
        return view;
    }

    static std::vector<std::string> legendShown(const ui::BreakdownView& view) {
        std::vector<std::string> rows;
        const QAbstractItemModel* legend = view.legend()->model();
        for (int row = 0; row < legend->rowCount(); ++row) {
            rows.push_back(
                utf8(legend->index(row, ui::BreakdownLegendModel::NameColumn).data().toString()) + " " +
                utf8(legend->index(row, ui::BreakdownLegendModel::ShareColumn).data().toString()) + " " +
                utf8(legend->index(row, ui::BreakdownLegendModel::AmountColumn).data().toString()));
        }
        return rows;
    }

    static QPoint legendRowCentre(const ui::BreakdownView& view, int row) {
        return view.legend()->visualRect(view.legend()->model()->index(row, 0)).center();
    }

    static std::vector<std::string> transactionsShown(const ui::BreakdownView& view) {
        std::vector<std::string> rows;
        const QAbstractItemModel* list = view.transactions()->model();
        for (int row = 0; row < list->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < list->columnCount(); ++column) {
                cells.append(list->index(row, column).data().toString());
            }
            rows.push_back(utf8(cells.join(QStringLiteral(" | "))));
        }
        return rows;
    }

    model::Account checking = newAccount(QStringLiteral("Checking"));
    objectstore::ManagedObject* food = newCategory(QStringLiteral("Food"));
    objectstore::ManagedObject* rent = newCategory(QStringLiteral("Rent"));
    objectstore::ManagedObject* utilities = newCategory(QStringLiteral("Utilities"));
    objectstore::ManagedObject* salary = newCategory(QStringLiteral("Salary"));
    std::unique_ptr<QAbstractItemModelTester> legendTester;
    std::unique_ptr<QAbstractItemModelTester> transactionsTester;
};

TEST_F(BreakdownViewTest, OpensOnTheExpensesOfTheCurrentMonth) {
    const auto view = openView();
    EXPECT_EQ(view->periodButton()->text(), QStringLiteral("March, 2024"));
    EXPECT_TRUE(view->expenseButton()->isChecked());
    EXPECT_FALSE(view->incomeButton()->isChecked());
    EXPECT_THAT(legendShown(*view), ElementsAre("Food 75% -$900.00", "Home 25% -$300.00"));
    EXPECT_EQ(view->pie()->sliceCount(), 2);
    EXPECT_EQ(view->incomeLabel()->text(), QStringLiteral("Income: $3,000.00"));
    EXPECT_EQ(view->expenseLabel()->text(), QStringLiteral("Expense: -$1,200.00"));
    EXPECT_FLOAT_EQ(view->bar()->incomeShare(), 3000.0F / 4200.0F);
    EXPECT_TRUE(view->breadcrumb()->text().contains(QStringLiteral("Expense")));
    EXPECT_TRUE(view->breadcrumb()->text().contains(QStringLiteral("All Categories")));
    EXPECT_FALSE(view->breadcrumb()->isClickable());
    EXPECT_EQ(view->transactions()->model()->rowCount(), 0);
    EXPECT_FALSE(view->findChild<QToolButton*>(QStringLiteral("exportTransactions"))->isEnabled());
}

TEST_F(BreakdownViewTest, DoubleClickingAGroupDrillsInAndTheBreadcrumbLeadsBack) {
    const auto view = openView();
    // A user's double-click starts with a click; QTest's sends only the double-click event.
    QTest::mouseClick(view->legend()->viewport(), Qt::LeftButton, {}, legendRowCentre(*view, 1));
    QTest::mouseDClick(view->legend()->viewport(), Qt::LeftButton, {}, legendRowCentre(*view, 1));

    EXPECT_THAT(legendShown(*view), ElementsAre("Rent 67% -$200.00", "Utilities 33% -$100.00"));
    EXPECT_EQ(view->pie()->sliceCount(), 2);
    EXPECT_TRUE(view->breadcrumb()->text().contains(QStringLiteral("<b>Home</b> (25% of total)")));
    EXPECT_TRUE(view->breadcrumb()->isClickable());
    // Double-clicking a category inside the group changes nothing.
    QTest::mouseDClick(view->legend()->viewport(), Qt::LeftButton, {}, legendRowCentre(*view, 0));
    EXPECT_THAT(legendShown(*view), ElementsAre("Rent 67% -$200.00", "Utilities 33% -$100.00"));

    QTest::mouseClick(view->breadcrumb(), Qt::LeftButton);
    EXPECT_THAT(legendShown(*view), ElementsAre("Food 75% -$900.00", "Home 25% -$300.00"));
    EXPECT_TRUE(view->breadcrumb()->text().contains(QStringLiteral("All Categories")));
    EXPECT_FALSE(view->breadcrumb()->isClickable());
    // Clicking the breadcrumb at the top level does nothing.
    QTest::mouseClick(view->breadcrumb(), Qt::LeftButton);
    EXPECT_THAT(legendShown(*view), ElementsAre("Food 75% -$900.00", "Home 25% -$300.00"));
}

TEST_F(BreakdownViewTest, ClickingASliceOrALegendRowListsItsTransactionsBelow) {
    const auto view = openView();
    QTest::mouseClick(view->pie(), Qt::LeftButton, {}, view->pie()->sliceCenter(1));
    EXPECT_THAT(transactionsShown(*view),
                ElementsAre("Mar 10, 2024 | Power | Utilities | Checking | -$100.00",
                            "Mar 1, 2024 | Landlord | Rent | Checking | -$200.00"));
    EXPECT_EQ(view->legend()->currentIndex().row(), 1);
    EXPECT_EQ(view->pie()->sliceAt(view->pie()->sliceCenter(0)), 0);

    QTest::mouseClick(view->legend()->viewport(), Qt::LeftButton, {}, legendRowCentre(*view, 0));
    EXPECT_THAT(transactionsShown(*view),
                ElementsAre("Mar 5, 2024 | Groceries | Food | Checking | -$900.00"));
    EXPECT_TRUE(view->findChild<QToolButton*>(QStringLiteral("exportTransactions"))->isEnabled());

    // Double-clicking the group's slice drills in as the legend does.
    QTest::mouseDClick(view->pie(), Qt::LeftButton, {}, view->pie()->sliceCenter(1));
    EXPECT_THAT(legendShown(*view), ElementsAre("Rent 67% -$200.00", "Utilities 33% -$100.00"));
}

TEST_F(BreakdownViewTest, ThePeriodMenuAndTheArrowsChangeThePeriodAndShowExpenses) {
    const auto view = openView();
    QTest::mouseClick(view->incomeButton(), Qt::LeftButton);
    EXPECT_THAT(legendShown(*view), ElementsAre("Salary 100% $3,000.00"));
    EXPECT_TRUE(view->breadcrumb()->text().contains(QStringLiteral("Income")));

    QMenu* menu = view->periodButton()->menu();
    ASSERT_NE(menu, nullptr);
    emit menu->aboutToShow();
    ASSERT_EQ(menu->actions().size(), 1);
    QMenu* year = menu->actions().front()->menu();
    ASSERT_NE(year, nullptr);
    EXPECT_EQ(year->title(), QStringLiteral("2024"));
    QStringList items;
    for (QAction* action : year->actions()) {
        items.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    EXPECT_EQ(items, QStringList({QStringLiteral("2024"), QStringLiteral("-"), QStringLiteral("March")}));

    year->actions().front()->trigger();
    EXPECT_EQ(view->periodButton()->text(), QStringLiteral("2024"));
    EXPECT_TRUE(view->expenseButton()->isChecked());
    EXPECT_THAT(legendShown(*view), ElementsAre("Food 75% -$900.00", "Home 25% -$300.00"));

    QTest::mouseClick(view->previousButton(), Qt::LeftButton);
    EXPECT_EQ(view->periodButton()->text(), QStringLiteral("2023"));
    EXPECT_EQ(view->pie()->sliceCount(), 0);
    EXPECT_EQ(view->legend()->model()->rowCount(), 0);
    QTest::mouseClick(view->nextButton(), Qt::LeftButton);
    EXPECT_EQ(view->periodButton()->text(), QStringLiteral("2024"));
}

TEST_F(BreakdownViewTest, ExportsWriteTheFileChosenForTheProposedName) {
    const auto view = openView();
    QStringList proposed;
    view->setSavePathChooser([&](const QString& name) {
        proposed.append(name);
        return folder.filePath(name);
    });
    view->exportBreakdown();
    QFile breakdown(folder.filePath(QStringLiteral("March, 2024 Expense Breakdown.csv")));
    ASSERT_TRUE(breakdown.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(breakdown.readAll()),
              QStringLiteral("Category,Amount\n\"Food\",$-900\n\"Rent\",$-200\n\"Utilities\",$-100\n"));

    // Nothing selected: no file is asked for.
    view->exportSelectedTransactions();
    EXPECT_EQ(proposed.size(), 1);

    QTest::mouseClick(view->legend()->viewport(), Qt::LeftButton, {}, legendRowCentre(*view, 0));
    QTest::mouseClick(view->findChild<QToolButton*>(QStringLiteral("exportTransactions")), Qt::LeftButton);
    EXPECT_EQ(proposed.back(), QStringLiteral("Food"));
    QFile transactions(folder.filePath(QStringLiteral("Food.csv")));
    ASSERT_TRUE(transactions.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(transactions.readAll()),
              QStringLiteral("Date,Payee,Note,Amount, Currency\n03/05/2024,\"Groceries\",,$-900, USD\n"));
    EXPECT_TRUE(alerts.shown().empty());
}

TEST_F(BreakdownViewTest, ARefreshOfAllViewsRecomputesWhatIsShown) {
    const auto view = openView();
    spend("-50", newCategory(QStringLiteral("Books")), 12, QStringLiteral("Shop"));
    workspace.refreshAllViews();
    EXPECT_THAT(legendShown(*view),
                ElementsAre("Food 72% -$900.00", "Home 24% -$300.00", "Books 4% -$50.00"));
    EXPECT_FALSE(context.hasChanges());
}

} // namespace
