#include "app/CategoryFieldModel.h"

#include "AppWorkspaceFixture.h"
#include "model/Budget.h"
#include "model/CategoryGroup.h"
#include "model/CategoryLimit.h"

#include <gmock/gmock.h>

using namespace vantrel;
using app::CategoryFieldModel;
using app::CategoryMenuEntry;
using ::testing::ElementsAre;
using testsupport::amount;
using testsupport::utf8;

namespace {

class CategoryFieldModelTest : public testsupport::AppWorkspaceFixture {
protected:
    static app::Alert createQuestion(const char* name) {
        return app::Alert{
            QStringLiteral("The category \"%1\" does not exist, do you want to create it?")
                .arg(QString::fromUtf8(name)),
            QStringLiteral("You can manage all of your categories in the application preferences panel."),
            {QStringLiteral("Create"), QStringLiteral("Cancel")}};
    }

    // One line per entry: kind letter, indentation, title; "-" for separators; groups in brackets.
    static std::vector<std::string> outline(const std::vector<CategoryMenuEntry>& entries) {
        std::vector<std::string> lines;
        for (const CategoryMenuEntry& entry : entries) {
            const std::string indent(static_cast<std::size_t>(entry.indentation) * 2, ' ');
            switch (entry.kind) {
            case CategoryMenuEntry::Kind::Separator:
                lines.push_back("-");
                break;
            case CategoryMenuEntry::Kind::Group:
                lines.push_back(indent + "[" + utf8(entry.title) + "]");
                break;
            default:
                lines.push_back(indent + utf8(entry.title));
            }
        }
        return lines;
    }
};

TEST_F(CategoryFieldModelTest, CompletionsKeepTheTypedTextAndSortPlainly) {
    for (const char* name : {"Food", "fuel", "Furniture", "Gas", "Café"}) {
        newCategory(QString::fromUtf8(name));
    }
    const CategoryFieldModel field(workspace);

    EXPECT_EQ(field.completions(QStringLiteral("fu")),
              (QStringList{QStringLiteral("fuel"), QStringLiteral("furniture")}));
    EXPECT_EQ(field.completions(QStringLiteral("F")),
              (QStringList{QStringLiteral("Food"), QStringLiteral("Fuel"), QStringLiteral("Furniture")}));
    EXPECT_EQ(field.completions(QStringLiteral("CA")), QStringList{QStringLiteral("CAfé")});
    // Accents count when completing.
    EXPECT_TRUE(field.completions(QStringLiteral("cafe")).isEmpty());
    // Plain order puts capitals first.
    EXPECT_EQ(field.completions(QString()),
              (QStringList{QStringLiteral("Café"), QStringLiteral("Food"), QStringLiteral("Furniture"),
                           QStringLiteral("Gas"), QStringLiteral("fuel")}));
}

TEST_F(CategoryFieldModelTest, CommittedTextChoosesByNameIgnoringCaseAndAccents) {
    objectstore::ManagedObject* food = newCategory(QStringLiteral("Food"));
    objectstore::ManagedObject* cafe = newCategory(QStringLiteral("Café"));
    CategoryFieldModel field(workspace, cafe);
    EXPECT_EQ(field.text(), QStringLiteral("Café"));

    EXPECT_EQ(field.commitText(QStringLiteral("FOOD")), food);
    EXPECT_EQ(field.text(), QStringLiteral("Food"));
    EXPECT_EQ(field.commitText(QStringLiteral("cafe")), cafe);
    EXPECT_EQ(field.commitText(QStringLiteral(" \t")), nullptr);
    EXPECT_EQ(field.category(), nullptr);
    EXPECT_TRUE(field.text().isEmpty());
    EXPECT_TRUE(alerts.shown().empty());
    EXPECT_TRUE(posted.isEmpty());
}

TEST_F(CategoryFieldModelTest, AnUnknownNameIsCreatedWithZeroLimitsWhenTheUserAgrees) {
    const model::Budget budget = model::Budget::insertInContext(context);
    objectstore::ManagedObject* food = newCategory(QStringLiteral("Food"));
    CategoryFieldModel field(workspace, food);

    alerts.answer(QStringLiteral("Create"));
    objectstore::ManagedObject* books = field.commitText(QStringLiteral("Books"));
    EXPECT_EQ(alerts.shown(), std::vector<app::Alert>{createQuestion("Books")});
    ASSERT_NE(books, nullptr);
    EXPECT_NE(books, food);
    EXPECT_EQ(field.category(), books);
    EXPECT_EQ(model::CategoryVT(books).name(), QStringLiteral("Books"));
    EXPECT_FALSE(model::CategoryVT(books).isDefault());
    EXPECT_EQ(posted, QStringList{QStringLiteral("VT Categories Changed")});

    const auto limits = budget.categoryLimits();
    const auto limit = std::find_if(limits.begin(), limits.end(), [books](const model::CategoryLimit& each) {
        return each.category() == books;
    });
    ASSERT_NE(limit, limits.end());
    EXPECT_EQ(limit->amount(), amount("0"));
    EXPECT_TRUE(context.save().succeeded());
}

TEST_F(CategoryFieldModelTest, CancellingTheCreationKeepsThePreviousChoice) {
    objectstore::ManagedObject* food = newCategory(QStringLiteral("Food"));
    CategoryFieldModel field(workspace, food);

    alerts.answer(QStringLiteral("Cancel"));
    EXPECT_EQ(field.commitText(QStringLiteral("Bokks")), food);
    EXPECT_EQ(alerts.last(), createQuestion("Bokks"));
    EXPECT_EQ(field.text(), QStringLiteral("Food"));
    EXPECT_EQ(context.count(u"Category"), 1u);
    EXPECT_TRUE(posted.isEmpty());
}

TEST_F(CategoryFieldModelTest, MenuListsGroupsWithTheirCategoriesIndentedBetweenNoneAndEdit) {
    model::CategoryVT::loadDefaultCategories(context);
    model::CategoryGroup home = model::CategoryGroup::insertInContext(context);
    home.setName(QStringLiteral("home"));
    for (const char* name : {"rent", "Electricity"}) {
        model::CategoryVT(newCategory(QString::fromLatin1(name))).setGroup(home.object());
    }
    model::CategoryVT(*model::CategoryVT::findByName(context, QStringLiteral("Gas"))).setGroup(home.object());
    const CategoryFieldModel field(workspace);

    const std::vector<CategoryMenuEntry> entries = field.menuEntries();
    EXPECT_THAT(outline(entries),
                ElementsAre("None", "-", "Food", "[home]", "  Electricity", "  Gas", "  rent", "Income",
                            "Shopping", "Transfer", "Transportation", "Travel", "-", "Edit Categories..."));
    EXPECT_EQ(entries.front().kind, CategoryMenuEntry::Kind::None);
    EXPECT_EQ(entries.back().kind, CategoryMenuEntry::Kind::EditCategories);
    EXPECT_EQ(entries[2].kind, CategoryMenuEntry::Kind::Category);
    EXPECT_EQ(entries[2].emoji, QString::fromUcs4(U"\U0001F374"));
    EXPECT_EQ(entries[5].emoji, QString::fromUcs4(U"\u26FD\uFE0F"));
    EXPECT_EQ(entries[3].object, home.object());
    EXPECT_FALSE(entries[3].enabled);
    EXPECT_TRUE(entries[4].enabled);
    EXPECT_TRUE(entries[9].emoji.isEmpty());
}

} // namespace
