#include "app/RegisterCommands.h"

#include "RegisterFixture.h"
#include "app/RegisterViewModel.h"
#include "platform/InternalError.h"
#include "platform/NotificationNames.h"

using namespace vantrel;
using app::RegisterCommands;
using app::RegisterViewModel;
using testsupport::amount;
using testsupport::day;
using testsupport::utf8;

namespace {

class RegisterCommandsTest : public testsupport::RegisterFixture {
protected:
    QString lastUsedAccount() const { return defaults.stringValue(QStringLiteral("VTLastUsedAccount")); }
    QString idText(const model::Account& account) const {
        return account.object()->id().toText(context.model());
    }

    app::TransactionEdit edit(const model::Day& date, const char* value, const QString& title,
                              std::vector<model::PlainSplit> lines) {
        return {date, std::nullopt, title, amount(value), QString(), std::move(lines)};
    }

    int categoryNotifications() { return m_categoriesChanged; }

    void SetUp() override {
        hub.observe(QString::fromLatin1(platform::kCategoriesChanged), &hub,
                    [this](const platform::Notification&) { ++m_categoriesChanged; });
    }

    model::Account checking = newAccount(QStringLiteral("Checking"));
    model::Account wallet = newAccount(QStringLiteral("Wallet"), QStringLiteral("cash"));
    model::CategoryVT food = newCategory(QStringLiteral("Food"));
    app::StickyDate sticky;

private:
    int m_categoriesChanged = 0;
};

TEST_F(RegisterCommandsTest, AddPutsAPendingTransactionIntoTheRegistersAccountAfterSaving) {
    RegisterViewModel model = RegisterViewModel::forAccount(workspace, checking, locale());
    RegisterCommands commands(model, sticky);
    const model::Transaction added = commands.addTransaction();

    EXPECT_EQ(added.account(), checking.object());
    EXPECT_TRUE(added.isPending());
    EXPECT_EQ(added.date(), today());
    EXPECT_EQ(model.rowOf(added), 0u);
    EXPECT_EQ(commands.editingTransaction(), added);
    // Saved before the insertion: the only unsaved change is the new transaction.
    EXPECT_EQ(context.insertedObjects(), std::vector<objectstore::ManagedObject*>{added.object()});
}

TEST_F(RegisterCommandsTest, AddInACashAccountIsNotPending) {
    RegisterViewModel model = RegisterViewModel::forAccount(workspace, wallet, locale());
    RegisterCommands commands(model, sticky);
    EXPECT_FALSE(commands.addTransaction().isFlagged());
}

TEST_F(RegisterCommandsTest, AddInAllAccountsUsesTheLastUsedAccountWhileItExistsElseTheFirst) {
    RegisterViewModel all = RegisterViewModel::forAllAccounts(workspace, locale());
    RegisterCommands commands(all, sticky);
    EXPECT_EQ(commands.targetAccountForNewTransaction(), checking);

    defaults.setValue(QStringLiteral("VTLastUsedAccount"), idText(wallet));
    const model::Transaction added = commands.addTransaction();
    EXPECT_EQ(added.account(), wallet.object());
    commands.closeEditorDiscarding();

    wallet.destroy();
    save();
    EXPECT_EQ(commands.addTransaction().account(), checking.object());
}

TEST_F(RegisterCommandsTest, AddWithoutAnyAccountIsAnInternalError) {
    checking.destroy();
    wallet.destroy();
    RegisterViewModel all = RegisterViewModel::forAllAccounts(workspace, locale());
    RegisterCommands commands(all, sticky);
    try {
        commands.addTransaction();
        FAIL() << "no error";
    } catch (const platform::InternalError& error) {
        EXPECT_EQ(utf8(error.message()),
                  "default account not found, maybe called when there are no accounts. num accounts 0");
    }
}

TEST_F(RegisterCommandsTest, StickyDateGivesNewTransactionsTheLastEnteredDateWhenOfferedAndOn) {
    RegisterViewModel model = RegisterViewModel::forAccount(workspace, checking, locale());
    RegisterCommands commands(model, sticky);
    EXPECT_TRUE(commands.offersStickyDate());

    commands.addTransaction();
    commands.closeEditorKeeping(
        edit(day(2024, 2, 20), "-5", QStringLiteral("without sticky"), {{nullptr, {}}}));
    EXPECT_EQ(commands.addTransaction().date(), today());
    commands.closeEditorDiscarding();

    sticky.on = true;
    commands.addTransaction();
    commands.closeEditorKeeping(edit(day(2024, 2, 21), "-5", QStringLiteral("sticky"), {{nullptr, {}}}));
    EXPECT_EQ(sticky.lastEntered, day(2024, 2, 21));
    EXPECT_EQ(commands.addTransaction().date(), day(2024, 2, 21));
    commands.closeEditorDiscarding();

    defaults.setValue(QStringLiteral("_VTShowStickyDateOption"), false);
    EXPECT_FALSE(commands.offersStickyDate());
    EXPECT_EQ(commands.addTransaction().date(), today());
}

TEST_F(RegisterCommandsTest, ClosingTheEditorKeepingWritesTheFieldsAndMendsTheSplitLines) {
    RegisterViewModel model = RegisterViewModel::forAccount(workspace, checking, locale());
    RegisterCommands commands(model, sticky);
    const model::Transaction older = newTransaction(checking, day(2024, 3, 1), "-1", QStringLiteral("older"));
    model::Transaction bank = newBankTransaction(checking, day(2024, 3, 10), "-50", QStringLiteral("Grocer"));
    save();
    model.reload();
    ASSERT_TRUE(bank.isNew());

    EXPECT_EQ(commands.edit({bank}), RegisterCommands::EditorKind::Inline);
    app::TransactionEdit fields = edit(day(2024, 2, 1), "-60", QStringLiteral("Grocer Market"),
                                       {{food.object(), amount("-45")}, {nullptr, amount("-10")}});
    fields.checkNumber = 77;
    fields.notes = QStringLiteral("weekly");
    commands.closeEditorKeeping(fields);

    EXPECT_EQ(bank.date(), day(2024, 2, 1));
    EXPECT_EQ(bank.checkNumber(), 77);
    EXPECT_EQ(utf8(bank.title()), "Grocer Market");
    EXPECT_EQ(utf8(bank.notes()), "weekly");
    EXPECT_EQ(bank.amount(), amount("-60"));
    model::Amount sum;
    for (const model::PlainSplit& line : bank.splits()) {
        sum += line.amount;
    }
    EXPECT_EQ(sum, amount("-60"));
    EXPECT_EQ(bank.splits().size(), 3u);
    EXPECT_FALSE(bank.isFlagged()) << "a new transaction becomes reviewed";
    EXPECT_EQ(lastUsedAccount(), idText(checking));
    EXPECT_EQ(categoryNotifications(), 1);
    EXPECT_FALSE(commands.editingTransaction());
    // Re-sorted: the edited transaction moved behind the older one.
    EXPECT_EQ(model.rowOf(older), 0u);
    EXPECT_EQ(model.rowOf(bank), 1u);
}

TEST_F(RegisterCommandsTest, SelectingAnotherRowWhileEditingSaves) {
    RegisterViewModel model = RegisterViewModel::forAccount(workspace, checking, locale());
    RegisterCommands commands(model, sticky);
    commands.addTransaction();
    commands.selectAnotherRowWhileEditing(edit(today(), "-3", QStringLiteral("kept"), {{food.object(), {}}}));
    EXPECT_FALSE(context.hasChanges());
    EXPECT_EQ(utf8(model.transactionAt(0).title()), "kept");
    EXPECT_EQ(model.transactionAt(0).theCategory(), food.object());
}

TEST_F(RegisterCommandsTest, DiscardingDeletesANeverSavedTransactionOnly) {
    RegisterViewModel model = RegisterViewModel::forAccount(workspace, checking, locale());
    RegisterCommands commands(model, sticky);
    commands.addTransaction();
    commands.closeEditorDiscarding();
    EXPECT_EQ(model.rowCount(), 0u);
    EXPECT_FALSE(context.hasChanges());
    EXPECT_EQ(objectstore::Context(store).count(u"Transaction"), 0u);

    const model::Transaction saved = newTransaction(checking, today(), "-1", QStringLiteral("saved"));
    save();
    model.reload();
    commands.edit({saved});
    commands.closeEditorDiscarding();
    EXPECT_FALSE(saved.isDeleted());
    EXPECT_EQ(model.rowCount(), 1u);
}

TEST_F(RegisterCommandsTest, DeleteAsksWithTheTitleOrTheCountAndDeletesOnConfirmation) {
    RegisterViewModel model = RegisterViewModel::forAccount(workspace, checking, locale());
    RegisterCommands commands(model, sticky);
    const model::Transaction rent = newTransaction(checking, today(), "-900", QStringLiteral("Rent"));
    const model::Transaction coffee = newTransaction(checking, today(), "-3", QStringLiteral("Coffee"));
    save();
    model.reload();

    commands.deleteTransactions({});
    EXPECT_TRUE(alerts.shown().empty());

    alerts.answer(QStringLiteral("Cancel"));
    commands.deleteTransactions({rent});
    const app::Alert one{
        QStringLiteral("Are you sure you want to delete the transaction \"Rent\"?"),
        QStringLiteral("A deleted transaction will be permanently removed from its account."),
        {QStringLiteral("Delete"), QStringLiteral("Cancel")}};
    EXPECT_EQ(alerts.last(), one);
    EXPECT_FALSE(rent.isDeleted());

    alerts.answer(QStringLiteral("Delete"));
    commands.deleteTransactions({rent, coffee});
    EXPECT_EQ(utf8(alerts.last().message), "Are you sure you want to delete the selected 2 transactions?");
    EXPECT_EQ(alerts.last().informativeText, one.informativeText);
    EXPECT_EQ(alerts.last().buttons, one.buttons);
    EXPECT_EQ(model.rowCount(), 0u);
    EXPECT_FALSE(context.hasChanges());
    EXPECT_EQ(objectstore::Context(store).count(u"Transaction"), 0u);
}

TEST_F(RegisterCommandsTest, FlagMenuTitleFollowsTheKindAndStateAndTheCommandInvertsAndSaves) {
    RegisterViewModel model = RegisterViewModel::forAccount(workspace, checking, locale());
    RegisterCommands commands(model, sticky);
    model::Transaction user = newTransaction(checking, today(), "-1", QStringLiteral("user"));
    model::Transaction bank = newBankTransaction(checking, today(), "-2", QStringLiteral("bank"));
    save();

    const auto title = [&](const RegisterCommands::Selection& selection) {
        const RegisterCommands::MenuItem item = commands.flagMenuItem(selection);
        return utf8(item.title) + (item.enabled ? "" : " (disabled)");
    };
    EXPECT_EQ(title({}), "Mark as Pending (disabled)");
    EXPECT_EQ(title({user, bank}), "Mark as Pending (disabled)");
    EXPECT_EQ(title({user}), "Mark as Pending");
    EXPECT_EQ(title({bank}), "Mark as Not New");

    commands.toggleFlag({user});
    EXPECT_TRUE(user.isPending());
    EXPECT_EQ(title({user}), "Mark as Not Pending");
    commands.toggleFlag({bank});
    EXPECT_FALSE(bank.isNew());
    EXPECT_EQ(title({bank}), "Mark as New");
    EXPECT_FALSE(context.hasChanges());

    commands.toggleFlag({user, bank});
    EXPECT_TRUE(user.isPending());
    EXPECT_FALSE(bank.isNew());
}

TEST_F(RegisterCommandsTest, ClickingAFlagSavesUnlessTheEditorIsOpen) {
    RegisterViewModel model = RegisterViewModel::forAccount(workspace, checking, locale());
    RegisterCommands commands(model, sticky);
    model::Transaction user = newTransaction(checking, today(), "-1", QStringLiteral("user"));
    save();
    commands.clickFlag(user);
    EXPECT_TRUE(user.isPending());
    EXPECT_FALSE(context.hasChanges());

    commands.edit({user});
    commands.clickFlag(user);
    EXPECT_FALSE(user.isPending());
    EXPECT_TRUE(context.hasChanges());
}

} // namespace
