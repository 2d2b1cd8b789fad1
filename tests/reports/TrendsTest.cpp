#include "reports/Trends.h"

#include "ReportsFixture.h"
#include "model/Currency.h"
#include "platform/InternalError.h"
#include "reports/Breakdown.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace vantrel;
using model::Amount;
using model::Day;
using reports::TrendPoint;
using reports::Trends;
using reports::TrendSeries;
using testsupport::amount;
using testsupport::day;
using testsupport::utf8;

namespace {

class TrendsTest : public testsupport::ReportsFixture {
protected:
    void setToday(int year, int month, int dayOfMonth) {
        clock.setNow(QDateTime(QDate(year, month, dayOfMonth), QTime(12, 0), QTimeZone::utc()));
    }

    TrendSeries seriesOf(const QString& identifier) { return Trends::series(context, clock, identifier); }

    static std::vector<Day> datesOf(const TrendSeries& series) {
        std::vector<Day> dates;
        for (const TrendPoint& point : series) {
            dates.push_back(point.date);
        }
        return dates;
    }

    static std::vector<Amount> valuesOf(const TrendSeries& series) {
        std::vector<Amount> values;
        for (const TrendPoint& point : series) {
            values.push_back(point.value);
        }
        return values;
    }

    model::CategoryVT food = newCategory(QStringLiteral("Food"));
    model::CategoryVT salary = newCategory(QStringLiteral("Salary"));
};

TEST_F(TrendsTest, MonthsRunFromTheFirstTransactionToTodayAndTheBalanceEndsToday) {
    setToday(2024, 3, 10);
    dollars.setStartBalance(amount("100"));
    newTransaction(dollars, "-20", day(2024, 1, 15), {}, food.object());
    newTransaction(dollars, "-5", day(2024, 2, 29), {}, food.object());
    newTransaction(dollars, "-1", day(2024, 3, 10), {}, food.object());

    EXPECT_THAT(Trends::monthList(context, clock),
                ::testing::ElementsAre(day(2024, 1, 31), day(2024, 2, 29), day(2024, 3, 31)));
    const TrendSeries balance = seriesOf(QStringLiteral("balance"));
    EXPECT_THAT(datesOf(balance),
                ::testing::ElementsAre(day(2024, 1, 31), day(2024, 2, 29), day(2024, 3, 10)));
    EXPECT_THAT(valuesOf(balance), ::testing::ElementsAre(amount("80"), amount("75"), amount("74")));
    const TrendSeries expense = seriesOf(QStringLiteral("expense"));
    EXPECT_THAT(datesOf(expense),
                ::testing::ElementsAre(day(2024, 1, 31), day(2024, 2, 29), day(2024, 3, 31)));
    EXPECT_THAT(valuesOf(expense), ::testing::ElementsAre(amount("-20"), amount("-5"), amount("-1")));
}

TEST_F(TrendsTest, ALaterTransactionExtendsTheRangePastToday) {
    setToday(2024, 3, 10);
    newTransaction(dollars, "-20", day(2024, 5, 3), {}, food.object());

    EXPECT_THAT(datesOf(seriesOf(QStringLiteral("balance"))),
                ::testing::ElementsAre(day(2024, 3, 31), day(2024, 4, 30), day(2024, 5, 3)));
    EXPECT_THAT(valuesOf(seriesOf(QStringLiteral("balance"))),
                ::testing::ElementsAre(amount("0"), amount("0"), amount("-20")));
}

TEST_F(TrendsTest, AnEmptyDatabaseHasTheCurrentMonthWithTheStartingBalances) {
    dollars.setStartBalance(amount("100"));
    euros.setStartBalance(amount("9"));

    const auto all = Trends::series(
        context, clock,
        {QStringLiteral("balance"), QStringLiteral("income"), QStringLiteral("expense"), food.cloudID()});

    EXPECT_THAT(Trends::monthList(context, clock), ::testing::ElementsAre(day(2024, 3, 31)));
    EXPECT_THAT(all.at(QStringLiteral("balance")),
                ::testing::ElementsAre(TrendPoint{day(2024, 3, 15), amount("110")}));
    EXPECT_THAT(all.at(QStringLiteral("income")),
                ::testing::ElementsAre(TrendPoint{day(2024, 3, 31), amount("0")}));
    EXPECT_THAT(all.at(QStringLiteral("expense")),
                ::testing::ElementsAre(TrendPoint{day(2024, 3, 31), amount("0")}));
    EXPECT_THAT(all.at(food.cloudID()), ::testing::ElementsAre(TrendPoint{day(2024, 3, 31), amount("0")}));
}

TEST_F(TrendsTest, ACategoryCountsOnOneSideOfItsMonthByItsNetAmount) {
    newTransaction(dollars, "-50", day(2024, 2, 3), {}, salary.object());
    newTransaction(dollars, "80", day(2024, 2, 28), {}, salary.object());
    newTransaction(dollars, "-12", day(2024, 2, 8), {}, food.object());
    newTransaction(dollars, "-4", day(2024, 3, 1), {}, salary.object());

    EXPECT_THAT(valuesOf(seriesOf(QStringLiteral("income"))),
                ::testing::ElementsAre(amount("30"), amount("0")));
    EXPECT_THAT(valuesOf(seriesOf(QStringLiteral("expense"))),
                ::testing::ElementsAre(amount("-12"), amount("-4")));
    EXPECT_THAT(valuesOf(seriesOf(salary.cloudID())), ::testing::ElementsAre(amount("30"), amount("-4")));
    // No food in March: a zero point, not a missing one.
    EXPECT_THAT(valuesOf(seriesOf(food.cloudID())), ::testing::ElementsAre(amount("-12"), amount("0")));
}

TEST_F(TrendsTest, AnIdentifierNamingNoCategoryIsAProgrammingError) {
    EXPECT_THROW(seriesOf(QStringLiteral("no-such-category")), platform::InternalError);
    const QString gone = food.cloudID();
    context.deleteObject(food.object());
    EXPECT_THROW(Trends::series(context, clock, {QStringLiteral("balance"), gone}), platform::InternalError);
}

// A year of mixed activity in two currencies, with splits, transfers and a foreign category, checked
// against the period totals and the breakdown month by month.
class TrendsCrossCheckTest : public TrendsTest {
protected:
    TrendsCrossCheckTest() {
        setToday(2024, 6, 12);
        dollars.setStartBalance(amount("1000"));
        euros.setStartBalance(amount("250.55"));
        model::Account cash = accountIn(QStringLiteral("Cash"), QStringLiteral("USD"), "40");
        const char* amounts[] = {"-12.34", "2500", "-0.555", "-87.10", "13.07", "-0.01", "-410", "99.99"};
        int step = 0;
        for (Day date = day(2023, 11, 20); date.isOnOrBefore_vt(day(2024, 6, 12));
             date = date.daysLater_VT(3)) {
            const char* value = amounts[step % 8];
            objectstore::ManagedObject* category = (step % 3 == 0) ? food.object() : salary.object();
            if (step % 5 == 0) {
                split(step % 2 == 0 ? euros : dollars, date, {{food.object(), value}, {nullptr, "-3.333"}});
            } else if (step % 7 == 0) {
                dollars.transfer(amount("25"), euros, nullptr, QString(), date, clock);
            } else {
                model::Account& account = step % 2 == 0 ? euros : (step % 4 == 1 ? cash : dollars);
                newTransaction(account, value, date, {}, step % 11 == 0 ? nullptr : category);
            }
            ++step;
        }
    }
};

TEST_F(TrendsCrossCheckTest, SeriesComputedTogetherEqualSeriesComputedAlone) {
    const QStringList identifiers = {food.cloudID(), QStringLiteral("expense"), QStringLiteral("balance"),
                                     QStringLiteral("income"), salary.cloudID()};
    const auto together = Trends::series(context, clock, identifiers);
    ASSERT_EQ(together.size(), 5U);
    for (const QString& identifier : identifiers) {
        EXPECT_EQ(together.at(identifier), seriesOf(identifier)) << utf8(identifier);
        EXPECT_EQ(together.at(identifier).size(), 8U) << utf8(identifier);
    }
}

TEST_F(TrendsCrossCheckTest, EveryPointAgreesWithThePeriodTotalsOfItsMonth) {
    const auto all = Trends::series(
        context, clock,
        {QStringLiteral("balance"), QStringLiteral("income"), QStringLiteral("expense"), food.cloudID()});
    const std::vector<Day> months = Trends::monthList(context, clock);
    ASSERT_EQ(months.size(), 8U);
    bool sawIncome = false;
    bool sawExpense = false;
    for (std::size_t index = 0; index < months.size(); ++index) {
        const Day first = months[index].beginningOfMonth_vt();
        const Day last = months[index];
        // The balance runs on from the first month by each month's all-accounts total, each foreign
        // account's total converted on its own, rather than converting all history again every month.
        const TrendSeries& balances = all.at(QStringLiteral("balance"));
        const Amount expectedBalance =
            index == 0 ? model::Account::overallBalanceOnDate(context, balances[0].date)
                       : balances[index - 1].value +
                             model::Account::totalFromDate(context, balances[index - 1].date.daysLater_VT(1),
                                                           balances[index].date);
        EXPECT_EQ(balances[index].value, expectedBalance) << index;
        const Amount income = reports::CategoryBreakdown::incomeTotal(context, first, last);
        const Amount expense = reports::CategoryBreakdown::expenseTotal(context, first, last);
        EXPECT_EQ(all.at(QStringLiteral("income"))[index].value, income) << index;
        EXPECT_EQ(all.at(QStringLiteral("expense"))[index].value, expense) << index;
        EXPECT_EQ(all.at(food.cloudID())[index].value, food.amountFromDate(first, last).value_or(Amount()))
            << index;
        sawIncome = sawIncome || !income.isZero();
        sawExpense = sawExpense || !expense.isZero();
    }
    EXPECT_TRUE(sawIncome);
    EXPECT_TRUE(sawExpense);
}

} // namespace
