#include "app/BudgetEditModel.h"

#include "app/BudgetFixture.h"

#include <gmock/gmock.h>

using namespace vantrel;
using testsupport::day;
using testsupport::utf8;

namespace {

class BudgetEditModelTest : public testsupport::BudgetFixture {
protected:
    BudgetEditModelTest() {
        budget.setDidShowEndNotice(true);
        workspace.saveDatabase();
    }

    model::Budget saved() {
        m_other = reloaded();
        return model::Budget(in(*m_other, budget.object()));
    }

    model::Budget budget = householdBudget();

private:
    std::unique_ptr<objectstore::Context> m_other;
};

TEST_F(BudgetEditModelTest, ShowsTheBudgetAsStored) {
    const app::BudgetEditModel sheet(workspace, budget);
    EXPECT_EQ(utf8(sheet.name()), "Household");
    EXPECT_EQ(sheet.startDate(), day(2024, 2, 1));
    EXPECT_EQ(sheet.months(), 2);
}

TEST_F(BudgetEditModelTest, RenamingKeepsTheEndNoticeAsShown) {
    app::BudgetEditModel sheet(workspace, budget);
    sheet.setName(QStringLiteral("Late Winter"));
    sheet.save();

    EXPECT_EQ(utf8(saved().name()), "Late Winter");
    EXPECT_EQ(saved().startDate(), day(2024, 2, 1));
    EXPECT_TRUE(saved().didShowEndNotice());
    EXPECT_EQ(posted, QStringList{QStringLiteral("RefreshAllViews")});
}

TEST_F(BudgetEditModelTest, MovingTheStartResetsTheEndNoticeAndKeepsTheLength) {
    app::BudgetEditModel sheet(workspace, budget);
    sheet.setStartDate(day(2024, 3, 1));
    sheet.save();

    EXPECT_EQ(saved().startDate(), day(2024, 3, 1));
    EXPECT_FALSE(saved().didShowEndNotice());
    EXPECT_EQ(saved().months(), 2);
}

} // namespace
