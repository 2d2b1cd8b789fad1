#include "app/ImportFromAppController.h"

#include "app/AccountSidebarModel.h"
#include "app/ApplicationShell.h"
#include "app/SaveErrorLog.h"
#include "app/SupportAddress.h"
#include "app/Workspace.h"
#include "import/ParseException.h"
#include "import/QifReader.h"
#include "import/SimpleCsvParser.h"
#include "model/Account.h"
#include "model/ModelValidation.h"
#include "platform/InternalError.h"
#include "platform/Log.h"
#include "platform/objectstore/Context.h"

#include <QFileInfo>
#include <QMetaObject>

#include <algorithm>

namespace vantrel::app {

namespace {

using import::DateOrder;
using import::ImportOperation;
using import::ParseException;

QString latin1(const char* text) {
    return QString::fromLatin1(text);
}

QString support() {
    return latin1(kSupportAddress);
}

constexpr DateFormatItem kMenuOrder[] = {DateFormatItem::Automatic, DateFormatItem::MonthDayYear,
                                         DateFormatItem::DayMonthYear, DateFormatItem::YearMonthDay};

} // namespace

// ---- The date-format sheet -------------------------------------------------------------------

QString DateFormatSheet::itemTitle(DateFormatItem item) {
    switch (item) {
    case DateFormatItem::Automatic:
        return QStringLiteral("Automatic");
    case DateFormatItem::MonthDayYear:
        return QStringLiteral("Month, Day, Year");
    case DateFormatItem::DayMonthYear:
        return QStringLiteral("Day, Month, Year");
    case DateFormatItem::YearMonthDay:
        return QStringLiteral("Year, Month, Day");
    }
    throw platform::InternalError("Unknown date format item");
}

std::optional<DateOrder> DateFormatSheet::orderOf(DateFormatItem item) {
    switch (item) {
    case DateFormatItem::Automatic:
        return std::nullopt;
    case DateFormatItem::MonthDayYear:
        return DateOrder::mdy();
    case DateFormatItem::DayMonthYear:
        return DateOrder::dmy();
    case DateFormatItem::YearMonthDay:
        return DateOrder::ymd();
    }
    throw platform::InternalError("Unknown date format item");
}

DateFormatItem DateFormatSheet::itemFor(DateOrder order) {
    switch (order.kind()) {
    case DateOrder::Kind::MonthDayYear:
        return DateFormatItem::MonthDayYear;
    case DateOrder::Kind::DayMonthYear:
        return DateFormatItem::DayMonthYear;
    case DateOrder::Kind::YearMonthDay:
        return DateFormatItem::YearMonthDay;
    }
    throw platform::InternalError("Unknown date order");
}

DateFormatSheet DateFormatSheet::forFailure(const QString& reason, const QVariantMap& details) {
    DateFormatSheet sheet;
    sheet.title = QStringLiteral("Please specify the date format.");
    sheet.sampleText = details.value(latin1(ImportOperation::kSampleTextKey)).toString();
    const std::optional<DateOrder> order =
        DateOrder::fromText(details.value(latin1(ImportOperation::kDateFormatKey)).toString());
    const QString orderName = order ? itemTitle(itemFor(*order)) : QString();

    std::vector<DateFormatItem> hidden;
    std::optional<DateFormatItem> selected;
    if (reason == latin1(ImportOperation::kParsingFailedWithSelectedDateFormat) && order) {
        sheet.title = QStringLiteral("Please choose another date format.");
        sheet.message =
            QStringLiteral("Dates could not be read with the specified date format (%1).").arg(orderName);
        hidden = {itemFor(*order)};
        selected = DateFormatItem::Automatic;
    } else if (reason == latin1(ImportOperation::kParsingFailedWithDetectedDateFormat) && order) {
        sheet.message =
            QStringLiteral("Dates could not be read with the automatically detected date format (%1).")
                .arg(orderName);
        hidden = {DateFormatItem::Automatic, itemFor(*order)};
    } else if (reason == latin1(ImportOperation::kAskForDateFormat) && order) {
        sheet.message = QStringLiteral("%1 is the automatically determined date format.").arg(orderName);
        hidden = {DateFormatItem::Automatic};
        selected = itemFor(*order);
    } else if (reason == latin1(ImportOperation::kAskForDateFormat)) {
        sheet.message = QStringLiteral("The date format could not be automatically determined.");
        hidden = {DateFormatItem::Automatic};
        selected = DateFormatItem::MonthDayYear;
    } else {
        // "DateFormatCannotBeDetermined", and any reason that names no order to blame.
        sheet.message = QStringLiteral("Date format could not be automatically determined from file.");
        hidden = {DateFormatItem::Automatic};
        selected = DateFormatItem::MonthDayYear;
    }
    for (DateFormatItem item : kMenuOrder) {
        if (std::find(hidden.begin(), hidden.end(), item) == hidden.end()) {
            sheet.visibleItems.push_back(item);
        }
    }
    sheet.selectedItem = selected.value_or(sheet.visibleItems.front());
    return sheet;
}

// ---- Set-up ----------------------------------------------------------------------------------

ImportFromAppController::ImportFromAppController(Workspace& workspace, AccountSidebarModel& sidebar,
                                                 ApplicationShell& shell,
                                                 std::shared_ptr<objectstore::PersistentStore> store,
                                                 BackgroundRunner runner, QObject* parent)
    : QObject(parent)
    , m_workspace(workspace)
    , m_sidebar(sidebar)
    , m_shell(shell)
    , m_store(std::move(store))
    , m_runner(std::move(runner)) {
    if (!m_runner) {
        m_runner = [this](std::function<void()> job) {
            finishWorker();
            m_worker = std::thread(std::move(job));
        };
    }
}

ImportFromAppController::~ImportFromAppController() {
    m_abortImport = true;
    finishWorker();
}

void ImportFromAppController::finishWorker() {
    if (m_worker.joinable()) {
        m_worker.join();
    }
}

void ImportFromAppController::setSheet(Sheet sheet) {
    m_sheet = sheet;
    emit sheetChanged();
}

// ---- The main sheet --------------------------------------------------------------------------

void ImportFromAppController::openSheet() {
    if (m_running) {
        return;
    }
    m_fileName.clear();
    m_shouldAskForDateFormat = false;
    returnToMainSheet();
}

void ImportFromAppController::closeSheet() {
    if (m_running) {
        return;
    }
    setSheet(Sheet::Closed);
}

QStringList ImportFromAppController::allowedFileExtensions() {
    return {QStringLiteral("qif"), QStringLiteral("csv")};
}

void ImportFromAppController::chooseFile(const QString& path) {
    m_fileName = path;
}

void ImportFromAppController::returnToMainSheet() {
    m_targetAccount.reset();
    m_abortImport = false;
    m_csvRows.reset();
    m_csvAccountsDictionary.reset();
    m_userSelectedDateFormat.reset();
    m_dateFormatSheet.reset();
    setSheet(Sheet::Main);
}

void ImportFromAppController::import() {
    if (!isImportEnabled() || m_sheet != Sheet::Main) {
        return;
    }
    const QString extension = QFileInfo(m_fileName).suffix().toLower();
    if (extension == QStringLiteral("qif")) {
        m_isQIFImport = true;
        bool onlyTransactions = false;
        try {
            onlyTransactions = import::QifReader::fileContainsOnlyTransactions(m_fileName);
        } catch (...) {
            handleImportException(failureFrom(std::current_exception()));
            return;
        }
        if (onlyTransactions) {
            setSheet(Sheet::AccountSelection);
        } else {
            startQifRun();
        }
    } else if (extension == QStringLiteral("csv")) {
        m_isQIFImport = false;
        setSheet(Sheet::AccountSelection);
    }
}

// ---- Account selection -----------------------------------------------------------------------

std::vector<model::Account> ImportFromAppController::selectableAccounts() const {
    return model::Account::allInAccountOrder(m_workspace.context());
}

objectstore::ManagedObject* ImportFromAppController::preselectedAccount() const {
    if (objectstore::ManagedObject* selected = m_sidebar.selectedAccount()) {
        return selected;
    }
    const std::optional<model::Account> first = model::Account::first(m_workspace.context());
    return first ? first->object() : nullptr;
}

objectstore::ManagedObject* ImportFromAppController::targetAccount() const {
    return m_targetAccount ? m_workspace.context().object(*m_targetAccount) : nullptr;
}

void ImportFromAppController::chooseAccount(objectstore::ManagedObject* account) {
    if (account == nullptr || m_sheet != Sheet::AccountSelection) {
        return;
    }
    m_targetAccount = account->id();
    if (m_isQIFImport) {
        startQifRun();
    } else {
        openCsvSettings();
    }
}

void ImportFromAppController::cancelAccountSelection() {
    returnToMainSheet();
}

// ---- CSV -------------------------------------------------------------------------------------

void ImportFromAppController::openCsvSettings() {
    std::optional<import::CsvRows> rows;
    try {
        rows = import::SimpleCsvParser::parseFile(m_fileName);
    } catch (...) {
        handleImportException(failureFrom(std::current_exception()));
        return;
    }
    if (!rows || rows->empty()) {
        showAlert(kCsvEmptyMessage, latin1(kCsvEmptyInformative));
        returnToMainSheet();
        return;
    }
    m_csvRows = std::move(rows);
    setSheet(Sheet::CsvSettings);
}

void ImportFromAppController::csvMappingFinished(import::ImportedAccount account) {
    if (m_sheet != Sheet::CsvSettings) {
        return;
    }
    m_csvAccountsDictionary = std::move(account);
    runCsvImport();
}

void ImportFromAppController::csvMappingCancelled() {
    returnToMainSheet();
}

void ImportFromAppController::runCsvImport() {
    objectstore::Context& context = m_workspace.context();
    // The run rolls the context back when it fails; the user's own edits are saved first so that
    // only the run's changes go.
    m_workspace.saveDatabase();
    ImportOperation operation(*m_csvAccountsDictionary, *m_targetAccount, choices(), m_workspace.clock());
    try {
        operation.performCsvImport(context);
    } catch (...) {
        handleImportException(failureFrom(std::current_exception()));
        return;
    }
    m_workspace.saveDatabase();
    m_workspace.refreshAllViews();
    if (!operation.categoriesAdded().empty()) {
        m_workspace.postCategoriesChanged();
    }
    setSheet(Sheet::Closed);
}

// ---- The QIF run -----------------------------------------------------------------------------

// Spelled out in full: a line that starts with "import" reads as a module import to the formatter.
vantrel::import::ImportChoices ImportFromAppController::choices() {
    import::ImportChoices choices;
    choices.userSelectedDateFormat = m_userSelectedDateFormat;
    choices.shouldAskForDateFormat = m_shouldAskForDateFormat;
    return choices;
}

void ImportFromAppController::startQifRun() {
    // The run's own context loads the store: it must find the target account there.
    m_workspace.saveDatabase();
    import::ImportChoices runChoices = choices();
    runChoices.abortImport = &m_abortImport;
    runChoices.progress = [this](const import::ImportProgress& progress) { postProgress(progress); };
    m_progress = import::ImportProgress{0, 0, true, latin1(ImportOperation::kStartingUp)};
    m_running = true;
    setSheet(Sheet::Progress);
    emit progressChanged();
    m_runner([this, fileName = m_fileName, target = m_targetAccount, runChoices]() mutable {
        runQifJob(fileName, target, std::move(runChoices));
    });
}

// Runs on the worker thread: touches nothing of this object but the queued calls and the
// progress slot.
void ImportFromAppController::runQifJob(const QString& fileName, std::optional<objectstore::ObjectID> target,
                                        import::ImportChoices choices) {
    try {
        objectstore::Context context(m_store);
        model::ModelValidation::install(context);
        ImportOperation operation(fileName, target, std::move(choices), m_workspace.clock());
        const objectstore::SaveResult saved = operation.import(context);
        if (!saved.succeeded()) {
            const QString error = SaveErrorLog::message(saved);
            QMetaObject::invokeMethod(
                this, [this, error] { crashWithError(error); }, Qt::QueuedConnection);
            return;
        }
        RunResult result{saved.changes, operation.idsOfTransactionsAdded(), operation.idsOfAccountsAdded(),
                         operation.idsOfCategoriesAdded()};
        QMetaObject::invokeMethod(
            this, [this, result] { finishSuccessfulImport(result); }, Qt::QueuedConnection);
    } catch (...) {
        const ImportFailure failure = failureFrom(std::current_exception());
        QMetaObject::invokeMethod(
            this, [this, failure] { handleImportException(failure); }, Qt::QueuedConnection);
    }
}

void ImportFromAppController::postProgress(const import::ImportProgress& progress) {
    {
        QMutexLocker lock(&m_progressMutex);
        m_pendingProgress = progress;
        if (m_progressUpdateQueued) {
            // The update already on its way picks up this value too.
            return;
        }
        m_progressUpdateQueued = true;
    }
    QMetaObject::invokeMethod(
        this, [this] { applyPendingProgress(); }, Qt::QueuedConnection);
}

void ImportFromAppController::applyPendingProgress() {
    {
        QMutexLocker lock(&m_progressMutex);
        m_progressUpdateQueued = false;
        if (!m_running) {
            return;
        }
        m_progress = m_pendingProgress;
    }
    emit progressChanged();
}

void ImportFromAppController::abort() {
    m_abortImport = true;
}

void ImportFromAppController::finishSuccessfulImport(const RunResult& result) {
    finishWorker();
    m_running = false;
    setSheet(Sheet::Closed);
    objectstore::Context& context = m_workspace.context();
    context.mergeChanges(result.changes);
    m_workspace.refreshAllViews();
    if (!result.categories.empty()) {
        m_workspace.postCategoriesChanged();
    }
    if (objectstore::ManagedObject* account = targetAccount()) {
        m_sidebar.selectAccount(account);
    }
    m_workspace.saveDatabase();
}

void ImportFromAppController::crashWithError(const QString& error) {
    finishWorker();
    m_running = false;
    setSheet(Sheet::Closed);
    platform::Log::write(error);
    showAlert(kSaveFailedMessage, latin1(kSaveFailedInformative).arg(support()));
    m_shell.exitProcess(1);
}

// ---- Failures --------------------------------------------------------------------------------

ImportFailure ImportFromAppController::failureFrom(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const ParseException& parse) {
        return {parse.name(), parse.reason(), parse.details(), QString::fromUtf8(parse.what())};
    } catch (const platform::InternalError& internal) {
        return {QStringLiteral("InternalError"), internal.message(), {}, internal.message()};
    } catch (const std::exception& other) {
        const QString description = QString::fromUtf8(other.what());
        return {QStringLiteral("std::exception"), description, {}, description};
    } catch (...) {
        return {QStringLiteral("unknown"), {}, {}, QStringLiteral("an exception of unknown type")};
    }
}

