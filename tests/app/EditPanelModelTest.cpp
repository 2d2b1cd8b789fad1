#include "app/EditPanelModel.h"

#include "AppWorkspaceFixture.h"
#include "model/Split.h"
#include "model/SplitSet.h"

using namespace vantrel;
using testsupport::amount;
using testsupport::day;

namespace {

using Focus = app::EditPanelModel::Focus;
using Rows = std::vector<std::pair<objectstore::ManagedObject*, std::optional<model::Amount>>>;

class EditPanelModelTest : public testsupport::AppWorkspaceFixture {
protected:
    EditPanelModelTest() { workspace.saveDatabase(); }

    static Rows rows(const app::EditPanelModel& panel) {
        Rows shown;
        for (const app::SplitLine& line : panel.splitRows()) {
            shown.emplace_back(line.category, line.amount);
        }
        return shown;
    }

    model::Transaction splitTransaction(const char* total, const std::vector<model::PlainSplit>& lines) {
        model::Transaction transaction = newTransaction(account, total, QStringLiteral("Market"));
        transaction.setMultipleCategoriesAndAmounts(lines);
        return transaction;
    }

    model::Transaction bankTransaction(const char* value) {
        model::Transaction bank = newTransaction(account, value);
        bank.setImported(true);
        bank.setOfxAmount(amount(value));
        bank.setOfxTitle(QStringLiteral("ACME HARDWARE"));
        bank.setOfxDate(day(2024, 2, 18));
        bank.setOfxFitID(QStringLiteral("FIT-7"));
        return bank;
    }

    model::Transaction matchedTransaction() {
        model::Transaction mine = newTransaction(account, "-42.10", QStringLiteral("Hardware"));
        model::Transaction bank = bankTransaction("-42.10");
        mine.matchWith(bank);
        workspace.saveDatabase();
        return mine;
    }

