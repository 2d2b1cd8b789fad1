#include "app/ProjectionSheetModel.h"

#include "ScheduledItemFixture.h"

#include <gmock/gmock.h>

using namespace vantrel;
using app::ProjectionSheetModel;
using testsupport::amount;
using testsupport::day;
using testsupport::utf8;

namespace {

class ProjectionSheetModelTest : public testsupport::ScheduledItemFixture {
protected:
    ProjectionSheetModel projectionFor(const std::optional<model::Account>& account) {
        return ProjectionSheetModel(workspace, account, locale());
    }

    static std::vector<std::string> lines(const ProjectionSheetModel& projection) {
        std::vector<std::string> result;
        for (const ProjectionSheetModel::Row& row : projection.rows()) {
            result.push_back(utf8(row.dateText + QLatin1Char('|') + row.payee + QLatin1Char('|') +
                                  row.amountText + QLatin1Char('|') + row.balanceText));
        }
        return result;
    }
};

TEST_F(ProjectionSheetModelTest, AccountProjectionRunsTheBalanceInDateOrderWithRelativeDays) {
    newItem(QStringLiteral("Rent"), checking, "-100", day(2024, 3, 1)).setEndsAfter(3);
    newItem(QStringLiteral("Refund"), checking, "50", day(2024, 3, 2), nullptr);
    newItem(QStringLiteral("Late fee"), checking, "-5", day(2024, 2, 29), nullptr);
    newItem(QStringLiteral("Elsewhere"), savings, "-7", day(2024, 3, 3), nullptr);

    const ProjectionSheetModel projection = projectionFor(checking);
    EXPECT_EQ(utf8(projection.sheetTitle()), "Projection for Checking");
    EXPECT_EQ(projection.endDate(), day(2027, 3, 1));
    EXPECT_EQ(utf8(projection.startBalanceText()), "$1,000.00");
    EXPECT_THAT(lines(projection),
                ::testing::ElementsAre("Yesterday|Late fee|-$5.00|$995.00", "Today|Rent|-$100.00|$895.00",
                                       "Tomorrow|Refund|$50.00|$945.00", "Apr 1, 2024|Rent|-$100.00|$845.00",
                                       "May 1, 2024|Rent|-$100.00|$745.00"));
}

TEST_F(ProjectionSheetModelTest, LooksThirtySixMonthsAhead) {
    newItem(QStringLiteral("Gym"), checking, "-10", day(2024, 3, 15));
    newItem(QStringLiteral("Last day"), checking, "-1", day(2027, 3, 1), nullptr);
    newItem(QStringLiteral("Too late"), checking, "-1", day(2027, 3, 2), nullptr);

    const ProjectionSheetModel projection = projectionFor(checking);
    ASSERT_EQ(projection.rows().size(), 37U);
    EXPECT_EQ(utf8(projection.rows()[35].dateText), "Feb 15, 2027");
    EXPECT_EQ(utf8(projection.rows()[36].payee), "Last day");
    EXPECT_EQ(projection.rows()[36].balance, amount("639"));
}

TEST_F(ProjectionSheetModelTest, TransferShowsOnBothSidesInTheirCurrencyAndLeavesTheTotalAlone) {
    const model::ScheduledItem transfer =
        newTransfer(QStringLiteral("Saving"), checking, savings, "-100", day(2024, 3, 5));
    model::ScheduledItem(transfer).setEndsAfter(1);

    EXPECT_THAT(lines(projectionFor(checking)),
                ::testing::ElementsAre("Mar 5, 2024|Saving|-$100.00|$900.00"));
    EXPECT_THAT(lines(projectionFor(savings)), ::testing::ElementsAre("Mar 5, 2024|Saving|€90.00|€590.00"));

    const ProjectionSheetModel all = projectionFor(std::nullopt);
    EXPECT_EQ(utf8(all.sheetTitle()), "Projection for All Accounts");
    ASSERT_EQ(all.rows().size(), 1U);
    EXPECT_TRUE(all.rows()[0].isTransfer);
    EXPECT_EQ(all.rows()[0].balanceText, all.startBalanceText());
}

TEST_F(ProjectionSheetModelTest, AllAccountsAddForeignItemsInTheHomeCurrencyButShowTheirOwnAmount) {
    newItem(QStringLiteral("Interest"), savings, "90", day(2024, 3, 10)).setEndsAfter(1);
    newItem(QStringLiteral("Rent"), checking, "-40", day(2024, 3, 11), nullptr);

    const ProjectionSheetModel all = projectionFor(std::nullopt);
    const model::Amount start = model::Account::overallBalanceInContext(context);
    ASSERT_EQ(all.rows().size(), 2U);
    EXPECT_EQ(utf8(all.rows()[0].amountText), "€90.00");
    EXPECT_EQ(all.rows()[0].balance, start + amount("100"));
    EXPECT_EQ(all.rows()[1].balance, start + amount("60"));
    EXPECT_EQ(all.rows()[1].balanceText.left(1), QStringLiteral("$"));
}

} // namespace
