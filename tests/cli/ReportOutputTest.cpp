// What "report breakdown" and "report trends" print for a database with a category group, which the
// command line cannot create: folding into groups, one group's categories, and series named as typed.
#include "cli/ReportCommands.h"
#include "cli/UserError.h"
#include "model/CategoryGroup.h"
#include "model/MoneyFixture.h"

#include <gtest/gtest.h>

namespace {

using vantrel::cli::ReportCommands;
using vantrel::cli::UserError;
using vantrel::model::CategoryGroup;
using vantrel::testsupport::day;
using vantrel::testsupport::utf8;

const QString kLocale = QStringLiteral("en_US");

// Today is 15 March 2024. Food and Dining belong to the group Eating, Salary to no group.
class ReportOutputTest : public vantrel::testsupport::MoneyFixture {
protected:
    ReportOutputTest() {
        eating.setName(QStringLiteral("Eating"));
        food.setGroup(eating.object());
        dining.setGroup(eating.object());
        newTransaction(checking, "-30", day(2024, 1, 10), QStringLiteral("Market"), food.object());
        newTransaction(checking, "-20", day(2024, 1, 20), QStringLiteral("Bistro"), dining.object());
        newTransaction(checking, "1000", day(2024, 2, 5), QStringLiteral("Employer"), salary.object());
        newTransaction(checking, "-50", day(2024, 2, 10), QStringLiteral("Market"), food.object());
        newTransaction(checking, "-5", day(2024, 2, 12), QStringLiteral("Kiosk"));
    }

    std::string breakdown(vantrel::objectstore::ManagedObject* group, bool json) {
        return utf8(ReportCommands::breakdownOutput(context, day(2024, 1, 1), day(2024, 2, 29), group, json,
                                                    kLocale));
    }

    std::string trends(const QStringList& requested, bool json) {
        return utf8(ReportCommands::trendsOutput(context, clock, requested, json, kLocale));
    }

    // Dollars are the home currency before the account takes it.
    bool dollarsAtHome = (useDollarsAndEuros(), true);
    vantrel::model::Account checking =
        newAccount(QStringLiteral("Checking"), QStringLiteral("checking"), "100");
    CategoryGroup eating = CategoryGroup::insertInContext(context);
    vantrel::model::CategoryVT food = newCategory(QStringLiteral("Food"));
    vantrel::model::CategoryVT dining = newCategory(QStringLiteral("Dining"));
    vantrel::model::CategoryVT salary = newCategory(QStringLiteral("Salary"));
};

TEST_F(ReportOutputTest, WithoutAGroupCategoriesFoldIntoTheirGroupsLargestFirst) {
    EXPECT_EQ(breakdown(nullptr, true), "{\n"
                                        "  \"expense\": [\n"
                                        "    {\"name\": \"Eating\", \"amount\": \"-100.00\"},\n"
                                        "    {\"name\": \"Uncategorized\", \"amount\": \"-5.00\"}\n"
                                        "  ],\n"
                                        "  \"income\": [\n"
                                        "    {\"name\": \"Salary\", \"amount\": \"1000.00\"}\n"
                                        "  ],\n"
                                        "  \"expenseTotal\": \"-105.00\",\n"
                                        "  \"incomeTotal\": \"1000.00\"\n"
                                        "}");
    EXPECT_EQ(breakdown(nullptr, false), "Expense          Amount\n"
                                         "Eating         -$100.00\n"
                                         "Uncategorized    -$5.00\n"
                                         "Total          -$105.00\n"
                                         "\n"
                                         "Income     Amount\n"
                                         "Salary  $1,000.00\n"
                                         "Total   $1,000.00");
}

TEST_F(ReportOutputTest, AGroupShowsOnlyItsOwnCategoriesAndTheirTotals) {
    EXPECT_EQ(breakdown(eating.object(), true), "{\n"
                                                "  \"expense\": [\n"
                                                "    {\"name\": \"Food\", \"amount\": \"-80.00\"},\n"
                                                "    {\"name\": \"Dining\", \"amount\": \"-20.00\"}\n"
                                                "  ],\n"
                                                "  \"income\": [],\n"
                                                "  \"expenseTotal\": \"-100.00\",\n"
                                                "  \"incomeTotal\": \"0.00\"\n"
                                                "}");
}

// The balance's last point is today; the other series end at the end of the month.
TEST_F(ReportOutputTest, SeriesAreKeyedByTheTextGivenInTheOrderGiven) {
    EXPECT_EQ(
        trends({QStringLiteral("balance"), QStringLiteral(" food"), QStringLiteral("expense"),
                QStringLiteral("balance")},
               true),
        "{\n"
        "  \"series\": {\n"
        "    \"balance\": [{\"date\": \"2024-01-31\", \"value\": \"50.00\"}, {\"date\": \"2024-02-29\", "
        "\"value\": \"995.00\"}, {\"date\": \"2024-03-15\", \"value\": \"995.00\"}],\n"
        "    \"food\": [{\"date\": \"2024-01-31\", \"value\": \"-30.00\"}, {\"date\": \"2024-02-29\", "
        "\"value\": \"-50.00\"}, {\"date\": \"2024-03-31\", \"value\": \"0.00\"}],\n"
        "    \"expense\": [{\"date\": \"2024-01-31\", \"value\": \"-50.00\"}, {\"date\": \"2024-02-29\", "
        "\"value\": \"-55.00\"}, {\"date\": \"2024-03-31\", \"value\": \"0.00\"}]\n"
        "  }\n"
        "}");
    EXPECT_EQ(trends({QStringLiteral("balance"), QStringLiteral("food")}, false),
              "Month    balance     food\n"
              "2024-01   $50.00  -$30.00\n"
              "2024-02  $995.00  -$50.00\n"
              "2024-03  $995.00    $0.00");
}

TEST_F(ReportOutputTest, ACategoryNamedLikeATotalIsReachedByCapitalsAndUnknownOnesAreRefused) {
    vantrel::model::CategoryVT income = newCategory(QStringLiteral("Income"));
    newTransaction(checking, "7", day(2024, 3, 1), QStringLiteral("Gift"), income.object());
    const std::string json = trends({QStringLiteral("Income"), QStringLiteral("income")}, true);
    EXPECT_NE(
        json.find("\"Income\": [{\"date\": \"2024-01-31\", \"value\": \"0.00\"}, {\"date\": \"2024-02-29\", "
                  "\"value\": \"0.00\"}, {\"date\": \"2024-03-31\", \"value\": \"7.00\"}]"),
        std::string::npos)
        << json;
    EXPECT_NE(
        json.find("\"income\": [{\"date\": \"2024-01-31\", \"value\": \"0.00\"}, {\"date\": \"2024-02-29\", "
                  "\"value\": \"1000.00\"}, {\"date\": \"2024-03-31\", \"value\": \"7.00\"}]"),
        std::string::npos)
        << json;
    try {
        trends({QStringLiteral("balance"), QStringLiteral("Nope")}, true);
        ADD_FAILURE() << "an unknown category was accepted";
    } catch (const UserError& error) {
        EXPECT_EQ(utf8(error.message()), "No such category: Nope");
    }
}

} // namespace
