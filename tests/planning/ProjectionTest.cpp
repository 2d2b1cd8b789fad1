#include "planning/Projection.h"

#include "planning/PlanningFixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using vantrel::model::Amount;
using vantrel::model::Day;
using vantrel::planning::Projection;
using vantrel::planning::UpcomingTransaction;
using vantrel::testsupport::amount;
using vantrel::testsupport::day;

namespace {

// "date payee amount currency balance" per row, amounts to cents: one line per row to compare a whole
// projection.
std::vector<std::string> rows(const std::vector<UpcomingTransaction>& projection) {
    std::vector<std::string> lines;
    for (const UpcomingTransaction& row : projection) {
        lines.push_back(QStringLiteral("%1 %2 %3 %4 %5")
                            .arg(row.date.toIsoString(), row.payee(), row.amount.rounded(2).toString(),
                                 row.amountCurrencyCode, row.runningBalance.rounded(2).toString())
                            .toStdString());
    }
    return lines;
}

class ProjectionTest : public vantrel::testsupport::PlanningFixture {
protected:
    void SetUp() override { useDollarAndEuroAccounts(); }

    const Day end = day(2024, 12, 31);
};

TEST_F(ProjectionTest, OccurrencesOfAllItemsComeInDateOrderWithOnlyItemAndDate) {
    auto rent = monthlyItem(*dollars, QStringLiteral("Rent"), "-800", day(2024, 4, 1));
    rent.setEndsAfter(2);
    oneTimeItem(*euros, QStringLiteral("Bonus"), "50", day(2024, 3, 20));
    auto gym = weeklyItem(*dollars, QStringLiteral("Gym"), "-10", day(2024, 3, 28), 2);
    gym.setEndsAfter(3);

    const auto occurrences = Projection::occurrencesUntil(context, end);
    std::vector<std::string> seen;
    for (const auto& occurrence : occurrences) {
        seen.push_back(
            QStringLiteral("%1 %2").arg(occurrence.date.toIsoString(), occurrence.payee()).toStdString());
        EXPECT_TRUE(occurrence.amount.isZero());
        EXPECT_TRUE(occurrence.amountCurrencyCode.isEmpty());
    }
    EXPECT_THAT(seen, ElementsAre("2024-03-20 Bonus", "2024-03-28 Gym", "2024-04-01 Rent", "2024-04-11 Gym",
                                  "2024-04-25 Gym", "2024-05-01 Rent"));
}

TEST_F(ProjectionTest, AllAccountsAddsEachOccurrenceInTheHomeCurrency) {
    auto salary = monthlyItem(*euros, QStringLiteral("Salary"), "90", day(2024, 4, 1));
    salary.setEndsAfter(3);
    auto phone = monthlyItem(*dollars, QStringLiteral("Phone"), "-30", day(2024, 4, 10));
    phone.setEndsAfter(2);

    // The euro deposit shows its own amount but moves the total by its dollar value (90 / 0.9).
    EXPECT_THAT(rows(Projection::allAccounts(context, end, amount("1000"))),
                ElementsAre("2024-04-01 Salary 90.00 EUR 1100.00", "2024-04-10 Phone -30.00 USD 1070.00",
                            "2024-05-01 Salary 90.00 EUR 1170.00", "2024-05-10 Phone -30.00 USD 1140.00",
                            "2024-06-01 Salary 90.00 EUR 1240.00"));
}

TEST_F(ProjectionTest, TransferAcrossCurrenciesShowsOnBothSidesButNotInTheTotal) {
    transferItem(*dollars, *euros, QStringLiteral("Savings"), "-100", day(2024, 4, 5));

    EXPECT_THAT(rows(Projection::forAccount(context, *dollars, end, dollars->balance())),
                ElementsAre("2024-04-05 Savings -100.00 USD 900.00"));
    EXPECT_THAT(rows(Projection::forAccount(context, *euros, end, euros->balance())),
                ElementsAre("2024-04-05 Savings 90.00 EUR 590.00"));
    EXPECT_THAT(rows(Projection::allAccounts(context, end, amount("1555.56"))),
                ElementsAre("2024-04-05 Savings -100.00 USD 1555.56"));
}

TEST_F(ProjectionTest, TransferIntoTheSameAccountLeavesItsBalance) {
    auto shuffle = transferItem(*dollars, *dollars, QStringLiteral("Shuffle"), "-40", day(2024, 4, 5));
    shuffle.setRepeatType(QStringLiteral("Month"));
    shuffle.setRepeatInterval(1);
    shuffle.setEndsAfter(2);

    EXPECT_THAT(
        rows(Projection::forAccount(context, *dollars, end, amount("1000"))),
        ElementsAre("2024-04-05 Shuffle -40.00 USD 1000.00", "2024-05-05 Shuffle -40.00 USD 1000.00"));
}

TEST_F(ProjectionTest, AccountProjectionKeepsOnlyItsOwnItems) {
    auto cash = newAccount(QStringLiteral("Cash"), QStringLiteral("cash"));
    cash.setCurrencyCode(QStringLiteral("USD"));
    oneTimeItem(cash, QStringLiteral("Lunch"), "-12", day(2024, 3, 18));
    transferItem(cash, *dollars, QStringLiteral("Deposit cash"), "-200", day(2024, 3, 19));
    oneTimeItem(*dollars, QStringLiteral("Refund"), "25", day(2024, 3, 21));
    oneTimeItem(*euros, QStringLiteral("Fee"), "-5", day(2024, 3, 22));

    EXPECT_THAT(
        rows(Projection::forAccount(context, *dollars, end, amount("10"))),
        ElementsAre("2024-03-19 Deposit cash 200.00 USD 210.00", "2024-03-21 Refund 25.00 USD 235.00"));
    EXPECT_THAT(
        rows(Projection::forAccount(context, cash, end, amount("0"))),
        ElementsAre("2024-03-18 Lunch -12.00 USD -12.00", "2024-03-19 Deposit cash -200.00 USD -212.00"));
}

TEST_F(ProjectionTest, EndDateAndEndsAfterBoundTheRows) {
    auto weekly = weeklyItem(*dollars, QStringLiteral("Lessons"), "-15", day(2024, 3, 18));
    weekly.setEndsAfter(3);
    EXPECT_THAT(rows(Projection::allAccounts(context, end, amount("0"))),
                ElementsAre("2024-03-18 Lessons -15.00 USD -15.00", "2024-03-25 Lessons -15.00 USD -30.00",
                            "2024-04-01 Lessons -15.00 USD -45.00"));

    weekly.setEndsAfter(std::nullopt);
    EXPECT_EQ(Projection::allAccounts(context, day(2024, 3, 31), amount("0")).size(), 2U);
    EXPECT_THAT(Projection::allAccounts(context, day(2024, 3, 17), amount("0")), IsEmpty());
}

} // namespace
