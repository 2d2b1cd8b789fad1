#include "ui/ImportAppSheet.h"

#include "app/AccountSidebarModel.h"
#include "app/AppWorkspaceFixture.h"
#include "app/RecordingShell.h"
#include "model/CategoryVT.h"
#include "platform/objectstore/PersistentStore.h"
#include "support/EventLoopWait.h"
#include "ui/CsvMappingSheet.h"
#include "ui/ImportProgressSheet.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <condition_variable>
#include <mutex>

using namespace vantrel;
using app::ImportFromAppController;
using testsupport::amount;
using testsupport::utf8;
using testsupport::waitUntil;

namespace {

// The store as a run's own context sees it, with a gate: the run stops when it creates the chosen
// transaction and waits until the test opens the gate, so the test sees the run in the middle.
class GatedStore final : public objectstore::PersistentStore {
public:
    explicit GatedStore(std::shared_ptr<objectstore::PersistentStore> inner)
        : m_inner(std::move(inner))
        , m_transactionEntity(m_inner->model().entityIndex(u"Transaction").value()) {}

    // Holds the run at its `ordinal`th new transaction (1 is the first); 0 never holds.
    void holdAtTransaction(int ordinal) {
        const std::lock_guard lock(m_mutex);
        m_holdAt = ordinal;
        m_open = false;
    }
    bool isHolding() const {
        const std::lock_guard lock(m_mutex);
        return m_holding;
    }
    void open() {
        {
            const std::lock_guard lock(m_mutex);
            m_open = true;
        }
        m_opened.notify_all();
    }

    const objectstore::ModelDescription& model() const override { return m_inner->model(); }
    std::int64_t allocateKey(int entity) override {
        if (entity == m_transactionEntity) {
            std::unique_lock lock(m_mutex);
            if (++m_transactions == m_holdAt) {
                m_holding = true;
                m_opened.wait(lock, [this] { return m_open; });
                m_holding = false;
            }
        }
        return m_inner->allocateKey(entity);
    }
    void loadAll(int entity, const std::function<void(objectstore::ObjectState&&)>& sink) override {
        m_inner->loadAll(entity, sink);
    }
    void apply(const objectstore::ChangeSet& changes) override { m_inner->apply(changes); }

private:
    std::shared_ptr<objectstore::PersistentStore> m_inner;
    const int m_transactionEntity;
    mutable std::mutex m_mutex;
    std::condition_variable m_opened;
    int m_transactions = 0;
    int m_holdAt = 0;
    bool m_open = true;
    bool m_holding = false;
};

QString fixture(const char* name) {
    return QStringLiteral(VANTREL_TEST_DATA "/qif-app/") + QString::fromLatin1(name);
}

void click(QAbstractButton* button) {
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isVisible()) << utf8(button->text());
    ASSERT_TRUE(button->isEnabled()) << utf8(button->text());
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(4, button->height() / 2));
}

QStringList itemsOf(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) {
        items << box->itemText(i);
    }
    return items;
}

class ImportAppSheetTest : public testsupport::AppWorkspaceFixture {
protected:
    ImportAppSheetTest() {
        checking = newAccount(QStringLiteral("Checking")).object();
        savings = newAccount(QStringLiteral("Savings")).object();
        EXPECT_TRUE(context.save().succeeded());
    }

    ~ImportAppSheetTest() override {
        // A run still held would keep the controller's thread from ending.
        gate->open();
    }

