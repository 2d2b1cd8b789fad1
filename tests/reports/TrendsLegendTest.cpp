#include "reports/TrendsLegend.h"

#include "ReportsFixture.h"
#include "platform/UserDefaults.h"

#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

using namespace vantrel;
using reports::TrendsLegend;
using testsupport::utf8;

namespace {

class TrendsLegendTest : public testsupport::MoneyFixture {
protected:
    QString path() const { return folder.filePath(QStringLiteral("defaults.ini")); }

    QStringList stored() const {
        return platform::UserDefaults(path()).value(QStringLiteral("VTTrendsSelection")).toStringList();
    }

    std::vector<std::string> describe(const TrendsLegend& legend) const {
        std::vector<std::string> rows;
        for (const TrendsLegend::Item& item : legend.items()) {
            rows.push_back(utf8(item.title + u'|' + item.color +
                                (item.isHeading() ? QStringLiteral("|heading") : QString())));
        }
        return rows;
    }

    QTemporaryDir folder;
    platform::UserDefaults defaults{path()};
    // Created out of name order: the legend sorts them.
    model::CategoryVT rent = newCategory(QStringLiteral("Rent"));
    model::CategoryVT books = newCategory(QStringLiteral("books"));
    model::CategoryVT car = newCategory(QStringLiteral("Car"));
    model::CategoryVT food = newCategory(QStringLiteral("Food"));
    model::CategoryVT gifts = newCategory(QStringLiteral("Gifts"));
    model::CategoryVT pets = newCategory(QStringLiteral("Pets"));
};

TEST_F(TrendsLegendTest, OffersTheTotalsThenCategoriesByNameColouredByPosition) {
    const TrendsLegend legend(context, defaults);

    EXPECT_THAT(describe(legend),
                ::testing::ElementsAre("Balance|55B0E4", "Income|62C749", "Expense|EC7663",
                                       "Categories||heading", "books|B58FF2", "Car|FCD219", "Food|E67BAB",
                                       "Gifts|2BC89A", "Pets|EC992A", "Rent|B58FF2"));
    EXPECT_EQ(utf8(legend.items()[0].identifier), "balance");
    EXPECT_EQ(utf8(legend.items()[1].identifier), "income");
    EXPECT_EQ(utf8(legend.items()[2].identifier), "expense");
    EXPECT_EQ(legend.items()[6].identifier, food.cloudID());
    EXPECT_EQ(utf8(legend.colorOf(food.cloudID())), "E67BAB");
    EXPECT_EQ(utf8(legend.colorOf(QStringLiteral("expense"))), "EC7663");
    EXPECT_EQ(utf8(legend.colorOf(QStringLiteral("unknown"))), "FCD219");
}

TEST_F(TrendsLegendTest, FirstUseSelectsTheBalanceAndEveryChangeIsStoredAtOnce) {
    TrendsLegend legend(context, defaults);
    EXPECT_THAT(legend.selection(), ::testing::ElementsAre(QStringLiteral("balance")));

    EXPECT_TRUE(legend.select(food.cloudID()));
    EXPECT_THAT(stored(), ::testing::ElementsAre(QStringLiteral("balance"), food.cloudID()));
    legend.deselect(QStringLiteral("balance"));
    EXPECT_THAT(stored(), ::testing::ElementsAre(food.cloudID()));

    const TrendsLegend again(context, defaults);
    EXPECT_THAT(again.selection(), ::testing::ElementsAre(food.cloudID()));
    EXPECT_TRUE(again.isSelected(food.cloudID()));
    EXPECT_FALSE(again.isSelected(QStringLiteral("balance")));
}

TEST_F(TrendsLegendTest, ASixthSeriesOrOneNotOnOfferIsRefusedAndNothingChanges) {
    TrendsLegend legend(context, defaults);
    for (const QString& identifier :
         {QStringLiteral("income"), QStringLiteral("expense"), food.cloudID(), car.cloudID()}) {
        ASSERT_TRUE(legend.select(identifier));
    }
    const QStringList five = legend.selection();
    ASSERT_EQ(five.size(), 5);

    EXPECT_FALSE(legend.select(pets.cloudID()));
    EXPECT_EQ(legend.selection(), five);
    EXPECT_EQ(stored(), five);

    legend.deselect(car.cloudID());
    EXPECT_FALSE(legend.select(QString()));
    EXPECT_FALSE(legend.select(QStringLiteral("nonsense")));
    EXPECT_EQ(legend.selection().size(), 4);
    EXPECT_TRUE(legend.select(pets.cloudID()));
}

TEST_F(TrendsLegendTest, ADeletedCategoryLeavesTheSelection) {
    TrendsLegend legend(context, defaults);
    legend.select(gifts.cloudID());
    legend.select(food.cloudID());
    context.deleteObject(gifts.object());

    const TrendsLegend loaded(context, defaults);
    EXPECT_THAT(loaded.selection(), ::testing::ElementsAre(QStringLiteral("balance"), food.cloudID()));
    EXPECT_EQ(loaded.items().size(), 9U);

    legend.reload();
    EXPECT_THAT(legend.selection(), ::testing::ElementsAre(QStringLiteral("balance"), food.cloudID()));
    EXPECT_THAT(stored(), ::testing::ElementsAre(QStringLiteral("balance"), food.cloudID()));
}

} // namespace
