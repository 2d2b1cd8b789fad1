#include "app/ImportFromBankController.h"

#include "AppWorkspaceFixture.h"
#include "import/CsvReader.h"
#include "import/CsvSettings.h"

#include <QFile>

using namespace vantrel;
using app::Alert;
using app::ImportFromBankController;
using View = app::ImportFromBankController::View;
using import::DateOrder;
using import::ImportSummary;
using testsupport::amount;
using testsupport::day;
using testsupport::utf8;

namespace {

QString ofxFixture(const char* name) {
    return QStringLiteral(VANTREL_TEST_DATA "/ofx/") + QString::fromLatin1(name);
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class ImportFromBankControllerTest : public testsupport::AppWorkspaceFixture {
protected:
    ImportFromBankControllerTest() {
        checking.setStartBalanceDate(day(2024, 1, 31));
        save();
    }

    void save() {
        const objectstore::SaveResult result = context.save();
        ASSERT_TRUE(result.succeeded());
    }

    QString write(const char* name, const QByteArray& bytes) {
        const QString path = folder.filePath(QString::fromLatin1(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        return path;
    }

    static QByteArray qif(const QByteArray& first, const QByteArray& second = "01/05/2020") {
        return "!Type:Bank\nD" + first + "\nT-10.00\nPSHOP\n^\nD" + second + "\nT-2.00\nPKIOSK\n^\n";
    }

    std::unique_ptr<ImportFromBankController> open() {
        return std::make_unique<ImportFromBankController>(workspace, checking);
    }

    std::unique_ptr<ImportFromBankController> importFile(const QString& path) {
        auto sheet = open();
        EXPECT_TRUE(sheet->chooseFile(path));
        sheet->import();
        return sheet;
    }

    static std::string counts(const ImportSummary& s) {
        return "new " + std::to_string(s.newCount) + ", matched " + std::to_string(s.matched) +
               ", duplicate " + std::to_string(s.duplicate);
    }

    static import::CsvSettings dateNameAmount() {
        import::CsvSettings settings;
        settings.columnMapping = {
            {import::CsvField::Date, 0}, {import::CsvField::Payee, 1}, {import::CsvField::Amount, 2}};
        return settings;
    }

    static QString parseError(const QString& reason) {
        return QStringLiteral(
                   "Make sure this is an activity file downloaded from your bank's website. If you "
                   "continue to have problem, please email support@vantrel.org and attach a copy "
                   "the file you are trying to import. (Parse error: ") +
               reason + u')';
    }

    void expectAlert(const Alert& alert, const QString& message, const QString& text) {
        EXPECT_EQ(utf8(alert.message), utf8(message));
        EXPECT_EQ(utf8(alert.informativeText), utf8(text));
        EXPECT_TRUE(alert.buttons.isEmpty());
    }

    // Nothing read is kept once the sheet is back: another run reads the (removed) file again.
    void expectFileReadAgain(ImportFromBankController& sheet) {
        const std::size_t before = alerts.shown().size();
        sheet.import();
        ASSERT_EQ(alerts.shown().size(), before + 1);
        EXPECT_EQ(utf8(alerts.last().informativeText),
                  utf8(parseError(QStringLiteral("Could not read file."))));
    }

    static void expectPrompt(const ImportFromBankController& sheet, const char* sample, DateOrder selected,
                             const char* explanation) {
        ASSERT_EQ(sheet.view(), View::DateOrderPrompt);
        EXPECT_EQ(utf8(sheet.dateOrderPrompt().sampleText), sample);
        EXPECT_EQ(sheet.dateOrderPrompt().selected, selected);
        EXPECT_EQ(utf8(sheet.dateOrderPrompt().explanation), explanation);
    }

    model::Account checking = newAccount(QStringLiteral("Checking"));
};

// ---- Texts ---------------------------------------------------------------------------------------

TEST_F(ImportFromBankControllerTest, ViewTitlesAndSummaryLinesReadAsShown) {
    const std::pair<View, const char*> titles[] = {
        {View::Main, "Import From Bank"},           {View::AccountSelection, "Choose Account"},
        {View::CsvSettings, "CSV Import Settings"}, {View::DateOrderPrompt, "Specify Date Format"},
        {View::Summary, "Import Completed"},        {View::ImportSettings, "Import Settings"}};
    for (const auto& [view, title] : titles) {
        EXPECT_EQ(utf8(ImportFromBankController::titleOf(view)), title);
    }

    using Lines = ImportFromBankController::SummaryLines;
    EXPECT_EQ(
        ImportFromBankController::summaryLines({1, 1, 0}),
        (Lines{QStringLiteral("1 transaction was imported"), QStringLiteral("0 matched pending transactions"),
               QStringLiteral("1 was a new transaction"), QStringLiteral("1 duplicate was not imported")}));
    EXPECT_EQ(
        ImportFromBankController::summaryLines({3, 2, 1}),
        (Lines{QStringLiteral("3 transactions were imported"),
               QStringLiteral("1 matched pending transactions"), QStringLiteral("2 were new transactions"),
               QStringLiteral("3 duplicates were not imported")}));
    EXPECT_EQ(ImportFromBankController::summaryLines({0, 0, 0}),
              (Lines{QStringLiteral("0 transactions were imported"),
                     QStringLiteral("0 matched pending transactions"),
                     QStringLiteral("0 were new transactions"), std::nullopt}));
    EXPECT_EQ(utf8(ImportFromBankController::summaryLines({0, 0, 1}).title), "1 transaction was imported");
}

TEST_F(ImportFromBankControllerTest, StatementsAreLabelledByTypeAndTheLastFourDigits) {
    import::ImportedAccount statement;
    statement.aggregateType = import::AggregateType::Bank;
    statement.acctType = QStringLiteral("CHECKING");
    statement.acctID = QStringLiteral("000123456789");
    EXPECT_EQ(ImportFromBankController::accountLabel(statement), QStringLiteral("Checking xxxx6789"));
    statement.acctType = QStringLiteral("SAVINGS");
    statement.acctID = QStringLiteral("12"); // shorter than four digits: shown whole
    EXPECT_EQ(ImportFromBankController::accountLabel(statement), QStringLiteral("Savings xxxx12"));
    statement.acctType = QStringLiteral("MONEYMRKT");
    EXPECT_EQ(ImportFromBankController::accountLabel(statement), std::nullopt);
    statement.aggregateType = import::AggregateType::CreditCard;
    statement.acctType.reset();
    statement.acctID = QStringLiteral("4111111111111111");
    EXPECT_EQ(ImportFromBankController::accountLabel(statement), QStringLiteral("Credit Card xxxx1111"));
}

TEST_F(ImportFromBankControllerTest, TheDownloadHintStartsAfterWhatTheAccountAlreadyHas) {
    EXPECT_EQ(utf8(open()->downloadHint()), "02/01/2024");
    newTransaction(checking, "-5"); // dated 2024-02-20: the start balance date stays earlier
    model::Transaction bank = checking.createTransactionWithDate(
        day(2024, 2, 25), QStringLiteral("Fee"), amount("-1"), nullptr, QString(), std::nullopt, clock);
    EXPECT_EQ(utf8(open()->downloadHint()), "02/01/2024");
    bank.setOfxAmount(amount("-1"));
    EXPECT_EQ(utf8(open()->downloadHint()), "02/25/2024");
}

// ---- Choosing and reading a file -----------------------------------------------------------------

TEST_F(ImportFromBankControllerTest, OnlyBankFileExtensionsCanBeChosen) {
    auto sheet = open();
    EXPECT_FALSE(sheet->canImport());
    EXPECT_FALSE(sheet->chooseFile(QStringLiteral("/tmp/notes.txt")));
    EXPECT_FALSE(sheet->chooseFile(QStringLiteral("/tmp/ofx")));
    EXPECT_FALSE(sheet->canImport());
    for (const char* name : {"a.ofx", "b.QFX", "c.Qif", "d.CSV"}) {
        EXPECT_TRUE(sheet->chooseFile(QString::fromLatin1(name))) << name;
    }
    EXPECT_TRUE(sheet->canImport());
    EXPECT_EQ(utf8(sheet->fileName()), "d.CSV");
}

TEST_F(ImportFromBankControllerTest, AnOfxFileIsMergedSavedAndSummarised) {
    auto sheet = importFile(ofxFixture("bank-sgml.ofx"));
    EXPECT_EQ(sheet->view(), View::Summary);
    EXPECT_EQ(counts(sheet->summary()), "new 4, matched 0, duplicate 0");
    EXPECT_EQ(posted, QStringList{QStringLiteral("RefreshAllViews")});
    EXPECT_FALSE(context.hasChanges());
    EXPECT_EQ(reloaded()->count(u"Transaction"), 4u);
    EXPECT_TRUE(alerts.shown().empty());

    // The same statement as .qfx, with an upper-case extension.
    const QString copy = write("again.QFX", fileBytes(ofxFixture("bank-sgml.ofx")));
    EXPECT_EQ(counts(importFile(copy)->summary()), "new 0, matched 0, duplicate 4");
}

TEST_F(ImportFromBankControllerTest, AFileOfSeveralStatementsAsksWhichOneToImportFromWhatWasRead) {
    const QString path = write("two.ofx", fileBytes(ofxFixture("two-statements.ofx")));
    auto sheet = importFile(path);
    ASSERT_EQ(sheet->view(), View::AccountSelection);
    const auto& choices = sheet->statementChoices();
    ASSERT_EQ(choices.size(), 2u);
    EXPECT_EQ(utf8(choices[0].label), "Savings xxxx4321");
    EXPECT_EQ(utf8(choices[1].label), "Credit Card xxxx4444");
    EXPECT_EQ(context.count(u"Transaction"), 0u);

    ASSERT_TRUE(QFile::remove(path)); // the statements read are kept while the user chooses
    sheet->continueFromAccountSelector(1);
    EXPECT_EQ(sheet->view(), View::Summary);
    EXPECT_EQ(counts(sheet->summary()), "new 1, matched 0, duplicate 0");
    EXPECT_EQ(checking.balance(), amount("-33.10")); // the card's ledger balance
    expectFileReadAgain(*sheet);
}

// ---- Failures ------------------------------------------------------------------------------------

TEST_F(ImportFromBankControllerTest, AnUnreadableRecordShowsTheParseErrorAndImportsNothing) {
    QByteArray bytes = fileBytes(ofxFixture("bank-sgml.ofx"));
    const qsizetype at = bytes.indexOf("<DTPOSTED>") + 10;
    bytes.replace(at, 8, "2023XX15");
    const QString path = write("bad-date.ofx", bytes);
    newAccount(QStringLiteral("Unsaved")); // saved by the failure, which saves first

    auto sheet = importFile(path);
    EXPECT_EQ(sheet->view(), View::Main);
    ASSERT_EQ(alerts.shown().size(), 1u);
    const QString reason = QStringLiteral("The posting date \"%1\" of a transaction is not a date.")
                               .arg(QString::fromLatin1(bytes.mid(at, bytes.indexOf('\r', at) - at)));
    expectAlert(alerts.last(), QStringLiteral("The selected file could not be imported."),
                parseError(reason));
    EXPECT_EQ(context.count(u"Transaction"), 0u);
    EXPECT_FALSE(context.hasChanges());
    EXPECT_TRUE(posted.isEmpty());
    ASSERT_TRUE(QFile::remove(path));
    expectFileReadAgain(*sheet);
}

TEST_F(ImportFromBankControllerTest, FilesThatCannotBeReadAreRefusedWithTheirReason) {
    struct Case {
        const char* name;
        QByteArray bytes;
        QString message;
        QString informative;
    };
    const Case cases[] = {
        {"notes.ofx", "OFXHEADER:100\r\n<OFX><SIGNONMSGSRSV1></SIGNONMSGSRSV1></OFX>\r\n",
         QStringLiteral("The selected file could not be imported."),
         parseError(QStringLiteral("The file holds no bank or credit card statement."))},
        {"broken.qif", QByteArray("\xFE\xFF\x00", 3),
         QStringLiteral("The encoding of the file could not be determined."),
         QStringLiteral("The file was not imported. Please contact support@vantrel.org with the file "
                        "attached for assistance.")},
        {"empty.csv", QByteArray(), QStringLiteral("The selected CSV file is empty."),
         QStringLiteral("Please select another file and try again.")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t before = alerts.shown().size();
        EXPECT_EQ(importFile(write(c.name, c.bytes))->view(), View::Main);
        ASSERT_EQ(alerts.shown().size(), before + 1);
        expectAlert(alerts.last(), c.message, c.informative);
    }
    EXPECT_EQ(context.count(u"Transaction"), 0u);
}

// ---- Date orders ---------------------------------------------------------------------------------

TEST_F(ImportFromBankControllerTest, ADateThatDoesNotReadInTheStoredOrderOpensThePrompt) {
    checking.setQifDateOrder(QStringLiteral("DMY"));
    save();
    const QString path = write("us.qif", qif("12/31/2020"));
    auto sheet = importFile(path);
    expectPrompt(
        *sheet, "12/31/2020", DateOrder::dmy(),
        "Dates could not be parsed with the date format specified. Please select a new date format.");
    EXPECT_TRUE(alerts.shown().empty());

    // The file read so far is used again: the order is all that changes.
    ASSERT_TRUE(QFile::remove(path));
    sheet->continueFromDateOrder(DateOrder::mdy());
    EXPECT_EQ(sheet->view(), View::Summary);
    EXPECT_EQ(counts(sheet->summary()), "new 2, matched 0, duplicate 0");
    EXPECT_FALSE(context.hasChanges());
    const auto saved = reloaded();
    EXPECT_EQ(utf8(model::Account(in(*saved, checking.object())).qifDateOrder()), "MDY");
}

TEST_F(ImportFromBankControllerTest, AnUndecidableOrderAsksWithoutCountingAFailure) {
    auto sheet = importFile(write("both.qif", qif("01/02/2020", "02/01/2020")));
    expectPrompt(*sheet, "01/02/2020", DateOrder::mdy(),
                 "The format of dates could not be automatically determined. Please specify it below.");
    EXPECT_EQ(ImportFromBankController::dateOrderChoices(),
              (std::vector<DateOrder>{DateOrder::mdy(), DateOrder::dmy(), DateOrder::ymd()}));

    sheet->continueFromDateOrder(DateOrder::dmy());
    EXPECT_EQ(sheet->view(), View::Summary);
    EXPECT_EQ(checking.orderedTransactions().size(), 2u);
    EXPECT_EQ(model::Transaction(checking.orderedTransactions().front()).date(), day(2020, 2, 1));
}

TEST_F(ImportFromBankControllerTest, TheFourthFailedDateOrderAlsoRaisesAnAlert) {
    checking.setQifDateOrder(QStringLiteral("DMY"));
    auto sheet = importFile(write("us.qif", qif("12/31/2020")));
    for (int retry = 2; retry <= 5; ++retry) {
        ASSERT_EQ(sheet->view(), View::DateOrderPrompt);
        sheet->continueFromDateOrder(retry % 2 == 0 ? DateOrder::ymd() : DateOrder::dmy());
        ASSERT_EQ(alerts.shown().size(), retry < 4 ? 0u : static_cast<std::size_t>(retry - 3)) << retry;
    }
    expectAlert(
        alerts.last(), QStringLiteral("Looks like you are having problem."),
        QStringLiteral("The dates in the QIF file could not be parsed with the format you specified. Make "
                       "sure you are specifying day, month and year in the right order. Vantrel assumes "
                       "each date field is separated by a non-digit charactor in the QIF file. If you "
                       "continue to have problem, please contact support@vantrel.org for help."));

    // The count belongs to the sheet: opening it again starts over.
    const QString path = write("us2.qif", qif("12/31/2020"));
    auto reopened = importFile(path);
    EXPECT_EQ(reopened->view(), View::DateOrderPrompt);
    EXPECT_EQ(alerts.shown().size(), 2u);

    // Cancelling the prompt drops the file read.
    reopened->cancelFromDialog();
    EXPECT_EQ(reopened->view(), View::Main);
    ASSERT_TRUE(QFile::remove(path));
    expectFileReadAgain(*reopened);
}

// ---- CSV files -----------------------------------------------------------------------------------

TEST_F(ImportFromBankControllerTest, CsvColumnsAreMappedOnceRememberedAndForgotten) {
    checking.setQifDateOrder(QStringLiteral("MDY"));
    auto sheet = importFile(write("march.csv", "03/01/2024,COFFEE,-4.50\n03/02/2024,BOOKS,-9.00\n"));
    ASSERT_EQ(sheet->view(), View::CsvSettings);
    ASSERT_EQ(sheet->csvRows().size(), 2u);
    EXPECT_EQ(utf8(sheet->csvRows()[1].join(u'|')), "03/02/2024|BOOKS|-9.00");

    const import::CsvSettings settings = dateNameAmount();
    sheet->didFinishParsingCsvWithResult(import::CsvReader::readRows(sheet->csvRows(), settings), settings);
    EXPECT_EQ(sheet->view(), View::Summary);
    EXPECT_EQ(counts(sheet->summary()), "new 2, matched 0, duplicate 0");
    EXPECT_EQ(import::CsvSettings::fromJson(checking.csvImportSettings()), settings);
    EXPECT_FALSE(context.hasChanges());

    // The next file of the account goes straight through with the remembered columns.
    const QString next = write("april.csv", "03/02/2024,BOOKS,-9.00\n04/01/2024,RENT,-900.00\n");
    auto second = importFile(next);
    EXPECT_EQ(second->view(), View::Summary);
    EXPECT_EQ(counts(second->summary()), "new 1, matched 0, duplicate 1");

    second->forgetCsvImportSettings();
    EXPECT_TRUE(checking.csvImportSettings().isEmpty());
    EXPECT_FALSE(context.hasChanges());
    EXPECT_EQ(importFile(next)->view(), View::CsvSettings);
}

TEST_F(ImportFromBankControllerTest, RememberedColumnsThatDoNotFitAskAgain) {
    import::CsvSettings swapped = dateNameAmount();
    swapped.columnMapping = {
        {import::CsvField::Date, 1}, {import::CsvField::Payee, 0}, {import::CsvField::Amount, 2}};
    checking.setCsvImportSettings(swapped.toJson());
    auto sheet = importFile(write("march.csv", "03/01/2024,COFFEE,-4.50\n"));
    EXPECT_EQ(sheet->view(), View::CsvSettings);
    EXPECT_TRUE(alerts.shown().empty());

    // Not remembering this time leaves the stored columns alone; cancelling returns to the start.
    sheet->userDidCancelCsvImport();
    EXPECT_EQ(sheet->view(), View::Main);
    sheet->import();
    ASSERT_EQ(sheet->view(), View::CsvSettings);
    checking.setQifDateOrder(QStringLiteral("MDY"));
    sheet->didFinishParsingCsvWithResult(import::CsvReader::readRows(sheet->csvRows(), dateNameAmount()),
                                         std::nullopt);
    EXPECT_EQ(sheet->view(), View::Summary);
    EXPECT_EQ(import::CsvSettings::fromJson(checking.csvImportSettings()), swapped);
}

// ---- Import settings -----------------------------------------------------------------------------

TEST_F(ImportFromBankControllerTest, ImportSettingsAreShownAndSaved) {
    auto sheet = open();
    sheet->showSettings();
    EXPECT_EQ(sheet->view(), View::ImportSettings);
    EXPECT_EQ(sheet->settings().specialBank, std::nullopt);
    EXPECT_EQ(sheet->settings().qifDateOrder, std::nullopt);

    sheet->saveSettings({0, DateOrder::ymd()});
    EXPECT_EQ(sheet->view(), View::Main);
    EXPECT_EQ(checking.specialBank(), 0);
    EXPECT_EQ(utf8(checking.qifDateOrder()), "YMD");
    EXPECT_FALSE(context.hasChanges());

    sheet->showSettings();
    EXPECT_EQ(sheet->settings().specialBank, 0);
    EXPECT_EQ(sheet->settings().qifDateOrder, DateOrder::ymd());
    sheet->saveSettings({std::nullopt, std::nullopt});
    EXPECT_EQ(checking.specialBank(), std::nullopt);
    EXPECT_TRUE(checking.qifDateOrder().isNull());
}

TEST_F(ImportFromBankControllerTest, TheSpecialBankPopUpShowsEveryStoredValue) {
    const auto& choices = ImportFromBankController::specialBankChoices();
    ASSERT_EQ(choices.size(), 3u);
    for (std::size_t i = 0; i < choices.size(); ++i) {
        EXPECT_EQ(ImportFromBankController::specialBankChoiceIndex(choices[i].value), i);
    }
    EXPECT_EQ(choices[0].value, std::nullopt);
    EXPECT_EQ(choices[1].value, 0);
    EXPECT_EQ(ImportFromBankController::specialBankChoiceIndex(42), 2u);
    EXPECT_EQ(ImportFromBankController::specialBankChoiceIndex(-1), 2u);
}

} // namespace
