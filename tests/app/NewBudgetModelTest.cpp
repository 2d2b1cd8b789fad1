#include "app/NewBudgetModel.h"

#include "app/BudgetFixture.h"
#include "platform/objectstore/Context.h"

#include <gmock/gmock.h>

using namespace vantrel;
using testsupport::amount;
using testsupport::day;
using testsupport::utf8;

namespace {

class NewBudgetModelTest : public testsupport::BudgetFixture {
protected:
    static constexpr auto kHelpKey = "VTShouldShowBudgetHelp";
};

TEST_F(NewBudgetModelTest, StartsWithTheCurrentMonth) {
    const app::NewBudgetModel sheet(workspace, locale());
    EXPECT_EQ(utf8(sheet.name()), "March, 2024");
    EXPECT_EQ(sheet.startDate(), day(2024, 3, 1));
    EXPECT_EQ(sheet.months(), 1);
}

TEST_F(NewBudgetModelTest, RefusesAPeriodShorterThanAMonth) {
    app::NewBudgetModel sheet(workspace, locale());
    sheet.setMonths(0);
    alerts.answer(QStringLiteral("OK"));

    EXPECT_EQ(sheet.create(), std::nullopt);
    ASSERT_EQ(alerts.shown().size(), 1u);
    EXPECT_EQ(utf8(alerts.last().message), "Invalid period");
    EXPECT_EQ(utf8(alerts.last().informativeText), "Period has to be at least one month.");
    EXPECT_EQ(alerts.last().buttons, QStringList{QStringLiteral("OK")});
    EXPECT_EQ(context.count(u"Budget"), 0u);
    EXPECT_TRUE(posted.isEmpty());
}

TEST_F(NewBudgetModelTest, CreatesASavedBudgetEstimatedFromHistory) {
    app::NewBudgetModel sheet(workspace, locale());
    sheet.setName(QStringLiteral("Spring"));
    sheet.setMonths(3);

    const auto created = sheet.create();
    ASSERT_TRUE(created.has_value());
    EXPECT_TRUE(sheet.createdFirstBudget());
    EXPECT_EQ(posted, QStringList{QStringLiteral("RefreshAllViews")});

    const auto other = reloaded();
    const model::Budget budget(other->object(*created));
    EXPECT_EQ(utf8(budget.name()), "Spring");
    EXPECT_EQ(budget.startDate(), day(2024, 3, 1));
    EXPECT_EQ(budget.months(), 3);
    EXPECT_EQ(budget.categoryLimits().size(), context.count(u"Category"));
    // Rent: -1000 over the 31 days from the first transaction (31 January) through today, times
    // the 92 days of March to May.
    EXPECT_EQ(budget.limitForCategory(in(*other, rent))->amount(), amount("-2968"));
    EXPECT_EQ(budget.limitForCategory(in(*other, gifts))->amount(), amount("0"));

    app::NewBudgetModel second(workspace, locale());
    ASSERT_TRUE(second.create().has_value());
    EXPECT_FALSE(second.createdFirstBudget());
}

TEST_F(NewBudgetModelTest, HelpSheetIsOfferedOnceWhileThePreferenceAsksForIt) {
    app::NewBudgetModel sheet(workspace, locale());
    EXPECT_FALSE(sheet.takeHelpSheetTurn());

    defaults.registerDefaults({{QString::fromLatin1(kHelpKey), true}});
    EXPECT_TRUE(sheet.takeHelpSheetTurn());
    EXPECT_FALSE(defaults.boolValue(QString::fromLatin1(kHelpKey)));
    EXPECT_FALSE(sheet.takeHelpSheetTurn());
}

} // namespace