    void startWith(const QString& path) {
        sheet.startWithFile(path);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&sheet));
    }

    bool waitForTheRunToEnd() {
        return waitUntil([this] { return controller.sheet() != ImportFromAppController::Sheet::Progress; });
    }

    std::size_t storedCount(QStringView entity) const { return reloaded()->count(entity); }

    QStringList accountNames() {
        QStringList names;
        for (const model::Account& account : model::Account::allInAccountOrder(context)) {
            names << account.name();
        }
        return names;
    }

    objectstore::ManagedObject* checking = nullptr;
    objectstore::ManagedObject* savings = nullptr;
    testsupport::RecordingShell shell;
    app::AccountSidebarModel sidebar{workspace, locale()};
    std::shared_ptr<GatedStore> gate = std::make_shared<GatedStore>(store);
    ImportFromAppController controller{workspace, sidebar, shell, gate};
    ui::ImportAppSheet sheet{controller};
    QSignalSpy finished{&sheet, &ui::ImportAppSheet::importFinished};
};

// ---- QIF -----------------------------------------------------------------------------------------

TEST_F(ImportAppSheetTest, AWholeQifFileRunsBehindTheProgressSheetToTheEndAndCreatesItsAccounts) {
    gate->holdAtTransaction(2);
    startWith(fixture("accounts.qif"));
    EXPECT_EQ(utf8(sheet.fileLabel()->text()), "accounts.qif");
    click(sheet.importButton());

    QPointer<ui::ImportProgressSheet> progress = sheet.progressSheet();
    ASSERT_FALSE(progress.isNull());
    EXPECT_TRUE(progress->isVisible());
    EXPECT_EQ(utf8(progress->statusLabel()->text()), "Starting up...");
    EXPECT_EQ(progress->progressBar()->maximum(), 0); // busy
    EXPECT_EQ(utf8(progress->abortButton()->text()), "Abort");

    // Held at the second transaction of Checking: the opening balance and one transaction are done.
    ASSERT_TRUE(waitUntil([&] {
        return gate->isHolding() && progress->progressBar()->maximum() == 5 &&
               progress->progressBar()->value() == 2;
    }));
    EXPECT_EQ(utf8(progress->statusLabel()->text()), "Importing Checking...");
    EXPECT_EQ(context.count(u"Account"), 2U);

    gate->open();
    ASSERT_TRUE(waitForTheRunToEnd());
    ASSERT_TRUE(waitUntil([&] { return finished.count() == 1 && progress.isNull(); }));
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
    EXPECT_TRUE(alerts.shown().empty());
    EXPECT_EQ(accountNames(), (QStringList{QStringLiteral("Checking"), QStringLiteral("Savings"),
                                           QStringLiteral("Checking"), QStringLiteral("Visa")}));
    EXPECT_EQ(context.count(u"Transaction"), 4U);
    EXPECT_EQ(storedCount(u"Account"), 4U);
    EXPECT_FALSE(context.hasChanges());
}

TEST_F(ImportAppSheetTest, AbortStopsTheRunAndLeavesTheStoreAsItWas) {
    gate->holdAtTransaction(2);
    startWith(fixture("accounts.qif"));
    click(sheet.importButton());
    QPointer<ui::ImportProgressSheet> progress = sheet.progressSheet();
    ASSERT_FALSE(progress.isNull());
    ASSERT_TRUE(waitUntil([&] { return gate->isHolding(); }));

    click(progress->abortButton());
    EXPECT_FALSE(progress->abortButton()->isEnabled());
    gate->open();
    ASSERT_TRUE(waitForTheRunToEnd());
    ASSERT_TRUE(waitUntil([&] { return progress.isNull(); }));

    // Back on the main sheet, without a word, with the file still chosen.
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_TRUE(sheet.importButton()->isVisible());
    EXPECT_TRUE(sheet.importButton()->isEnabled());
    EXPECT_TRUE(alerts.shown().empty());
    EXPECT_EQ(finished.count(), 0);
    EXPECT_EQ(context.count(u"Account"), 2U);
    EXPECT_EQ(storedCount(u"Account"), 2U);
    EXPECT_EQ(storedCount(u"Transaction"), 0U);
}

