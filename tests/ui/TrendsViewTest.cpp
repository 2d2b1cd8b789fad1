#include "ui/TrendsView.h"

#include "app/AppWorkspaceFixture.h"
#include "app/TrendsViewModel.h"
#include "reports/TrendsLegend.h"
#include "ui/LineChart.h"
#include "ui/TrendsLegendModel.h"

#include <QAbstractItemModelTester>
#include <QLabel>
#include <QListView>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>

#include <gmock/gmock.h>

#include <memory>

using namespace vantrel;
using ::testing::ElementsAre;
using testsupport::amount;
using testsupport::day;
using testsupport::utf8;

namespace {

class TrendsViewTest : public testsupport::AppWorkspaceFixture {
protected:
    TrendsViewTest() {
        for (const char* name : {"Car", "Food", "Gifts", "Rent"}) {
            newCategory(QString::fromLatin1(name));
        }
        model::Account checking = newAccount(QStringLiteral("Checking"), QStringLiteral("checking"), "100");
        checking.createTransactionWithDate(day(2023, 12, 5), QStringLiteral("Shop"), amount("-20"), nullptr,
                                           QString(), std::nullopt, clock);
        workspace.saveDatabase();
    }

    std::unique_ptr<ui::TrendsView> openView() {
        auto view = std::make_unique<ui::TrendsView>(workspace);
        tester = std::make_unique<QAbstractItemModelTester>(
            view->legendModel(), QAbstractItemModelTester::FailureReportingMode::Fatal);
        view->resize(900, 600);
        view->reload();
        view->show();
        QApplication::setActiveWindow(view.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(view.get()));
        return view;
    }

    static QModelIndex rowTitled(const ui::TrendsView& view, const QString& title) {
        const QModelIndexList found = view.legend()->model()->match(
            view.legend()->model()->index(0, 0), Qt::DisplayRole, title, 1, Qt::MatchExactly);
        return found.isEmpty() ? QModelIndex() : found.front();
    }

    // Clicks the check box of a legend row where the style draws it.
    static void clickCheckBox(const ui::TrendsView& view, const QString& title) {
        const QModelIndex index = rowTitled(view, title);
        ASSERT_TRUE(index.isValid()) << utf8(title);
        QStyleOptionViewItem option;
        option.initFrom(view.legend());
        option.rect = view.legend()->visualRect(index);
        option.features |= QStyleOptionViewItem::HasCheckIndicator;
        const QRect box = view.legend()->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator,
                                                                 &option, view.legend());
        QTest::mouseClick(view.legend()->viewport(), Qt::LeftButton, {}, box.center());
    }

    static bool isChecked(const ui::TrendsView& view, const QString& title) {
        return rowTitled(view, title).data(Qt::CheckStateRole).toInt() == Qt::Checked;
    }

    std::unique_ptr<QAbstractItemModelTester> tester;
};

TEST_F(TrendsViewTest, TheLegendListsTheSeriesUnderAHeadingThatCannotBeChecked) {
    const auto view = openView();
    std::vector<std::string> titles;
    for (int row = 0; row < view->legend()->model()->rowCount(); ++row) {
        titles.push_back(utf8(view->legend()->model()->index(row, 0).data().toString()));
    }
    EXPECT_THAT(titles,
                ElementsAre("Balance", "Income", "Expense", "Categories", "Car", "Food", "Gifts", "Rent"));
    const QModelIndex heading = rowTitled(*view, QStringLiteral("Categories"));
    EXPECT_FALSE(heading.flags().testFlag(Qt::ItemIsUserCheckable));
    EXPECT_FALSE(heading.data(Qt::CheckStateRole).isValid());
    EXPECT_TRUE(rowTitled(*view, QStringLiteral("Food")).flags().testFlag(Qt::ItemIsUserCheckable));

    EXPECT_TRUE(isChecked(*view, QStringLiteral("Balance")));
    EXPECT_EQ(view->chart()->seriesCount(), 1);
    // December 2023 to March 2024.
    EXPECT_EQ(view->chart()->data().monthLabels.size(), 4);
    EXPECT_EQ(view->hint()->text(), QStringLiteral("Up to 5 series can be drawn at once."));
}

TEST_F(TrendsViewTest, CheckingUpToFiveDrawsThemAndASixthIsRefused) {
    const auto view = openView();
    int expected = 1;
    for (const char* title : {"Income", "Expense", "Car", "Food"}) {
        clickCheckBox(*view, QString::fromLatin1(title));
        ++expected;
        EXPECT_TRUE(isChecked(*view, QString::fromLatin1(title))) << title;
        EXPECT_EQ(view->chart()->seriesCount(), expected) << title;
    }

    clickCheckBox(*view, QStringLiteral("Gifts"));
    EXPECT_FALSE(isChecked(*view, QStringLiteral("Gifts")));
    EXPECT_EQ(view->chart()->seriesCount(), 5);
    EXPECT_EQ(view->viewModel().selection().size(), 5);
    EXPECT_TRUE(view->hint()->font().bold());

    // Unchecking one makes room.
    clickCheckBox(*view, QStringLiteral("Balance"));
    EXPECT_FALSE(isChecked(*view, QStringLiteral("Balance")));
    EXPECT_EQ(view->chart()->seriesCount(), 4);
    clickCheckBox(*view, QStringLiteral("Gifts"));
    EXPECT_TRUE(isChecked(*view, QStringLiteral("Gifts")));
    EXPECT_EQ(view->chart()->seriesCount(), 5);

    // The choice is remembered for the next launch.
    const QStringList stored =
        defaults.value(QString::fromLatin1(reports::TrendsLegend::kSelectionKey)).toStringList();
    EXPECT_EQ(stored.size(), 5);
    EXPECT_FALSE(stored.contains(QStringLiteral("balance")));
}

TEST_F(TrendsViewTest, ClickingTheHeadingChangesNothing) {
    const auto view = openView();
    const QModelIndex heading = rowTitled(*view, QStringLiteral("Categories"));
    QTest::mouseClick(view->legend()->viewport(), Qt::LeftButton, {},
                      view->legend()->visualRect(heading).center());
    EXPECT_EQ(view->chart()->seriesCount(), 1);
    EXPECT_EQ(view->viewModel().selection(), QStringList{QStringLiteral("balance")});
}

TEST_F(TrendsViewTest, TheChartMarksTheMonthUnderThePointer) {
    const auto view = openView();
    const ui::LineChart* chart = view->chart();
    EXPECT_EQ(chart->monthAt(chart->width() - 50), 3);
    EXPECT_EQ(chart->monthAt(0), -1);
}

TEST_F(TrendsViewTest, ARefreshOfAllViewsPicksUpNewCategories) {
    const auto view = openView();
    newCategory(QStringLiteral("Books"));
    workspace.saveDatabase();
    workspace.refreshAllViews();
    EXPECT_TRUE(rowTitled(*view, QStringLiteral("Books")).isValid());
    EXPECT_EQ(view->chart()->seriesCount(), 1);
}

} // namespace
