#include "app/AccountDeletion.h"

#include "AppWorkspaceFixture.h"
#include "model/ScheduledItem.h"

using namespace vantrel;
using testsupport::amount;
using testsupport::day;

namespace {

class AccountDeletionTest : public testsupport::AppWorkspaceFixture {
protected:
    model::ScheduledItem newScheduledItem(model::Account& account, const QString& title) {
        model::ScheduledItem item = model::ScheduledItem::insertInContext(context);
        item.setTitle(title);
        item.setAmount(amount("-1200"));
        item.setNextDueDate(day(2024, 4, 1));
        item.setAccount(account.object());
        return item;
    }

    app::AccountDeletion deletion{workspace};
};

TEST_F(AccountDeletionTest, AsksAndDeletesTheAccountWithItsTransactions) {
    model::Account account = newAccount(QStringLiteral("Everyday"));
    const model::Transaction transaction = newTransaction(account, "-20");
    workspace.saveDatabase();
    // The objects themselves go with the save; their ids stay to look them up elsewhere.
    const objectstore::ObjectID accountId = account.object()->id();
    const objectstore::ObjectID transactionId = transaction.object()->id();

    alerts.answer(QStringLiteral("Delete"));
    ASSERT_TRUE(deletion.run(account));
    EXPECT_EQ(alerts.last(), (app::Alert{"Are you sure you want to delete the account \"Everyday\"?",
                                         "All transactions within the account will be deleted as well.",
                                         {"Delete", "Cancel"}}));
    const auto other = reloaded();
    EXPECT_EQ(other->object(accountId), nullptr);
    EXPECT_EQ(other->object(transactionId), nullptr);
}

TEST_F(AccountDeletionTest, CancellingKeepsTheAccountButStillSavesWhatWasPending) {
    model::Account account = newAccount(QStringLiteral("Everyday"));
    workspace.saveDatabase();
    account.setName(QStringLiteral("Renamed before deleting"));

    alerts.answer(QStringLiteral("Cancel"));
    EXPECT_FALSE(deletion.run(account));
    EXPECT_FALSE(account.isDeleted());
    const auto other = reloaded();
    const model::Account saved(in(*other, account.object()));
    EXPECT_EQ(testsupport::utf8(saved.name()), "Renamed before deleting");
}

TEST_F(AccountDeletionTest, ScheduledItemsAreListedInAThreeParagraphWarning) {
    model::Account account = newAccount(QStringLiteral("Everyday"));
    const objectstore::ObjectID rentId = newScheduledItem(account, QStringLiteral("Rent")).object()->id();
    workspace.saveDatabase();

    alerts.answer(QStringLiteral("Delete"));
    ASSERT_TRUE(deletion.run(account));
    EXPECT_EQ(alerts.last(),
              (app::Alert{"Are you sure you want to delete the account \"Everyday\"?",
                          "All transactions within the account will be deleted as well.\n\n"
                          "Deleting this account will also delete the following scheduled transactions which "
                          "are associated with it, are you sure you want to continue?\n\n"
                          "  \u2022  Rent\n",
                          {"Delete", "Cancel"}}));
    EXPECT_EQ(reloaded()->object(rentId), nullptr);
}

} // namespace