    model::Account account = newAccount(QStringLiteral("Checking"));
    objectstore::ManagedObject* food = newCategory(QStringLiteral("Food"));
    objectstore::ManagedObject* fuel = newCategory(QStringLiteral("Fuel"));
    app::EditPanelModel panel{workspace, locale()};
};

TEST_F(EditPanelModelTest, OpeningFillsTheFieldsAndClosingGivesThemBackWithTheSingleCategory) {
    model::Transaction transaction = newTransaction(account, "-42.10", QStringLiteral("Grocer"), food);
    transaction.setCheckNumber(1042);
    transaction.setNotes(QStringLiteral("weekly"));
    panel.setup(transaction, false, false);

    EXPECT_EQ(panel.date(), day(2024, 2, 20));
    EXPECT_EQ(panel.checkNumberText(), QStringLiteral("1042"));
    EXPECT_EQ(panel.payee().text(), QStringLiteral("Grocer"));
    EXPECT_EQ(panel.notes(), QStringLiteral("weekly"));
    EXPECT_EQ(panel.amount(), amount("-42.10"));
    EXPECT_FALSE(panel.showsSplitRows());
    EXPECT_EQ(panel.singleCategory(), food);
    EXPECT_FALSE(panel.showsAccountPopup());
    EXPECT_FALSE(panel.bankData().shown);

    panel.setDate(day(2024, 2, 21));
    panel.setAmount(amount("-45.5"));
    panel.setSingleCategory(fuel);
    const app::TransactionEdit edit = panel.fields();
    EXPECT_EQ(edit.date, day(2024, 2, 21));
    EXPECT_EQ(edit.checkNumber, 1042);
    EXPECT_EQ(edit.title, QStringLiteral("Grocer"));
    EXPECT_EQ(edit.notes, QStringLiteral("weekly"));
    EXPECT_EQ(edit.amount, amount("-45.50"));
    EXPECT_EQ(edit.categoryLines, (std::vector<model::PlainSplit>{{fuel, amount("-45.50")}}));
}

TEST_F(EditPanelModelTest, ASplitSetOfOneLineShowsTheSingleCategoryField) {
    model::Transaction transaction = newTransaction(account, "-20", QStringLiteral("Station"));
    model::SplitSet set = model::SplitSet::insertInContext(context);
    model::Split line = model::Split::insertInContext(context);
    line.setAmount(amount("-20"));
    line.setCategory(fuel);
    line.setSplitSet(set.object());
    transaction.replaceSplitSet(set.object());
    ASSERT_NE(transaction.splitSet(), nullptr);

    panel.setup(transaction, false, false);
    EXPECT_FALSE(panel.showsSplitRows());
    EXPECT_TRUE(panel.splitRows().empty());
    EXPECT_EQ(panel.singleCategory(), fuel);
}

TEST_F(EditPanelModelTest, StoredRowsComeInDisplayOrderAndOnlyAnUncategorisedLastRowAbsorbsChanges) {
    model::Transaction mixed =
        splitTransaction("-100", {{food, amount("-30")}, {nullptr, amount("-50")}, {fuel, amount("-20")}});
    panel.setup(mixed, false, false);
    ASSERT_TRUE(panel.showsSplitRows());
    EXPECT_EQ(rows(panel), (Rows{{food, amount("-30")}, {fuel, amount("-20")}, {nullptr, amount("-50")}}));
    panel.setAmount(amount("-120"));
    EXPECT_EQ(rows(panel), (Rows{{food, amount("-30")}, {fuel, amount("-20")}, {nullptr, amount("-70")}}));
    EXPECT_FALSE(panel.remainder());

    // A row with a category was entered by the user: it keeps its amount, the difference shows apart.
    model::Transaction categorised = splitTransaction("-100", {{food, amount("-60")}, {fuel, amount("-40")}});
    panel.setup(categorised, false, false);
    panel.setAmount(amount("-120"));
    EXPECT_EQ(rows(panel), (Rows{{food, amount("-60")}, {fuel, amount("-40")}}));
    EXPECT_EQ(panel.remainder(), amount("-20"));
    EXPECT_EQ(panel.remainderText(), QStringLiteral("-20.00"));

    const app::TransactionEdit edit = panel.fields();
    EXPECT_EQ(edit.amount, amount("-120"));
    EXPECT_EQ(edit.categoryLines,
              (std::vector<model::PlainSplit>{{food, amount("-60")}, {fuel, amount("-40")}}));
}

TEST_F(EditPanelModelTest, SplittingMovesTheRestOfTheAmountIntoTheUntouchedSecondRow) {
    panel.setup(newTransaction(account, "-100", QStringLiteral("Market"), food), false, false);

    EXPECT_EQ(panel.split(), (Focus{Focus::Field::RowAmount, 0}));
    EXPECT_EQ(rows(panel), (Rows{{food, amount("-100")}, {nullptr, std::nullopt}}));
    EXPECT_EQ(panel.singleCategory(), nullptr);

    panel.setRowAmount(0, amount("-60"));
    EXPECT_EQ(rows(panel), (Rows{{food, amount("-60")}, {nullptr, amount("-40")}}));
    EXPECT_FALSE(panel.remainder());

    // The amount field keeps driving the untouched row.
    panel.setAmount(amount("-150"));
    EXPECT_EQ(rows(panel), (Rows{{food, amount("-60")}, {nullptr, amount("-90")}}));

    panel.setRowCategory(1, fuel);
    EXPECT_EQ(panel.fields().categoryLines,
              (std::vector<model::PlainSplit>{{food, amount("-60")}, {fuel, amount("-90")}}));
}

TEST_F(EditPanelModelTest, AnAddStartsEmptyAndSplitsIntoRowsWithoutAmounts) {
    model::Transaction added = model::Transaction::insertInContext(context, clock);
    added.setAccount(account.object());
    added.setAmount(model::Amount());
    panel.setup(added, true, false);
    EXPECT_EQ(panel.amount(), std::nullopt);
    EXPECT_EQ(panel.date(), day(2024, 3, 1));

    EXPECT_EQ(panel.split(), (Focus{Focus::Field::RowCategory, 0}));
    EXPECT_EQ(rows(panel), (Rows{{nullptr, std::nullopt}, {nullptr, std::nullopt}}));
    EXPECT_FALSE(panel.remainder());

    // Rows left without amount or category write zero and no category.
    panel.setRowCategory(0, food);
    const app::TransactionEdit edit = panel.fields();
    EXPECT_EQ(edit.amount, model::Amount());
    EXPECT_EQ(edit.categoryLines,
              (std::vector<model::PlainSplit>{{food, model::Amount()}, {nullptr, model::Amount()}}));
}

TEST_F(EditPanelModelTest, AddingRemovingAndMergingRows) {
    panel.setup(newTransaction(account, "-100", QStringLiteral("Market"), food), false, false);
    panel.split();
    panel.setRowAmount(0, amount("-60"));
    panel.setRowAmount(1, amount("-30"));
    EXPECT_EQ(panel.remainder(), amount("-10"));

    // A new last row has not been typed into: it takes the remainder.
    EXPECT_EQ(panel.addSplitRow(), (Focus{Focus::Field::RowCategory, 2}));
    EXPECT_EQ(rows(panel), (Rows{{food, amount("-60")}, {nullptr, amount("-30")}, {nullptr, amount("-10")}}));
    EXPECT_FALSE(panel.remainder());

    panel.removeSplitRow(2);
    EXPECT_EQ(panel.remainder(), amount("-10"));
    panel.removeSplitRow(0);
    EXPECT_FALSE(panel.showsSplitRows());
    EXPECT_EQ(panel.singleCategory(), nullptr);

    panel.setSingleCategory(food);
    panel.split();
    panel.addSplitRow();
    panel.setRowCategory(0, fuel);
    EXPECT_EQ(panel.merge(), (Focus{Focus::Field::SingleCategory, 0}));
    EXPECT_FALSE(panel.showsSplitRows());
    EXPECT_EQ(panel.singleCategory(), fuel);
    EXPECT_EQ(panel.fields().categoryLines, (std::vector<model::PlainSplit>{{fuel, amount("-100")}}));
}

TEST_F(EditPanelModelTest, TheBankAreaShowsTheBanksTitleAndDateAndOffersUndoForAMatch) {
    panel.setup(matchedTransaction(), false, false);
    app::EditPanelModel::BankData bank = panel.bankData();
    EXPECT_TRUE(bank.shown);
    EXPECT_EQ(bank.title, QStringLiteral("ACME HARDWARE"));
    EXPECT_EQ(bank.date, QStringLiteral("Feb 18, 2024"));
    EXPECT_TRUE(bank.offersUndoMatch);

    panel.setup(bankTransaction("-9.99"), false, false);
    bank = panel.bankData();
    EXPECT_TRUE(bank.shown);
    EXPECT_EQ(bank.title, QStringLiteral("ACME HARDWARE"));
    EXPECT_FALSE(bank.offersUndoMatch);

    panel.setup(newTransaction(account, "-5"), false, false);
    EXPECT_FALSE(panel.bankData().shown);
}

TEST_F(EditPanelModelTest, UndoingAMatchAsksAndOnlyActsOnUndoMatch) {
    model::Transaction matched = matchedTransaction();
    panel.setup(matched, false, false);

    alerts.answer(QStringLiteral("Cancel"));
    EXPECT_FALSE(panel.undoMatch());
    ASSERT_EQ(alerts.shown().size(), 1u);
    const app::Alert& question = alerts.last();
    EXPECT_EQ(question.message, QStringLiteral("Are you sure you want to undo this match?"));
    EXPECT_EQ(question.informativeText,
              QStringLiteral("You will end up with the original pending transaction and the imported "
                             "transaction, which will be marked as new."));
    EXPECT_EQ(question.buttons, (QStringList{QStringLiteral("Undo Match"), QStringLiteral("Cancel")}));
    EXPECT_TRUE(matched.isMatched());
    EXPECT_EQ(context.count(u"Transaction"), 1u);

    alerts.answer(QStringLiteral("Undo Match"));
    EXPECT_TRUE(panel.undoMatch());
    EXPECT_EQ(alerts.shown().size(), 2u);
    EXPECT_EQ(alerts.last().message, QStringLiteral("Are you sure you want to undo this match?"));
    EXPECT_TRUE(matched.isPending());
    EXPECT_FALSE(panel.bankData().shown);

    // Both halves are on disk: the pending entry and the bank's, new again.
    const std::unique_ptr<objectstore::Context> saved = reloaded();
    std::vector<model::Transaction> stored = model::Transaction::allInContext(*saved);
    ASSERT_EQ(stored.size(), 2u);
    const auto bankHalf = std::find_if(stored.begin(), stored.end(),
                                       [](const model::Transaction& entry) { return entry.isBank(); });
    ASSERT_NE(bankHalf, stored.end());
    EXPECT_TRUE(bankHalf->isNew());
    EXPECT_EQ(bankHalf->title(), QStringLiteral("Acme Hardware"));
    EXPECT_TRUE(model::Transaction(in(*saved, matched.object())).isPending());
}

TEST_F(EditPanelModelTest, AFinishedPayeeSuggestsTheCategoryAndForANewEntryTheAccount) {
    model::Account savings = newAccount(QStringLiteral("Savings"));
    newTransaction(savings, "-12", QStringLiteral("Grocer Market"), food);
    newTransaction(savings, "-14", QStringLiteral("Grocer Market"), food);
    workspace.saveDatabase();

    model::Transaction added = model::Transaction::insertInContext(context, clock);
    added.setAccount(account.object());
    panel.setup(added, true, true);
    EXPECT_TRUE(panel.showsAccountPopup());
    EXPECT_EQ(panel.chosenAccount()->object(), account.object());
    EXPECT_EQ(panel.accountChoices().size(), 2u);

    panel.payee().textEdited(QStringLiteral("grocer m"), false);
    EXPECT_EQ(panel.payee().text(), QStringLiteral("grocer market"));
    EXPECT_TRUE(panel.endPayeeEditing());
    EXPECT_EQ(panel.payee().text(), QStringLiteral("Grocer Market"));
    EXPECT_EQ(panel.singleCategory(), food);
    EXPECT_EQ(panel.chosenAccount()->object(), savings.object());

    // Editing an existing transaction never moves it.
    model::Transaction existing = newTransaction(account, "-3", QStringLiteral("Grocer Market"));
    panel.setup(existing, false, false);
    EXPECT_FALSE(panel.endPayeeEditing());
    EXPECT_EQ(panel.singleCategory(), food);
    EXPECT_EQ(panel.chosenAccount()->object(), account.object());
}

TEST_F(EditPanelModelTest, CheckNumberTextThatIsNotANumberIsRefusedAndKeepsTheNumber) {
    model::Transaction transaction = newTransaction(account, "-1");
    transaction.setCheckNumber(7);
    panel.setup(transaction, false, false);

    EXPECT_FALSE(panel.setCheckNumberText(QStringLiteral("12a")));
    EXPECT_EQ(panel.checkNumber(), 7);
    EXPECT_TRUE(panel.setCheckNumberText(QStringLiteral("1043")));
    EXPECT_EQ(panel.fields().checkNumber, 1043);
    EXPECT_TRUE(panel.setCheckNumberText(QStringLiteral("  ")));
    EXPECT_EQ(panel.fields().checkNumber, std::nullopt);
}

} // namespace
