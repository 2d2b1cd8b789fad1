#pragma once

#include "import/AccountDictionary.h"
#include "import/CsvRows.h"
#include "import/DateOrder.h"
#include "import/ImportOperation.h"
#include "platform/objectstore/ChangeSet.h"
#include "platform/objectstore/ObjectID.h"

#include <QMutex>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

namespace vantrel::objectstore {
class ManagedObject;
class PersistentStore;
} // namespace vantrel::objectstore

namespace vantrel::model {
class Account;
}

namespace vantrel::app {

class AccountSidebarModel;
class ApplicationShell;
class Workspace;

// The items of the date-format pop-up, in menu order: automatic first, then month-day-year,
// day-month-year and year-month-day.
enum class DateFormatItem { Automatic, MonthDayYear, DayMonthYear, YearMonthDay };

// What the date-format sheet shows after a run could not settle how its dates read.
struct DateFormatSheet {
    QString title;
    QString message;
    QString sampleText;
    // In menu order.
    std::vector<DateFormatItem> visibleItems;
    DateFormatItem selectedItem = DateFormatItem::Automatic;

    // "Automatic", "Month, Day, Year", "Day, Month, Year", "Year, Month, Day".
    static QString itemTitle(DateFormatItem item);
    static std::optional<import::DateOrder> orderOf(DateFormatItem item);
    static DateFormatItem itemFor(import::DateOrder order);
    // The sheet for a "DateFormatException" with that reason and those details.
    static DateFormatSheet forFailure(const QString& reason, const QVariantMap& details);

    friend bool operator==(const DateFormatSheet&, const DateFormatSheet&) = default;
};

// A failed run as the screens dispatch on it: the failure's name and reason, its details and the
// full description for the log.
struct ImportFailure {
    QString name;
    QString reason;
    QVariantMap details;
    QString description;
};

// The sheet that imports another program's QIF or CSV export: choosing the file and the road,
// the account to import into, handing a CSV file to the column mapping, running the import (a QIF
// run on a worker thread with a context of its own on the same store), its progress, Abort, the
// failures and the date-format sheet. Lives on the main thread; the worker reaches it only through
// queued calls.
class ImportFromAppController : public QObject {
    Q_OBJECT

public:
    enum class Sheet { Closed, Main, AccountSelection, CsvSettings, Progress, DateFormat };

    static constexpr auto kCsvEmptyMessage = "The selected CSV file is empty.";
    static constexpr auto kCsvEmptyInformative = "Please select another file and try again.";
    static constexpr auto kSaveFailedMessage = "An error occurred while saving imported data.";
    static constexpr auto kSaveFailedInformative =
        "The application has to quit now. Please report this error to %1.";
    static constexpr auto kFormatMessage = "The file you specified is not in a format Vantrel expects.";
    static constexpr auto kFormatInformative =
        "No transaction was imported. Please contact %1 if the problem persists. (%2)";
    static constexpr auto kEncodingMessage = "The encoding of the file could not be determined.";
    static constexpr auto kEncodingInformative =
        "The file was not imported. Please contact %1 with the file attached for assistance.";
    static constexpr auto kUnexpectedMessage = "An unexpected error occurred.";
    static constexpr auto kUnexpectedInformative =
        "No transaction was imported. Please contact %1 if the problem persists.";

    // Runs a job off the main thread. The default gives every job a thread of its own.
    using BackgroundRunner = std::function<void(std::function<void()> job)>;

    // `store` is the store of the workspace's context: a QIF run opens its own context on it.
    ImportFromAppController(Workspace& workspace, AccountSidebarModel& sidebar, ApplicationShell& shell,
                            std::shared_ptr<objectstore::PersistentStore> store, BackgroundRunner runner = {},
                            QObject* parent = nullptr);
    // Aborts a run still going and waits for its thread.
    ~ImportFromAppController() override;

    Sheet sheet() const { return m_sheet; }

