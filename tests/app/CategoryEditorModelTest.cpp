#include "app/CategoryEditorModel.h"

#include "AppWorkspaceFixture.h"
#include "app/CategoryFieldModel.h"
#include "model/Budget.h"
#include "model/CategoryGroup.h"
#include "model/CategoryLimit.h"
#include "model/Split.h"
#include "model/SplitSet.h"

#include <gmock/gmock.h>

using namespace vantrel;
using app::CategoryEditorModel;
using ::testing::ElementsAre;
using DropTarget = app::CategoryEditorModel::DropTarget;
using testsupport::amount;
using testsupport::day;
using testsupport::utf8;

namespace {

class CategoryEditorModelTest : public testsupport::AppWorkspaceFixture {
protected:
    objectstore::ManagedObject* newGroup(const QString& name) {
        model::CategoryGroup group = model::CategoryGroup::insertInContext(context);
        group.setName(name);
        return group.object();
    }

    objectstore::ManagedObject* newCategoryIn(objectstore::ManagedObject* group, const QString& name) {
        objectstore::ManagedObject* category = newCategory(name);
        model::CategoryVT(category).setGroup(group);
        return category;
    }

    model::Transaction newTransactionIn(model::Account& account, const char* value,
                                        objectstore::ManagedObject* category = nullptr) {
        model::Transaction transaction = model::Transaction::insertInContext(context, clock);
        transaction.setAccount(account.object());
        transaction.setAmount(amount(value));
        transaction.setCategory(category);
        return transaction;
    }

    // "name@depth" per row, groups marked with a slash, in the order the tree shows them.
    static std::vector<std::string> shape(const CategoryEditorModel& editor) {
        std::vector<std::string> rows;
        for (const app::CategoryTreeRow& row : editor.rows()) {
            rows.push_back((row.isGroup ? "/" : "") + utf8(row.name) + "@" + std::to_string(row.depth));
        }
        return rows;
    }

    static std::size_t rowNamed(const CategoryEditorModel& editor, const QString& name) {
        const auto& rows = editor.rows();
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (rows[i].name == name) {
                return i;
            }
        }
        ADD_FAILURE() << "no row " << utf8(name);
        return rows.size();
    }

    std::size_t savedCount(QStringView entity) const { return reloaded()->count(entity); }
};

TEST_F(CategoryEditorModelTest, TreeListsGroupsAndUngroupedCategoriesByNameIgnoringCase) {
    objectstore::ManagedObject* bills = newGroup(QStringLiteral("bills"));
    newCategoryIn(bills, QStringLiteral("Water"));
    newCategoryIn(bills, QStringLiteral("electricity"));
    newGroup(QStringLiteral("Car"));
    newCategory(QStringLiteral("Zoo"));
    newCategory(QStringLiteral("apple"));
    model::CategoryVT food(newCategory(QStringLiteral("Food")));
    food.setEmoji(QStringLiteral("🍴"));

    const CategoryEditorModel editor(workspace);
    EXPECT_EQ(CategoryEditorModel::paneTitle(), QStringLiteral("Categories"));
    EXPECT_THAT(shape(editor),
                ElementsAre("apple@0", "/bills@0", "electricity@1", "Water@1", "/Car@0", "Food@0", "Zoo@0"));
    EXPECT_EQ(editor.rows()[5].emoji, QStringLiteral("🍴"));
    EXPECT_TRUE(editor.rows()[1].emoji.isEmpty());
    EXPECT_FALSE(editor.selectedRow().has_value());
    EXPECT_FALSE(editor.editingRow().has_value());
}

TEST_F(CategoryEditorModelTest, AddingSavesSelectsAndOpensTheNameForEditing) {
    const model::Budget budget = model::Budget::insertInContext(context);
    CategoryEditorModel editor(workspace);

    editor.addCategory();
    editor.addCategory();
    EXPECT_THAT(shape(editor), ElementsAre("New Category@0", "New Category 2@0"));
    EXPECT_EQ(editor.selectedRow(), 1u);
    EXPECT_EQ(editor.editingRow(), 1u);
    EXPECT_EQ(editor.editingText(), QStringLiteral("New Category 2"));
    EXPECT_EQ(budget.categoryLimits().size(), 2u);

    editor.addGroup();
    EXPECT_THAT(shape(editor), ElementsAre("/@0", "New Category@0", "New Category 2@0"));
    EXPECT_TRUE(editor.rows()[0].name.isNull());
    EXPECT_EQ(editor.selectedRow(), 0u);
    EXPECT_EQ(editor.editingRow(), 0u);

    EXPECT_EQ(savedCount(u"Category"), 2u);
    EXPECT_EQ(savedCount(u"CategoryGroup"), 1u);
    EXPECT_EQ(posted, QStringList(3, QStringLiteral("VT Categories Changed")));
}

