#include "planning/BudgetTracker.h"

#include "BudgetFixture.h"
#include "platform/LogCapture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

using namespace vantrel::model;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using vantrel::objectstore::ManagedObject;
using vantrel::planning::BudgetRow;
using vantrel::planning::BudgetTracker;
using vantrel::planning::BudgetTrackResult;
using vantrel::platform::LogCapture;
using vantrel::testsupport::amount;
using vantrel::testsupport::day;
using vantrel::testsupport::utf8;
using Side = BudgetTracker::Side;
using Type = BudgetRow::Type;

namespace {

std::vector<std::string> namesOf(const std::vector<BudgetRow>& rows) {
    std::vector<std::string> names;
    for (const BudgetRow& row : rows) {
        names.push_back(utf8(row.name));
    }
    return names;
}

const BudgetRow& rowNamed(const std::vector<BudgetRow>& rows, const char* name) {
    const auto found = std::find_if(rows.begin(), rows.end(), [name](const BudgetRow& row) {
        return row.name == QString::fromUtf8(name);
    });
    if (found == rows.end()) {
        throw std::runtime_error(std::string("no row named ") + name);
    }
    return *found;
}

class BudgetTrackerTest : public vantrel::testsupport::BudgetFixture {
protected:
    // April 2024, with every category given a limit by the repair before each test adds its own.
    Budget april = newBudget(day(2024, 4, 1));
    CategoryVT food = newCategory(QStringLiteral("Food"));
    CategoryVT gas = newCategory(QStringLiteral("Gas"));
    CategoryVT salary = newCategory(QStringLiteral("Salary"));
};

TEST_F(BudgetTrackerTest, ActualsAreTheHomeCurrencyBookingsInsideThePeriod) {
    setLimit(april, food, "-300");
    setLimit(april, gas, "-80");
    newTransaction(dollars, "-50", day(2024, 4, 1), {}, food.object());
    newTransaction(dollars, "-20", day(2024, 4, 30), {}, food.object());
    newTransaction(dollars, "-1000", day(2024, 3, 31), {}, food.object());
    newTransaction(dollars, "-7", day(2024, 5, 1), {}, food.object());
    newTransaction(euros, "-9", day(2024, 4, 10), {}, food.object());
    newSplitTransaction(day(2024, 4, 12), {{&food, "-5"}, {&gas, "-7.50"}});
    newSplitTransaction(day(2024, 5, 12), {{&food, "-500"}, {&gas, "-500"}});

    const BudgetTrackResult result = BudgetTracker::track(april, Side::Expense);
    const BudgetRow& foodRow = rowNamed(result.progress, "Food");
    EXPECT_EQ(foodRow.type, Type::Category);
    EXPECT_EQ(foodRow.limit, amount("-300"));
    // -50 - 20 - 5, and 9 euros are 10 dollars.
    EXPECT_EQ(foodRow.actual, amount("-85"));
    ASSERT_TRUE(foodRow.categoryLimit);
    EXPECT_EQ(foodRow.categoryLimit->category(), food.object());
    EXPECT_EQ(rowNamed(result.progress, "Gas").actual, amount("-7.50"));
    // The table agrees with each limit's own actual amount.
    for (const BudgetRow& row : result.progress) {
        if (row.type == Type::Category) {
            EXPECT_EQ(row.actual, row.categoryLimit->actualAmount()) << utf8(row.name);
        }
    }
    EXPECT_EQ(result.total.name, QStringLiteral("Total"));
    EXPECT_EQ(result.total.type, Type::Total);
    EXPECT_EQ(result.total.limit, amount("-380"));
    EXPECT_EQ(result.total.actual, amount("-92.50"));
}

TEST_F(BudgetTrackerTest, UnbudgetedCategoriesGoLastUnderNotBudgetedWhichIsLeftOutWhenEmpty) {
    const CategoryVT travel = newCategory(QStringLiteral("Travel"));
    const CategoryVT cancelled = newCategory(QStringLiteral("Cancelled"));
    setLimit(april, food, "-300");
    setLimit(april, gas, "0");
    setLimit(april, travel, "0");
    setLimit(april, cancelled, "0");
    // A zero limit with spending is budgeted; bookings cancelling out leave an exact zero.
    newTransaction(dollars, "-40", day(2024, 4, 3), {}, travel.object());
    newTransaction(dollars, "-10", day(2024, 4, 4), {}, cancelled.object());
    newTransaction(dollars, "10", day(2024, 4, 5), {}, cancelled.object());

    BudgetTrackResult result = BudgetTracker::track(april, Side::Expense);
    ASSERT_EQ(result.progress.size(), 3u);
    EXPECT_EQ(result.progress[0].name, QStringLiteral("Food"));
    EXPECT_EQ(result.progress[1].name, QStringLiteral("Travel"));
    EXPECT_EQ(result.progress[1].actual, amount("-40"));
    const BudgetRow& notBudgeted = result.progress[2];
    EXPECT_EQ(notBudgeted.name, QStringLiteral("Not Budgeted"));
    EXPECT_EQ(notBudgeted.type, Type::Group);
    EXPECT_TRUE(notBudgeted.isNotBudgetedGroup());
    std::vector<std::string> unbudgeted = namesOf(notBudgeted.categories);
    std::sort(unbudgeted.begin(), unbudgeted.end());
    EXPECT_THAT(unbudgeted, ElementsAre("Cancelled", "Gas", "Salary"));
    EXPECT_EQ(notBudgeted.limit, amount("0"));
    EXPECT_EQ(notBudgeted.actual, amount("0"));

    setLimit(april, gas, "-1");
    setLimit(april, cancelled, "-1");
    setLimit(april, salary, "-1");
    result = BudgetTracker::track(april, Side::Expense);
    EXPECT_THAT(namesOf(result.progress), ElementsAre("Food", "Gas", "Salary", "Travel", "Cancelled"));
}

TEST_F(BudgetTrackerTest, GroupRowsSumTheirCategoriesAndTheTotalCountsEachCategoryOnce) {
    const CategoryVT rent = newCategory(QStringLiteral("Rent"));
    const CategoryVT power = newCategory(QStringLiteral("Power"));
    const CategoryGroup home = newGroup(QStringLiteral("Home"), {rent, power});
    setLimit(april, food, "-300");
    setLimit(april, rent, "-1000");
    setLimit(april, power, "-60");
    setLimit(april, gas, "0");
    newTransaction(dollars, "-1000", day(2024, 4, 1), {}, rent.object());
    newTransaction(dollars, "-75.25", day(2024, 4, 20), {}, power.object());
    newTransaction(dollars, "-120", day(2024, 4, 21), {}, food.object());

    const BudgetTrackResult result = BudgetTracker::track(april, Side::Expense);
    const BudgetRow& group = rowNamed(result.progress, "Home");
    EXPECT_EQ(group.type, Type::Group);
    EXPECT_EQ(group.group, home.object());
    EXPECT_FALSE(group.isNotBudgetedGroup());
    std::vector<std::string> members = namesOf(group.categories);
    std::sort(members.begin(), members.end());
    EXPECT_THAT(members, ElementsAre("Power", "Rent"));
    EXPECT_EQ(group.limit, amount("-1060"));
    EXPECT_EQ(group.actual, amount("-1075.25"));
    // Grouped categories appear only inside their group.
    EXPECT_THAT(namesOf(result.progress), ElementsAre("Food", "Home", "Not Budgeted"));
    EXPECT_EQ(result.total.limit, amount("-1360"));
    EXPECT_EQ(result.total.actual, amount("-1195.25"));
}

TEST_F(BudgetTrackerTest, UnbudgetedGroupedCategoriesDoNotMakeAGroupRow) {
    const CategoryVT rent = newCategory(QStringLiteral("Rent"));
    newGroup(QStringLiteral("Home"), {rent});
    setLimit(april, food, "-300");
    const BudgetTrackResult result = BudgetTracker::track(april, Side::Expense);
    EXPECT_THAT(namesOf(result.progress), ElementsAre("Food", "Not Budgeted"));
}

TEST_F(BudgetTrackerTest, UncategorizedRowIsOnTheExpenseSideOnlyBeforeNotBudgeted) {
    setLimit(april, food, "-300");
    setLimit(april, salary, "2000");
    newTransaction(dollars, "2000", day(2024, 4, 1), {}, salary.object());
    // Without uncategorised bookings in the period there is no row.
    newTransaction(dollars, "-999", day(2024, 3, 31));
    BudgetTrackResult result = BudgetTracker::track(april, Side::Expense);
    EXPECT_THAT(namesOf(result.progress), ElementsAre("Food", "Not Budgeted"));

    newTransaction(dollars, "-30", day(2024, 4, 2));
    newTransaction(euros, "18", day(2024, 4, 3));
    newSplitTransaction(day(2024, 4, 4), {{&food, "-5"}, {nullptr, "-2.50"}});
    result = BudgetTracker::track(april, Side::Expense);
    EXPECT_THAT(namesOf(result.progress), ElementsAre("Food", "Uncategorized", "Not Budgeted"));
    const BudgetRow& uncategorized = result.progress[1];
    EXPECT_EQ(uncategorized.type, Type::Uncategorized);
    EXPECT_FALSE(uncategorized.categoryLimit);
    EXPECT_EQ(uncategorized.limit, amount("0"));
    // -30 + 20 (18 euros) - 2.50
    EXPECT_EQ(uncategorized.actual, amount("-12.50"));
    EXPECT_EQ(result.total.actual, amount("-17.50"));

    const BudgetTrackResult income = BudgetTracker::track(april, Side::Income);
    EXPECT_THAT(namesOf(income.progress), ElementsAre("Salary"));
    EXPECT_EQ(income.progress[0].actual, amount("2000"));
    EXPECT_EQ(income.total.limit, amount("2000"));
}

TEST_F(BudgetTrackerTest, AnIncomeCategoryWithAZeroLimitFallsOnTheExpenseSide) {
    setLimit(april, food, "-300");
    setLimit(april, salary, "0");
    BudgetTrackResult expense = BudgetTracker::track(april, Side::Expense);
    EXPECT_THAT(namesOf(rowNamed(expense.progress, "Not Budgeted").categories),
                ::testing::Contains("Salary"));
    EXPECT_THAT(BudgetTracker::track(april, Side::Income).progress, IsEmpty());

    newTransaction(dollars, "2500", day(2024, 4, 25), {}, salary.object());
    expense = BudgetTracker::track(april, Side::Expense);
    const BudgetRow& salaryRow = rowNamed(expense.progress, "Salary");
    EXPECT_EQ(salaryRow.type, Type::Category);
    EXPECT_EQ(salaryRow.limit, amount("0"));
    EXPECT_EQ(salaryRow.actual, amount("2500"));
    const BudgetTrackResult income = BudgetTracker::track(april, Side::Income);
    EXPECT_THAT(income.progress, IsEmpty());
    EXPECT_EQ(income.total.limit, amount("0"));
    EXPECT_EQ(income.total.actual, amount("0"));
}

TEST_F(BudgetTrackerTest, RepairAddsMissingLimitsAtZeroAndKeepsTheSmallestCloudIDOfDuplicates) {
    // Making a category gave it a zero limit here; take Salary's away and give Gas two more.
    context.deleteObject(april.limitForCategory(salary.object())->object());
    for (const char* value : {"-10", "-20"}) {
        CategoryLimit extra = CategoryLimit::insertInContext(context);
        extra.setBudget(april);
        extra.setCategory(gas.object());
        extra.setAmount(amount(value));
    }
    std::vector<CategoryLimit> gasLimits;
    for (ManagedObject* object : gas.categoryLimits()) {
        gasLimits.emplace_back(object);
    }
    ASSERT_EQ(gasLimits.size(), 3u);
    std::sort(gasLimits.begin(), gasLimits.end(),
              [](const CategoryLimit& a, const CategoryLimit& b) { return a.cloudID() < b.cloudID(); });
    // Another budget's limit for the same category is no duplicate.
    const Budget may = newBudget(day(2024, 5, 1));
    setLimit(may, gas, "-40");

    const LogCapture log;
    BudgetTracker::fixCategoryLimits(april);
    EXPECT_THAT(log.lines(), ::testing::UnorderedElementsAre("Created missing category limit for Salary",
                                                             "Deleted extra category limit for Gas",
                                                             "Deleted extra category limit for Gas"));
    EXPECT_EQ(april.limitForCategory(gas.object()), gasLimits[0]);
    EXPECT_FALSE(gasLimits[0].isDeleted());
    EXPECT_TRUE(gasLimits[1].isDeleted());
    EXPECT_TRUE(gasLimits[2].isDeleted());
    EXPECT_EQ(april.categoryLimits().size(), 3u);
    const auto salaryLimit = april.limitForCategory(salary.object());
    ASSERT_TRUE(salaryLimit);
    EXPECT_EQ(salaryLimit->amount(), amount("0"));
    EXPECT_EQ(may.limitForCategory(gas.object())->amount(), amount("-40"));

    // Repaired limits pass validation and save; a sound budget is left alone and unlogged.
    EXPECT_TRUE(context.save().succeeded());
    const LogCapture quiet;
    BudgetTracker::track(april, Side::Expense);
    EXPECT_THAT(quiet.lines(), IsEmpty());
    EXPECT_FALSE(context.hasChanges());
}

TEST_F(BudgetTrackerTest, OverBudgetComparesActualBelowLimit) {
    BudgetRow row;
    row.limit = amount("-100");
    row.actual = amount("-100.01");
    EXPECT_TRUE(BudgetTracker::isOverBudget(row));
    row.actual = amount("-100");
    EXPECT_FALSE(BudgetTracker::isOverBudget(row));
    row.actual = amount("20");
    EXPECT_FALSE(BudgetTracker::isOverBudget(row));
    row.limit = amount("500");
    row.actual = amount("499");
    EXPECT_TRUE(BudgetTracker::isOverBudget(row));
}

TEST_F(BudgetTrackerTest, OverBudgetCountTakesExpenseCategoryRowsInsideGroupsButNotUncategorized) {
    const CategoryVT rent = newCategory(QStringLiteral("Rent"));
    const CategoryVT power = newCategory(QStringLiteral("Power"));
    newGroup(QStringLiteral("Home"), {rent, power});
    setLimit(april, food, "-100");
    setLimit(april, gas, "-100");
    setLimit(april, rent, "-1000");
    setLimit(april, power, "-50");
    setLimit(april, salary, "3000");
    newTransaction(dollars, "-100.50", day(2024, 4, 2), {}, food.object());
    newTransaction(dollars, "-100", day(2024, 4, 2), {}, gas.object());
    newTransaction(dollars, "-1000", day(2024, 4, 2), {}, rent.object());
    newTransaction(dollars, "-80", day(2024, 4, 2), {}, power.object());
    // Income short of its target is not counted: only the expense table is.
    newTransaction(dollars, "10", day(2024, 4, 2), {}, salary.object());
    newTransaction(dollars, "-5000", day(2024, 4, 2));
    EXPECT_EQ(BudgetTracker::countOverBudget(april), 2);

    const LogCapture log;
    const Budget may = newBudget(day(2024, 5, 1));
    setLimit(may, food, "-1");
    newTransaction(dollars, "-2", day(2024, 5, 2), {}, food.object());
    const auto counts = BudgetTracker::countOverBudgetForAll(context);
    ASSERT_EQ(counts.size(), 2u);
    EXPECT_EQ(counts.at(april.object()->id()), 2);
    EXPECT_EQ(counts.at(may.object()->id()), 1);
}

TEST_F(BudgetTrackerTest, TrackingABudgetWithoutStartDateIsAnInternalErrorButCountsSkipIt) {
    setLimit(april, food, "-1");
    newTransaction(dollars, "-2", day(2024, 4, 2), {}, food.object());
    Budget undated = newBudget(day(2024, 4, 1));
    undated.setStartDate(std::nullopt);
    EXPECT_THROW(BudgetTracker::track(undated, Side::Expense), vantrel::platform::InternalError);
    EXPECT_TRUE(undated.categoryLimits().empty());
    const LogCapture log;
    const auto counts = BudgetTracker::countOverBudgetForAll(context);
    EXPECT_EQ(counts.size(), 1u);
    EXPECT_EQ(counts.at(april.object()->id()), 1);
}

BudgetRow row(const char* name, const char* limit, const char* actual,
              std::vector<BudgetRow> categories = {}) {
    BudgetRow made;
    made.name = QString::fromUtf8(name);
    made.type = categories.empty() ? Type::Category : Type::Group;
    made.limit = amount(limit);
    made.actual = amount(actual);
    made.categories = std::move(categories);
    return made;
}

BudgetTrackResult unsorted() {
    BudgetTrackResult result;
    result.progress = {
        row("A", "-50", "-70"), row("B", "0", "-5"),
        row("G", "-300", "-20", {row("x", "-100", "-10"), row("y", "-200", "-10"), row("z", "0", "-1")}),
        row("C", "150", "200"), row("U", "0", "-2")};
    BudgetRow notBudgeted = row("Not Budgeted", "0", "0", {row("n", "0", "0")});
    result.progress.push_back(notBudgeted);
    result.total = row("Total", "-200", "192");
    result.total.type = Type::Total;
    return result;
}

TEST(BudgetRowOrder, DefaultIsAbsoluteLimitDescendingWithTiesInTrackingOrder) {
    BudgetTrackResult result = unsorted();
    BudgetTracker::sort(result, BudgetTracker::SortKey::AbsoluteLimit);
    EXPECT_THAT(namesOf(result.progress), ElementsAre("G", "C", "A", "B", "U", "Not Budgeted"));
    EXPECT_THAT(namesOf(result.progress[0].categories), ElementsAre("y", "x", "z"));
    EXPECT_EQ(result.total.name, QStringLiteral("Total"));
    EXPECT_EQ(result.total.limit, amount("-200"));

    BudgetTracker::sort(result, BudgetTracker::SortKey::AbsoluteLimit, false);
    EXPECT_THAT(namesOf(result.progress), ElementsAre("B", "U", "Not Budgeted", "A", "C", "G"));
}

TEST(BudgetRowOrder, ByLimitOrActualUsesTheSignedValues) {
    BudgetTrackResult result = unsorted();
    BudgetTracker::sort(result, BudgetTracker::SortKey::Limit);
    EXPECT_THAT(namesOf(result.progress), ElementsAre("C", "B", "U", "Not Budgeted", "A", "G"));
    EXPECT_THAT(namesOf(result.progress[5].categories), ElementsAre("z", "x", "y"));

    BudgetTracker::sort(result, BudgetTracker::SortKey::Actual, false);
    EXPECT_THAT(namesOf(result.progress), ElementsAre("A", "G", "B", "U", "Not Budgeted", "C"));
    const BudgetRow& group = rowNamed(result.progress, "G");
    EXPECT_THAT(namesOf(group.categories), ElementsAre("x", "y", "z"));
}

} // namespace
