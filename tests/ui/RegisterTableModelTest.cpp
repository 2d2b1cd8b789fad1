#include "ui/RegisterTableModel.h"

#include "app/AppWorkspaceFixture.h"
#include "app/RegisterViewModel.h"
#include "model/Split.h"
#include "ui/RegisterView.h"

#include <QAbstractItemModelTester>
#include <QMimeData>
#include <QSignalSpy>

using namespace vantrel;
using testsupport::amount;
using testsupport::day;
using testsupport::utf8;
using ui::RegisterTableModel;

namespace {

class RegisterTableModelTest : public testsupport::AppWorkspaceFixture {
protected:
    std::string text(int row, int column, int role = Qt::DisplayRole) const {
        return utf8(table.data(table.index(row, column), role).toString());
    }

    // Rows of the register: newest first.
    int rowOf(const model::Transaction& transaction) const {
        return static_cast<int>(viewModel->rowOf(transaction).value());
    }

    void show() {
        viewModel = std::make_unique<app::RegisterViewModel>(
            app::RegisterViewModel::forAccount(workspace, checking, locale()));
        table.setViewModel(viewModel.get());
    }

    model::Account checking = newAccount(QStringLiteral("Checking"), QStringLiteral("checking"), "100");
    objectstore::ManagedObject* food = newCategory(QStringLiteral("Food"));
    objectstore::ManagedObject* gas = newCategory(QStringLiteral("Gas"));
    std::unique_ptr<app::RegisterViewModel> viewModel;
    RegisterTableModel table;
};

TEST_F(RegisterTableModelTest, ColumnsShowTheViewModelsTextsWithNotesOnASecondLine) {
    model::Transaction groceries = newTransaction(checking, "-12.50", QStringLiteral("Groceries"), food);
    model::Transaction pay = newTransaction(checking, "250", QStringLiteral("Pay"));
    pay.setDate(day(2024, 3, 2)); // tomorrow
    pay.setCheckNumber(1042);
    pay.setNotes(QStringLiteral("March salary"));
    model::Transaction split = newTransaction(checking, "-50", QString());
    split.setMultipleCategoriesAndAmounts({{food, amount("-30")}, {gas, amount("-20")}});
    split.setDate(day(2024, 2, 10));
    show();

    ASSERT_EQ(table.rowCount(), 3);
    EXPECT_EQ(table.columnCount(), RegisterTableModel::ColumnCount);
    const int p = rowOf(pay);
    const int g = rowOf(groceries);
    const int s = rowOf(split);
    EXPECT_EQ(p, 0);

    EXPECT_EQ(text(p, RegisterTableModel::Date), "Tomorrow");
    EXPECT_EQ(text(g, RegisterTableModel::Date), "Feb 20, 2024");
    EXPECT_EQ(text(p, RegisterTableModel::Description), "Pay (#1042)\nMarch salary");
    EXPECT_EQ(text(p, RegisterTableModel::Description, RegisterTableModel::TitleRole), "Pay (#1042)");
    EXPECT_EQ(text(p, RegisterTableModel::Description, RegisterTableModel::NotesRole), "March salary");
    EXPECT_EQ(text(g, RegisterTableModel::Description), "Groceries");
    EXPECT_TRUE(table.data(table.index(g, RegisterTableModel::Description), RegisterTableModel::NotesRole)
                    .toString()
                    .isEmpty());
    // A split without a title reads its category-based title.
    EXPECT_EQ(text(s, RegisterTableModel::Description), utf8(split.categoryBasedTitle()));
    EXPECT_FALSE(split.categoryBasedTitle().isEmpty());

    EXPECT_EQ(text(g, RegisterTableModel::Category), "Food");
    EXPECT_EQ(text(p, RegisterTableModel::Category), "");
    EXPECT_EQ(text(s, RegisterTableModel::Category), "Food: -30.00\nGas: -20.00");
    EXPECT_EQ(text(s, RegisterTableModel::Category, Qt::ToolTipRole), "Food: -30.00\nGas: -20.00");

    EXPECT_EQ(text(g, RegisterTableModel::Amount), "-$12.50");
    EXPECT_EQ(text(p, RegisterTableModel::Amount), "$250.00");
    // Oldest first from the start balance of 100: split -50, groceries -12.50, pay +250.
    EXPECT_EQ(text(s, RegisterTableModel::Balance), "$50.00");
    EXPECT_EQ(text(g, RegisterTableModel::Balance), "$37.50");
    EXPECT_EQ(text(p, RegisterTableModel::Balance), "$287.50");
}

TEST_F(RegisterTableModelTest, AmountsAreRightAlignedAndColouredBySign) {
    const model::Transaction expense = newTransaction(checking, "-12.50", QStringLiteral("Expense"));
    const model::Transaction income = newTransaction(checking, "20", QStringLiteral("Income"));
    const model::Transaction nothing = newTransaction(checking, "0", QStringLiteral("Nothing"));
    show();

    const auto colour = [&](const model::Transaction& transaction, int column) {
        return table.data(table.index(rowOf(transaction), column), Qt::ForegroundRole).value<QColor>();
    };
    EXPECT_EQ(colour(expense, RegisterTableModel::Amount), RegisterTableModel::negativeColour());
    EXPECT_EQ(colour(income, RegisterTableModel::Amount), RegisterTableModel::positiveColour());
    EXPECT_EQ(colour(nothing, RegisterTableModel::Amount), RegisterTableModel::zeroColour());
    EXPECT_NE(RegisterTableModel::negativeColour(), RegisterTableModel::positiveColour());
    // The running balance (100 - 12.50 + 20 + 0) is above zero.
    EXPECT_EQ(colour(nothing, RegisterTableModel::Balance), RegisterTableModel::positiveColour());
    EXPECT_FALSE(table.data(table.index(0, RegisterTableModel::Description), Qt::ForegroundRole).isValid());

    for (const int column : {RegisterTableModel::Amount, RegisterTableModel::Balance}) {
        const auto alignment =
            table.data(table.index(0, column), Qt::TextAlignmentRole).value<Qt::Alignment>();
        EXPECT_TRUE(alignment & Qt::AlignRight) << column;
    }
    const auto left =
        table.data(table.index(0, RegisterTableModel::Date), Qt::TextAlignmentRole).value<Qt::Alignment>();
    EXPECT_FALSE(left & Qt::AlignRight);
}

TEST_F(RegisterTableModelTest, FlagCellShowsPendingOrNewAndTheHoverImageOnlyWhereHovered) {
    model::Transaction pending = newTransaction(checking, "-1", QStringLiteral("Pending"));
    pending.setFlagged(true);
    model::Transaction cleared = newTransaction(checking, "-2", QStringLiteral("Cleared"));
    cleared.setFlagged(false);
    model::Transaction fresh = newTransaction(checking, "-3", QStringLiteral("From the bank"));
    fresh.setImported(true);
    fresh.setOfxAmount(amount("-3"));
    fresh.setFlagged(true);
    model::Transaction reviewed = newTransaction(checking, "-4", QStringLiteral("Reviewed"));
    reviewed.setImported(true);
    reviewed.setOfxAmount(amount("-4"));
    reviewed.setFlagged(false);
    show();

    const auto image = [&](const model::Transaction& transaction) {
        return text(rowOf(transaction), RegisterTableModel::Flag, RegisterTableModel::FlagImageRole);
    };
    EXPECT_EQ(image(pending), "FlagPending");
    EXPECT_EQ(image(fresh), "FlagNew");
    EXPECT_EQ(image(cleared), "");
    EXPECT_EQ(image(reviewed), "");
    EXPECT_FALSE(
        table.data(table.index(rowOf(pending), RegisterTableModel::Date), RegisterTableModel::FlagImageRole)
            .isValid());

    QSignalSpy changed(&table, &QAbstractItemModel::dataChanged);
    table.setHoveredFlagRow(rowOf(cleared));
    EXPECT_EQ(image(cleared), "FlagPendingHover");
    EXPECT_EQ(image(reviewed), "");
    table.setHoveredFlagRow(rowOf(reviewed));
    EXPECT_EQ(image(cleared), "");
    EXPECT_EQ(image(reviewed), "FlagNewHover");
    // A row that shows a flag keeps it under the pointer.
    table.setHoveredFlagRow(rowOf(pending));
    EXPECT_EQ(image(pending), "FlagPending");
    table.setHoveredFlagRow(-1);
    EXPECT_EQ(image(reviewed), "");
    // Each move repaints the flag cells it leaves and enters.
    ASSERT_GE(changed.count(), 4);
    const auto firstChange = changed.front();
    EXPECT_EQ(firstChange.at(0).toModelIndex(), table.index(rowOf(cleared), RegisterTableModel::Flag));
}

TEST_F(RegisterTableModelTest, HeadersAreShortTitles) {
    show();
    QStringList titles;
    for (int column = 0; column < table.columnCount(); ++column) {
        titles.append(table.headerData(column, Qt::Horizontal).toString());
    }
    EXPECT_EQ(titles,
              (QStringList{QString(), QStringLiteral("Date"), QStringLiteral("Description"),
                           QStringLiteral("Category"), QStringLiteral("Amount"), QStringLiteral("Balance")}));
}

TEST_F(RegisterTableModelTest, DraggedRowsCarryTheirObjectIdentifiersInRowOrder) {
    const model::Transaction a = newTransaction(checking, "-1", QStringLiteral("a"));
    const model::Transaction b = newTransaction(checking, "-2", QStringLiteral("b"));
    const model::Transaction c = newTransaction(checking, "-3", QStringLiteral("c"));
    show();
    const QString type = QString::fromLatin1(ui::RegisterView::kDraggedTransactionsType);
    EXPECT_EQ(table.mimeTypes(), QStringList{type});
    EXPECT_TRUE(table.flags(table.index(0, RegisterTableModel::Date)) & Qt::ItemIsDragEnabled);

    // A selection of whole rows hands every cell, in any order.
    QModelIndexList indexes;
    for (const model::Transaction* transaction : {&c, &a}) {
        for (int column = RegisterTableModel::ColumnCount - 1; column >= 0; --column) {
            indexes.append(table.index(rowOf(*transaction), column));
        }
    }
    const std::unique_ptr<QMimeData> mime(table.mimeData(indexes));
    ASSERT_NE(mime, nullptr);
    const QStringList lines = QString::fromUtf8(mime->data(type)).split(u'\n');
    ASSERT_EQ(lines.size(), 2);
    std::vector<objectstore::ManagedObject*> resolved;
    for (const QString& line : lines) {
        const std::optional<objectstore::ObjectID> id =
            objectstore::ObjectID::fromText(line, context.model());
        ASSERT_TRUE(id.has_value()) << utf8(line);
        resolved.push_back(context.object(*id));
    }
    const auto first = rowOf(a) < rowOf(c) ? a : c;
    const auto second = rowOf(a) < rowOf(c) ? c : a;
    EXPECT_EQ(resolved, (std::vector<objectstore::ManagedObject*>{first.object(), second.object()}));
    EXPECT_NE(resolved.front(), b.object());
}

TEST_F(RegisterTableModelTest, StaysAValidModelWhileTransactionsComeAndGo) {
    newTransaction(checking, "-1", QStringLiteral("first"));
    show();
    QAbstractItemModelTester tester(&table, QAbstractItemModelTester::FailureReportingMode::Fatal);
    ASSERT_EQ(table.rowCount(), 1);

    std::vector<model::Transaction> added;
    for (int index = 0; index < 5; ++index) {
        added.push_back(newTransaction(checking, "-2", QStringLiteral("added %1").arg(index)));
    }
    viewModel->reload();
    // Until refreshed the table keeps its rows; they stay readable.
    EXPECT_EQ(table.rowCount(), 1);
    table.refresh();
    EXPECT_EQ(table.rowCount(), 6);

    context.deleteObject(added[0].object());
    context.deleteObject(added[1].object());
    viewModel->reload();
    // The last rows no longer exist in the view-model: read as empty, not as a fault.
    EXPECT_FALSE(table.data(table.index(5, RegisterTableModel::Description)).isValid());
    table.refresh();
    EXPECT_EQ(table.rowCount(), 4);

    table.setHoveredFlagRow(2);
    table.rowChanged(1);
    auto all =
        std::make_unique<app::RegisterViewModel>(app::RegisterViewModel::forAllAccounts(workspace, locale()));
    table.setViewModel(all.get());
    EXPECT_EQ(table.rowCount(), 4);
    EXPECT_EQ(table.hoveredFlagRow(), -1);
    table.setViewModel(nullptr);
    EXPECT_EQ(table.rowCount(), 0);
}

} // namespace
