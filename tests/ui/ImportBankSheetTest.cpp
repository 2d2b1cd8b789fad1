#include "ui/ImportBankSheet.h"

#include "app/AppWorkspaceFixture.h"
#include "import/CsvSettings.h"
#include "ui/CsvMappingSheet.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

using namespace vantrel;
using testsupport::amount;
using testsupport::day;
using testsupport::utf8;

namespace {

QString dataFile(const char* path) {
    return QStringLiteral(VANTREL_TEST_DATA "/") + QString::fromLatin1(path);
}

void click(QPushButton* button) {
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isVisible()) << utf8(button->text());
    ASSERT_TRUE(button->isEnabled()) << utf8(button->text());
    QTest::mouseClick(button, Qt::LeftButton);
}

// What the summary page shows, line by line; a hidden line reads "(hidden)".
QStringList summaryShown(const ui::ImportBankSheet& sheet) {
    QStringList lines;
    for (const QLabel* label : {sheet.summaryTitleLabel(), sheet.summaryMatchedLabel(),
                                sheet.summaryNewLabel(), sheet.summaryDuplicatesLabel()}) {
        lines << (label->isVisible() ? label->text() : QStringLiteral("(hidden)"));
    }
    return lines;
}

class ImportBankSheetTest : public testsupport::AppWorkspaceFixture {
protected:
    ImportBankSheetTest() {
        checking.setStartBalanceDate(day(2022, 12, 31));
        EXPECT_TRUE(context.save().succeeded());
    }

    std::unique_ptr<ui::ImportBankSheet> openWith(const QString& path) {
        auto sheet = std::make_unique<ui::ImportBankSheet>(workspace, checking);
        EXPECT_TRUE(sheet->startWithFile(path));
        EXPECT_TRUE(QTest::qWaitForWindowExposed(sheet.get()));
        return sheet;
    }

