#include "planning/ScheduledSummary.h"

#include "planning/PlanningFixture.h"

#include <gtest/gtest.h>

using vantrel::model::Amount;
using vantrel::planning::ScheduledSummary;
using vantrel::testsupport::amount;
using vantrel::testsupport::day;

namespace {

using Mode = ScheduledSummary::Mode;

class ScheduledSummaryTest : public vantrel::testsupport::PlanningFixture {
protected:
    Amount summary(Mode mode) { return ScheduledSummary::summaryFor(mode, context); }

    vantrel::model::Account account = newAccount(QStringLiteral("Checking"));
};

TEST_F(ScheduledSummaryTest, MonthlyItemsCountTheirYearAndWeeklyItemsTheirMonth) {
    monthlyItem(account, QStringLiteral("Rent"), "-900", day(2024, 3, 31));
    EXPECT_EQ(summary(Mode::MonthlyExpense), amount("-900"));
    EXPECT_EQ(summary(Mode::AnnualExpense), amount("-10800"));

    // Fridays from 15 March to 14 April: 15, 22, 29 March, 5 and 12 April.
    weeklyItem(account, QStringLiteral("Lunch"), "-10", day(2024, 3, 15));
    EXPECT_EQ(summary(Mode::MonthlyExpense), amount("-950"));
    EXPECT_EQ(summary(Mode::AnnualNet), amount("-11400"));
}

TEST_F(ScheduledSummaryTest, IntervalsAndEndsAfterLowerTheCounts) {
    // Every other month: 6 of 12.
    monthlyItem(account, QStringLiteral("Water"), "-60", day(2024, 4, 2), 2);
    EXPECT_EQ(summary(Mode::MonthlyExpense), amount("-30"));

    // Only 3 payments left: 3 of 12.
    auto loan = monthlyItem(account, QStringLiteral("Loan"), "-400", day(2024, 4, 2));
    loan.setEndsAfter(3);
    EXPECT_EQ(summary(Mode::MonthlyExpense), amount("-130"));

    // Every other week over one month: 2 or 3 dates; 1 April, then 15 and 29 April.
    auto cleaning = weeklyItem(account, QStringLiteral("Cleaning"), "-25", day(2024, 4, 1), 2);
    EXPECT_EQ(summary(Mode::MonthlyExpense), amount("-205"));
    cleaning.setEndsAfter(1);
    EXPECT_EQ(summary(Mode::MonthlyExpense), amount("-155"));
}

TEST_F(ScheduledSummaryTest, ExpenseModesLeaveOutDepositsAndNoModeCountsTransfersOrOneTimeItems) {
    monthlyItem(account, QStringLiteral("Salary"), "3000", day(2024, 4, 1));
    monthlyItem(account, QStringLiteral("Rent"), "-1000", day(2024, 4, 1));
    auto savings = newAccount(QStringLiteral("Savings"));
    auto transfer = transferItem(account, savings, QStringLiteral("Save"), "-500", day(2024, 4, 1));
    transfer.setRepeatType(QStringLiteral("Month"));
    transfer.setRepeatInterval(1);
    oneTimeItem(account, QStringLiteral("Tax"), "-2000", day(2024, 4, 1));

    EXPECT_EQ(summary(Mode::MonthlyExpense), amount("-1000"));
    EXPECT_EQ(summary(Mode::MonthlyNet), amount("2000"));
    EXPECT_EQ(summary(Mode::AnnualExpense), amount("-12000"));
    EXPECT_EQ(summary(Mode::AnnualNet), amount("24000"));
}

TEST_F(ScheduledSummaryTest, AmountsAreAddedAsStoredWithoutConversion) {
    useDollarsAndEuros();
    auto euros = newAccount(QStringLiteral("Euro"));
    euros.setCurrencyCode(QStringLiteral("EUR"));
    monthlyItem(euros, QStringLiteral("Flat"), "-450", day(2024, 4, 1));
    monthlyItem(account, QStringLiteral("Phone"), "-50", day(2024, 4, 1));
    EXPECT_EQ(summary(Mode::MonthlyExpense), amount("-500"));
}

TEST_F(ScheduledSummaryTest, LabelsAndCountText) {
    EXPECT_EQ(ScheduledSummary::label(Mode::MonthlyExpense), QStringLiteral("Monthly Expense: "));
    EXPECT_EQ(ScheduledSummary::label(Mode::MonthlyNet), QStringLiteral("Monthly Net: "));
    EXPECT_EQ(ScheduledSummary::label(Mode::AnnualExpense), QStringLiteral("Annual Expense: "));
    EXPECT_EQ(ScheduledSummary::label(Mode::AnnualNet), QStringLiteral("Annual Net: "));
    EXPECT_EQ(ScheduledSummary::countText(0), QStringLiteral("0 scheduled transactions"));
    EXPECT_EQ(ScheduledSummary::countText(1), QStringLiteral("1 scheduled transaction"));
    EXPECT_EQ(ScheduledSummary::countText(12), QStringLiteral("12 scheduled transactions"));
}

} // namespace
