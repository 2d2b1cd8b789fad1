#include "app/ImportFromAppController.h"

#include "AppWorkspaceFixture.h"
#include "RecordingShell.h"
#include "app/AccountSidebarModel.h"
#include "import/ParseException.h"
#include "platform/LogCapture.h"
#include "platform/objectstore/PersistentStore.h"
#include "support/EventLoopWait.h"

#include <QFile>

#include <iterator>
#include <stdexcept>
#include <thread>

using namespace vantrel;
using app::DateFormatItem;
using app::DateFormatSheet;
using app::ImportFromAppController;
using import::DateOrder;
using import::ImportedAccount;
using import::ImportedSplit;
using import::ImportedTransaction;
using model::Account;
using model::Transaction;
using Sheet = ImportFromAppController::Sheet;
using testsupport::amount;
using testsupport::day;
using testsupport::utf8;
using testsupport::waitUntil;

namespace {

QString fixture(const char* name) {
    return QStringLiteral(VANTREL_TEST_DATA "/qif-app/") + QString::fromUtf8(name);
}

// The store a worker's context sees when the disk refuses every write.
class RefusingStore final : public objectstore::PersistentStore {
public:
    explicit RefusingStore(std::shared_ptr<objectstore::PersistentStore> inner)
        : m_inner(std::move(inner)) {}

    const objectstore::ModelDescription& model() const override { return m_inner->model(); }
    std::int64_t allocateKey(int entity) override { return m_inner->allocateKey(entity); }
    void loadAll(int entity, const std::function<void(objectstore::ObjectState&&)>& sink) override {
        m_inner->loadAll(entity, sink);
    }
    void apply(const objectstore::ChangeSet&) override { throw std::runtime_error("disk full"); }

private:
    std::shared_ptr<objectstore::PersistentStore> m_inner;
};

ImportedTransaction csvRow(const char* date, const char* value, const char* payee, const char* category) {
    ImportedTransaction row;
    row.dateString = QString::fromUtf8(date);
    row.amount = amount(value);
    row.payee = QString::fromUtf8(payee);
    row.isPending = false;
    row.splits = {ImportedSplit{QString::fromUtf8(category), amount(value), std::nullopt}};
    return row;
}

ImportedAccount csvEntry(std::vector<ImportedTransaction> rows) {
    ImportedAccount entry;
    entry.transactions = std::move(rows);
    return entry;
}

class ImportFromAppControllerTest : public testsupport::AppWorkspaceFixture {
protected:
    ImportFromAppControllerTest() {
        checking = newAccount(QStringLiteral("Checking")).object()->id();
        savings = newAccount(QStringLiteral("Savings")).object()->id();
        EXPECT_TRUE(context.save().succeeded());
    }

    std::unique_ptr<ImportFromAppController>
    makeController(std::shared_ptr<objectstore::PersistentStore> on,
                   ImportFromAppController::BackgroundRunner runner = {}) {
        auto made = std::make_unique<ImportFromAppController>(workspace, sidebar, shell, std::move(on),
                                                              std::move(runner));
        made->openSheet();
        return made;
    }

