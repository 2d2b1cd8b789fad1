#include "app/TrendsViewModel.h"

#include "app/AppWorkspaceFixture.h"

#include <gmock/gmock.h>

using namespace vantrel;
using ::testing::ElementsAre;
using testsupport::amount;
using testsupport::day;
using testsupport::utf8;

namespace {

class TrendsViewModelTest : public testsupport::AppWorkspaceFixture {
protected:
    // Food -50 and Salary +200 in February 2024; the clock stands on 1 March 2024.
    TrendsViewModelTest() {
        add(day(2024, 2, 20), "-50", food);
        add(day(2024, 2, 25), "200", salary);
        workspace.saveDatabase();
    }

    void add(const model::Day& date, const char* value, objectstore::ManagedObject* category) {
        checking.createTransactionWithDate(date, QStringLiteral("Entry"), amount(value), category, QString(),
                                           std::nullopt, clock);
    }

    app::TrendsViewModel loaded() {
        app::TrendsViewModel trends(workspace, locale());
        trends.reload();
        return trends;
    }

    // Compared as amounts: a sum may carry more fraction digits than its value needs.
    static std::vector<model::Amount> values(const reports::TrendSeries& series) {
        std::vector<model::Amount> amounts;
        for (const reports::TrendPoint& point : series) {
            amounts.push_back(point.value);
        }
        return amounts;
    }

    QString cloudIDOf(objectstore::ManagedObject* category) { return model::CategoryVT(category).cloudID(); }

    QStringList stored() const {
        return defaults.value(QString::fromLatin1(reports::TrendsLegend::kSelectionKey)).toStringList();
    }

