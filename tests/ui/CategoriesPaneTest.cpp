#include "ui/CategoriesPane.h"

#include "app/AppWorkspaceFixture.h"
#include "model/CategoryGroup.h"
#include "ui/CategoryTreeModel.h"

#include <QAbstractItemModelTester>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include <gmock/gmock.h>

#include <memory>

using namespace vantrel;
using ::testing::ElementsAre;
using testsupport::utf8;

namespace {

class CategoriesPaneTest : public testsupport::AppWorkspaceFixture {
protected:
    CategoriesPaneTest() {
        model::CategoryVT(rent).setGroup(home);
        workspace.saveDatabase();
        posted.clear();
    }

    objectstore::ManagedObject* newGroup(const QString& name) {
        model::CategoryGroup group = model::CategoryGroup::insertInContext(context);
        group.setName(name);
        return group.object();
    }

    // The pane shown, its tree model watched while it changes.
    std::unique_ptr<ui::CategoriesPane> openPane() {
        auto pane = std::make_unique<ui::CategoriesPane>(workspace);
        tester = std::make_unique<QAbstractItemModelTester>(
            pane->treeModel(), QAbstractItemModelTester::FailureReportingMode::Fatal);
        pane->show();
        QApplication::setActiveWindow(pane.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(pane.get()));
        return pane;
    }

    // What the tree shows, a group's categories indented below it.
    static std::vector<std::string> shown(const QTreeView* tree) {
        std::vector<std::string> rows;
        const QAbstractItemModel* model = tree->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            const QModelIndex top = model->index(row, 0);
            rows.push_back(utf8(top.data().toString()));
            for (int child = 0; child < model->rowCount(top); ++child) {
                rows.push_back("  " + utf8(model->index(child, 0, top).data().toString()));
            }
        }
        return rows;
    }

    static QModelIndex find(const QTreeView* tree, const QString& name) {
        const QModelIndexList found = tree->model()->match(tree->model()->index(0, 0), Qt::DisplayRole, name,
                                                           1, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? QModelIndex() : found.front();
    }

    static void click(QTreeView* tree, const QModelIndex& index) {
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(index).center());
    }

    // The open name editor of that row, if any.
    static QLineEdit* editorOf(const QTreeView* tree, const QModelIndex& index) {
        auto* editor = qobject_cast<QLineEdit*>(tree->indexWidget(index));
        return editor != nullptr && editor->isVisible() ? editor : nullptr;
    }

    static QLineEdit* nameEditor(const QTreeView* tree) {
        for (QLineEdit* editor : tree->viewport()->findChildren<QLineEdit*>()) {
            if (editor->isVisible()) {
                return editor;
            }
        }
        return nullptr;
    }

    // Replaces the edited name and commits it with Return, as the user does.
    static void typeName(QTreeView* tree, const QString& name) {
        QLineEdit* editor = nameEditor(tree);
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Backspace);
        QTest::keyClicks(editor, name);
        QTest::keyClick(editor, Qt::Key_Return);
        settle();
    }

    // The delegate commits a name after Return from the event loop, and the tree refreshes after
    // the commit: two rounds.
    static void settle() {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

    QString storedName(objectstore::ManagedObject* category) {
        const auto saved = reloaded();
        return model::CategoryVT(in(*saved, category)).name();
    }

    objectstore::ManagedObject* food = newCategory(QStringLiteral("Food"));
    objectstore::ManagedObject* gas = newCategory(QStringLiteral("Gas"));
    objectstore::ManagedObject* rent = newCategory(QStringLiteral("Rent"));
    objectstore::ManagedObject* home = newGroup(QStringLiteral("Home"));
    std::unique_ptr<QAbstractItemModelTester> tester;
};