    QString writeFile(const QString& name, const QByteArray& bytes) {
        const QString path = files.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    QString copyOf(const char* fixtureName, const QString& name) {
        QFile source(fixture(fixtureName));
        EXPECT_TRUE(source.open(QIODevice::ReadOnly));
        return writeFile(name, source.readAll());
    }

    void startCsv(const QByteArray& bytes) {
        controller->chooseFile(writeFile(QStringLiteral("rows.csv"), bytes));
        controller->import();
        controller->chooseAccount(object(checking));
    }

    bool waitWhileRunning() {
        return waitUntil([this] { return controller->sheet() != Sheet::Progress; });
    }

    objectstore::ManagedObject* object(const objectstore::ObjectID& id) const { return context.object(id); }

    std::size_t storedCount(QStringView entity) const { return reloaded()->count(entity); }

    static QString noTransaction(const char* reason) {
        return QStringLiteral(
                   "No transaction was imported. Please contact support@vantrel.org if the problem "
                   "persists.") +
               QString::fromLatin1(reason);
    }

    void expectOnlyAlert(const char* message, const QString& informative, std::size_t count = 1) {
        ASSERT_EQ(alerts.shown().size(), count);
        EXPECT_EQ(alerts.last().message, QString::fromLatin1(message));
        EXPECT_EQ(alerts.last().informativeText, informative);
        EXPECT_TRUE(alerts.last().buttons.isEmpty());
    }

    // The resets of every return to the main sheet.
    void expectBackOnMainSheet() const {
        EXPECT_EQ(controller->sheet(), Sheet::Main);
        EXPECT_EQ(controller->targetAccount(), nullptr);
        EXPECT_FALSE(controller->userSelectedDateFormat().has_value());
        EXPECT_FALSE(controller->csvAccountsDictionary().has_value());
        EXPECT_FALSE(controller->dateFormatSheet().has_value());
    }

    platform::LogCapture log;
    QTemporaryDir files;
    testsupport::RecordingShell shell;
    app::AccountSidebarModel sidebar{workspace, locale()};
    objectstore::ObjectID checking;
    objectstore::ObjectID savings;
    std::unique_ptr<ImportFromAppController> controller = makeController(store);
};

// ---- The main sheet and the roads ------------------------------------------------------------

TEST_F(ImportFromAppControllerTest, OpeningTheSheetClearsTheFileAndTheAskBox) {
    EXPECT_EQ(ImportFromAppController::allowedFileExtensions(),
              (QStringList{QStringLiteral("qif"), QStringLiteral("csv")}));
    EXPECT_FALSE(controller->isImportEnabled());
    controller->chooseFile(fixture("accounts.qif"));
    controller->setShouldAskForDateFormat(true);
    EXPECT_TRUE(controller->isImportEnabled());

    controller->openSheet();
    EXPECT_EQ(controller->sheet(), Sheet::Main);
    EXPECT_TRUE(controller->chosenFile().isEmpty());
    EXPECT_FALSE(controller->isImportEnabled());
    EXPECT_FALSE(controller->shouldAskForDateFormat());
    controller->import();
    EXPECT_EQ(controller->sheet(), Sheet::Main);
}

TEST_F(ImportFromAppControllerTest, WholeQifFileRunsAtOnceInTheBackgroundAndIsMergedIntoTheMainContext) {
    // An edit the user has not saved: the run's context must see the store as the user left it.
    Account(object(checking)).setName(QStringLiteral("Everyday"));
    std::vector<import::ImportProgress> shown;
    QObject::connect(controller.get(), &ImportFromAppController::progressChanged,
                     [&] { shown.push_back(controller->progress()); });
    controller->chooseFile(copyOf("accounts.qif", QStringLiteral("EXPORT.QIF")));
    controller->import();

    EXPECT_TRUE(controller->isQIFImport());
    EXPECT_EQ(controller->sheet(), Sheet::Progress);
    EXPECT_EQ(controller->progress(), (import::ImportProgress{0, 0, true, QStringLiteral("Starting up...")}));
    EXPECT_FALSE(context.hasChanges());
    EXPECT_EQ(Account(reloaded()->object(checking)).name(), QStringLiteral("Everyday"));

    ASSERT_TRUE(waitWhileRunning());
    EXPECT_EQ(controller->sheet(), Sheet::Closed);
    EXPECT_TRUE(alerts.shown().empty());
    // Updates may be coalesced on the way, but the last one shown is the run's last.
    ASSERT_GE(shown.size(), 2U);
    EXPECT_EQ(shown.front().label, QStringLiteral("Starting up..."));
    EXPECT_EQ(shown.back(), (import::ImportProgress{5, 5, true, QStringLiteral("Saving changes...")}));
    // Merged: the main context holds the new accounts and their transactions without a reload.
    EXPECT_EQ(context.count(u"Account"), 4U);
    EXPECT_EQ(context.count(u"Transaction"), 4U);
    EXPECT_NE(model::CategoryVT::findByName(context, QStringLiteral("Housing")), std::nullopt);
    EXPECT_FALSE(context.hasChanges());
    EXPECT_EQ(storedCount(u"Account"), 4U);
    EXPECT_TRUE(posted.contains(QStringLiteral("RefreshAllViews")));
    EXPECT_TRUE(posted.contains(QStringLiteral("VT Categories Changed")));
    // A whole-file run has no target account to select.
    EXPECT_EQ(sidebar.selectedAccount(), nullptr);
    EXPECT_FALSE(controller->isRunning());
}

TEST_F(ImportFromAppControllerTest, TransactionsOnlyQifFileGoesThroughAccountSelection) {
    controller->chooseFile(fixture("transactions.qif"));
    controller->import();
    ASSERT_EQ(controller->sheet(), Sheet::AccountSelection);
    ASSERT_EQ(controller->selectableAccounts().size(), 2U);
    EXPECT_EQ(controller->preselectedAccount(), object(checking));
    sidebar.selectAccount(object(savings));
    EXPECT_EQ(controller->preselectedAccount(), object(savings));
    sidebar.selectAccount(nullptr);

    controller->chooseAccount(object(savings));
    EXPECT_EQ(controller->sheet(), Sheet::Progress);
    ASSERT_TRUE(waitWhileRunning());
    EXPECT_EQ(controller->sheet(), Sheet::Closed);
    const Account target(object(savings));
    ASSERT_EQ(target.transactions().size(), 2U);
    EXPECT_EQ(Account(object(checking)).transactions().size(), 0U);
    EXPECT_EQ(sidebar.selectedAccount(), object(savings));
    EXPECT_EQ(storedCount(u"Transaction"), 2U);
}

TEST_F(ImportFromAppControllerTest, CsvAsksForTheAccountAndRefusesAnEmptyFileAfterIt) {
    controller->chooseFile(writeFile(QStringLiteral("rows.csv"), "Date,Amount\n03/05/2021,-12.00\n"));
    controller->import();
    EXPECT_FALSE(controller->isQIFImport());
    ASSERT_EQ(controller->sheet(), Sheet::AccountSelection);
    controller->cancelAccountSelection();
    expectBackOnMainSheet();
    EXPECT_EQ(controller->chosenFile(), files.filePath(QStringLiteral("rows.csv")));

    controller->chooseFile(writeFile(QStringLiteral("empty.csv"), QByteArray()));
    controller->import();
    ASSERT_EQ(controller->sheet(), Sheet::AccountSelection);
    controller->chooseAccount(object(checking));
    expectOnlyAlert("The selected CSV file is empty.",
                    QStringLiteral("Please select another file and try again."));
    expectBackOnMainSheet();
}

// ---- CSV -------------------------------------------------------------------------------------

TEST_F(ImportFromAppControllerTest, MappedCsvRunsInTheMainContextAndIsSaved) {
    startCsv("Date,Amount\n03/05/2021,-12.00\n");
    ASSERT_EQ(controller->sheet(), Sheet::CsvSettings);
    ASSERT_TRUE(controller->csvRows().has_value());
    EXPECT_EQ(controller->csvRows()->size(), 2U);

    controller->csvMappingFinished(csvEntry({csvRow("03/05/2021", "-12.00", "Coffee", "Treats"),
                                             csvRow("03/25/2021", "100.00", "Salary", "Income")}));
    EXPECT_EQ(controller->sheet(), Sheet::Closed);
    EXPECT_EQ(Account(object(checking)).transactions().size(), 2U);
    EXPECT_FALSE(context.hasChanges());
    EXPECT_EQ(storedCount(u"Transaction"), 2U);
    EXPECT_TRUE(posted.contains(QStringLiteral("RefreshAllViews")));
    EXPECT_TRUE(alerts.shown().empty());
}

TEST_F(ImportFromAppControllerTest, FailedCsvRunKeepsTheUsersEditsAndDropsEverythingOfTheRun) {
    startCsv("Date,Amount\n01/13/2021,-12.00\n");
    Account(object(savings)).setName(QStringLiteral("Rainy Day"));
    // The first row reads month first and makes a category; the second reads in no order.
    controller->csvMappingFinished(csvEntry({csvRow("01/13/2021", "-12.00", "Coffee", "Treats"),
                                             csvRow("13/45/2021", "-1.00", "Broken", "Treats")}));

    ASSERT_EQ(controller->sheet(), Sheet::DateFormat);
    EXPECT_EQ(controller->dateFormatSheet()->message,
              QStringLiteral(
                  "Dates could not be read with the automatically detected date format (Month, Day, Year)."));
    EXPECT_FALSE(context.hasChanges());
    EXPECT_EQ(context.count(u"Transaction"), 0U);
    EXPECT_EQ(model::CategoryVT::findByName(context, QStringLiteral("Treats")), std::nullopt);
    EXPECT_EQ(Account(reloaded()->object(savings)).name(), QStringLiteral("Rainy Day"));

    controller->cancelDateFormat();
    expectBackOnMainSheet();
}

TEST_F(ImportFromAppControllerTest, CsvRerunFromTheDateFormatSheetReusesTheMappedEntry) {
    startCsv("Date,Amount\n05/05/2021,-12.00\n");
    controller->csvMappingFinished(csvEntry({csvRow("05/05/2021", "-12.00", "Coffee", "Treats"),
                                             csvRow("06/07/2021", "-3.00", "Tea", "Treats")}));
    ASSERT_EQ(controller->sheet(), Sheet::DateFormat);
    EXPECT_EQ(controller->dateFormatSheet()->title, QStringLiteral("Please specify the date format."));
    EXPECT_EQ(controller->dateFormatSheet()->sampleText, QStringLiteral("05/05/2021"));

    controller->selectDateFormatItem(DateFormatItem::Automatic); // hidden: ignored
    EXPECT_EQ(controller->dateFormatSheet()->selectedItem, DateFormatItem::MonthDayYear);
    controller->selectDateFormatItem(DateFormatItem::DayMonthYear);
    controller->confirmDateFormat();

    EXPECT_EQ(controller->sheet(), Sheet::Closed);
    EXPECT_EQ(controller->userSelectedDateFormat(), DateOrder::dmy());
    std::vector<model::Day> dates;
    for (objectstore::ManagedObject* transaction : Account(object(checking)).transactions()) {
        dates.push_back(*Transaction(transaction).date());
    }
    std::sort(dates.begin(), dates.end());
    EXPECT_EQ(dates, (std::vector<model::Day>{day(2021, 5, 5), day(2021, 7, 6)}));
    EXPECT_EQ(storedCount(u"Transaction"), 2U);
}

// ---- The date-format sheet -------------------------------------------------------------------

TEST_F(ImportFromAppControllerTest, DateFormatSheetForEveryReason) {
    const auto sheet = [](const char* reason, const char* order) {
        QVariantMap details{{QStringLiteral("sampleText"), QStringLiteral("01/02/03")}};
        if (order != nullptr) {
            details.insert(QStringLiteral("dateFormat"), QString::fromLatin1(order));
        }
        return DateFormatSheet::forFailure(QString::fromLatin1(reason), details);
    };
    using Items = std::vector<DateFormatItem>;
    const DateFormatItem automatic = DateFormatItem::Automatic;
    const DateFormatItem mdy = DateFormatItem::MonthDayYear;
    const DateFormatItem dmy = DateFormatItem::DayMonthYear;
    const DateFormatItem ymd = DateFormatItem::YearMonthDay;
    const QString specify = QStringLiteral("Please specify the date format.");

    EXPECT_EQ(sheet("DateFormatCannotBeDetermined", nullptr),
              (DateFormatSheet{specify,
                               QStringLiteral("Date format could not be automatically determined from file."),
                               QStringLiteral("01/02/03"), Items{mdy, dmy, ymd}, mdy}));
    EXPECT_EQ(sheet("ParsingFailedWithSelectedDateFormat", "YMD"),
              (DateFormatSheet{
                  QStringLiteral("Please choose another date format."),
                  QStringLiteral("Dates could not be read with the specified date format (Year, Month, "
                                 "Day)."),
                  QStringLiteral("01/02/03"), Items{automatic, mdy, dmy}, automatic}));
    EXPECT_EQ(
        sheet("ParsingFailedWithDetectedDateFormat", "MDY"),
        (DateFormatSheet{specify,
                         QStringLiteral("Dates could not be read with the automatically detected date format "
                                        "(Month, Day, Year)."),
                         QStringLiteral("01/02/03"), Items{dmy, ymd}, dmy}));
    EXPECT_EQ(sheet("ParsingFailedWithDetectedDateFormat", "DMY").selectedItem, mdy);
    EXPECT_EQ(sheet("ParsingFailedWithDetectedDateFormat", "YMD").selectedItem, mdy);
    EXPECT_EQ(sheet("AskForDateFormat", "DMY"),
              (DateFormatSheet{
                  specify, QStringLiteral("Day, Month, Year is the automatically determined date format."),
                  QStringLiteral("01/02/03"), Items{mdy, dmy, ymd}, dmy}));
    EXPECT_EQ(
        sheet("AskForDateFormat", nullptr),
        (DateFormatSheet{specify, QStringLiteral("The date format could not be automatically determined."),
                         QStringLiteral("01/02/03"), Items{mdy, dmy, ymd}, mdy}));
    EXPECT_EQ(DateFormatSheet::itemTitle(automatic), QStringLiteral("Automatic"));
}

TEST_F(ImportFromAppControllerTest, AskBoxOpensTheDateFormatSheetAndTheChosenOrderIsKeptForTheRerun) {
    controller->chooseFile(fixture("accounts.qif"));
    controller->setShouldAskForDateFormat(true);
    controller->import();
    ASSERT_TRUE(waitWhileRunning());
    ASSERT_EQ(controller->sheet(), Sheet::DateFormat);
    const DateFormatSheet& asked = *controller->dateFormatSheet();
    EXPECT_EQ(asked.message, QStringLiteral("Month, Day, Year is the automatically determined date format."));
    EXPECT_EQ(asked.sampleText, QStringLiteral("01/01/2020"));
    EXPECT_EQ(asked.selectedItem, DateFormatItem::MonthDayYear);
    EXPECT_EQ(storedCount(u"Account"), 2U);

    // Day first cannot read 01/15/2020: the sheet comes back naming the chosen order.
    controller->selectDateFormatItem(DateFormatItem::DayMonthYear);
    controller->confirmDateFormat();
    ASSERT_TRUE(waitWhileRunning());
    ASSERT_EQ(controller->sheet(), Sheet::DateFormat);
    EXPECT_EQ(controller->dateFormatSheet()->title, QStringLiteral("Please choose another date format."));
    EXPECT_EQ(controller->dateFormatSheet()->sampleText, QStringLiteral("01/15/2020"));
    EXPECT_EQ(controller->dateFormatSheet()->visibleItems,
              (std::vector<DateFormatItem>{DateFormatItem::Automatic, DateFormatItem::MonthDayYear,
                                           DateFormatItem::YearMonthDay}));
    EXPECT_EQ(storedCount(u"Account"), 2U);

    controller->selectDateFormatItem(DateFormatItem::MonthDayYear);
    controller->confirmDateFormat();
    ASSERT_TRUE(waitWhileRunning());
    EXPECT_EQ(controller->sheet(), Sheet::Closed);
    EXPECT_EQ(context.count(u"Account"), 4U);
    EXPECT_TRUE(alerts.shown().empty());
}

// ---- Failures --------------------------------------------------------------------------------

TEST_F(ImportFromAppControllerTest, UnreadableFilesAreReportedWithTheReasonAndStoreNothing) {
    const char* const notExpected = "The file you specified is not in a format Vantrel expects.";
    struct Case {
        QString path;
        bool asksForAccount;
        const char* message;
        QString informative;
    };
    const Case cases[] = {
        {fixture("bad-amount.qif"), false, notExpected, noTransaction(" (Amount could not be parsed.)")},
        {writeFile(QStringLiteral("noheader.qif"), "!Option:AutoSwitch\nD01/02/2020\nT-1.00\n^\n"), true,
         notExpected, noTransaction(" (Header line not found)")},
        {writeFile(QStringLiteral("broken.qif"), QByteArray("\xEF\xBB\xBF!Type:Bank\n\xC3\x28\n")), false,
         "The encoding of the file could not be determined.",
         QStringLiteral("The file was not imported. Please contact support@vantrel.org with the file "
                        "attached for assistance.")},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(utf8(cases[i].path));
        controller->chooseFile(cases[i].path);
        controller->import();
        if (cases[i].asksForAccount) {
            controller->chooseAccount(object(checking));
        }
        ASSERT_TRUE(waitUntil([&] { return alerts.shown().size() > i; }));
        expectOnlyAlert(cases[i].message, cases[i].informative, i + 1);
        expectBackOnMainSheet();
        EXPECT_EQ(storedCount(u"Account"), 2U);
        EXPECT_EQ(storedCount(u"Transaction"), 0U);
    }
}

TEST_F(ImportFromAppControllerTest, AnyOtherFailureIsUnexpectedAndLogged) {
    std::function<void()> job;
    controller = makeController(store, [&job](std::function<void()> started) { job = std::move(started); });
    controller->chooseFile(fixture("transactions.qif"));
    controller->import();
    controller->chooseAccount(object(savings));
    // The account goes from the store before the worker gets to it.
    {
        objectstore::Context other(store);
        other.deleteObject(other.object(savings));
        ASSERT_TRUE(other.save().succeeded());
    }
    std::thread(job).join();
    ASSERT_TRUE(waitWhileRunning());

    expectOnlyAlert("An unexpected error occurred.", noTransaction(""));
    const QStringList lines = log.lines();
    const auto at = lines.indexOf(QStringLiteral("Import exception: InternalError"));
    ASSERT_GE(at, 0) << utf8(lines.join(u'\n'));
    ASSERT_LT(at + 1, lines.size());
    EXPECT_EQ(lines[at + 1], QStringLiteral("The account to import into is not in the store"));
    expectBackOnMainSheet();
}

TEST_F(ImportFromAppControllerTest, AbortStopsTheRunWithoutAWordAndStoresNothing) {
    std::function<void()> job;
    controller = makeController(store, [&job](std::function<void()> started) { job = std::move(started); });
    controller->chooseFile(fixture("accounts.qif"));
    controller->import();
    ASSERT_EQ(controller->sheet(), Sheet::Progress);
    controller->abort();
    std::thread(job).join();
    ASSERT_TRUE(waitWhileRunning());

    EXPECT_TRUE(alerts.shown().empty());
    expectBackOnMainSheet();
    EXPECT_EQ(storedCount(u"Account"), 2U);
    EXPECT_EQ(storedCount(u"Transaction"), 0U);
    EXPECT_EQ(context.count(u"Account"), 2U);

    // The abort flag is cleared with the return: the next run goes through.
    controller->import();
    std::thread(job).join();
    ASSERT_TRUE(waitWhileRunning());
    EXPECT_EQ(controller->sheet(), Sheet::Closed);
    EXPECT_EQ(context.count(u"Account"), 4U);
}

TEST_F(ImportFromAppControllerTest, RefusedSaveOfTheRunEndsTheApplication) {
    controller = makeController(std::make_shared<RefusingStore>(store));
    controller->chooseFile(fixture("accounts.qif"));
    controller->import();
    ASSERT_TRUE(waitUntil([this] { return shell.exitStatus.has_value(); }));

    EXPECT_EQ(shell.exitStatus, 1);
    expectOnlyAlert(
        "An error occurred while saving imported data.",
        QStringLiteral("The application has to quit now. Please report this error to support@vantrel.org."));
    EXPECT_TRUE(log.lines().contains(QStringLiteral("disk full"))) << utf8(log.lines().join(u'\n'));
    EXPECT_EQ(context.count(u"Account"), 2U);
    EXPECT_EQ(storedCount(u"Account"), 2U);
}

} // namespace
