#include "app/TitleCompletionModel.h"

#include "AppWorkspaceFixture.h"
#include "app/SplitEditorModel.h"

using namespace vantrel;
using testsupport::utf8;

namespace {

class TitleCompletionModelTest : public testsupport::AppWorkspaceFixture {
protected:
    TitleCompletionModelTest() {
        newTransaction(checking, "-3.80", QStringLiteral("Starbucks"), coffee);
        newTransaction(card, "-4.10", QStringLiteral("starbucks  "), coffee);
        newTransaction(card, "-12.00", QStringLiteral("STARBUCKS"), food);
        newTransaction(checking, "-55.00", QStringLiteral("Star Market"), food);
        newTransaction(checking, "-20.00", QStringLiteral("Stop & Shop"), food);
        workspace.saveDatabase();
    }

    model::Account checking = newAccount(QStringLiteral("Checking"));
    model::Account card = newAccount(QStringLiteral("Visa"), QStringLiteral("credit_card"));
    objectstore::ManagedObject* coffee = newCategory(QStringLiteral("Coffee"));
    objectstore::ManagedObject* food = newCategory(QStringLiteral("Food"));
    app::TitleCompletionModel title{workspace};
};

TEST_F(TitleCompletionModelTest, TypingCompletesInPlaceWithTheAddedPartSelected) {
    title.textEdited(QStringLiteral("star "), false);
    EXPECT_EQ(utf8(title.completion()), "Star Market");
    EXPECT_EQ(utf8(title.text()), "star Market");
    EXPECT_EQ(title.selectionStart(), 5);
    EXPECT_EQ(title.selectionLength(), 6);

    title.textEdited(QStringLiteral("sto"), false);
    EXPECT_EQ(utf8(title.text()), "stop & Shop");
    EXPECT_EQ(title.selectionStart(), 3);
    EXPECT_EQ(title.selectionLength(), 8);
}

TEST_F(TitleCompletionModelTest, DeletingDoesNotCompleteAndNoMatchDropsTheCompletion) {
    title.textEdited(QStringLiteral("stop"), false);
    ASSERT_EQ(utf8(title.text()), "stop & Shop");

    title.textEdited(QStringLiteral("stop"), true);
    EXPECT_EQ(utf8(title.text()), "stop");
    EXPECT_EQ(title.selectionLength(), 0);

    title.textEdited(QStringLiteral("stopwatch"), false);
    EXPECT_TRUE(title.completion().isEmpty());
    EXPECT_EQ(utf8(title.text()), "stopwatch");
    EXPECT_EQ(title.selectionLength(), 0);
    title.endEditing({});
    EXPECT_EQ(utf8(title.text()), "stopwatch");
}

TEST_F(TitleCompletionModelTest, AFinishedTitleEqualToTheCompletionButForCaseTakesItsSpelling) {
    title.textEdited(QStringLiteral("stop & shop"), false);
    title.endEditing({});
    EXPECT_EQ(utf8(title.text()), "Stop & Shop");
    EXPECT_EQ(title.selectionLength(), 0);

    // Accepting the completed text unchanged ends the same way.
    title.textEdited(QStringLiteral("star m"), false);
    ASSERT_EQ(utf8(title.text()), "star market");
    title.endEditing({});
    EXPECT_EQ(utf8(title.text()), "Star Market");

    // Text that only begins like the completion keeps its own spelling.
    title.textEdited(QStringLiteral("star m"), false);
    title.textEdited(QStringLiteral("star m"), true);
    title.endEditing({});
    EXPECT_EQ(utf8(title.text()), "star m");
}

TEST_F(TitleCompletionModelTest, TheMostUsedCategoryFillsAnUncategorisedSingleLine) {
    model::Transaction entry = model::Transaction::insertInContext(context, clock);
    app::SplitEditorModel categories(workspace, entry);

    title.textEdited(QStringLiteral("starbucks"), false);
    title.endEditing({&categories});
    EXPECT_EQ(categories.singleCategory(), coffee);

    // A category the user chose stays.
    app::SplitEditorModel chosen(workspace, entry);
    chosen.setSingleCategory(food);
    title.endEditing({&chosen});
    EXPECT_EQ(chosen.singleCategory(), food);

    // So do split lines.
    app::SplitEditorModel split(workspace, entry);
    split.split();
    title.endEditing({&split});
    ASSERT_TRUE(split.isSplit());
    EXPECT_EQ(split.lines()[0].category, nullptr);
}

TEST_F(TitleCompletionModelTest, ANewTransactionInTheAllAccountsViewGetsTheMostUsedAccount) {
    title.textEdited(QStringLiteral("Starbucks"), false);
    EXPECT_EQ(title.endEditing({nullptr, true, true}), card.object());
    EXPECT_EQ(title.endEditing({nullptr, false, true}), nullptr);
    EXPECT_EQ(title.endEditing({nullptr, true, false}), nullptr);

    title.textEdited(QStringLiteral("Stop & Shop"), false);
    EXPECT_EQ(title.endEditing({nullptr, true, true}), checking.object());
}

} // namespace
