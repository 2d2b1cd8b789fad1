#include "app/BatchEditModel.h"

#include "RegisterFixture.h"
#include "app/RegisterViewModel.h"
#include "platform/InternalError.h"
#include "platform/NotificationNames.h"

using namespace vantrel;
using app::BatchEditModel;
using app::RegisterViewModel;
using testsupport::amount;
using testsupport::day;
using testsupport::utf8;
using Field = BatchEditModel::Field;
using FlagChoice = BatchEditModel::FlagChoice;

namespace {

class BatchEditModelTest : public testsupport::RegisterFixture {
protected:
    void SetUp() override {
        hub.observe(QString::fromLatin1(platform::kCategoriesChanged), &hub,
                    [this](const platform::Notification&) { ++categoriesChanged; });
    }

    model::Account checking = newAccount(QStringLiteral("Checking"));
    model::CategoryVT food = newCategory(QStringLiteral("Food"));
    model::CategoryVT gas = newCategory(QStringLiteral("Gas"));
    RegisterViewModel model = RegisterViewModel::forAccount(workspace, checking, locale());
    int categoriesChanged = 0;
};

TEST_F(BatchEditModelTest, ClassifiesTheSelectionAndOffersTheMatchingFlagChoices) {
    const model::Transaction user1 = newTransaction(checking, today(), "-1", QStringLiteral("a"));
    const model::Transaction user2 = newTransaction(checking, today(), "-1", QStringLiteral("b"));
    const model::Transaction bank = newBankTransaction(checking, today(), "-1", QStringLiteral("c"));
    model::Transaction matched = newTransaction(checking, today(), "-1", QStringLiteral("d"));
    matched.setOfxAmount(amount("-1"));
    matched.setOfxTitle(QStringLiteral("D"));
    matched.setOfxDate(today());

    const BatchEditModel users(model, {user1, user2});
    EXPECT_EQ(users.kinds(), BatchEditModel::Kinds::AllUser);
    EXPECT_EQ(users.flagChoices(), (std::vector<FlagChoice>{FlagChoice::None, FlagChoice::Pending}));
    const BatchEditModel banks(model, {bank, matched});
    EXPECT_EQ(banks.kinds(), BatchEditModel::Kinds::AllBankOrMatched);
    EXPECT_EQ(banks.flagChoices(), (std::vector<FlagChoice>{FlagChoice::None, FlagChoice::New}));
    BatchEditModel mixed(model, {user1, bank});
    EXPECT_EQ(mixed.kinds(), BatchEditModel::Kinds::Mixed);
    EXPECT_EQ(mixed.flagChoices(), std::vector<FlagChoice>{FlagChoice::None});
    EXPECT_THROW(mixed.setFlag(FlagChoice::Pending), platform::InternalError);
    EXPECT_FALSE(mixed.isTicked(Field::Flag));

    EXPECT_EQ(utf8(users.subtitle()), "Modifying 2 transactions.");
    EXPECT_THROW(BatchEditModel(model, {user1}), platform::InternalError);
}

TEST_F(BatchEditModelTest, FieldsStartWithTheSharedValuesAndTheDateBoxFillsTheEarliestDate) {
    model::Transaction a =
        newTransaction(checking, day(2024, 3, 5), "-9.99", QStringLiteral("Gym"), food.object());
    model::Transaction b =
        newTransaction(checking, day(2024, 2, 7), "-9.99", QStringLiteral("Gym"), food.object());
    model::Transaction c =
        newTransaction(checking, day(2024, 3, 1), "-9.99", QStringLiteral("gym"), food.object());
    a.setNotes(QStringLiteral("monthly"));
    b.setNotes(QStringLiteral("monthly"));
    c.setNotes(QStringLiteral("monthly"));
    a.setFlagged(true);
    b.setFlagged(true);
    c.setFlagged(true);

    BatchEditModel batch(model, {a, b, c});
    EXPECT_EQ(utf8(batch.subtitle()), "Modifying 3 transactions.");
    EXPECT_EQ(batch.amount(), amount("-9.99"));
    EXPECT_EQ(batch.category(), food.object());
    EXPECT_EQ(batch.notes(), QStringLiteral("monthly"));
    EXPECT_EQ(batch.flag(), FlagChoice::Pending);
    EXPECT_FALSE(batch.title()) << "titles compare by exact value";
    EXPECT_FALSE(batch.date());
    EXPECT_FALSE(batch.isDateEnabled());
    for (const Field field :
         {Field::Amount, Field::Category, Field::Date, Field::Title, Field::Notes, Field::Flag}) {
        EXPECT_FALSE(batch.isTicked(field));
    }

    batch.setTicked(Field::Date, true);
    EXPECT_EQ(batch.date(), day(2024, 2, 7));
    EXPECT_TRUE(batch.isDateEnabled());

    batch.setTitle(QStringLiteral("Gym"));
    EXPECT_TRUE(batch.isTicked(Field::Title));
    EXPECT_FALSE(batch.isTicked(Field::Notes));
}

TEST_F(BatchEditModelTest, SplitOrDifferentCategoriesLeaveTheCategoryEmpty) {
    model::Transaction split = newTransaction(checking, today(), "-10", QStringLiteral("a"));
    split.setMultipleCategoriesAndAmounts({{food.object(), amount("-4")}, {gas.object(), amount("-6")}});
    const model::Transaction plain =
        newTransaction(checking, today(), "-10", QStringLiteral("b"), food.object());
    const model::Transaction none1 = newTransaction(checking, today(), "-10", QStringLiteral("c"));
    const model::Transaction none2 = newTransaction(checking, today(), "-10", QStringLiteral("d"));
    model::Transaction split2 = newTransaction(checking, today(), "-10", QStringLiteral("e"));
    split2.setMultipleCategoriesAndAmounts({{food.object(), amount("-4")}, {gas.object(), amount("-6")}});

    EXPECT_FALSE(BatchEditModel(model, {split, plain}).category());
    EXPECT_FALSE(BatchEditModel(model, {split, split2}).category());
    EXPECT_FALSE(BatchEditModel(model, {plain, none1}).category());
    const BatchEditModel uncategorised(model, {none1, none2});
    ASSERT_TRUE(uncategorised.category());
    EXPECT_EQ(*uncategorised.category(), nullptr);
}

TEST_F(BatchEditModelTest, ApplyingWritesTickedFieldsReviewsNewOnesThenSetsTheFlagAndSaves) {
    model::Transaction split = newBankTransaction(checking, day(2024, 3, 1), "-10", QStringLiteral("Fuel"));
    split.setMultipleCategoriesAndAmounts({{food.object(), amount("-4")}, {gas.object(), amount("-6")}});
    model::Transaction plain = newBankTransaction(checking, day(2024, 3, 2), "-20", QStringLiteral("Fuel"));
    const model::Transaction untouched =
        newTransaction(checking, day(2024, 3, 3), "-1", QStringLiteral("other"));
    save();
    model.reload();

    BatchEditModel batch(model, {split, plain});
    batch.setAmount(amount("-30"));
    batch.setNotes(QStringLiteral("road trip"));
    batch.setDate(day(2024, 3, 10));
    batch.apply();

    for (const model::Transaction& t : {split, plain}) {
        EXPECT_EQ(t.amount(), amount("-30"));
        EXPECT_EQ(utf8(t.notes()), "road trip");
        EXPECT_EQ(t.date(), day(2024, 3, 10));
        EXPECT_EQ(utf8(t.title()), "Fuel");
        EXPECT_FALSE(t.isNew()) << "edited new transactions become reviewed";
    }
    model::Amount lines;
    for (const model::PlainSplit& line : split.splits()) {
        lines += line.amount;
    }
    EXPECT_EQ(lines, amount("-30"));
    EXPECT_EQ(categoriesChanged, 0);
    EXPECT_FALSE(context.hasChanges());
    // Re-sorted: both moved above the untouched one.
    EXPECT_EQ(model.rowOf(untouched), 2u);
}

TEST_F(BatchEditModelTest, CategoryReplacesSplitsAndTheFlagIsAppliedAfterReviewing) {
    model::Transaction split = newBankTransaction(checking, today(), "-10", QStringLiteral("Fuel"));
    split.setMultipleCategoriesAndAmounts({{food.object(), amount("-4")}, {gas.object(), amount("-6")}});
    model::Transaction other = newBankTransaction(checking, today(), "-20", QStringLiteral("Fuel"));
    other.setFlagged(false);
    save();

    BatchEditModel batch(model, {split, other});
    EXPECT_FALSE(batch.flag());
    batch.setCategory(gas.object());
    batch.setFlag(FlagChoice::New);
    batch.apply();

    for (const model::Transaction& t : {split, other}) {
        EXPECT_EQ(t.splitSet(), nullptr);
        EXPECT_EQ(t.theCategory(), gas.object());
        EXPECT_TRUE(t.isNew()) << "the flag comes after the review";
    }
    EXPECT_EQ(split.amount(), amount("-10"));
    EXPECT_EQ(categoriesChanged, 1);

    BatchEditModel clear(model, {split, other});
    EXPECT_EQ(clear.flag(), FlagChoice::New);
    clear.setFlag(FlagChoice::None);
    clear.apply();
    EXPECT_FALSE(split.isFlagged());
    EXPECT_FALSE(other.isFlagged());
}

TEST_F(BatchEditModelTest, UntickedFieldsAreNotApplied) {
    model::Transaction a = newBankTransaction(checking, today(), "-10", QStringLiteral("A"));
    model::Transaction b = newBankTransaction(checking, today(), "-20", QStringLiteral("B"));
    BatchEditModel batch(model, {a, b});
    batch.setTitle(QStringLiteral("Same"));
    batch.setTicked(Field::Title, false);
    batch.apply();
    EXPECT_EQ(utf8(a.title()), "A");
    EXPECT_TRUE(a.isNew()) << "nothing applied, nothing reviewed";
}

TEST_F(BatchEditModelTest, FinishingTheTitleFillsAnEmptyCategoryWithTheMostUsedOne) {
    newTransaction(checking, day(2024, 1, 1), "-1", QStringLiteral("Bakery"), food.object());
    const model::Transaction a = newTransaction(checking, today(), "-1", QStringLiteral("x"), gas.object());
    const model::Transaction b = newTransaction(checking, today(), "-1", QStringLiteral("y"));
    BatchEditModel batch(model, {a, b});
    batch.setTitle(QStringLiteral("bakery"));
    batch.finishTitleEditing();
    EXPECT_EQ(batch.category(), food.object());
    EXPECT_TRUE(batch.isTicked(Field::Category));

    BatchEditModel withCategory(model, {a, a});
    withCategory.setTitle(QStringLiteral("bakery"));
    withCategory.finishTitleEditing();
    EXPECT_EQ(withCategory.category(), gas.object());
    EXPECT_FALSE(withCategory.isTicked(Field::Category));
}

} // namespace