    model::Account checking = newAccount(QStringLiteral("Checking"), QStringLiteral("checking"), "1000");
    objectstore::ManagedObject* food = newCategory(QStringLiteral("Food"));
    objectstore::ManagedObject* salary = newCategory(QStringLiteral("Salary"));
};

TEST_F(TrendsViewModelTest, TheLegendOffersTheFixedSeriesAHeadingAndTheCategoriesWithBalanceCheckedAtFirst) {
    const app::TrendsViewModel trends = loaded();
    std::vector<std::string> rows;
    for (const app::TrendsLegendRow& row : trends.legendRows()) {
        rows.push_back(utf8(row.title) + " " + utf8(row.color) + (row.checked ? " [x]" : "") +
                       (row.isHeading() ? " (heading)" : ""));
    }
    EXPECT_THAT(rows, ElementsAre("Balance 55B0E4 [x]", "Income 62C749", "Expense EC7663",
                                  "Categories  (heading)", "Food B58FF2", "Salary FCD219"));
    EXPECT_EQ(trends.legendRows()[4].identifier, cloudIDOf(food));
    EXPECT_THAT(values(trends.series().at(QStringLiteral("balance"))),
                ElementsAre(amount("1150"), amount("1150")));
    EXPECT_EQ(trends.series().size(), 1U);
}

TEST_F(TrendsViewModelTest, CheckingASixthSeriesIsRefusedAndChangesNothing) {
    for (const char* name : {"Car", "Gifts", "Rent"}) {
        newCategory(QString::fromLatin1(name));
    }
    app::TrendsViewModel trends = loaded();
    const QString car = model::CategoryVT::findByName(context, QStringLiteral("Car"))->cloudID();
    const QString gifts = model::CategoryVT::findByName(context, QStringLiteral("Gifts"))->cloudID();
    for (const QString& identifier :
         {QStringLiteral("income"), QStringLiteral("expense"), car, cloudIDOf(food)}) {
        ASSERT_TRUE(trends.setChecked(identifier, true));
    }
    const QStringList five = trends.selection();
    ASSERT_EQ(five.size(), 5);
    EXPECT_EQ(stored(), five);

    EXPECT_FALSE(trends.setChecked(gifts, true));
    EXPECT_EQ(trends.selection(), five);
    EXPECT_EQ(stored(), five);
    EXPECT_EQ(trends.series().size(), 5U);
    EXPECT_EQ(trends.series().count(gifts), 0U);
    EXPECT_EQ(trends.chartData().lines.size(), 5U);
    for (const app::TrendsLegendRow& row : trends.legendRows()) {
        if (row.identifier == gifts) {
            EXPECT_FALSE(row.checked);
        }
    }
    // The heading is no series.
    EXPECT_FALSE(trends.setChecked(QString(), true));

    // With one unchecked, the refused one can be checked.
    ASSERT_TRUE(trends.setChecked(car, false));
    EXPECT_TRUE(trends.setChecked(gifts, true));
}

TEST_F(TrendsViewModelTest, TogglingComputesOrDropsOnlyThatSeriesWhileReloadRecomputesAll) {
    app::TrendsViewModel trends = loaded();
    add(day(2024, 3, 10), "-30", food);

    ASSERT_TRUE(trends.setChecked(QStringLiteral("expense"), true));
    EXPECT_THAT(values(trends.series().at(QStringLiteral("expense"))),
                ElementsAre(amount("-50"), amount("-30")));
    // The balance was not recomputed for the new transaction.
    EXPECT_THAT(values(trends.series().at(QStringLiteral("balance"))),
                ElementsAre(amount("1150"), amount("1150")));

    trends.reload();
    EXPECT_THAT(values(trends.series().at(QStringLiteral("balance"))),
                ElementsAre(amount("1150"), amount("1120")));
    EXPECT_EQ(trends.series().at(QStringLiteral("balance")).back().date, day(2024, 3, 10));

    ASSERT_TRUE(trends.setChecked(QStringLiteral("balance"), false));
    EXPECT_EQ(trends.series().count(QStringLiteral("balance")), 0U);
    EXPECT_THAT(trends.selection(), ElementsAre(QStringLiteral("expense")));
    EXPECT_THAT(stored(), ElementsAre(QStringLiteral("expense")));
}

TEST_F(TrendsViewModelTest, ACategorySeriesIsZeroInMonthsWithoutItsTransactions) {
    app::TrendsViewModel trends = loaded();
    ASSERT_TRUE(trends.setChecked(cloudIDOf(salary), true));
    EXPECT_THAT(values(trends.series().at(cloudIDOf(salary))), ElementsAre(amount("200"), amount("0")));
}

TEST_F(TrendsViewModelTest, TheChartHasAMonthLabelPerMonthALinePerSeriesAndARoundValueAxis) {
    app::TrendsViewModel trends = loaded();
    ASSERT_TRUE(trends.setChecked(QStringLiteral("expense"), true));
    const app::TrendsChartData chart = trends.chartData();

    EXPECT_THAT(chart.monthLabels, ElementsAre(QStringLiteral("Feb 2024"), QStringLiteral("Mar 2024")));
    ASSERT_EQ(chart.lines.size(), 2U);
    EXPECT_EQ(chart.lines[0].identifier, QStringLiteral("balance"));
    EXPECT_EQ(chart.lines[0].title, QStringLiteral("Balance"));
    EXPECT_EQ(chart.lines[0].color, QStringLiteral("55B0E4"));
    EXPECT_THAT(chart.lines[0].values, ElementsAre(1150.0, 1150.0));
    EXPECT_EQ(chart.lines[1].title, QStringLiteral("Expense"));
    EXPECT_EQ(chart.lines[1].color, QStringLiteral("EC7663"));
    EXPECT_THAT(chart.lines[1].values, ElementsAre(-50.0, 0.0));
    EXPECT_THAT(chart.lines[1].valueTexts, ElementsAre(QStringLiteral("-$50.00"), QStringLiteral("$0.00")));

    EXPECT_EQ(chart.valueAxis, (app::ChartAxisScale{-500, 1500, 500}));
    EXPECT_THAT(chart.valueLabels,
                ElementsAre(QStringLiteral("-$500"), QStringLiteral("$0"), QStringLiteral("$500"),
                            QStringLiteral("$1,000"), QStringLiteral("$1,500")));
    EXPECT_TRUE(chart.placeholder.isEmpty());
}

TEST_F(TrendsViewModelTest, WithNothingCheckedTheChartSaysWhatToDo) {
    app::TrendsViewModel trends = loaded();
    ASSERT_TRUE(trends.setChecked(QStringLiteral("balance"), false));
    const app::TrendsChartData chart = trends.chartData();
    EXPECT_TRUE(chart.lines.empty());
    EXPECT_EQ(chart.placeholder, QStringLiteral("Check up to 5 series in the list to draw them."));
    EXPECT_EQ(trends.legendHint(), QStringLiteral("Up to 5 series can be drawn at once."));
}

TEST_F(TrendsViewModelTest, ARememberedCategoryThatWasDeletedIsDroppedOnReload) {
    app::TrendsViewModel trends = loaded();
    ASSERT_TRUE(trends.setChecked(cloudIDOf(salary), true));
    context.deleteObject(salary);
    workspace.saveDatabase();
    trends.reload();
    EXPECT_THAT(trends.selection(), ElementsAre(QStringLiteral("balance")));
    EXPECT_EQ(trends.series().size(), 1U);
    EXPECT_EQ(trends.chartData().lines.size(), 1U);
}

} // namespace
