#include "app/BreakdownViewModel.h"

#include "app/AppWorkspaceFixture.h"
#include "model/CategoryGroup.h"

#include <QFile>

#include <gmock/gmock.h>

using namespace vantrel;
using ::testing::ElementsAre;
using testsupport::amount;
using testsupport::day;
using testsupport::utf8;

namespace {

class BreakdownViewModelTest : public testsupport::AppWorkspaceFixture {
protected:
    BreakdownViewModelTest() { workspace.saveDatabase(); }

    // Dated in March 2024, the month the clock stands in.
    model::Transaction spend(const char* value, objectstore::ManagedObject* category, int dayOfMonth = 5,
                             const QString& title = QStringLiteral("Shop")) {
        return checking.createTransactionWithDate(day(2024, 3, dayOfMonth), title, amount(value), category,
                                                  QString(), std::nullopt, clock);
    }

    objectstore::ManagedObject* newGroup(const QString& name,
                                         std::initializer_list<objectstore::ManagedObject*> members) {
        model::CategoryGroup group = model::CategoryGroup::insertInContext(context);
        group.setName(name);
        for (objectstore::ManagedObject* category : members) {
            model::CategoryVT(category).setGroup(group.object());
        }
        return group.object();
    }

    app::BreakdownViewModel loaded() {
        app::BreakdownViewModel breakdown(workspace, locale());
        breakdown.reload();
        return breakdown;
    }

    static std::vector<std::string> legendNames(const app::BreakdownViewModel& breakdown) {
        std::vector<std::string> names;
        for (const app::BreakdownLegendRow& row : breakdown.legend()) {
            names.push_back(utf8(row.name));
        }
        return names;
    }

    static int rowNamed(const app::BreakdownViewModel& breakdown, const QString& name) {
        for (std::size_t row = 0; row < breakdown.legend().size(); ++row) {
            if (breakdown.legend()[row].name == name) {
                return static_cast<int>(row);
            }
        }
        ADD_FAILURE() << "no legend row " << utf8(name);
        return -1;
    }

    // Food -900 alone; Rent -200 and Utilities -100 in the group Home; Salary +3000.
    void householdMonth() {
        food = newCategory(QStringLiteral("Food"));
        rent = newCategory(QStringLiteral("Rent"));
        utilities = newCategory(QStringLiteral("Utilities"));
        salary = newCategory(QStringLiteral("Salary"));
        home = newGroup(QStringLiteral("Home"), {rent, utilities});
        spend("-900", food, 5, QStringLiteral("Groceries"));
        spend("-200", rent, 1, QStringLiteral("Landlord"));
        spend("-100", utilities, 10, QStringLiteral("Power"));
        spend("3000", salary, 15, QStringLiteral("Payroll"));
    }

