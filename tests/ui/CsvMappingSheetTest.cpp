#include "ui/CsvMappingSheet.h"

#include "import/SimpleCsvParser.h"
#include "support/ModelValues.h"
#include "ui/CsvPreviewTableModel.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QBrush>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

using namespace vantrel;
using app::CsvMappingModel;
using testsupport::amount;
using testsupport::utf8;
using ui::CsvMappingSheet;
using ui::CsvPreviewTableModel;

namespace {

import::CsvRows rowsOf(const char* fixture){
    std::optional<import::CsvRows> rows = import::SimpleCsvParser::parseFile(
        QStringLiteral(VANTREL_TEST_DATA "/csv/") + QString::fromLatin1(fixture));
EXPECT_TRUE(rows.has_value()) << fixture;
return rows.value_or(import::CsvRows{});
} // namespace

QStringList titles(const QMenu* menu) {
    QStringList shown;
    for (const QAction* action : menu->actions()) {
        shown << action->text();
    }
    return shown;
}

void trigger(QMenu* menu, const QString& title) {
    ASSERT_NE(menu, nullptr);
    for (QAction* action : menu->actions()) {
        if (action->text() == title) {
            action->trigger();
            menu->close();
            return;
        }
    }
    ADD_FAILURE() << "no item " << utf8(title) << " in " << utf8(titles(menu).join(u'|'));
}

// Clicks the column's header as the user does and answers the menu that pops up.
void clickHeaderAndChoose(CsvMappingSheet& sheet, int column, const QString& title) {
    QHeaderView* header = sheet.table()->horizontalHeader();
    const QPoint centre(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, centre);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr) << "no menu popped up for column " << column;
    trigger(menu, title);
}

QString headerText(const CsvMappingSheet& sheet, int column) {
    return sheet.table()->model()->headerData(column, Qt::Horizontal).toString();
}

bool shownGrey(const CsvMappingSheet& sheet, int row, int column) {
    const QModelIndex cell = sheet.table()->model()->index(row, column);
    const bool grey = cell.data(CsvPreviewTableModel::GreyRole).toBool();
    // The colour and the flag must agree: the colour is what the user sees.
    EXPECT_EQ(cell.data(Qt::ForegroundRole).isValid(), grey) << row << "," << column;
    return grey;
}

class CsvMappingSheetTest : public ::testing::Test {
protected:
    void show(CsvMappingSheet& sheet) {
        sheet.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&sheet));
    }
};

TEST_F(CsvMappingSheetTest, ClickingAColumnHeaderMapsTheChosenFieldAndTheSheetFollows) {
    CsvMappingSheet sheet(true, rowsOf("comma.csv"));
    show(sheet);
    EXPECT_EQ(sheet.table()->model()->rowCount(), 4);
    EXPECT_EQ(sheet.table()->model()->columnCount(), 4);
    EXPECT_EQ(utf8(sheet.table()->model()->index(1, 1).data().toString()), "Smith, John");
    EXPECT_FALSE(sheet.importButton()->isEnabled());
    for (int column = 0; column < 4; ++column) {
        EXPECT_TRUE(headerText(sheet, column).isEmpty());
        EXPECT_TRUE(shownGrey(sheet, 1, column));
    }

    QMenu* first = sheet.popUpMenuForColumn(0);
    EXPECT_EQ(titles(first), (QStringList{QString(), QStringLiteral("Date"), QStringLiteral("Payee"),
                                          QStringLiteral("Amount")}));
    first->close();
    clickHeaderAndChoose(sheet, 0, QStringLiteral("Date"));
    EXPECT_EQ(utf8(headerText(sheet, 0)), "Date");
    EXPECT_FALSE(shownGrey(sheet, 1, 0));
    EXPECT_TRUE(shownGrey(sheet, 1, 1));
    // A mapped field leaves the other menus.
    QMenu* second = sheet.popUpMenuForColumn(1);
    EXPECT_EQ(titles(second), (QStringList{QString(), QStringLiteral("Payee"), QStringLiteral("Amount")}));
    second->close();

    clickHeaderAndChoose(sheet, 1, QStringLiteral("Payee"));
    // The required field still missing keeps Import off; the instruction names it.
    EXPECT_FALSE(sheet.importButton()->isEnabled());
    EXPECT_EQ(utf8(sheet.instructionLabel()->text()),
              "Please identify the date, payee and amount fields below by clicking on their column headers.");
    clickHeaderAndChoose(sheet, 2, QStringLiteral("Amount"));
    EXPECT_TRUE(sheet.importButton()->isEnabled());
    EXPECT_TRUE(sheet.importButton()->isDefault());

    // The blank item unmaps the column again.
    clickHeaderAndChoose(sheet, 2, QString());
    EXPECT_TRUE(headerText(sheet, 2).isEmpty());
    EXPECT_FALSE(sheet.importButton()->isEnabled());

    // The header row turns grey with its box.
    EXPECT_FALSE(shownGrey(sheet, 0, 0));
    sheet.hasHeaderBox()->click();
    EXPECT_TRUE(shownGrey(sheet, 0, 0));
    EXPECT_FALSE(shownGrey(sheet, 1, 0));
}

