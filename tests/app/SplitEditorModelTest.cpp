#include "app/SplitEditorModel.h"

#include "AppWorkspaceFixture.h"
#include "model/SplitSet.h"

using namespace vantrel;
using testsupport::amount;

namespace {

class SplitEditorModelTest : public testsupport::AppWorkspaceFixture {
protected:
    SplitEditorModelTest() { workspace.saveDatabase(); }

    std::vector<std::optional<model::Amount>> amounts(const app::SplitEditorModel& editor) const {
        std::vector<std::optional<model::Amount>> shown;
        for (const app::SplitLine& line : editor.lines()) {
            shown.push_back(line.amount);
        }
        return shown;
    }

    // Lines as (category, amount) in the order the transaction sorts them for display.
    static std::vector<model::PlainSplit> savedLines(const model::Transaction& transaction) {
        return transaction.sortedSplits();
    }

    model::Account account = newAccount(QStringLiteral("Checking"));
    objectstore::ManagedObject* food = newCategory(QStringLiteral("Food"));
    objectstore::ManagedObject* fuel = newCategory(QStringLiteral("Fuel"));
    objectstore::ManagedObject* home = newCategory(QStringLiteral("Home"));
    model::Transaction transaction = newTransaction(account, "-100", QStringLiteral("Market"), food);
};

TEST_F(SplitEditorModelTest, SplittingGivesTheCategoryTheWholeAmountAndAddsAnEmptyLine) {
    app::SplitEditorModel editor(workspace, transaction);
    ASSERT_FALSE(editor.isSplit());
    EXPECT_EQ(editor.singleCategory(), food);

    editor.split();
    ASSERT_EQ(editor.lines().size(), 2u);
    EXPECT_EQ(editor.lines()[0].category, food);
    EXPECT_EQ(editor.lines()[0].amount, amount("-100"));
    EXPECT_EQ(editor.lines()[1].category, nullptr);
    EXPECT_EQ(editor.lines()[1].amount, std::nullopt);
    EXPECT_FALSE(editor.remainder());
}

TEST_F(SplitEditorModelTest, TheLastLineAbsorbsTheRemainderUntilTheUserTypesIntoIt) {
    app::SplitEditorModel editor(workspace, transaction);
    editor.split();

    editor.setLineAmount(0, amount("-60"));
    EXPECT_EQ(amounts(editor), (std::vector<std::optional<model::Amount>>{amount("-60"), amount("-40")}));
    EXPECT_FALSE(editor.remainder());

    editor.setTransactionAmount(amount("-120"));
    EXPECT_EQ(amounts(editor), (std::vector<std::optional<model::Amount>>{amount("-60"), amount("-60")}));

    // Confirming the value the line already holds is not typing.
    editor.setLineAmount(1, amount("-60"));
    editor.setLineAmount(0, amount("-70"));
    EXPECT_EQ(amounts(editor), (std::vector<std::optional<model::Amount>>{amount("-70"), amount("-50")}));

    // Now the user types there: the lines stay as entered and the remainder shows instead.
    editor.setLineAmount(1, amount("-30"));
    EXPECT_EQ(amounts(editor), (std::vector<std::optional<model::Amount>>{amount("-70"), amount("-30")}));
    EXPECT_EQ(editor.remainder(), amount("-20"));

    editor.setTransactionAmount(amount("-150"));
    EXPECT_EQ(amounts(editor), (std::vector<std::optional<model::Amount>>{amount("-70"), amount("-30")}));
    EXPECT_EQ(editor.remainder(), amount("-50"));

    editor.setLineAmount(0, amount("-120"));
    EXPECT_FALSE(editor.remainder());
}

TEST_F(SplitEditorModelTest, GivingTheEmptyLastLineAValueCountsAsTyping) {
    app::SplitEditorModel editor(workspace, transaction);
    editor.split();

    editor.setLineAmount(1, amount("-10"));
    EXPECT_EQ(amounts(editor), (std::vector<std::optional<model::Amount>>{amount("-100"), amount("-10")}));
    EXPECT_EQ(editor.remainder(), amount("10"));
}

TEST_F(SplitEditorModelTest, AnAddedLineStartsAtZeroWithItsCategoryFocusedAndTakesLaterRemainders) {
    app::SplitEditorModel editor(workspace, transaction);
    editor.split();
    editor.setLineAmount(0, amount("-60"));
    editor.setLineAmount(1, amount("-30"));
    ASSERT_EQ(editor.remainder(), amount("-10"));

    editor.addLine();
    ASSERT_EQ(editor.lines().size(), 3u);
    EXPECT_EQ(editor.lines()[2].amount, amount("0"));
    EXPECT_EQ(editor.lines()[2].category, nullptr);
    EXPECT_EQ(editor.focusedCategoryLine(), 2u);

    editor.setLineAmount(0, amount("-50"));
    EXPECT_EQ(amounts(editor),
              (std::vector<std::optional<model::Amount>>{amount("-50"), amount("-30"), amount("-20")}));
    EXPECT_FALSE(editor.remainder());
}

TEST_F(SplitEditorModelTest, RemovingLinesDownToOneReturnsToASingleCategory) {
    app::SplitEditorModel editor(workspace, transaction);
    editor.split();
    editor.setLineCategory(1, fuel);
    editor.setLineAmount(0, amount("-60"));
    editor.addLine();
    editor.setLineCategory(2, home);
    editor.setLineAmount(2, amount("-15"));
    ASSERT_EQ(editor.remainder(), amount("15"));

    // The typed last line keeps its amount; the remainder follows the removal.
    editor.removeLine(1);
    EXPECT_EQ(amounts(editor), (std::vector<std::optional<model::Amount>>{amount("-60"), amount("-15")}));
    EXPECT_EQ(editor.remainder(), amount("-25"));

    editor.removeLine(0);
    EXPECT_FALSE(editor.isSplit());
    EXPECT_EQ(editor.singleCategory(), home);
    EXPECT_FALSE(editor.remainder());
}

TEST_F(SplitEditorModelTest, SavingWritesTheLinesPostsTheChangeAndBalancesWhatIsLeft) {
    app::SplitEditorModel editor(workspace, transaction);
    editor.split();
    editor.setLineAmount(0, amount("-60"));
    editor.setLineCategory(1, fuel);
    editor.setLineAmount(1, amount("-30"));
    ASSERT_EQ(editor.remainder(), amount("-10"));

    editor.save();
    EXPECT_EQ(posted, QStringList{"VT Categories Changed"});
    workspace.saveDatabase();

    const auto other = reloaded();
    const model::Transaction saved(in(*other, transaction.object()));
    EXPECT_EQ(saved.category(), nullptr);
    ASSERT_NE(saved.splitSet(), nullptr);
    EXPECT_EQ(savedLines(saved), (std::vector<model::PlainSplit>{{in(*other, food), amount("-60")},
                                                                 {in(*other, fuel), amount("-30")},
                                                                 {nullptr, amount("-10")}}));
}

TEST_F(SplitEditorModelTest, ASplitTransactionOpensWithItsLinesAndCanBeSavedBackToOneCategory) {
    transaction.setMultipleCategoriesAndAmounts({{food, amount("-70")}, {fuel, amount("-30")}});
    workspace.saveDatabase();

    app::SplitEditorModel editor(workspace, transaction);
    ASSERT_TRUE(editor.isSplit());
    ASSERT_EQ(editor.lines().size(), 2u);
    EXPECT_EQ(editor.lines()[0].category, food);
    EXPECT_EQ(editor.lines()[0].amount, amount("-70"));
    EXPECT_EQ(editor.lines()[1].category, fuel);

    editor.setTransactionAmount(amount("-110"));
    EXPECT_EQ(editor.lines()[1].amount, amount("-40"));

    editor.removeLine(0);
    ASSERT_FALSE(editor.isSplit());
    editor.save();
    workspace.saveDatabase();

    const auto other = reloaded();
    const model::Transaction saved(in(*other, transaction.object()));
    EXPECT_EQ(saved.splitSet(), nullptr);
    EXPECT_EQ(saved.category(), in(*other, fuel));
    EXPECT_EQ(saved.amount(), amount("-110"));
    EXPECT_TRUE(other->all(u"SplitSet").empty());
}

} // namespace
