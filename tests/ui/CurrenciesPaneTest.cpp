#include "ui/CurrenciesPane.h"

#include "app/AppWorkspaceFixture.h"
#include "model/CurrencyList.h"
#include "ui/CategoriesPane.h"
#include "ui/CurrencyTableModel.h"
#include "ui/PreferencesWindow.h"

#include <QAbstractItemModelTester>
#include <QAbstractItemView>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include <gmock/gmock.h>

using namespace vantrel;
using ::testing::ElementsAre;
using testsupport::utf8;

namespace {

class CurrenciesPaneTest : public testsupport::AppWorkspaceFixture {
protected:
    CurrenciesPaneTest() {
        addCurrency("JPY", "Japanese Yen", "150");
        addCurrency("GBP", "British Pound", "0.79");
        workspace.saveDatabase();
    }

    // Each row as "name|code|rate".
    static std::vector<std::string> shownRows(const QTableView* table) {
        const QAbstractItemModel* model = table->model();
        std::vector<std::string> rows;
        for (int row = 0; row < model->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < model->columnCount(); ++column) {
                cells.append(model->index(row, column).data().toString());
            }
            rows.push_back(utf8(cells.join(QLatin1Char('|'))));
        }
        return rows;
    }

    static std::vector<std::string> headers(const QTableView* table) {
        std::vector<std::string> titles;
        for (int column = 0; column < table->model()->columnCount(); ++column) {
            titles.push_back(utf8(table->model()->headerData(column, Qt::Horizontal).toString()));
        }
        return titles;
    }

    static std::vector<std::string> menuTitles(const QComboBox* menu) {
        std::vector<std::string> titles;
        for (int index = 0; index < menu->count(); ++index) {
            titles.push_back(utf8(menu->itemText(index)));
        }
        return titles;
    }

    static void choose(QComboBox* menu, const QString& title) {
        const int index = menu->findText(title);
        ASSERT_GE(index, 0) << utf8(title);
        menu->showPopup();
        QAbstractItemView* list = menu->view();
        const QModelIndex item = list->model()->index(index, menu->modelColumn(), menu->rootModelIndex());
        list->scrollTo(item);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(item).center());
    }

    void setRatesUpdatedAt(const QDateTime& instant) {
        defaults.setValue(QString::fromLatin1(model::CurrencyList::kRatesUpdatedAtKey), instant);
    }
};

TEST_F(CurrenciesPaneTest, ListsTheOtherCurrenciesWithRatesInHomeCurrencyUnits) {
    ui::CurrenciesPane pane(workspace, locale());
    EXPECT_THAT(headers(pane.table()), ElementsAre("Currency", "Code", "Units per USD"));
    EXPECT_THAT(shownRows(pane.table()),
                ElementsAre("British Pound|GBP|0.79", "Euro|EUR|0.9", "Japanese Yen|JPY|150"));
    EXPECT_THAT(menuTitles(pane.homeCurrencyMenu()),
                ElementsAre("US Dollar", "British Pound", "Euro", "Japanese Yen"));
    EXPECT_EQ(utf8(pane.homeCurrencyMenu()->currentText()), "US Dollar");
    EXPECT_EQ(utf8(pane.lastUpdatedLabel()->text()), "Last Updated: Never");

    // New rates arrive and all views refresh.
    setRatesUpdatedAt(QDateTime(QDate(2024, 2, 29), QTime(8, 0), QTimeZone::utc()));
    model::Currency::withCode(context, QStringLiteral("GBP"))->setRate(testsupport::amount("0.8"));
    workspace.refreshAllViews();
    EXPECT_EQ(utf8(pane.lastUpdatedLabel()->text()), "Last Updated: Yesterday");
    EXPECT_EQ(shownRows(pane.table()).front(), "British Pound|GBP|0.8");
}

TEST_F(CurrenciesPaneTest, PickingAnotherHomeCurrencyRebasesTheTableAndSaves) {
    model::Account account = newAccount(QStringLiteral("Checking"), QStringLiteral("checking"), "100");
    workspace.saveDatabase();
    ui::CurrenciesPane pane(workspace, locale());
    QAbstractItemModelTester tester(pane.tableModel(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    pane.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&pane));
    posted.clear();

    choose(pane.homeCurrencyMenu(), QStringLiteral("Euro"));

    EXPECT_EQ(utf8(model::Global::sharedInstanceInContext(*reloaded()).homeCurrencyCode()), "EUR");
    EXPECT_THAT(headers(pane.table()), ElementsAre("Currency", "Code", "Units per EUR"));
    EXPECT_EQ(utf8(pane.table()->horizontalHeader()->model()->headerData(2, Qt::Horizontal).toString()),
              "Units per EUR");
    EXPECT_THAT(shownRows(pane.table()),
                ElementsAre("British Pound|GBP|0.8777777778", "Japanese Yen|JPY|166.6666666667",
                            "US Dollar|USD|1.1111111111"));
    EXPECT_THAT(menuTitles(pane.homeCurrencyMenu()),
                ElementsAre("Euro", "British Pound", "Japanese Yen", "US Dollar"));
    EXPECT_EQ(utf8(pane.homeCurrencyMenu()->currentText()), "Euro");
    EXPECT_EQ(posted, QStringList{"RefreshAllViews"});
    // Amounts stay as they were: the account in dollars is now foreign.
    EXPECT_EQ(utf8(account.currencyCode()), "USD");
    EXPECT_EQ(account.startBalance(), testsupport::amount("100"));

    // Picking the home currency again changes nothing.
    choose(pane.homeCurrencyMenu(), QStringLiteral("Euro"));
    EXPECT_EQ(posted, QStringList{"RefreshAllViews"});
}

TEST_F(CurrenciesPaneTest, ThePreferencesWindowOpensOnThePaneAskedFor) {
    ui::PreferencesWindow window(workspace, locale());
    ASSERT_EQ(window.tabs()->count(), 2);
    EXPECT_EQ(utf8(window.tabs()->tabText(0)), "Categories");
    EXPECT_EQ(utf8(window.tabs()->tabText(1)), "Currencies");

    window.showPane(ui::PreferencesWindow::Pane::Currencies);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.tabs()->currentWidget(), window.currenciesPane());
    EXPECT_EQ(window.currentPane(), ui::PreferencesWindow::Pane::Currencies);
    window.showPane(ui::PreferencesWindow::Pane::Categories);
    EXPECT_EQ(window.tabs()->currentWidget(), window.categoriesPane());
}

} // namespace