TEST_F(CsvMappingSheetTest, TheAmountLayoutBoxesExcludeEachOtherAndChangeWhatMustBeMapped) {
    CsvMappingSheet sheet(true, rowsOf("deposit_withdrawal.csv"));
    show(sheet);
    trigger(sheet.popUpMenuForColumn(2), QStringLiteral("Amount"));

    sheet.depositWithdrawalBox()->click();
    EXPECT_TRUE(sheet.depositWithdrawalBox()->isChecked());
    EXPECT_FALSE(sheet.separateSignBox()->isEnabled());
    // Amount is no field of this layout any more: its column lost it.
    EXPECT_TRUE(headerText(sheet, 2).isEmpty());
    EXPECT_EQ(
        utf8(sheet.instructionLabel()->text()),
        "Please identify the date, payee, deposit and withdrawal fields below by clicking on their column "
        "headers.");

    sheet.depositWithdrawalBox()->click();
    EXPECT_TRUE(sheet.separateSignBox()->isEnabled());
    sheet.separateSignBox()->click();
    EXPECT_FALSE(sheet.depositWithdrawalBox()->isEnabled());
    EXPECT_EQ(
        utf8(sheet.instructionLabel()->text()),
        "Please identify the date, payee, amount and amount sign fields below by clicking on their column "
        "headers.");
}

TEST_F(CsvMappingSheetTest, ImportHandsOverTheRowsReadAndTheSettingsToRememberOrExplainsWhatDidNotRead) {
    CsvMappingSheet sheet(true, rowsOf("sign_column.csv"));
    show(sheet);
    int finished = 0;
    QObject::connect(&sheet, &CsvMappingSheet::mappingFinished, [&finished] { ++finished; });
    sheet.hasHeaderBox()->click();
    sheet.separateSignBox()->click();
    trigger(sheet.popUpMenuForColumn(0), QStringLiteral("Date"));
    trigger(sheet.popUpMenuForColumn(1), QStringLiteral("Payee"));
    trigger(sheet.popUpMenuForColumn(2), QStringLiteral("Amount Sign"));
    trigger(sheet.popUpMenuForColumn(3), QStringLiteral("Amount"));
    EXPECT_FALSE(sheet.problemLabel()->isVisible());

    QTest::mouseClick(sheet.importButton(), Qt::LeftButton);
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_EQ(finished, 0);
    EXPECT_TRUE(sheet.problemLabel()->isVisible());
    EXPECT_EQ(utf8(sheet.problemLabel()->text()), "This text \"DR9.99\" does not look like an amount.");
    EXPECT_EQ(utf8(sheet.explanationLabel()->text()),
              "Please adjust settings to make sure all text displayed in black are in the proper format. An "
              "amount should look like \"-10.00.\"");

    // Without the row whose sign is a word the same mapping reads, and Return imports.
    import::CsvRows rows = rowsOf("sign_column.csv");
    rows.pop_back();
    CsvMappingSheet fitting(true, rows);
    show(fitting);
    std::vector<CsvMappingModel::Finished> handed;
    QObject::connect(&fitting, &CsvMappingSheet::mappingFinished,
                     [&handed](const CsvMappingModel::Finished& done) { handed.push_back(done); });
    fitting.hasHeaderBox()->click();
    fitting.separateSignBox()->click();
    trigger(fitting.popUpMenuForColumn(0), QStringLiteral("Date"));
    trigger(fitting.popUpMenuForColumn(1), QStringLiteral("Payee"));
    trigger(fitting.popUpMenuForColumn(2), QStringLiteral("Amount Sign"));
    trigger(fitting.popUpMenuForColumn(3), QStringLiteral("Amount"));
    QTest::keyClick(&fitting, Qt::Key_Return);
    ASSERT_EQ(handed.size(), 1U);
    EXPECT_FALSE(fitting.isVisible());
    const CsvMappingModel::Finished& result = handed.front();
    const auto& file = std::get<import::AccountDictionary>(result.result);
    ASSERT_EQ(file.accounts.size(), 1U);
    ASSERT_EQ(file.accounts[0].transactions.size(), 2U);
    EXPECT_EQ(file.accounts[0].transactions[0].amount, amount("-12.50"));
    ASSERT_TRUE(result.settings.has_value());
    EXPECT_TRUE(result.settings->separateAmountSign);
    EXPECT_EQ(result.settings->columnOf(import::CsvField::AmountSign), 2);
}