    QString write(const char* name, const QByteArray& bytes) {
        const QString path = folder.filePath(QString::fromLatin1(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        return path;
    }

    // Chooses the field in the column's header menu as the user does.
    static void mapColumn(ui::CsvMappingSheet& csv, int column, const QString& title) {
        QMenu* menu = csv.popUpMenuForColumn(column);
        ASSERT_NE(menu, nullptr);
        QAction* chosen = nullptr;
        for (QAction* action : menu->actions()) {
            if (action->text() == title) {
                chosen = action;
            }
        }
        ASSERT_NE(chosen, nullptr) << utf8(title);
        chosen->trigger();
        menu->close();
    }

    model::Account checking = newAccount(QStringLiteral("Checking"));
};

// ---- OFX -----------------------------------------------------------------------------------------

TEST_F(ImportBankSheetTest, AnOfxFileIsImportedAndSummarisedAndTheSameFileAgainOnlyHasDuplicates) {
    // Typed by the user and waiting for the bank: the file's -12.50 of 15 January confirms it.
    model::Transaction pending = newTransaction(checking, "-12.50", QStringLiteral("Lunch"));
    pending.setDate(day(2023, 1, 10));
    pending.setFlagged(true);
    ASSERT_TRUE(context.save().succeeded());

    auto sheet = openWith(dataFile("ofx/bank-sgml.ofx"));
    QSignalSpy finished(sheet.get(), &ui::ImportBankSheet::importFinished);
    EXPECT_EQ(utf8(sheet->windowTitle()), "Import From Bank");
    EXPECT_EQ(utf8(sheet->fileLabel()->text()), "bank-sgml.ofx");
    EXPECT_EQ(
        utf8(sheet->downloadHintLabel()->text()),
        "Download the activity starting 01/01/2023 from your bank's website, as an OFX, QFX, QIF or CSV "
        "file.");
    EXPECT_TRUE(sheet->importButton()->isDefault());

    click(sheet->importButton());
    EXPECT_EQ(utf8(sheet->windowTitle()), "Import Completed");
    EXPECT_EQ(summaryShown(*sheet),
              (QStringList{QStringLiteral("4 transactions were imported"),
                           QStringLiteral("1 matched pending transactions"),
                           QStringLiteral("3 were new transactions"), QStringLiteral("(hidden)")}));
    EXPECT_EQ(finished.count(), 1);
    EXPECT_FALSE(pending.isFlagged());
    EXPECT_EQ(utf8(pending.title()), "Lunch");
    EXPECT_EQ(reloaded()->count(u"Transaction"), 4U);
    EXPECT_TRUE(alerts.shown().empty());
    click(sheet->doneButton());
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(sheet->result(), QDialog::Accepted);

    // The next download starts after the bank data the account now holds.
    auto again = openWith(dataFile("ofx/bank-sgml.ofx"));
    EXPECT_TRUE(again->downloadHintLabel()->text().contains(QStringLiteral("01/25/2023")));
    click(again->importButton());
    EXPECT_EQ(summaryShown(*again), (QStringList{QStringLiteral("0 transactions were imported"),
                                                 QStringLiteral("0 matched pending transactions"),
                                                 QStringLiteral("0 were new transactions"),
                                                 QStringLiteral("4 duplicates were not imported")}));
    EXPECT_EQ(context.count(u"Transaction"), 4U);
}

TEST_F(ImportBankSheetTest, AFileOfSeveralStatementsListsThemAndImportsTheChosenOne) {
    auto sheet = openWith(dataFile("ofx/two-statements.ofx"));
    click(sheet->importButton());
    EXPECT_EQ(utf8(sheet->windowTitle()), "Choose Account");
    QListWidget* list = sheet->statementList();
    ASSERT_TRUE(list->isVisible());
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(utf8(list->item(0)->text()), "Savings xxxx4321");
    EXPECT_EQ(utf8(list->item(1)->text()), "Credit Card xxxx4444");
    EXPECT_EQ(list->currentRow(), 0);

    // Escape goes back to the start without importing; Import reads the file again.
    QTest::keyClick(sheet.get(), Qt::Key_Escape);
    EXPECT_EQ(utf8(sheet->windowTitle()), "Import From Bank");
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(context.count(u"Transaction"), 0U);
    click(sheet->importButton());

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(list->currentRow(), 1);
    click(sheet->statementContinueButton());
    EXPECT_EQ(summaryShown(*sheet),
              (QStringList{QStringLiteral("1 transaction was imported"),
                           QStringLiteral("0 matched pending transactions"),
                           QStringLiteral("1 was a new transaction"), QStringLiteral("(hidden)")}));
    EXPECT_EQ(checking.transactions().size(), 1U);
}

// ---- Dates ---------------------------------------------------------------------------------------

TEST_F(ImportBankSheetTest, DatesThatReadEitherWayAskForTheOrderAndTheChoiceIsKept) {
    const QString path =
        write("both.qif", "!Type:Bank\nD01/02/2020\nT-10.00\nPSHOP\n^\nD02/01/2020\nT-2.00\nPKIOSK\n^\n");
    auto sheet = openWith(path);
    click(sheet->importButton());
    EXPECT_EQ(utf8(sheet->windowTitle()), "Specify Date Format");
    EXPECT_EQ(utf8(sheet->dateOrderExplanationLabel()->text()),
              "The format of dates could not be automatically determined. Please specify it below.");
    EXPECT_EQ(utf8(sheet->sampleDateLabel()->text()), "01/02/2020");
    QComboBox* orders = sheet->dateOrderBox();
    ASSERT_EQ(orders->count(), 3);
    EXPECT_EQ(utf8(orders->itemText(0) + orders->itemText(1) + orders->itemText(2)), "MDYDMYYMD");
    EXPECT_EQ(utf8(orders->currentText()), "MDY");
    EXPECT_TRUE(alerts.shown().empty());

    orders->setFocus();
    QTest::keyClick(orders, Qt::Key_Down);
    EXPECT_EQ(utf8(orders->currentText()), "DMY");
    click(sheet->dateOrderContinueButton());
    EXPECT_EQ(utf8(sheet->windowTitle()), "Import Completed");
    EXPECT_EQ(utf8(sheet->summaryTitleLabel()->text()), "2 transactions were imported");
    EXPECT_EQ(utf8(checking.qifDateOrder()), "DMY");
    ASSERT_EQ(checking.orderedTransactions().size(), 2U);
    EXPECT_EQ(model::Transaction(checking.orderedTransactions().front()).date(), day(2020, 2, 1));
}

// ---- CSV -----------------------------------------------------------------------------------------

TEST_F(ImportBankSheetTest, ACsvFileIsMappedInTheSheetInFrontAndItsColumnsAreRemembered) {
    checking.setQifDateOrder(QStringLiteral("MDY"));
    const QString path = dataFile("csv/comma.csv");
    auto sheet = openWith(path);
    QSignalSpy finished(sheet.get(), &ui::ImportBankSheet::importFinished);
    click(sheet->importButton());
    ui::CsvMappingSheet* csv = sheet->csvSheet();
    ASSERT_NE(csv, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(csv));
    EXPECT_EQ(utf8(csv->windowTitle()), "CSV Import Settings");
    EXPECT_TRUE(csv->rememberBox()->isVisible());
    EXPECT_FALSE(csv->forgetButton()->isVisible()); // nothing remembered yet
    EXPECT_EQ(utf8(csv->instructionLabel()->text()),
              "Please identify the date, payee and amount fields below by clicking on their column headers.");

    mapColumn(*csv, 0, QStringLiteral("Date"));
    mapColumn(*csv, 1, QStringLiteral("Payee"));
    mapColumn(*csv, 2, QStringLiteral("Amount"));
    // The header row does not read as a date: the sheet stays and says why.
    click(csv->importButton());
    EXPECT_TRUE(csv->isVisible());
    EXPECT_EQ(utf8(csv->problemLabel()->text()), "This text \"Date\" does not look like a date.");
    EXPECT_EQ(context.count(u"Transaction"), 0U);

    QTest::mouseClick(csv->hasHeaderBox(), Qt::LeftButton, {}, QPoint(4, csv->hasHeaderBox()->height() / 2));
    EXPECT_TRUE(csv->hasHeaderBox()->isChecked());
    EXPECT_FALSE(csv->problemLabel()->isVisible());
    click(csv->importButton());
    EXPECT_EQ(sheet->csvSheet(), nullptr);
    EXPECT_EQ(utf8(sheet->windowTitle()), "Import Completed");
    EXPECT_EQ(utf8(sheet->summaryTitleLabel()->text()), "3 transactions were imported");
    EXPECT_EQ(finished.count(), 1);
    const std::optional<import::CsvSettings> stored =
        import::CsvSettings::fromJson(checking.csvImportSettings());
    ASSERT_TRUE(stored.has_value());
    EXPECT_TRUE(stored->hasHeader);
    EXPECT_EQ(stored->columnOf(import::CsvField::Amount), 2);
    EXPECT_FALSE(context.hasChanges());

    // The account's next file goes straight through with the remembered columns.
    auto again = openWith(path);
    click(again->importButton());
    EXPECT_EQ(again->csvSheet(), nullptr);
    EXPECT_EQ(utf8(again->summaryDuplicatesLabel()->text()), "3 duplicates were not imported");
}

TEST_F(ImportBankSheetTest, RememberedColumnsThatNoLongerFitCanBeForgottenOrTheMappingCancelled) {
    import::CsvSettings tooWide;
    tooWide.columnMapping = {
        {import::CsvField::Date, 0}, {import::CsvField::Payee, 1}, {import::CsvField::Amount, 7}};
    checking.setCsvImportSettings(tooWide.toJson());
    ASSERT_TRUE(context.save().succeeded());

    auto sheet = openWith(dataFile("csv/comma.csv"));
    click(sheet->importButton());
    ui::CsvMappingSheet* csv = sheet->csvSheet();
    ASSERT_NE(csv, nullptr);
    // The sheet starts empty whatever is remembered.
    EXPECT_TRUE(
        csv->table()->horizontalHeader()->model()->headerData(0, Qt::Horizontal).toString().isEmpty());
    click(csv->forgetButton());
    EXPECT_TRUE(checking.csvImportSettings().isEmpty());
    EXPECT_FALSE(context.hasChanges());

    QTest::keyClick(csv, Qt::Key_Escape);
    EXPECT_EQ(sheet->csvSheet(), nullptr);
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(utf8(sheet->windowTitle()), "Import From Bank");
    EXPECT_EQ(context.count(u"Transaction"), 0U);
}

// ---- Settings and the file chooser ---------------------------------------------------------------

TEST_F(ImportBankSheetTest, ImportSettingsShowTheAccountsValuesAndSaveTheChoice) {
    checking.setQifDateOrder(QStringLiteral("DMY"));
    auto sheet = openWith(dataFile("ofx/bank-sgml.ofx"));
    click(sheet->settingsButton());
    EXPECT_EQ(utf8(sheet->windowTitle()), "Import Settings");
    QComboBox* bank = sheet->specialBankBox();
    QComboBox* order = sheet->settingsDateOrderBox();
    ASSERT_EQ(bank->count(), 3);
    EXPECT_EQ(utf8(bank->currentText()), "Automatic");
    ASSERT_EQ(order->count(), 4);
    EXPECT_EQ(utf8(order->itemText(0)), "Automatic");
    EXPECT_EQ(utf8(order->currentText()), "DMY");

    // Escape leaves the account as it was.
    bank->setCurrentIndex(1);
    QTest::keyClick(sheet.get(), Qt::Key_Escape);
    EXPECT_EQ(utf8(sheet->windowTitle()), "Import From Bank");
    EXPECT_EQ(checking.specialBank(), std::nullopt);

    click(sheet->settingsButton());
    EXPECT_EQ(bank->currentIndex(), 0);
    bank->setCurrentIndex(1);
    order->setCurrentIndex(order->findText(QStringLiteral("Automatic")));
    click(sheet->saveSettingsButton());
    EXPECT_EQ(utf8(sheet->windowTitle()), "Import From Bank");
    EXPECT_EQ(checking.specialBank(), 0);
    EXPECT_TRUE(checking.qifDateOrder().isEmpty());
    EXPECT_FALSE(context.hasChanges());
    // The chosen file is still there to import.
    EXPECT_TRUE(sheet->importButton()->isEnabled());
}

TEST_F(ImportBankSheetTest, TheFileChooserOffersBankFilesInEitherCase) {
    const QString filter = ui::ImportBankSheet::fileDialogFilter();
    for (const char* pattern : {"*.ofx", "*.OFX", "*.Qfx", "*.qif", "*.QIF", "*.csv", "*.Csv"}) {
        EXPECT_TRUE(filter.contains(QString::fromLatin1(pattern))) << pattern << " in " << utf8(filter);
    }

    ui::ImportBankSheet sheet(workspace, checking);
    EXPECT_FALSE(sheet.startWithFile(write("notes.txt", "hello")));
    sheet.start();
    EXPECT_FALSE(sheet.importButton()->isEnabled());
    click(sheet.findChild<QPushButton*>(QStringLiteral("chooseFile")));
    auto* chooser = sheet.findChild<QFileDialog*>();
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(chooser->nameFilters(), QStringList{filter});
    const QString path = write("ACTIVITY.QFX", "");
    chooser->selectFile(path);
    static_cast<QDialog*>(chooser)->accept(); // the chooser's Open button
    EXPECT_EQ(utf8(sheet.fileLabel()->text()), "ACTIVITY.QFX");
    EXPECT_TRUE(sheet.importButton()->isEnabled());
}

} // namespace
