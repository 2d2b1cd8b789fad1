#include "app/AppController.h"

#include "app/AccountSidebarModel.h"
#include "app/AlertPresenter.h"
#include "app/AppWorkspace.h"
#include "app/ApplicationShell.h"
#include "app/SaveErrorLog.h"
#include "model/CurrencyRefresh.h"
#include "platform/Clock.h"
#include "platform/InternalError.h"
#include "platform/Log.h"
#include "platform/NotificationHub.h"
#include "platform/NotificationNames.h"
#include "platform/UserDefaults.h"
#include "platform/objectstore/Context.h"
#include "store/CloudSync.h"
#include "store/CoreDataController.h"

#include <QPointer>

#include <utility>

namespace vantrel::app {

using platform::Log;

AppController::AppController(AppServices services, std::unique_ptr<store::CloudSync> sync, QObject* parent)
    : QObject(parent)
    , m_services(std::move(services))
    , m_coreData(std::make_unique<store::CoreDataController>(m_services.paths, m_services.defaults,
                                                             m_services.clock, std::move(sync))) {
    m_quitTimer.setInterval(kQuitTimerInterval);
    m_quitTimer.setSingleShot(false);
    connect(&m_quitTimer, &QTimer::timeout, this, &AppController::checkMergeStatus);
}

AppController::~AppController() = default;

store::CloudSync& AppController::cloudSync() const {
    return m_coreData->cloudSync();
}

objectstore::Context& AppController::managedObjectContext() const {
    return m_coreData->managedObjectContext();
}

objectstore::UndoManager& AppController::undoManager() const {
    return managedObjectContext().undoManager();
}

Workspace& AppController::workspace() {
    if (!m_workspace) {
        m_workspace =
            std::make_unique<AppWorkspace>(*this, managedObjectContext(), m_services.alerts, m_services.clock,
                                           m_services.defaults, m_services.notifications);
    }
    return *m_workspace;
}

void AppController::startVantrel() {
    if (!m_coreData->isLoaded()) {
        throw platform::InternalError("startVantrel called before the store was loaded.");
    }
    if (m_appIsRunning) {
        throw platform::InternalError("startVantrel called twice.");
    }
    refreshCurrencies();
    buildMainWindowViews();
    save();
    m_services.shell.showMainWindow();
    m_services.defaults.registerDefaults({{QString::fromLatin1(kCrashOnExceptionsKey), true}});
    cloudSync().startSyncTimer();
    m_appIsRunning = true;
}

void AppController::refreshCurrencies() {
    // The answer comes back through the event loop; start-up never waits for the network.
    m_currencyRefresh = std::make_unique<model::CurrencyRefresh>(managedObjectContext(), m_services.defaults,
                                                                 m_services.http, [this] { save(); });
    m_currencyRefresh->start();
}

void AppController::buildMainWindowViews() {
    MainWindowContent content;
    content.accountCount = static_cast<long>(managedObjectContext().count(u"Account"));
    Log::write(QStringLiteral("Account count: %1").arg(content.accountCount));
    if (!content.showsEmptyView()) {
        content.accounts = AccountSidebarModel(workspace(), m_services.localeId).rows();
    }
    m_services.shell.buildMainWindowViews(content);
}

void AppController::save() {
    if (!m_coreData->isLoaded()) {
        throw platform::InternalError("ManagedObjectContext missing on save.");
    }
    objectstore::Context& context = managedObjectContext();
    if (!context.hasChanges()) {
        return;
    }
    Workspace::saveContext(context);
    m_coreData->performBackup();
    if (cloudSync().isOn()) {
        // Set before asking: the completion may run before sync() returns.
        m_isMergingChangesAfterSave = true;
        QPointer<AppController> self(this);
        cloudSync().sync([self](const std::optional<QString>&) {
            if (self) {
                self->m_isMergingChangesAfterSave = false;
            }
        });
    }
    if (m_statusLineRefresh) {
        const std::function<void()> refresh = std::exchange(m_statusLineRefresh, {});
        refresh();
    }
}

void AppController::outputSaveError(const objectstore::SaveResult& result) {
    SaveErrorLog::output(result);
}

void AppController::setStatusLineRefreshAfterSave(std::function<void()> refresh) {
    m_statusLineRefresh = std::move(refresh);
}

AppController::TerminateReply AppController::applicationShouldTerminate() {
    if (!m_appIsRunning) {
        return TerminateReply::TerminateNow;
    }
    if (managedObjectContext().hasChanges()) {
        Log::write(QStringLiteral("WARNING: Unexpected save needed when app enters background. App should "
                                  "always save data immediately after change."));
        saveBeforeQuitting();
    }
    if (!cloudSync().isMerging()) {
        Log::write(QStringLiteral("not merging"));
        return TerminateReply::TerminateNow;
    }
    if (m_isMergingChangesAfterSave) {
        Log::write(QStringLiteral("Wait merge after save to finish"));
        m_services.shell.closeAllWindowsAndHide();
        m_isShuttingDown = true;
        m_quitWaitStarted = m_services.clock.now();
        m_quitTimer.start();
        return TerminateReply::TerminateLater;
    }
    Log::write(QStringLiteral("Canceling merge"));
    cleanupEnsemblesAndTerminateApp();
    return TerminateReply::TerminateLater;
}

void AppController::saveBeforeQuitting() {
    const objectstore::SaveResult result = managedObjectContext().save();
    if (result.succeeded()) {
        return;
    }
    Log::write(QStringLiteral("Unresolved error %1, %2")
                   .arg(SaveErrorLog::message(result), SaveErrorLog::userInfoText(result)));
    // The store refused what the user did: stop here rather than quit as if it were kept.
    throw platform::InternalError(QStringLiteral("Unresolved error %1").arg(SaveErrorLog::message(result)));
}

void AppController::checkMergeStatus() {
    if (cloudSync().isMerging()) {
        const qint64 waited = m_quitWaitStarted.msecsTo(m_services.clock.now());
        if (waited <= kMergeWaitLimit.count()) {
            return;
        }
        m_quitTimer.stop();
        Log::write(QStringLiteral("wait expired"));
    } else {
        m_quitTimer.stop();
        Log::write(QStringLiteral("merge finished"));
    }
    cleanupEnsemblesAndTerminateApp();
}

void AppController::cleanupEnsemblesAndTerminateApp() {
    QPointer<AppController> self(this);
    cloudSync().cancelMerge([self](const std::optional<QString>& error) {
        if (!self) {
            return;
        }
        Log::write(error ? QStringLiteral("Could not cancel merge: %1").arg(*error)
                         : QStringLiteral("Merge canceled"));
        self->cloudSync().processPendingChanges([self](const std::optional<QString>&) {
            if (!self) {
                return;
            }
            Log::write(QStringLiteral("processedniing pending changes"));
            self->m_services.shell.replyToApplicationShouldTerminate(true);
        });
    });
}

void AppController::applicationDidBecomeActive() {
    if (m_appIsRunning && !m_disableAllActions) {
        sync();
    }
}

bool AppController::applicationShouldHandleReopen() {
    if (!m_services.shell.isMainWindowVisible() && m_appIsRunning) {
        m_services.shell.bringMainWindowToFront();
    }
    return false;
}

void AppController::didUndoOrRedo() {
    m_services.notifications.post(QString::fromLatin1(platform::kRefreshAllViews), this);
    save();
}

void AppController::clearUndoStack() {
    undoManager().clear();
}

void AppController::forceBackup() {
    m_coreData->backup();
}

void AppController::sync() {
    cloudSync().sync([](const std::optional<QString>&) {});
}

void AppController::resetVantrel() {
    const QStringList buttons{QString::fromLatin1(kCancelButton), QString::fromLatin1(kResetButton)};
    AlertPresenter& alerts = m_services.alerts;
    if (alerts.present(
            {QString::fromLatin1(kResetMessage), QString::fromLatin1(kResetInformative), buttons}) != 1) {
        return;
    }
    if (alerts.present({QString::fromLatin1(kResetAgainMessage), QString::fromLatin1(kResetAgainInformative),
                        buttons}) != 1) {
        return;
    }
    QPointer<AppController> self(this);
    cloudSync().deleteCloudData([self](const std::optional<QString>& error) {
        if (!self) {
            return;
        }
        if (error) {
            Log::write(QStringLiteral("Error while deleting iCloud data"));
            return;
        }
        // Nothing may reach the closed store between here and the exit.
        self->m_appIsRunning = false;
        self->m_currencyRefresh.reset();
        self->m_workspace.reset();
        self->m_coreData->destroyLocalData();
        self->m_services.shell.exitProcess(1);
    });
}

void AppController::dumpDatabase() {
    try {
        m_coreData->dumpDatabase();
    } catch (const std::exception&) {
        m_services.alerts.present({QString::fromLatin1(kDumpFailedMessage), {}, {}});
    }
}

} // namespace vantrel::app