TEST_F(CategoryEditorModelTest, RenamingSavesResortsAndKeepsTheRowSelected) {
    newCategory(QStringLiteral("Food"));
    newCategory(QStringLiteral("Gas"));
    CategoryEditorModel editor(workspace);
    editor.beginEditing(1);

    EXPECT_TRUE(editor.rename(1, QStringLiteral("auto")));
    EXPECT_THAT(shape(editor), ElementsAre("auto@0", "Food@0"));
    EXPECT_EQ(editor.selectedRow(), 0u);
    EXPECT_FALSE(editor.editingRow().has_value());
    EXPECT_EQ(posted, QStringList{QStringLiteral("VT Categories Changed")});
    const auto saved = reloaded();
    EXPECT_EQ(model::CategoryVT(in(*saved, editor.rows()[0].object)).name(), QStringLiteral("auto"));

    // Its own name in other letters is still its own.
    EXPECT_TRUE(editor.rename(0, QStringLiteral("Auto")));
    EXPECT_TRUE(alerts.shown().empty());

    // An absent name from the editor is stored as the empty text: groups may have it.
    objectstore::ManagedObject* group = newGroup(QStringLiteral("Home"));
    editor.reload();
    EXPECT_TRUE(editor.rename(rowNamed(editor, QStringLiteral("Home")), QString()));
    EXPECT_FALSE(model::CategoryGroup(group).name().isNull());
    EXPECT_TRUE(model::CategoryGroup(group).name().isEmpty());
}

TEST_F(CategoryEditorModelTest, ARefusedNameIsShownAndTheRowStaysInEditMode) {
    newCategory(QStringLiteral("Food"));
    newCategory(QStringLiteral("Gas"));
    ASSERT_TRUE(workspace.saveDatabase());
    CategoryEditorModel editor(workspace);
    editor.beginEditing(1);

    EXPECT_FALSE(editor.rename(1, QString()));
    ASSERT_EQ(alerts.shown().size(), 1u);
    EXPECT_EQ(alerts.last(),
              (app::Alert{QStringLiteral("A category's name cannot be blank."), QString(), {}}));
    EXPECT_EQ(editor.selectedRow(), 1u);
    EXPECT_EQ(editor.editingRow(), 1u);
    EXPECT_EQ(editor.editingText(), QStringLiteral(""));

    EXPECT_FALSE(editor.rename(1, QStringLiteral("food")));
    EXPECT_EQ(alerts.last().message,
              QStringLiteral("The name food has already been taken. Please choose a different name"));
    EXPECT_EQ(editor.editingRow(), 1u);
    EXPECT_EQ(editor.editingText(), QStringLiteral("food"));

    // Nothing refused reaches the graph, so later saves are not blocked by it.
    EXPECT_THAT(shape(editor), ElementsAre("Food@0", "Gas@0"));
    EXPECT_TRUE(context.save().succeeded());
    EXPECT_TRUE(posted.isEmpty());

    editor.endEditing();
    EXPECT_FALSE(editor.editingRow().has_value());
    EXPECT_EQ(editor.selectedRow(), 1u);
}

TEST_F(CategoryEditorModelTest, CategoriesDropOnlyOntoAGroupOrTheTopLevel) {
    objectstore::ManagedObject* home = newGroup(QStringLiteral("Home"));
    newCategoryIn(home, QStringLiteral("Rent"));
    newCategory(QStringLiteral("Food"));
    newCategory(QStringLiteral("Gas"));
    CategoryEditorModel editor(workspace);
    ASSERT_THAT(shape(editor), ElementsAre("Food@0", "Gas@0", "/Home@0", "Rent@1"));

    EXPECT_TRUE(editor.validateDrop({0, 1}, DropTarget::onRow(2)));
    EXPECT_TRUE(editor.validateDrop({3}, DropTarget::topLevel()));
    EXPECT_FALSE(editor.validateDrop({0}, DropTarget::onRow(1)));           // onto a category
    EXPECT_FALSE(editor.validateDrop({0}, DropTarget::betweenRows({}, 2))); // between top-level rows
    EXPECT_FALSE(editor.validateDrop({0}, DropTarget::betweenRows(2u, 0))); // between a group's rows
    EXPECT_FALSE(editor.validateDrop({2}, DropTarget::topLevel()));         // a group is not dragged
    EXPECT_FALSE(editor.validateDrop({}, DropTarget::onRow(2)));
    EXPECT_FALSE(editor.acceptDrop({0}, DropTarget::onRow(1)));
    EXPECT_TRUE(posted.isEmpty());

    editor.select(0);
    EXPECT_TRUE(editor.acceptDrop({0, 1}, DropTarget::onRow(2)));
    EXPECT_THAT(shape(editor), ElementsAre("/Home@0", "Food@1", "Gas@1", "Rent@1"));
    EXPECT_EQ(editor.selectedRow(), 1u);
    EXPECT_EQ(model::CategoryGroup(home).categories().size(), 3u);

    EXPECT_TRUE(editor.acceptDrop({3}, DropTarget::topLevel()));
    EXPECT_THAT(shape(editor), ElementsAre("/Home@0", "Food@1", "Gas@1", "Rent@0"));
    const auto saved = reloaded();
    EXPECT_EQ(model::CategoryGroup(in(*saved, home)).categories().size(), 2u);
    EXPECT_EQ(posted, QStringList(2, QStringLiteral("VT Categories Changed")));
}