void ImportFromAppController::handleImportException(const ImportFailure& failure) {
    finishWorker();
    m_running = false;
    const QString& name = failure.name;
    if (name == latin1(ParseException::kAbort)) {
        returnToMainSheet();
        return;
    }
    if (name == latin1(ParseException::kDateFormat)) {
        m_dateFormatSheet = DateFormatSheet::forFailure(failure.reason, failure.details);
        setSheet(Sheet::DateFormat);
        return;
    }
    if (name == latin1(ParseException::kParse) || name == latin1(ParseException::kQifParseError) ||
        name == latin1(ParseException::kInvalidFieldValue)) {
        showAlert(kFormatMessage, latin1(kFormatInformative).arg(support(), failure.reason));
    } else if (name == latin1(ParseException::kEncoding)) {
        showAlert(kEncodingMessage, latin1(kEncodingInformative).arg(support()));
    } else {
        platform::Log::write(QStringLiteral("Import exception: %1").arg(name));
        platform::Log::write(failure.description);
        showAlert(kUnexpectedMessage, latin1(kUnexpectedInformative).arg(support()));
    }
    returnToMainSheet();
}

void ImportFromAppController::showAlert(const char* message, const QString& informative) {
    m_workspace.alerts().present(Alert{latin1(message), informative, {}});
}

// ---- The date-format sheet -------------------------------------------------------------------

void ImportFromAppController::selectDateFormatItem(DateFormatItem item) {
    if (!m_dateFormatSheet) {
        return;
    }
    const auto& visible = m_dateFormatSheet->visibleItems;
    if (std::find(visible.begin(), visible.end(), item) != visible.end()) {
        m_dateFormatSheet->selectedItem = item;
    }
}

void ImportFromAppController::confirmDateFormat() {
    if (m_sheet != Sheet::DateFormat || !m_dateFormatSheet) {
        return;
    }
    m_userSelectedDateFormat = DateFormatSheet::orderOf(m_dateFormatSheet->selectedItem);
    m_dateFormatSheet.reset();
    if (m_isQIFImport) {
        startQifRun();
    } else {
        runCsvImport();
    }
}

void ImportFromAppController::cancelDateFormat() {
    returnToMainSheet();
}

} // namespace vantrel::app