    // The main sheet.
    void openSheet();
    void closeSheet();
    static QStringList allowedFileExtensions();
    void chooseFile(const QString& path);
    const QString& chosenFile() const { return m_fileName; }
    bool isImportEnabled() const { return !m_fileName.isEmpty(); }
    bool shouldAskForDateFormat() const { return m_shouldAskForDateFormat; }
    void setShouldAskForDateFormat(bool ask) { m_shouldAskForDateFormat = ask; }
    // The Import button: picks the road by the file's extension and content.
    void import();

    // The account-selection sheet: every account in account order, the sidebar's account (else
    // the first) preselected.
    std::vector<model::Account> selectableAccounts() const;
    objectstore::ManagedObject* preselectedAccount() const;
    void chooseAccount(objectstore::ManagedObject* account);
    void cancelAccountSelection();

    // The CSV mapping sheet works on these rows and hands back the account entry it built.
    const std::optional<import::CsvRows>& csvRows() const { return m_csvRows; }
    void csvMappingFinished(import::ImportedAccount account);
    void csvMappingCancelled();

    // The progress sheet.
    const import::ImportProgress& progress() const { return m_progress; }
    void abort();
    bool isRunning() const { return m_running; }

    // The date-format sheet.
    const std::optional<DateFormatSheet>& dateFormatSheet() const { return m_dateFormatSheet; }
    // Ignored for an item the sheet does not show.
    void selectDateFormatItem(DateFormatItem item);
    void confirmDateFormat();
    void cancelDateFormat();

    bool isQIFImport() const { return m_isQIFImport; }
    objectstore::ManagedObject* targetAccount() const;
    const std::optional<import::DateOrder>& userSelectedDateFormat() const {
        return m_userSelectedDateFormat;
    }
    const std::optional<import::ImportedAccount>& csvAccountsDictionary() const {
        return m_csvAccountsDictionary;
    }

    static ImportFailure failureFrom(const std::exception_ptr& failure);

signals:
    void sheetChanged();
    void progressChanged();

private:
    struct RunResult {
        objectstore::ChangeSet changes;
        std::vector<objectstore::ObjectID> transactions;
        std::vector<objectstore::ObjectID> accounts;
        std::vector<objectstore::ObjectID> categories;
    };

    void setSheet(Sheet sheet);
    void returnToMainSheet();
    void startQifRun();
    void runCsvImport();
    void openCsvSettings();
    import::ImportChoices choices();
    // Worker side.
    void runQifJob(const QString& fileName, std::optional<objectstore::ObjectID> target,
                   import::ImportChoices choices);
    void postProgress(const import::ImportProgress& progress);
    // Main-thread side.
    void applyPendingProgress();
    void finishSuccessfulImport(const RunResult& result);
    void crashWithError(const QString& error);
    void handleImportException(const ImportFailure& failure);
    void showAlert(const char* message, const QString& informative);
    void finishWorker();

    Workspace& m_workspace;
    AccountSidebarModel& m_sidebar;
    ApplicationShell& m_shell;
    std::shared_ptr<objectstore::PersistentStore> m_store;
    BackgroundRunner m_runner;
    std::thread m_worker;

    Sheet m_sheet = Sheet::Closed;
    QString m_fileName;
    bool m_shouldAskForDateFormat = false;
    bool m_isQIFImport = false;
    std::optional<objectstore::ObjectID> m_targetAccount;
    std::optional<import::CsvRows> m_csvRows;
    std::optional<import::ImportedAccount> m_csvAccountsDictionary;
    std::optional<import::DateOrder> m_userSelectedDateFormat;
    std::atomic<bool> m_abortImport{false};
    bool m_running = false;

    import::ImportProgress m_progress;
    QMutex m_progressMutex;
    import::ImportProgress m_pendingProgress;
    bool m_progressUpdateQueued = false;

    std::optional<DateFormatSheet> m_dateFormatSheet;
};

} // namespace vantrel::app