TEST_F(CategoryEditorModelTest, ACategoryInUseIsNotDeleted) {
    objectstore::ManagedObject* food = newCategory(QStringLiteral("Food"));
    model::Account checking = newAccount(QStringLiteral("Checking"));
    newTransactionIn(checking, "-10", food);
    newTransactionIn(checking, "-20", food);
    model::Transaction split = newTransactionIn(checking, "-7");
    model::SplitSet lines = model::SplitSet::insertInContext(context);
    for (objectstore::ManagedObject* category : {food, static_cast<objectstore::ManagedObject*>(nullptr)}) {
        model::Split line = model::Split::insertInContext(context);
        line.setAmount(amount(category != nullptr ? "-5" : "-2"));
        line.setCategory(category);
        line.setSplitSet(lines.object());
    }
    split.replaceSplitSet(lines.object());
    ASSERT_EQ(model::CategoryVT(food).numberOfUses(), 3u);
    CategoryEditorModel editor(workspace);

    EXPECT_FALSE(editor.deleteRow(0));
    ASSERT_EQ(alerts.shown().size(), 1u);
    EXPECT_EQ(
        alerts.last(),
        (app::Alert{
            QStringLiteral("Cannot delete this category because it is still used by some transactions."),
            QStringLiteral("To delete this category, update all transactions using this category to "
                           "use another category."),
            {}}));
    EXPECT_FALSE(food->isDeleted());
    EXPECT_EQ(editor.rows().size(), 1u);
    EXPECT_TRUE(posted.isEmpty());
}

TEST_F(CategoryEditorModelTest, AnUnusedCategoryIsDeletedWithItsLimitsOnlyAfterConfirmation) {
    const model::Budget budget = model::Budget::insertInContext(context);
    newCategory(QStringLiteral("Food"));
    newCategory(QStringLiteral("Gas"));
    ASSERT_TRUE(workspace.saveDatabase());
    CategoryEditorModel editor(workspace);
    editor.select(1);
    const app::Alert confirmation{
        QStringLiteral("Are you sure you want to delete this category?"),
        QStringLiteral("Deleting this category will also remove it from your existing "
                       "budgets."),
        {QStringLiteral("Delete Category"), QStringLiteral("Cancel")}};

    alerts.answer(QStringLiteral("Cancel"));
    EXPECT_FALSE(editor.deleteRow(1));
    EXPECT_EQ(alerts.last(), confirmation);
    EXPECT_EQ(editor.rows().size(), 2u);
    EXPECT_TRUE(posted.isEmpty());

    alerts.answer(QStringLiteral("Delete Category"));
    EXPECT_TRUE(editor.deleteRow(1));
    EXPECT_EQ(alerts.last(), confirmation);
    EXPECT_THAT(shape(editor), ElementsAre("Food@0"));
    EXPECT_FALSE(editor.selectedRow().has_value());
    EXPECT_EQ(budget.categoryLimits().size(), 1u);
    EXPECT_EQ(savedCount(u"Category"), 1u);
    EXPECT_EQ(savedCount(u"CategoryLimit"), 1u);
    EXPECT_EQ(posted, QStringList{QStringLiteral("VT Categories Changed")});
}

TEST_F(CategoryEditorModelTest, DeletingAGroupAsksNothingAndKeepsItsCategoriesAtTheTopLevel) {
    objectstore::ManagedObject* home = newGroup(QStringLiteral("Home"));
    model::Account checking = newAccount(QStringLiteral("Checking"));
    newTransactionIn(checking, "-500", newCategoryIn(home, QStringLiteral("Rent")));
    newCategoryIn(home, QStringLiteral("Garden"));
    CategoryEditorModel editor(workspace);
    ASSERT_EQ(model::CategoryGroup(home).numberOfUses(), 1u);

    EXPECT_TRUE(editor.deleteRow(0));
    EXPECT_TRUE(alerts.shown().empty());
    EXPECT_THAT(shape(editor), ElementsAre("Garden@0", "Rent@0"));
    EXPECT_EQ(savedCount(u"CategoryGroup"), 0u);
    EXPECT_EQ(savedCount(u"Category"), 2u);
    EXPECT_EQ(posted, QStringList{QStringLiteral("VT Categories Changed")});
}

TEST_F(CategoryEditorModelTest, FollowsCategoriesCreatedElsewhere) {
    newCategory(QStringLiteral("Food"));
    CategoryEditorModel editor(workspace);
    editor.select(0);

    app::CategoryFieldModel field(workspace);
    alerts.answer(QStringLiteral("Create"));
    field.commitText(QStringLiteral("Books"));
    EXPECT_THAT(shape(editor), ElementsAre("Books@0", "Food@0"));
    EXPECT_EQ(editor.selectedRow(), 1u);
}

} // namespace