    model::Account checking = newAccount(QStringLiteral("Checking"));
    objectstore::ManagedObject* food = nullptr;
    objectstore::ManagedObject* rent = nullptr;
    objectstore::ManagedObject* utilities = nullptr;
    objectstore::ManagedObject* salary = nullptr;
    objectstore::ManagedObject* home = nullptr;
};

TEST_F(BreakdownViewModelTest, TwelveCategoriesGiveEightSlicesAndOtherWithTheRestWhileTheLegendListsAll) {
    for (int index = 1; index <= 12; ++index) {
        const QString value = QStringLiteral("-%1").arg(index * 10);
        spend(value.toLatin1().constData(), newCategory(QStringLiteral("C%1").arg(index)));
    }
    const app::BreakdownViewModel breakdown = loaded();

    ASSERT_EQ(breakdown.slices().size(), 9U);
    std::vector<std::string> names;
    std::vector<std::string> colors;
    for (const app::BreakdownSlice& slice : breakdown.slices()) {
        names.push_back(utf8(slice.name));
        colors.push_back(utf8(slice.color));
    }
    EXPECT_THAT(names, ElementsAre("C12", "C11", "C10", "C9", "C8", "C7", "C6", "C5", "Other"));
    EXPECT_THAT(colors, ElementsAre("55B0E4", "FCD219", "E67BAB", "2BC89A", "EC992A", "B58FF2", "62C749",
                                    "EC7663", "D8D8D8"));
    EXPECT_FLOAT_EQ(breakdown.slices().front().value, -120.0F);
    const app::BreakdownSlice& other = breakdown.slices().back();
    EXPECT_TRUE(other.isOther);
    EXPECT_FLOAT_EQ(other.value, -100.0F); // 40 + 30 + 20 + 10
    EXPECT_EQ(other.keys.size(), 4U);

    EXPECT_THAT(legendNames(breakdown),
                ElementsAre("C12", "C11", "C10", "C9", "C8", "C7", "C6", "C5", "C4", "C3", "C2", "C1"));
    EXPECT_EQ(breakdown.legend()[0].amount, QStringLiteral("-$120.00"));
    EXPECT_EQ(breakdown.legend()[0].share, QStringLiteral("15%")); // 120 of 780
    EXPECT_EQ(breakdown.legend()[8].color, QStringLiteral("D8D8D8"));
    EXPECT_EQ(breakdown.legend()[11].amount, QStringLiteral("-$10.00"));
}

TEST_F(BreakdownViewModelTest, EightEntriesNeedNoOtherSlice) {
    for (int index = 1; index <= 8; ++index) {
        spend("-5", newCategory(QStringLiteral("C%1").arg(index)));
    }
    const app::BreakdownViewModel breakdown = loaded();
    ASSERT_EQ(breakdown.slices().size(), 8U);
    EXPECT_FALSE(breakdown.slices().back().isOther);
}

TEST_F(BreakdownViewModelTest, PeriodsMoveByOneMonthOrTwelveAndCarryTheirTitles) {
    app::BreakdownViewModel breakdown = loaded();
    EXPECT_EQ(breakdown.title(), QStringLiteral("March, 2024"));
    EXPECT_EQ(breakdown.period().from(), day(2024, 3, 1));
    EXPECT_EQ(breakdown.period().to(), day(2024, 3, 31));

    breakdown.showPrevious();
    breakdown.showPrevious();
    EXPECT_EQ(breakdown.title(), QStringLiteral("January, 2024"));
    breakdown.showPrevious();
    EXPECT_EQ(breakdown.title(), QStringLiteral("December, 2023"));
    EXPECT_EQ(breakdown.period().to(), day(2023, 12, 31));

    breakdown.setPeriod(app::BreakdownPeriod::year(2024));
    EXPECT_EQ(breakdown.title(), QStringLiteral("2024"));
    EXPECT_EQ(breakdown.period().from(), day(2024, 1, 1));
    EXPECT_EQ(breakdown.period().to(), day(2024, 12, 31));
    breakdown.showNext();
    EXPECT_EQ(breakdown.title(), QStringLiteral("2025"));
    breakdown.showPrevious();
    breakdown.showPrevious();
    EXPECT_EQ(breakdown.title(), QStringLiteral("2023"));
}

TEST_F(BreakdownViewModelTest, ThePeriodMenuOfAnEmptyDatabaseOffersOnlyTheCurrentMonthAndYear) {
    const app::BreakdownPeriodMenu menu = loaded().periodMenu();
    ASSERT_EQ(menu.years.size(), 1U);
    EXPECT_EQ(menu.years[0].title, QStringLiteral("2024"));
    EXPECT_EQ(menu.years[0].wholeYear.title, QStringLiteral("2024"));
    EXPECT_EQ(menu.years[0].wholeYear.period, app::BreakdownPeriod::year(2024));
    ASSERT_EQ(menu.years[0].months.size(), 1U);
    EXPECT_EQ(menu.years[0].months[0].title, QStringLiteral("March"));
    EXPECT_EQ(menu.years[0].months[0].period, app::BreakdownPeriod::month(day(2024, 3, 1)));
}

TEST_F(BreakdownViewModelTest, ThePeriodMenuListsEveryMonthOfTheHistoryNewestFirstPerYear) {
    checking.createTransactionWithDate(day(2023, 11, 30), QStringLiteral("Old"), amount("-1"), nullptr,
                                       QString(), std::nullopt, clock);
    checking.createTransactionWithDate(day(2024, 5, 2), QStringLiteral("Planned"), amount("-1"), nullptr,
                                       QString(), std::nullopt, clock);
    const app::BreakdownPeriodMenu menu = loaded().periodMenu();

    ASSERT_EQ(menu.years.size(), 2U);
    std::vector<std::string> months2024;
    for (const auto& item : menu.years[0].months) {
        months2024.push_back(utf8(item.title));
    }
    EXPECT_EQ(menu.years[0].title, QStringLiteral("2024"));
    EXPECT_THAT(months2024, ElementsAre("May", "April", "March", "February", "January"));
    EXPECT_EQ(menu.years[1].title, QStringLiteral("2023"));
    ASSERT_EQ(menu.years[1].months.size(), 2U);
    EXPECT_EQ(menu.years[1].months[0].title, QStringLiteral("December"));
    EXPECT_EQ(menu.years[1].months[1].period, app::BreakdownPeriod::month(day(2023, 11, 1)));
    EXPECT_EQ(menu.years[1].wholeYear.period, app::BreakdownPeriod::year(2023));
}

TEST_F(BreakdownViewModelTest, TotalsAndTheBarComeFromTheTopLevelOnBothSides) {
    householdMonth();
    app::BreakdownViewModel breakdown = loaded();
    EXPECT_EQ(breakdown.expenseText(), QStringLiteral("Expense: -$1,200.00"));
    EXPECT_EQ(breakdown.incomeText(), QStringLiteral("Income: $3,000.00"));
    EXPECT_FLOAT_EQ(breakdown.expenseShare(), 1200.0F / 4200.0F);
    EXPECT_FLOAT_EQ(breakdown.incomeShare(), 3000.0F / 4200.0F);
    EXPECT_EQ(breakdown.shownTotal(), QStringLiteral("-$1,200.00"));

    breakdown.showPrevious();
    EXPECT_EQ(breakdown.expenseText(), QStringLiteral("Expense: $0.00"));
    EXPECT_FLOAT_EQ(breakdown.expenseShare(), 0.0F);
    EXPECT_FLOAT_EQ(breakdown.incomeShare(), 0.0F);
    EXPECT_TRUE(breakdown.slices().empty());
}

TEST_F(BreakdownViewModelTest, SwitchingSidesShowsIncomeAndAnotherPeriodShowsExpenseAgain) {
    householdMonth();
    app::BreakdownViewModel breakdown = loaded();
    EXPECT_THAT(legendNames(breakdown), ElementsAre("Food", "Home"));
    EXPECT_EQ(breakdown.sideTitle(), QStringLiteral("Expense"));

    breakdown.setShowsIncome(true);
    EXPECT_EQ(breakdown.sideTitle(), QStringLiteral("Income"));
    EXPECT_THAT(legendNames(breakdown), ElementsAre("Salary"));
    EXPECT_FLOAT_EQ(breakdown.slices().front().value, 3000.0F);

    breakdown.setPeriod(app::BreakdownPeriod::year(2024));
    EXPECT_FALSE(breakdown.showsIncome());
    EXPECT_THAT(legendNames(breakdown), ElementsAre("Food", "Home"));
}

TEST_F(BreakdownViewModelTest, DrillingIntoAGroupShowsItsCategoriesAndItsShareOfTheTotal) {
    householdMonth();
    app::BreakdownViewModel breakdown = loaded();
    EXPECT_EQ(breakdown.breadcrumbMarkup(), QStringLiteral("All Categories"));
    const int homeRow = rowNamed(breakdown, QStringLiteral("Home"));
    EXPECT_TRUE(breakdown.legend()[static_cast<std::size_t>(homeRow)].isGroup);
    EXPECT_EQ(breakdown.legend()[static_cast<std::size_t>(homeRow)].hint,
              QStringLiteral("Double-click to see the categories of Home"));
    EXPECT_FALSE(breakdown.canDrillInto(rowNamed(breakdown, QStringLiteral("Food"))));
    EXPECT_FALSE(breakdown.drillInto(rowNamed(breakdown, QStringLiteral("Food"))));

    ASSERT_TRUE(breakdown.drillInto(homeRow));
    EXPECT_TRUE(breakdown.isDrilledIn());
    EXPECT_EQ(breakdown.drilledGroup(), home);
    EXPECT_EQ(breakdown.breadcrumbMarkup(), QStringLiteral("**Home** (25% of total)"));
    EXPECT_EQ(breakdown.sideTitle(), QStringLiteral("Expense"));
    EXPECT_THAT(legendNames(breakdown), ElementsAre("Rent", "Utilities"));
    EXPECT_EQ(breakdown.shownTotal(), QStringLiteral("-$300.00"));
    // The totals stay those of the whole period.
    EXPECT_EQ(breakdown.expenseText(), QStringLiteral("Expense: -$1,200.00"));
    // Categories inside a group lead nowhere further.
    EXPECT_FALSE(breakdown.drillInto(0));

    breakdown.reload();
    EXPECT_EQ(breakdown.breadcrumbMarkup(), QStringLiteral("**Home** (25% of total)"));

    breakdown.backToTop();
    EXPECT_FALSE(breakdown.isDrilledIn());
    EXPECT_EQ(breakdown.breadcrumbMarkup(), QStringLiteral("All Categories"));
    EXPECT_THAT(legendNames(breakdown), ElementsAre("Food", "Home"));
}

TEST_F(BreakdownViewModelTest, AGroupNameWithMarksIsShownAsTyped) {
    householdMonth();
    model::CategoryGroup(home).setName(QStringLiteral("*Home*"));
    app::BreakdownViewModel breakdown = loaded();
    ASSERT_TRUE(breakdown.drillInto(rowNamed(breakdown, QStringLiteral("*Home*"))));
    EXPECT_EQ(breakdown.breadcrumbMarkup(), QStringLiteral("**\\*Home\\*** (25% of total)"));
}

TEST_F(BreakdownViewModelTest, ADeletedGroupReturnsTheViewToTheTopLevel) {
    householdMonth();
    app::BreakdownViewModel breakdown = loaded();
    ASSERT_TRUE(breakdown.drillInto(rowNamed(breakdown, QStringLiteral("Home"))));
    context.deleteObject(home);
    breakdown.reload();
    EXPECT_FALSE(breakdown.isDrilledIn());
    EXPECT_THAT(legendNames(breakdown), ElementsAre("Food", "Rent", "Utilities"));
}

TEST_F(BreakdownViewModelTest, ReloadSavesFirst) {
    app::BreakdownViewModel breakdown(workspace, locale());
    spend("-5", newCategory(QStringLiteral("Fees")));
    ASSERT_TRUE(context.hasChanges());
    breakdown.reload();
    EXPECT_FALSE(context.hasChanges());
    EXPECT_THAT(legendNames(breakdown), ElementsAre("Fees"));
}

TEST_F(BreakdownViewModelTest, ASelectedEntryListsItsTransactionsNewestFirst) {
    householdMonth();
    spend("-40", food, 20, QStringLiteral("Market"));
    app::BreakdownViewModel breakdown = loaded();
    EXPECT_FALSE(breakdown.hasSelection());
    EXPECT_TRUE(breakdown.transactionRows().empty());

    breakdown.selectLegendRow(rowNamed(breakdown, QStringLiteral("Food")));
    EXPECT_EQ(breakdown.selectionTitle(), QStringLiteral("Food"));
    EXPECT_EQ(breakdown.selectedLegendRow(), 0);
    EXPECT_EQ(breakdown.selectedSlice(), 0);
    ASSERT_EQ(breakdown.transactionRows().size(), 2U);
    const app::BreakdownTransactionRow& newest = breakdown.transactionRows()[0];
    EXPECT_EQ(newest.date, QStringLiteral("Mar 20, 2024"));
    EXPECT_EQ(newest.title, QStringLiteral("Market"));
    EXPECT_EQ(newest.categories, QStringLiteral("Food"));
    EXPECT_EQ(newest.account, QStringLiteral("Checking"));
    EXPECT_EQ(newest.amount, QStringLiteral("-$40.00"));
    EXPECT_EQ(breakdown.transactionRows()[1].title, QStringLiteral("Groceries"));

    // A group stands for all of its categories.
    breakdown.selectLegendRow(rowNamed(breakdown, QStringLiteral("Home")));
    std::vector<std::string> titles;
    for (const auto& row : breakdown.transactionRows()) {
        titles.push_back(utf8(row.title));
    }
    EXPECT_THAT(titles, ElementsAre("Power", "Landlord"));
    EXPECT_FALSE(breakdown.canExportSelectedTransactions());

    // A new period forgets the selection.
    breakdown.showPrevious();
    EXPECT_FALSE(breakdown.hasSelection());
    EXPECT_TRUE(breakdown.transactionRows().empty());
}

TEST_F(BreakdownViewModelTest, TheOtherSliceSelectsTheRestTogether) {
    for (int index = 1; index <= 10; ++index) {
        spend(QStringLiteral("-%1").arg(index).toLatin1().constData(),
              newCategory(QStringLiteral("C%1").arg(index)), index, QStringLiteral("T%1").arg(index));
    }
    app::BreakdownViewModel breakdown = loaded();
    breakdown.selectSlice(8);
    EXPECT_EQ(breakdown.selectionTitle(), QStringLiteral("Other"));
    EXPECT_EQ(breakdown.selectedSlice(), 8);
    EXPECT_EQ(breakdown.selectedLegendRow(), std::nullopt);
    std::vector<std::string> titles;
    for (const auto& row : breakdown.transactionRows()) {
        titles.push_back(utf8(row.title));
    }
    EXPECT_THAT(titles, ElementsAre("T2", "T1"));
    EXPECT_FALSE(breakdown.canExportSelectedTransactions());

    // A legend row past the eighth is drawn in the Other slice.
    breakdown.selectLegendRow(9);
    EXPECT_EQ(breakdown.selectionTitle(), QStringLiteral("C1"));
    EXPECT_EQ(breakdown.selectedSlice(), 8);
}

TEST_F(BreakdownViewModelTest, TheSelectionSurvivesAReloadOnlyWhileItsEntryIsShown) {
    householdMonth();
    app::BreakdownViewModel breakdown = loaded();
    breakdown.selectLegendRow(rowNamed(breakdown, QStringLiteral("Food")));
    spend("-10", food, 21, QStringLiteral("Bakery"));
    breakdown.reload();
    ASSERT_TRUE(breakdown.hasSelection());
    EXPECT_EQ(breakdown.transactionRows().size(), 2U);

    for (objectstore::ManagedObject* transaction : std::vector(breakdown.selectedTransactions())) {
        context.deleteObject(transaction);
    }
    breakdown.reload();
    EXPECT_FALSE(breakdown.hasSelection());
    EXPECT_TRUE(breakdown.transactionRows().empty());
}

TEST_F(BreakdownViewModelTest, ExportsUseTheShownSideUngroupedAndTheSelectedCategory) {
    householdMonth();
    app::BreakdownViewModel breakdown = loaded();
    EXPECT_EQ(breakdown.breakdownExportFileName(), QStringLiteral("March, 2024 Expense Breakdown"));
    EXPECT_EQ(breakdown.breakdownExportText(),
              QStringLiteral("Category,Amount\n\"Food\",$-900\n\"Rent\",$-200\n\"Utilities\",$-100\n"));

    breakdown.setShowsIncome(true);
    EXPECT_EQ(breakdown.breakdownExportFileName(), QStringLiteral("March, 2024 Income Breakdown"));
    EXPECT_EQ(breakdown.breakdownExportText(), QStringLiteral("Category,Amount\n\"Salary\",$3000\n"));

    breakdown.setShowsIncome(false);
    breakdown.selectLegendRow(rowNamed(breakdown, QStringLiteral("Food")));
    ASSERT_TRUE(breakdown.canExportSelectedTransactions());
    EXPECT_EQ(breakdown.transactionsExportFileName(), QStringLiteral("Food"));
    EXPECT_EQ(breakdown.transactionsExportText(),
              QStringLiteral("Date,Payee,Note,Amount, Currency\n03/05/2024,\"Groceries\",,$-900, USD\n"));
}

TEST_F(BreakdownViewModelTest, SavingAnExportWritesACsvFileOrTellsWhyNot) {
    householdMonth();
    app::BreakdownViewModel breakdown = loaded();
    const QString path = folder.filePath(QStringLiteral("March"));
    ASSERT_TRUE(breakdown.saveBreakdownExport(path));
    QFile written(path + QStringLiteral(".csv"));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(written.readAll()), breakdown.breakdownExportText());
    EXPECT_TRUE(alerts.shown().empty());

    EXPECT_FALSE(breakdown.saveBreakdownExport(folder.filePath(QStringLiteral("missing/folder/March.csv"))));
    ASSERT_EQ(alerts.shown().size(), 1U);
    EXPECT_EQ(alerts.last().message, QStringLiteral("The export could not be saved."));
    EXPECT_FALSE(alerts.last().informativeText.isEmpty());
    EXPECT_TRUE(alerts.last().buttons.isEmpty());
}

} // namespace
