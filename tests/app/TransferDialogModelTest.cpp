#include "app/TransferDialogModel.h"

#include "AppWorkspaceFixture.h"
#include "model/TransferSetting.h"

using namespace vantrel;
using testsupport::amount;
using testsupport::day;
using testsupport::utf8;

namespace {

class TransferDialogModelTest : public testsupport::AppWorkspaceFixture {
protected:
    TransferDialogModelTest() { workspace.saveDatabase(); }

    // What a transfer made earlier left behind for the dialog.
    void remember(model::Account& to, const char* value, objectstore::ManagedObject* category,
                  const QString& title) {
        source.transfer(amount(value), to, category, title, std::nullopt, clock);
    }

    std::vector<model::Transaction> savedTransactionsOf(const model::Account& account) {
        reloads.push_back(reloaded());
        std::vector<model::Transaction> found;
        for (objectstore::ManagedObject* object :
             model::Account(in(*reloads.back(), account.object())).transactions()) {
            found.emplace_back(object);
        }
        return found;
    }

    model::Account savings = newAccount(QStringLiteral("Savings"), QStringLiteral("savings"));
    model::Account source = newAccount(QStringLiteral("Checking"));
    model::Account cash = newAccount(QStringLiteral("Wallet"), QStringLiteral("cash"));
    objectstore::ManagedObject* rent = newCategory(QStringLiteral("Rent"));
    // The transactions read back stay valid while their context lives.
    std::vector<std::unique_ptr<objectstore::Context>> reloads;
};

TEST_F(TransferDialogModelTest, WithoutAnEarlierTransferItStartsFromDefaults) {
    const app::TransferDialogModel dialog(workspace, source, locale());

    EXPECT_TRUE(dialog.amountField().text().isEmpty());
    EXPECT_FALSE(dialog.amountField().shouldAssumeSign());
    EXPECT_EQ(dialog.destination(), savings.object());
    ASSERT_NE(dialog.category(), nullptr);
    EXPECT_EQ(utf8(model::CategoryVT(dialog.category()).name()), "Transfer");
    EXPECT_TRUE(dialog.title().isEmpty());
    EXPECT_EQ(utf8(dialog.titlePlaceholder()), "To Savings");
    EXPECT_EQ(dialog.date(), day(2024, 3, 1));
    EXPECT_EQ(posted, QStringList{"VT Categories Changed"});
}

TEST_F(TransferDialogModelTest, TheDefaultDestinationIsNeverTheSourceItself) {
    source.moveToIndex(0);
    const app::TransferDialogModel dialog(workspace, source, locale());
    EXPECT_EQ(dialog.destination(), savings.object());
}

TEST_F(TransferDialogModelTest, FillsFromTheLastTransferOfTheSourceAccount) {
    remember(savings, "100", rent, QStringLiteral("Monthly"));
    remember(cash, "40", nullptr, QString());

    const app::TransferDialogModel dialog(workspace, source, locale());
    EXPECT_EQ(utf8(dialog.amountField().text()), "40.00");
    EXPECT_EQ(dialog.destination(), cash.object());
    EXPECT_EQ(dialog.category(), nullptr);
    EXPECT_TRUE(dialog.title().isNull());
    EXPECT_EQ(utf8(dialog.titlePlaceholder()), "To Wallet");
}

TEST_F(TransferDialogModelTest, PickingAnotherDestinationRefillsFromItsSetting) {
    remember(cash, "40", nullptr, QString());
    remember(savings, "100", rent, QStringLiteral("Monthly"));
    app::TransferDialogModel dialog(workspace, source, locale());
    ASSERT_EQ(dialog.destination(), savings.object());

    dialog.chooseDestination(cash.object());
    EXPECT_EQ(utf8(dialog.amountField().text()), "40.00");
    EXPECT_EQ(dialog.category(), nullptr);
    EXPECT_TRUE(dialog.title().isEmpty());
    EXPECT_EQ(utf8(dialog.titlePlaceholder()), "To Wallet");

    dialog.chooseDestination(savings.object());
    EXPECT_EQ(utf8(dialog.amountField().text()), "100.00");
    EXPECT_EQ(dialog.category(), rent);
    EXPECT_EQ(utf8(dialog.title()), "Monthly");

    // No transfer to this one yet: the defaults.
    model::Account brokerage = newAccount(QStringLiteral("Brokerage"), QStringLiteral("other"));
    dialog.chooseDestination(brokerage.object());
    EXPECT_TRUE(dialog.amountField().text().isEmpty());
    EXPECT_EQ(utf8(model::CategoryVT(dialog.category()).name()), "Transfer");
    EXPECT_TRUE(dialog.title().isEmpty());
}

TEST_F(TransferDialogModelTest, AnAmountTheUserChangedSurvivesPickingAnotherDestination) {
    remember(cash, "40", nullptr, QString());
    remember(savings, "100", rent, QStringLiteral("Monthly"));
    app::TransferDialogModel dialog(workspace, source, locale());

    dialog.amountField().setText(QStringLiteral("75"));
    dialog.chooseDestination(cash.object());
    EXPECT_EQ(utf8(dialog.amountField().text()), "75");
    EXPECT_EQ(dialog.category(), nullptr);

    // Typing the filled-in text again is no change.
    app::TransferDialogModel again(workspace, source, locale());
    again.amountField().setText(QStringLiteral("100.00"));
    again.chooseDestination(cash.object());
    EXPECT_EQ(utf8(again.amountField().text()), "40.00");
}

TEST_F(TransferDialogModelTest, ConfirmingTransfersSavesAndRefreshes) {
    app::TransferDialogModel dialog(workspace, source, locale());
    dialog.amountField().setText(QStringLiteral("250"));
    dialog.setCategory(rent);
    dialog.setDate(day(2024, 2, 28));
    dialog.setTitle(QStringLiteral("  "));

    ASSERT_TRUE(dialog.confirm().succeeded());
    EXPECT_EQ(posted.back(), "RefreshAllViews");
    const std::vector<model::Transaction> outgoing = savedTransactionsOf(source);
    const std::vector<model::Transaction> incoming = savedTransactionsOf(savings);
    ASSERT_EQ(outgoing.size(), 1u);
    ASSERT_EQ(incoming.size(), 1u);
    EXPECT_EQ(outgoing[0].amount(), amount("-250"));
    EXPECT_EQ(incoming[0].amount(), amount("250"));
    EXPECT_EQ(utf8(outgoing[0].title()), "To Savings");
    EXPECT_EQ(utf8(incoming[0].title()), "From Checking");
    EXPECT_EQ(outgoing[0].date(), day(2024, 2, 28));
    EXPECT_EQ(utf8(model::CategoryVT(incoming[0].category()).name()), "Rent");

    // The next dialog offers the same transfer again.
    const app::TransferDialogModel next(workspace, source, locale());
    EXPECT_EQ(utf8(next.amountField().text()), "250.00");
    EXPECT_EQ(next.category(), rent);
}

TEST_F(TransferDialogModelTest, ConfirmingWithoutAmountOrDestinationIsRefusedAndWritesNothing) {
    app::TransferDialogModel dialog(workspace, source, locale());
    workspace.saveDatabase();

    app::CommandOutcome outcome = dialog.confirm();
    EXPECT_EQ(utf8(outcome.reason()), "Enter the amount to transfer.");

    dialog.amountField().setText(QStringLiteral("ten"));
    outcome = dialog.confirm();
    EXPECT_EQ(utf8(outcome.reason()), "\"ten\" is not an amount.");

    dialog.amountField().setText(QStringLiteral("10"));
    dialog.chooseDestination(nullptr);
    outcome = dialog.confirm();
    EXPECT_FALSE(outcome.succeeded());
    EXPECT_EQ(utf8(outcome.reason()), "Choose the account to transfer to.");

    // Into the source itself would book two entries that cancel out.
    dialog.chooseDestination(source.object());
    EXPECT_EQ(utf8(dialog.confirm().reason()), "Choose the account to transfer to.");

    EXPECT_EQ(context.count(u"Transaction"), 0u);
    EXPECT_FALSE(context.hasChanges());
    EXPECT_FALSE(posted.contains("RefreshAllViews"));
}

} // namespace
