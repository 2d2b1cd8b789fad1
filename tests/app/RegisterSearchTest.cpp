#include "app/RegisterSearch.h"

#include "RegisterFixture.h"
#include "app/KeywordMatcher.h"

using namespace vantrel;
using app::KeywordMatcher;
using app::RegisterSearch;
using testsupport::amount;
using testsupport::day;
using testsupport::utf8;

namespace {

class RegisterSearchTest : public testsupport::RegisterFixture {
protected:
    std::vector<QString> found(const std::optional<model::Account>& scope, const QString& text) {
        std::vector<QString> titles;
        for (objectstore::ManagedObject* object : RegisterSearch::find(context, scope, text)) {
            titles.push_back(model::Transaction(object).title());
        }
        return titles;
    }

    model::Account checking = newAccount(QStringLiteral("Checking"));
    model::Account card = newAccount(QStringLiteral("Visa"), QStringLiteral("credit_card"));
    model::CategoryVT food = newCategory(QStringLiteral("Food"));
    model::CategoryVT gas = newCategory(QStringLiteral("Gas"));
};

TEST_F(RegisterSearchTest, FindsAmountsTitlesSplitCategoriesAndNotesIgnoringCase) {
    newTransaction(checking, day(2024, 3, 1), "-12.50", QStringLiteral("Lunch"));
    newTransaction(checking, day(2024, 3, 2), "-12.05", QStringLiteral("Snack"));
    model::Transaction split = newTransaction(checking, day(2024, 3, 3), "-40", QStringLiteral("Market"));
    split.setMultipleCategoriesAndAmounts({{gas.object(), amount("-10")}, {food.object(), amount("-30")}});
    model::Transaction noted = newTransaction(checking, day(2024, 3, 4), "-3", QStringLiteral("Kiosk"));
    noted.setNotes(QStringLiteral("Paid with FOOD stamps"));

    EXPECT_EQ(found(std::nullopt, QStringLiteral("12.50")), std::vector<QString>{QStringLiteral("Lunch")});
    EXPECT_EQ(found(std::nullopt, QStringLiteral("food")),
              (std::vector<QString>{QStringLiteral("Kiosk"), QStringLiteral("Market")}));
    EXPECT_EQ(found(std::nullopt, QStringLiteral("MARK")), std::vector<QString>{QStringLiteral("Market")});
    EXPECT_TRUE(found(std::nullopt, QStringLiteral("-12")).empty())
        << "the amount is searched without its sign";
}

TEST_F(RegisterSearchTest, IgnoresDiacriticsOnEitherSide) {
    newTransaction(checking, day(2024, 3, 1), "-4", QStringLiteral("Café Central"));
    newTransaction(checking, day(2024, 3, 2), "-5", QStringLiteral("Corner cafe"));
    newTransaction(checking, day(2024, 3, 3), "-6", QStringLiteral("Cafeteria"));
    newTransaction(checking, day(2024, 3, 4), "-7", QStringLiteral("Carrefour"));

    const std::vector<QString> all{QStringLiteral("Cafeteria"), QStringLiteral("Corner cafe"),
                                   QStringLiteral("Café Central")};
    EXPECT_EQ(found(std::nullopt, QStringLiteral("cafe")), all);
    EXPECT_EQ(found(std::nullopt, QStringLiteral("CAFÉ")), all);
    // The decomposed spelling (e + combining acute) folds the same way.
    EXPECT_EQ(found(std::nullopt, QString::fromUtf8("cafe\u0301")), all);
    EXPECT_EQ(found(std::nullopt, QStringLiteral("é central")),
              std::vector<QString>{QStringLiteral("Café Central")});
}

TEST_F(RegisterSearchTest, ARenamedCategoryIsFoundByItsNewNameOnly) {
    newTransaction(checking, day(2024, 3, 1), "-4", QStringLiteral("Dinner"), food.object());
    EXPECT_EQ(found(std::nullopt, QStringLiteral("food")).size(), 1u);
    food.setName(QStringLiteral("Groceries"));
    EXPECT_TRUE(found(std::nullopt, QStringLiteral("food")).empty());
    EXPECT_EQ(found(std::nullopt, QStringLiteral("grocer")), std::vector<QString>{QStringLiteral("Dinner")});
}

TEST_F(RegisterSearchTest, FastMatchingAgreesWithFoldingTheWholeKeywordText) {
    model::Transaction a =
        newTransaction(checking, day(2024, 3, 1), "-167772.17", QStringLiteral("Straße Öl"), food.object());
    a.setNotes(QStringLiteral("Ünïcödé notes"));
    model::Transaction b = newTransaction(card, day(2024, 3, 2), "0.1", QStringLiteral("Rent"));
    b.setMultipleCategoriesAndAmounts({{gas.object(), amount("1")}, {nullptr, amount("-0.9")}});
    newTransaction(card, day(2024, 3, 3), "-1234567.89", QString());
    model::Transaction d = newTransaction(checking, day(2024, 3, 4), "-0.005", QStringLiteral("Tiny"));
    d.setNotes(QStringLiteral("  spaced  out  "));

    const QStringList needles{
        QStringLiteral("strasse"),   QStringLiteral("straße"),   QStringLiteral("ol"),
        QStringLiteral("öl food"),   QStringLiteral("food ünï"), QStringLiteral("notes 167"),
        QStringLiteral("167772.17"), QStringLiteral("167772.1"), QStringLiteral("0.10"),
        QStringLiteral("rent gas"),  QStringLiteral("gas 0.1"),  QStringLiteral("1234567.89"),
        QStringLiteral("1234567.8"), QStringLiteral("0.01"),     QStringLiteral("0.00"),
        QStringLiteral("d  s"),      QStringLiteral("out"),      QStringLiteral("ÖL"),
        QStringLiteral("e n"),       QStringLiteral("."),        QStringLiteral("7 ")};
    for (const QString& needle : needles) {
        const KeywordMatcher matcher(needle);
        for (objectstore::ManagedObject* object : context.all(u"Transaction")) {
            const model::Transaction transaction(object);
            EXPECT_EQ(matcher.matches(transaction), matcher.matchesWholeKeywords(transaction))
                << utf8(needle) << " in " << utf8(transaction.keywords());
        }
    }
}

TEST_F(RegisterSearchTest, ScopeIsTheAccountOrAllAccountsAndResultsAreAGivenSetInOrder) {
    newTransaction(checking, day(2024, 3, 1), "-1", QStringLiteral("Coffee 1"));
    newTransaction(card, day(2024, 3, 3), "-1", QStringLiteral("Coffee 2"));
    newTransaction(checking, day(2024, 3, 2), "-1", QStringLiteral("Coffee 3"));
    newTransaction(checking, day(2024, 3, 4), "-1", QStringLiteral("Tea"));

    RegisterSearch inChecking(workspace, checking, locale());
    EXPECT_FALSE(inChecking.isActive());
    EXPECT_TRUE(inChecking.resultCountText().isEmpty());
    inChecking.setText(QStringLiteral("coffee"));
    ASSERT_TRUE(inChecking.isActive());
    EXPECT_EQ(inChecking.results().mode(), app::RegisterViewModel::Mode::GivenSet);
    ASSERT_EQ(inChecking.results().rowCount(), 2u);
    EXPECT_EQ(utf8(inChecking.results().transactionAt(0).title()), "Coffee 3");
    EXPECT_EQ(utf8(inChecking.titleText()), "Searching \"Checking\"");
    EXPECT_EQ(utf8(inChecking.titleIconName()), "SidebarIconChecking");
    EXPECT_EQ(utf8(inChecking.resultCountText()), "2 Transactions Found");

    inChecking.setText(QStringLiteral("tea"));
    EXPECT_EQ(utf8(inChecking.resultCountText()), "1 Transaction Found");
    inChecking.setText(QStringLiteral("nothing like it"));
    EXPECT_EQ(utf8(inChecking.resultCountText()), "0 Transactions Found");
    inChecking.setText(QString());
    EXPECT_FALSE(inChecking.isActive());
    EXPECT_TRUE(inChecking.resultCountText().isEmpty());

    RegisterSearch everywhere(workspace, std::nullopt, locale());
    everywhere.setText(QStringLiteral("coffee"));
    EXPECT_EQ(everywhere.results().rowCount(), 3u);
    EXPECT_EQ(utf8(everywhere.results().transactionAt(0).title()), "Coffee 2");
    EXPECT_EQ(utf8(everywhere.titleText()), "Searching \"All Accounts\"");
    EXPECT_EQ(utf8(everywhere.titleIconName()), "SidebarIconAllAccounts");
}

} // namespace
