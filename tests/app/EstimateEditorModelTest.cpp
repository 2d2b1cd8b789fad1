#include "app/EstimateEditorModel.h"

#include "app/BudgetFixture.h"

#include <gmock/gmock.h>

using namespace vantrel;
using Effect = app::EstimateEditorModel::TableEffect;
using testsupport::amount;
using testsupport::day;
using testsupport::utf8;

namespace {

class EstimateEditorModelTest : public testsupport::BudgetFixture {
protected:
    app::EstimateEditorModel editorFor(const model::Budget& budget, objectstore::ManagedObject* category) {
        return app::EstimateEditorModel(workspace, limitOf(budget, category));
    }

    std::string savedAmount(const model::Budget& budget, objectstore::ManagedObject* category) {
        const auto other = reloaded();
        const model::Budget saved(in(*other, budget.object()));
        return saved.limitForCategory(in(*other, category))->amount()->toStdString();
    }
};

TEST_F(EstimateEditorModelTest, TitleNamesTheCategoryAndSubtitleThePeriod) {
    const model::Budget budget = householdBudget();
    EXPECT_EQ(utf8(editorFor(budget, groceries).title()), "Budget for Groceries");
    EXPECT_EQ(utf8(editorFor(makeBudget(day(2024, 3, 1), 1, {}), rent).subtitle()),
              "Set the estimated value for this category over the course of a month.");
    EXPECT_EQ(utf8(editorFor(makeBudget(day(2024, 1, 1), 12, {}), rent).subtitle()),
              "Set the estimated value for this category over the course of a year.");
    EXPECT_EQ(utf8(editorFor(budget, rent).subtitle()),
              "Set the estimated value for this category over the course of 2 months.");
    EXPECT_EQ(utf8(editorFor(budget, rent).currencyCode()), "USD");
}

TEST_F(EstimateEditorModelTest, EnteredAmountsAreRoundedToWholeUnits) {
    app::EstimateEditorModel editor = editorFor(householdBudget(), groceries);
    EXPECT_EQ(editor.shownAmount(), amount("-400"));
    editor.setShownAmount(amount("-12.5"));
    EXPECT_EQ(editor.shownAmount(), amount("-13"));
    editor.setShownAmount(amount("12.49"));
    EXPECT_EQ(editor.shownAmount(), amount("12"));
}

TEST_F(EstimateEditorModelTest, PerMonthModeDividesForShowingAndMultipliesForSaving) {
    const model::Budget budget = makeBudget(day(2024, 3, 1), 4, {{groceries, "-1002"}});
    app::EstimateEditorModel editor = editorFor(budget, groceries);
    EXPECT_FALSE(editor.showMonthlyAmount());

    // -250.5 a month rounds away from zero.
    editor.setShowMonthlyAmount(true);
    EXPECT_EQ(editor.shownAmount(), amount("-251"));
    EXPECT_EQ(editor.amountToSave(), amount("-1004"));
    editor.setShownAmount(amount("-300"));
    EXPECT_EQ(editor.amountToSave(), amount("-1200"));

    // Back to the period: the monthly figure times the months.
    editor.setShowMonthlyAmount(false);
    EXPECT_EQ(editor.shownAmount(), amount("-1200"));
    editor.setShowMonthlyAmount(true);
    editor.save();
    EXPECT_EQ(savedAmount(budget, groceries), "-1200");

    // The mode is remembered with the limit.
    const app::EstimateEditorModel reopened = editorFor(budget, groceries);
    EXPECT_TRUE(reopened.showMonthlyAmount());
    EXPECT_EQ(reopened.shownAmount(), amount("-300"));
}

TEST_F(EstimateEditorModelTest, SavingStoresAmountAndNotesAndRefreshesTheViews) {
    const model::Budget budget = householdBudget();
    app::EstimateEditorModel editor = editorFor(budget, groceries);
    editor.setShownAmount(amount("-450"));
    editor.setNotes(QStringLiteral("Two birthdays this month"));

    EXPECT_EQ(editor.save(), Effect::LimitChanged);
    EXPECT_EQ(savedAmount(budget, groceries), "-450");
    const auto other = reloaded();
    EXPECT_EQ(
        utf8(model::Budget(in(*other, budget.object())).limitForCategory(in(*other, groceries))->notes()),
        "Two birthdays this month");
    EXPECT_EQ(posted, QStringList{QStringLiteral("RefreshAllViews")});
}

TEST_F(EstimateEditorModelTest, SavingSaysWhenTheRowChangesTable) {
    const model::Budget budget = householdBudget();

    app::EstimateEditorModel toIncome = editorFor(budget, dining);
    toIncome.setShownAmount(amount("200"));
    EXPECT_EQ(toIncome.save(), Effect::MovedToOtherSide);

    app::EstimateEditorModel toExpense = editorFor(budget, salary);
    toExpense.setShownAmount(amount("0"));
    EXPECT_EQ(toExpense.save(), Effect::MovedToOtherSide);

    // Nothing booked: from zero into the budgeted rows and back into "Not Budgeted".
    app::EstimateEditorModel budgeted = editorFor(budget, gifts);
    budgeted.setShownAmount(amount("-30"));
    EXPECT_EQ(budgeted.save(), Effect::MovedBetweenBudgetedAndNotBudgeted);
    app::EstimateEditorModel unbudgeted = editorFor(budget, gifts);
    unbudgeted.setShownAmount(amount("0"));
    EXPECT_EQ(unbudgeted.save(), Effect::MovedBetweenBudgetedAndNotBudgeted);

    // Something booked: a zero limit keeps the row among the budgeted ones.
    app::EstimateEditorModel refunded = editorFor(budget, electronics);
    refunded.setShownAmount(amount("0"));
    EXPECT_EQ(refunded.save(), Effect::LimitChanged);
    EXPECT_FALSE(app::EstimateEditorModel::needsRetracking(Effect::LimitChanged));
    EXPECT_TRUE(app::EstimateEditorModel::needsRetracking(Effect::MovedToOtherSide));
    EXPECT_TRUE(app::EstimateEditorModel::needsRetracking(Effect::MovedBetweenBudgetedAndNotBudgeted));
}

} // namespace