TEST_F(ImportAppSheetTest, AFileOfOneAccountsTransactionsAsksForTheAccount) {
    startWith(fixture("transactions.qif"));
    click(sheet.importButton());
    QComboBox* accounts = sheet.accountBox();
    ASSERT_TRUE(accounts->isVisible());
    EXPECT_EQ(itemsOf(accounts), (QStringList{QStringLiteral("Checking"), QStringLiteral("Savings")}));
    EXPECT_EQ(utf8(accounts->currentText()), "Checking");

    // Escape returns to the main sheet; Import asks again.
    QTest::keyClick(&sheet, Qt::Key_Escape);
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_TRUE(sheet.importButton()->isVisible());
    click(sheet.importButton());

    accounts->setFocus();
    QTest::keyClick(accounts, Qt::Key_Down);
    EXPECT_EQ(utf8(accounts->currentText()), "Savings");
    click(sheet.accountContinueButton());
    ASSERT_TRUE(waitForTheRunToEnd());
    ASSERT_TRUE(waitUntil([&] { return finished.count() == 1; }));
    EXPECT_EQ(model::Account(savings).transactions().size(), 2U);
    EXPECT_EQ(sidebar.selectedAccount(), savings);
    EXPECT_EQ(storedCount(u"Transaction"), 2U);
}

TEST_F(ImportAppSheetTest, TheDateFormatSheetOffersTheOrdersInMenuOrderAndRunsAgainWithTheChoice) {
    startWith(fixture("accounts.qif"));
    click(sheet.askForDateFormatBox());
    EXPECT_TRUE(controller.shouldAskForDateFormat());
    click(sheet.importButton());
    ASSERT_TRUE(waitForTheRunToEnd());

    QComboBox* formats = sheet.dateFormatBox();
    ASSERT_TRUE(formats->isVisible());
    EXPECT_EQ(utf8(sheet.dateFormatTitleLabel()->text()), "Please specify the date format.");
    EXPECT_EQ(utf8(sheet.dateFormatMessageLabel()->text()),
              "Month, Day, Year is the automatically determined date format.");
    EXPECT_EQ(utf8(sheet.sampleDateLabel()->text()), "01/01/2020");
    EXPECT_EQ(itemsOf(formats),
              (QStringList{QStringLiteral("Month, Day, Year"), QStringLiteral("Day, Month, Year"),
                           QStringLiteral("Year, Month, Day")}));
    EXPECT_EQ(utf8(formats->currentText()), "Month, Day, Year");
    EXPECT_EQ(context.count(u"Account"), 2U);

    // An order the dates do not read in is refused with the automatic choice offered first.
    formats->setCurrentIndex(2);
    click(sheet.dateFormatOkButton());
    ASSERT_TRUE(waitForTheRunToEnd());
    EXPECT_EQ(utf8(sheet.dateFormatTitleLabel()->text()), "Please choose another date format.");
    EXPECT_EQ(utf8(sheet.dateFormatMessageLabel()->text()),
              "Dates could not be read with the specified date format (Year, Month, Day).");
    EXPECT_EQ(itemsOf(formats), (QStringList{QStringLiteral("Automatic"), QStringLiteral("Month, Day, Year"),
                                             QStringLiteral("Day, Month, Year")}));
    EXPECT_EQ(utf8(formats->currentText()), "Automatic");
    EXPECT_EQ(storedCount(u"Account"), 2U);

    formats->setCurrentIndex(1);
    click(sheet.dateFormatOkButton());
    ASSERT_TRUE(waitForTheRunToEnd());
    ASSERT_TRUE(waitUntil([&] { return finished.count() == 1; }));
    EXPECT_EQ(storedCount(u"Account"), 4U);
    EXPECT_TRUE(alerts.shown().empty());
}