TEST_F(CategoriesPaneTest, AddsACategoryAndRenamesItInPlace) {
    const auto pane = openPane();
    QTreeView* tree = pane->tree();
    EXPECT_THAT(shown(tree), ElementsAre("Food", "Gas", "Home", "  Rent"));

    QTest::mouseClick(pane->addCategoryButton(), Qt::LeftButton);
    EXPECT_THAT(shown(tree), ElementsAre("Food", "Gas", "Home", "  Rent", "New Category"));
    EXPECT_EQ(utf8(tree->currentIndex().data().toString()), "New Category");
    EXPECT_NE(editorOf(tree, tree->currentIndex()), nullptr);
    ASSERT_NE(nameEditor(tree), nullptr);
    EXPECT_EQ(utf8(nameEditor(tree)->text()), "New Category");
    EXPECT_EQ(reloaded()->count(u"Category"), 4u);
    EXPECT_EQ(posted, QStringList{"VT Categories Changed"});

    typeName(tree, QStringLiteral("Books"));
    EXPECT_THAT(shown(tree), ElementsAre("Books", "Food", "Gas", "Home", "  Rent"));
    EXPECT_EQ(utf8(tree->currentIndex().data().toString()), "Books");
    EXPECT_EQ(nameEditor(tree), nullptr);
    EXPECT_TRUE(model::CategoryVT::findByName(*reloaded(), QStringLiteral("Books")).has_value());
    EXPECT_TRUE(pane->deleteButton()->isEnabled());
    EXPECT_TRUE(alerts.shown().empty());
}

TEST_F(CategoriesPaneTest, ARefusedNameIsShownAndTheRowIsEditedAgainUntilEscape) {
    const auto pane = openPane();
    QTreeView* tree = pane->tree();
    click(tree, find(tree, QStringLiteral("Food")));
    QTest::keyClick(tree, Qt::Key_F2);

    typeName(tree, QString());
    ASSERT_EQ(alerts.shown().size(), 1u);
    EXPECT_EQ(alerts.last(), (app::Alert{"A category's name cannot be blank.", QString(), {}}));
    EXPECT_NE(editorOf(tree, tree->currentIndex()), nullptr);
    EXPECT_EQ(tree->currentIndex(), find(tree, QStringLiteral("Food")));
    ASSERT_NE(nameEditor(tree), nullptr);
    EXPECT_TRUE(nameEditor(tree)->text().isEmpty());

    typeName(tree, QStringLiteral("rent"));
    ASSERT_EQ(alerts.shown().size(), 2u);
    EXPECT_EQ(
        alerts.last(),
        (app::Alert{"The name rent has already been taken. Please choose a different name", QString(), {}}));
    EXPECT_NE(editorOf(tree, tree->currentIndex()), nullptr);
    ASSERT_NE(nameEditor(tree), nullptr);
    EXPECT_EQ(utf8(nameEditor(tree)->text()), "rent");

    QTest::keyClick(nameEditor(tree), Qt::Key_Escape);
    settle();
    EXPECT_EQ(nameEditor(tree), nullptr);
    EXPECT_FALSE(pane->editor().editingRow().has_value());
    EXPECT_EQ(utf8(storedName(food)), "Food");
    EXPECT_THAT(shown(tree), ElementsAre("Food", "Gas", "Home", "  Rent"));
    EXPECT_TRUE(posted.isEmpty());
}

TEST_F(CategoriesPaneTest, AddsAGroupAndDragsCategoriesIntoAndOutOfIt) {
    const auto pane = openPane();
    QTreeView* tree = pane->tree();
    QTest::mouseClick(pane->addGroupButton(), Qt::LeftButton);
    EXPECT_NE(editorOf(tree, tree->currentIndex()), nullptr);
    typeName(tree, QStringLiteral("Car"));
    EXPECT_THAT(shown(tree), ElementsAre("Car", "Food", "Gas", "Home", "  Rent"));

    ui::CategoryTreeModel* model = pane->treeModel();
    const std::unique_ptr<QMimeData> dragged(
        model->mimeData({find(tree, QStringLiteral("Gas")), find(tree, QStringLiteral("Food"))}));
    // Only onto a group or the empty area: never onto a category or between rows.
    EXPECT_FALSE(model->canDropMimeData(dragged.get(), Qt::MoveAction, -1, -1, find(tree, "Rent")));
    EXPECT_FALSE(model->canDropMimeData(dragged.get(), Qt::MoveAction, 1, 0, find(tree, "Home")));
    EXPECT_FALSE(model->canDropMimeData(dragged.get(), Qt::MoveAction, 2, 0, QModelIndex()));
    const std::unique_ptr<QMimeData> group(model->mimeData({find(tree, QStringLiteral("Home"))}));
    EXPECT_FALSE(model->canDropMimeData(group.get(), Qt::MoveAction, -1, -1, find(tree, "Car")));
    ASSERT_TRUE(model->canDropMimeData(dragged.get(), Qt::MoveAction, -1, -1, find(tree, "Car")));

    EXPECT_TRUE(model->dropMimeData(dragged.get(), Qt::MoveAction, -1, -1, find(tree, "Car")));
    settle();
    EXPECT_THAT(shown(tree), ElementsAre("Car", "  Food", "  Gas", "Home", "  Rent"));
    {
        const auto saved = reloaded();
        objectstore::ManagedObject* savedGroup = model::CategoryVT(in(*saved, gas)).group();
        ASSERT_NE(savedGroup, nullptr);
        EXPECT_EQ(utf8(model::CategoryGroup(savedGroup).name()), "Car");
        EXPECT_EQ(model::CategoryVT(in(*saved, food)).group(), savedGroup);
    }

    const std::unique_ptr<QMimeData> leaving(model->mimeData({find(tree, QStringLiteral("Rent"))}));
    EXPECT_TRUE(model->dropMimeData(leaving.get(), Qt::MoveAction, -1, -1, QModelIndex()));
    settle();
    EXPECT_THAT(shown(tree), ElementsAre("Car", "  Food", "  Gas", "Home", "Rent"));
    EXPECT_EQ(model::CategoryVT(in(*reloaded(), rent)).group(), nullptr);
    EXPECT_EQ(posted.count(QStringLiteral("VT Categories Changed")), 4);
}

