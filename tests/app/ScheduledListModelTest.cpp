#include "app/ScheduledListModel.h"

#include "ScheduledItemFixture.h"

#include <gmock/gmock.h>

using namespace vantrel;
using app::ScheduledListModel;
using testsupport::amount;
using testsupport::day;
using testsupport::utf8;

namespace {

class ScheduledListModelTest : public testsupport::ScheduledItemFixture {
protected:
    ScheduledListModel listModel() { return ScheduledListModel(workspace, locale()); }

    static std::vector<std::string> titles(const ScheduledListModel& model) {
        std::vector<std::string> result;
        for (const ScheduledListModel::Row& row : model.rows()) {
            result.push_back((row.isGroup ? "# " : "") + utf8(row.title));
        }
        return result;
    }

    const ScheduledListModel::Row& rowOf(const ScheduledListModel& model, const model::ScheduledItem& item) {
        return model.rows().at(model.rowOf(item.object()->id()).value());
    }
};

TEST_F(ScheduledListModelTest, GroupsItemsByHowSoonTheyAreDueInDueDateOrder) {
    newItem(QStringLiteral("Gym"), checking, "-40", day(2024, 3, 31));
    newItem(QStringLiteral("Rent"), checking, "-1200", day(2024, 2, 28));
    newItem(QStringLiteral("Phone"), checking, "-30", day(2024, 3, 8));
    newItem(QStringLiteral("Water"), checking, "-25", day(2024, 3, 9));
    newItem(QStringLiteral("Insurance"), checking, "-300", day(2024, 4, 1));
    newItem(QStringLiteral("Card"), checking, "-60", day(2024, 3, 1));

    EXPECT_THAT(titles(listModel()),
                ::testing::ElementsAre("# Due Now", "Rent", "Card", "# Within 7 Days", "Phone",
                                       "# Within 30 Days", "Water", "Gym", "# Later", "Insurance"));
}

TEST_F(ScheduledListModelTest, LeavesOutEmptyGroups) {
    const model::ScheduledItem insurance =
        newItem(QStringLiteral("Insurance"), checking, "-300", day(2024, 6, 1));
    EXPECT_THAT(titles(listModel()), ::testing::ElementsAre("# Later", "Insurance"));
    context.deleteObject(insurance.object());
    newItem(QStringLiteral("Rent"), checking, "-1200", day(2024, 2, 28));
    EXPECT_THAT(titles(listModel()), ::testing::ElementsAre("# Due Now", "Rent"));
}

TEST_F(ScheduledListModelTest, ItemRowsShowAccountAmountDueTextScheduleFlagsAndAction) {
    const model::ScheduledItem rent = newItem(QStringLiteral("Rent"), checking, "-1200", day(2024, 2, 28));
    model::ScheduledItem salary = newItem(QStringLiteral("Salary"), savings, "2500", day(2024, 3, 5), "Week");
    salary.setRepeatInterval(2);
    const model::ScheduledItem dentist =
        newItem(QStringLiteral("Dentist"), checking, "-90", day(2024, 3, 20), nullptr);
    const model::ScheduledItem transfer =
        newTransfer(QStringLiteral("Saving"), checking, savings, "-100", day(2024, 3, 2));
    const ScheduledListModel model = listModel();

    const ScheduledListModel::Row& rentRow = rowOf(model, rent);
    EXPECT_EQ(utf8(rentRow.accountText), "Checking");
    EXPECT_EQ(utf8(rentRow.amountText), "-$1,200.00");
    EXPECT_EQ(rentRow.amountColour, ScheduledListModel::AmountColour::Negative);
    EXPECT_EQ(utf8(rentRow.dueText), "2 days ago");
    EXPECT_EQ(utf8(rentRow.scheduleText), "Monthly");
    EXPECT_TRUE(rentRow.isRecurring);
    EXPECT_TRUE(rentRow.isRed);
    EXPECT_EQ(utf8(rentRow.actionTitle), "Pay");

    const ScheduledListModel::Row& salaryRow = rowOf(model, salary);
    EXPECT_EQ(utf8(salaryRow.amountText), "€2,500.00");
    EXPECT_EQ(salaryRow.amountColour, ScheduledListModel::AmountColour::Positive);
    EXPECT_EQ(utf8(salaryRow.dueText), "In 4 days");
    EXPECT_EQ(utf8(salaryRow.scheduleText), "Every 2 Weeks");
    EXPECT_FALSE(salaryRow.isRed);
    EXPECT_EQ(utf8(salaryRow.actionTitle), "Deposit");

    const ScheduledListModel::Row& dentistRow = rowOf(model, dentist);
    EXPECT_EQ(utf8(dentistRow.dueText), "Mar 20");
    EXPECT_EQ(utf8(dentistRow.scheduleText), "");
    EXPECT_FALSE(dentistRow.isRecurring);

    const ScheduledListModel::Row& transferRow = rowOf(model, transfer);
    EXPECT_EQ(utf8(transferRow.accountText), "Checking → Savings");
    EXPECT_EQ(utf8(transferRow.dueText), "Tomorrow");
    EXPECT_EQ(utf8(transferRow.actionTitle), "Transfer");
}

TEST_F(ScheduledListModelTest, BadgeCountsItemsDueOrInsideTheirReminderWindow) {
    newItem(QStringLiteral("Rent"), checking, "-1200", day(2024, 3, 1));
    model::ScheduledItem reminded = newItem(QStringLiteral("Tax"), checking, "-500", day(2024, 3, 11));
    reminded.setReminderDays(10);
    model::ScheduledItem notYet = newItem(QStringLiteral("Club"), checking, "-50", day(2024, 3, 12));
    notYet.setReminderDays(10);
    newItem(QStringLiteral("Phone"), checking, "-30", day(2024, 3, 2));

    const ScheduledListModel model = listModel();
    EXPECT_EQ(model.badgeCount(), 2);
    EXPECT_TRUE(rowOf(model, reminded).isRed);
    EXPECT_FALSE(rowOf(model, notYet).isRed);
}

TEST_F(ScheduledListModelTest, StatusShowsMonthlyExpenseAndTogglesToMonthlyNet) {
    newItem(QStringLiteral("Rent"), checking, "-1200", day(2024, 3, 10));
    newItem(QStringLiteral("Salary"), checking, "2000", day(2024, 3, 25));
    newItem(QStringLiteral("Dentist"), checking, "-90", day(2024, 3, 20), nullptr);
    ScheduledListModel model = listModel();

    ScheduledListModel::Status status = model.status();
    EXPECT_EQ(utf8(status.label), "Monthly Expense: ");
    EXPECT_EQ(utf8(status.amountText), "-$1,200.00");
    EXPECT_EQ(status.colour, ScheduledListModel::AmountColour::Negative);
    EXPECT_EQ(utf8(status.countText), "3 scheduled transactions");

    model.toggleSummaryMode();
    status = model.status();
    EXPECT_EQ(utf8(status.label), "Monthly Net: ");
    EXPECT_EQ(utf8(status.amountText), "$800.00");
    EXPECT_EQ(status.colour, ScheduledListModel::AmountColour::Positive);

    model.toggleSummaryMode();
    EXPECT_EQ(utf8(model.status().label), "Monthly Expense: ");
}

TEST_F(ScheduledListModelTest, StatusRoundsToCentsAndIsGreyAtZero) {
    EXPECT_EQ(utf8(listModel().status().amountText), "$0.00");
    EXPECT_EQ(listModel().status().colour, ScheduledListModel::AmountColour::Zero);
    EXPECT_EQ(utf8(listModel().status().countText), "0 scheduled transactions");

    // Five more payments of 100 over the year: 500 / 12 a month.
    newItem(QStringLiteral("Loan"), checking, "-100", day(2024, 3, 10)).setEndsAfter(5);
    const ScheduledListModel::Status status = listModel().status();
    EXPECT_EQ(utf8(status.amountText), "-$41.67");
    EXPECT_EQ(utf8(status.countText), "1 scheduled transaction");
}

TEST_F(ScheduledListModelTest, SelectionDecidesWhatCanBeSkippedEditedAndDeleted) {
    newItem(QStringLiteral("Rent"), checking, "-1200", day(2024, 3, 1));
    newItem(QStringLiteral("Phone"), checking, "-30", day(2024, 3, 1));
    const ScheduledListModel model = listModel();
    ASSERT_EQ(model.rows().size(), 3U);

    const auto groupOnly = model.itemsAt({0});
    EXPECT_TRUE(groupOnly.empty());
    EXPECT_FALSE(ScheduledListModel::canDelete(groupOnly));
    EXPECT_FALSE(ScheduledListModel::canSkip(groupOnly));

    const auto one = model.itemsAt({0, 1});
    EXPECT_EQ(one.size(), 1U);
    EXPECT_TRUE(ScheduledListModel::canSkip(one));
    EXPECT_TRUE(ScheduledListModel::canEdit(one));
    EXPECT_TRUE(ScheduledListModel::canDelete(one));

    const auto two = model.itemsAt({1, 2});
    EXPECT_FALSE(ScheduledListModel::canSkip(two));
    EXPECT_FALSE(ScheduledListModel::canEdit(two));
    EXPECT_TRUE(ScheduledListModel::canDelete(two));
}

TEST_F(ScheduledListModelTest, SkipAsksFirstAndOnlyThenAdvancesSavesAndRefreshes) {
    model::ScheduledItem rent = newItem(QStringLiteral("Rent"), checking, "-1200", day(2024, 3, 1));
    workspace.saveDatabase();
    ScheduledListModel model = listModel();

    alerts.answer(QStringLiteral("Cancel"));
    EXPECT_FALSE(model.skip(rent));
    ASSERT_EQ(alerts.shown().size(), 1U);
    EXPECT_EQ(alerts.last(),
              (app::Alert{QStringLiteral("Are you sure you want to skip the scheduled transaction "
                                         "\"Rent\"?"),
                          QString(),
                          {QStringLiteral("Skip"), QStringLiteral("Cancel")}}));
    EXPECT_EQ(rent.nextDueDate(), day(2024, 3, 1));
    EXPECT_TRUE(posted.isEmpty());

    alerts.answer(QStringLiteral("Skip"));
    EXPECT_TRUE(model.skip(rent));
    EXPECT_EQ(savedItem(idOf(rent), *reloaded())->nextDueDate(), day(2024, 4, 1));
    EXPECT_EQ(posted, QStringList{QStringLiteral("RefreshAllViews")});
    EXPECT_EQ(utf8(rowOf(model, rent).dueText), "Apr 1");
}

TEST_F(ScheduledListModelTest, SkippingAOneTimeItemRemovesIt) {
    model::ScheduledItem dentist =
        newItem(QStringLiteral("Dentist"), checking, "-90", day(2024, 3, 1), nullptr);
    workspace.saveDatabase();
    const objectstore::ObjectID id = idOf(dentist);
    ScheduledListModel model = listModel();
    alerts.answer(QStringLiteral("Skip"));
    EXPECT_TRUE(model.skip(dentist));
    EXPECT_FALSE(savedItem(id, *reloaded()).has_value());
    EXPECT_TRUE(model.rows().empty());
}

TEST_F(ScheduledListModelTest, DeleteNamesOneItemOrCountsSeveralAndKeepsThemOnCancel) {
    const model::ScheduledItem rent = newItem(QStringLiteral("Rent"), checking, "-1200", day(2024, 3, 1));
    const model::ScheduledItem phone = newItem(QStringLiteral("Phone"), checking, "-30", day(2024, 3, 3));
    workspace.saveDatabase();
    ScheduledListModel model = listModel();
    const QString informative =
        QStringLiteral("This will not affect transactions that have already been paid or deposited.");
    const QStringList buttons{QStringLiteral("Delete"), QStringLiteral("Cancel")};

    alerts.answer(QStringLiteral("Cancel"));
    EXPECT_FALSE(model.deleteItems({rent, phone}));
    EXPECT_EQ(alerts.last(),
              (app::Alert{QStringLiteral("Are you sure you want to delete the selected 2 scheduled "
                                         "transactions?"),
                          informative, buttons}));
    EXPECT_EQ(context.all(u"ScheduledItem").size(), 2U);

    const objectstore::ObjectID rentID = idOf(rent);
    alerts.answer(QStringLiteral("Delete"));
    EXPECT_TRUE(model.deleteItems({rent}));
    EXPECT_EQ(
        alerts.last(),
        (app::Alert{QStringLiteral("Are you sure you want to delete the scheduled transaction \"Rent\"?"),
                    informative, buttons}));
    const auto saved = reloaded();
    EXPECT_FALSE(savedItem(rentID, *saved).has_value());
    EXPECT_TRUE(savedItem(idOf(phone), *saved).has_value());
    EXPECT_EQ(posted, QStringList{QStringLiteral("RefreshAllViews")});
    EXPECT_THAT(titles(model), ::testing::ElementsAre("# Within 7 Days", "Phone"));
}

} // namespace