TEST_F(ImportAppSheetTest, CancellingTheDateFormatSheetReturnsToTheMainSheet) {
    startWith(fixture("accounts.qif"));
    click(sheet.askForDateFormatBox());
    click(sheet.importButton());
    ASSERT_TRUE(waitForTheRunToEnd());
    ASSERT_TRUE(sheet.dateFormatBox()->isVisible());
    QTest::keyClick(&sheet, Qt::Key_Escape);
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_TRUE(sheet.importButton()->isVisible());
    EXPECT_FALSE(controller.userSelectedDateFormat().has_value());
    EXPECT_EQ(storedCount(u"Account"), 2U);

    // Escape on the main sheet closes it without an import.
    QTest::keyClick(&sheet, Qt::Key_Escape);
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_EQ(sheet.result(), QDialog::Rejected);
    QTest::qWait(0);
    EXPECT_EQ(finished.count(), 0);
}

TEST_F(ImportAppSheetTest, AFileThatDoesNotReadShowsTheControllersAlertAndReturnsToTheMainSheet) {
    startWith(fixture("bad-amount.qif"));
    click(sheet.importButton());
    ASSERT_TRUE(waitForTheRunToEnd());
    ASSERT_TRUE(waitUntil([&] { return sheet.progressSheet() == nullptr; }));
    ASSERT_EQ(alerts.shown().size(), 1U);
    EXPECT_EQ(utf8(alerts.last().message), "The file you specified is not in a format Vantrel expects.");
    EXPECT_EQ(utf8(alerts.last().informativeText),
              "No transaction was imported. Please contact support@vantrel.org if the problem persists. "
              "(Amount could not be parsed.)");
    EXPECT_TRUE(alerts.last().buttons.isEmpty());
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_TRUE(sheet.importButton()->isVisible());
    EXPECT_EQ(storedCount(u"Account"), 2U);
}

// ---- CSV and the file chooser --------------------------------------------------------------------

TEST_F(ImportAppSheetTest, ACsvFileIsMappedWithTheProgramsFieldsAndImportedIntoTheChosenAccount) {
    const QString path = folder.filePath(QStringLiteral("export.CSV"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("Date,Amount,Category\n03/05/2021,-12.00,Food\n03/25/2021,1000.00,Income\n");
    }
    startWith(path);
    click(sheet.importButton());
    ASSERT_TRUE(sheet.accountBox()->isVisible());
    click(sheet.accountContinueButton());

    ui::CsvMappingSheet* csv = sheet.csvSheet();
    ASSERT_NE(csv, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(csv));
    EXPECT_FALSE(csv->rememberBox()->isVisible());
    const auto choose = [csv](int column, const char* title) {
        QMenu* menu = csv->popUpMenuForColumn(column);
        for (QAction* action : menu->actions()) {
            if (action->text() == QLatin1String(title)) {
                action->trigger();
            }
        }
        menu->close();
    };
    click(csv->hasHeaderBox());
    choose(0, "Date");
    choose(1, "Amount");
    EXPECT_TRUE(csv->importButton()->isEnabled()); // payee is optional here
    choose(2, "Category");
    click(csv->importButton());

    ASSERT_TRUE(waitUntil([&] { return finished.count() == 1; }));
    EXPECT_EQ(sheet.csvSheet(), nullptr);
    EXPECT_FALSE(sheet.isVisible());
    ASSERT_EQ(model::Account(checking).transactions().size(), 2U);
    EXPECT_NE(model::CategoryVT::findByName(context, QStringLiteral("Income")), std::nullopt);
    EXPECT_EQ(storedCount(u"Transaction"), 2U);
}

TEST_F(ImportAppSheetTest, TheFileChooserOffersQifAndCsvFilesInEitherCase) {
    const QString filter = ui::ImportAppSheet::fileDialogFilter();
    EXPECT_EQ(utf8(filter), "Exported Files (*.qif *.QIF *.Qif *.csv *.CSV *.Csv)");
    sheet.start();
    EXPECT_FALSE(sheet.importButton()->isEnabled());
    EXPECT_EQ(utf8(sheet.fileLabel()->text()), "No file chosen");
}

} // namespace