TEST_F(CategoriesPaneTest, DeletesWithTheEditorsConfirmations) {
    model::Account account = newAccount(QStringLiteral("Checking"));
    newTransaction(account, "-12", QStringLiteral("Lunch"), food);
    workspace.saveDatabase();
    const auto pane = openPane();
    QTreeView* tree = pane->tree();

    click(tree, find(tree, QStringLiteral("Food")));
    QTest::mouseClick(pane->deleteButton(), Qt::LeftButton);
    ASSERT_EQ(alerts.shown().size(), 1u);
    EXPECT_EQ(
        alerts.last(),
        (app::Alert{"Cannot delete this category because it is still used by some transactions.",
                    "To delete this category, update all transactions using this category to use another "
                    "category.",
                    {}}));
    EXPECT_THAT(shown(tree), ElementsAre("Food", "Gas", "Home", "  Rent"));

    const app::Alert confirmation{"Are you sure you want to delete this category?",
                                  "Deleting this category will also remove it from your existing budgets.",
                                  {"Delete Category", "Cancel"}};
    click(tree, find(tree, QStringLiteral("Gas")));
    alerts.answer(QStringLiteral("Cancel"));
    QTest::keyClick(tree, Qt::Key_Delete);
    EXPECT_EQ(alerts.last(), confirmation);
    EXPECT_THAT(shown(tree), ElementsAre("Food", "Gas", "Home", "  Rent"));

    alerts.answer(QStringLiteral("Delete Category"));
    QTest::mouseClick(pane->deleteButton(), Qt::LeftButton);
    EXPECT_EQ(alerts.shown().size(), 3u);
    EXPECT_EQ(alerts.last(), confirmation);
    EXPECT_THAT(shown(tree), ElementsAre("Food", "Home", "  Rent"));
    EXPECT_FALSE(model::CategoryVT::findByName(*reloaded(), QStringLiteral("Gas")).has_value());

    // A group goes without asking; its categories stay, at the top level.
    click(tree, find(tree, QStringLiteral("Home")));
    QTest::mouseClick(pane->deleteButton(), Qt::LeftButton);
    EXPECT_EQ(alerts.shown().size(), 3u);
    EXPECT_THAT(shown(tree), ElementsAre("Food", "Rent"));
    EXPECT_EQ(reloaded()->count(u"CategoryGroup"), 0u);
    EXPECT_TRUE(alerts.allAnswersUsed());
}

TEST_F(CategoriesPaneTest, FollowsCategoriesChangedElsewhere) {
    const auto pane = openPane();
    newCategory(QStringLiteral("Travel"));
    model::CategoryVT(gas).setName(QStringLiteral("Fuel"));
    workspace.saveDatabase();
    workspace.postCategoriesChanged();
    QCoreApplication::processEvents();
    EXPECT_THAT(shown(pane->tree()), ElementsAre("Food", "Fuel", "Home", "  Rent", "Travel"));
}

} // namespace