TEST_F(CsvMappingSheetTest, AnUntickedRememberBoxHandsOverNoSettingsAndEscapeCancels) {
    CsvMappingSheet sheet(true, rowsOf("utf8.csv"));
    show(sheet);
    std::vector<CsvMappingModel::Finished> finished;
    QObject::connect(&sheet, &CsvMappingSheet::mappingFinished,
                     [&finished](const CsvMappingModel::Finished& done) { finished.push_back(done); });
    QSignalSpy cancelled(&sheet, &CsvMappingSheet::mappingCancelled);
    sheet.hasHeaderBox()->click();
    trigger(sheet.popUpMenuForColumn(0), QStringLiteral("Date"));
    trigger(sheet.popUpMenuForColumn(1), QStringLiteral("Payee"));
    trigger(sheet.popUpMenuForColumn(2), QStringLiteral("Amount"));
    ASSERT_TRUE(sheet.rememberBox()->isChecked());
    sheet.rememberBox()->click();
    QTest::mouseClick(sheet.importButton(), Qt::LeftButton);
    ASSERT_EQ(finished.size(), 1U);
    EXPECT_FALSE(finished.front().settings.has_value());
    EXPECT_EQ(cancelled.count(), 0);

    CsvMappingSheet other(true, rowsOf("utf8.csv"));
    show(other);
    QSignalSpy otherCancelled(&other, &CsvMappingSheet::mappingCancelled);
    QTest::keyClick(&other, Qt::Key_Escape);
    EXPECT_EQ(otherCancelled.count(), 1);
    EXPECT_FALSE(other.isVisible());
}

TEST_F(CsvMappingSheetTest, TheProgramRoadOffersMoreFieldsAndRemembersNothing) {
    CsvMappingSheet sheet(false, rowsOf("comma.csv"));
    show(sheet);
    EXPECT_FALSE(sheet.rememberBox()->isVisible());
    sheet.setForgetOffered(true);
    EXPECT_FALSE(sheet.forgetButton()->isVisible());
    EXPECT_EQ(utf8(sheet.instructionLabel()->text()),
              "Please identify the date, amount and other fields below by clicking on their column headers.");
    QMenu* menu = sheet.popUpMenuForColumn(3);
    EXPECT_EQ(titles(menu), (QStringList{QString(), QStringLiteral("Date"), QStringLiteral("Payee"),
                                         QStringLiteral("Amount"), QStringLiteral("Category"),
                                         QStringLiteral("Notes"), QStringLiteral("Check Number")}));
    trigger(menu, QStringLiteral("Notes"));
    EXPECT_EQ(utf8(headerText(sheet, 3)), "Notes");
}

TEST_F(CsvMappingSheetTest, ThePreviewModelStaysConsistentWhileTheMappingAndTheRowsChange) {
    CsvMappingModel mapping;
    CsvPreviewTableModel preview(mapping);
    QAbstractItemModelTester tester(&preview, QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(preview.rowCount(), 0);
    EXPECT_EQ(preview.columnCount(), 0);

    QSignalSpy headers(&preview, &QAbstractItemModel::headerDataChanged);
    QSignalSpy cells(&preview, &QAbstractItemModel::dataChanged);
    preview.setRows(rowsOf("comma.csv"));
    EXPECT_EQ(preview.rowCount(), 4);
    EXPECT_EQ(preview.columnCount(), 4);
    EXPECT_EQ(utf8(preview.headerData(2, Qt::Vertical).toString()), "3");
    EXPECT_EQ(utf8(preview.index(2, 3).data().toString()), "line one\nline two");

    mapping.menuItemSelectedForColumn({QStringLiteral("Amount"), import::CsvField::Amount}, 2);
    preview.mappingChanged();
    EXPECT_EQ(headers.count(), 1);
    EXPECT_EQ(cells.count(), 1);
    EXPECT_EQ(utf8(preview.headerData(2, Qt::Horizontal).toString()), "Amount");
    EXPECT_FALSE(preview.index(1, 2).data(CsvPreviewTableModel::GreyRole).toBool());

    preview.setRows(rowsOf("tab.csv"));
    EXPECT_EQ(preview.rowCount(), 3);
    EXPECT_EQ(preview.columnCount(), 3);
    EXPECT_TRUE(preview.headerData(2, Qt::Horizontal).toString().isEmpty());
    EXPECT_EQ(utf8(preview.index(1, 1).data().toString()), "Acme, Inc");
}

} // namespace
