#pragma once

#include "app/AppServices.h"
#include "app/StickyDate.h"
#include "store/CloudSync.h"

#include <QDateTime>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>

namespace vantrel::model {
class CurrencyRefresh;
}

namespace vantrel::objectstore {
class Context;
struct SaveResult;
class UndoManager;
} // namespace vantrel::objectstore

namespace vantrel::store {
class CoreDataController;
}

namespace vantrel::app {

class AppWorkspace;
class Workspace;

// The application controller: owns the store controller, finishes start-up once the store is
// loaded, owns the one save every change ends with, and answers the quit request without cutting
// short a merge the last save started. Everything runs on the main thread.
class AppController : public QObject {
    Q_OBJECT

public:
    enum class TerminateReply { TerminateNow, TerminateLater };

    static constexpr std::chrono::milliseconds kQuitTimerInterval{200};
    // How long a quit waits for a merge started by the last save.
    static constexpr std::chrono::milliseconds kMergeWaitLimit{10'000};
    static constexpr auto kCrashOnExceptionsKey = "NSApplicationCrashOnExceptions";

    static constexpr auto kResetMessage = "Reset Vantrel data";
    static constexpr auto kResetInformative =
        "You are about to erase Vantrel 3's local and Cloud Sync data, and start with a blank database. "
        "This action cannot be undone. Are you sure you want to continue?";
    static constexpr auto kResetAgainMessage = "Again, are you sure?";
    static constexpr auto kResetAgainInformative =
        "Vantrel will quit after reset. Relaunch Vantrel to see a fresh copy of Vantrel.";
    static constexpr auto kCancelButton = "Cancel";
    static constexpr auto kResetButton = "Reset Vantrel data";
    static constexpr auto kDumpFailedMessage = "Dump failed.";

    // Creates the store controller; opens no file. `sync` defaults to the unconfigured one.
    explicit AppController(AppServices services, std::unique_ptr<store::CloudSync> sync = {},
                           QObject* parent = nullptr);
    ~AppController() override;

    store::CoreDataController& coreDataController() const { return *m_coreData; }
    store::CloudSync& cloudSync() const;
    // The store controller's main context; an InternalError before the store is loaded.
    objectstore::Context& managedObjectContext() const;
    // For the window's undo and redo, which act on stored data.
    objectstore::UndoManager& undoManager() const;
    // The workspace the application's commands run in; an InternalError before the store is loaded.
    Workspace& workspace();
    const AppServices& services() const { return m_services; }

    // Finishes start-up once the store is loaded; exactly once per launch.
    void startVantrel();

    // Saves the main context when it has changes, then the daily backup, the sync pass (with sync
    // on) and the pending status-line refresh. A refused save is logged and thrown as an
    // InternalError; the changes stay in memory.
    void save();
    static void outputSaveError(const objectstore::SaveResult& result);
    // Called once after the next successful save, then forgotten.
    void setStatusLineRefreshAfterSave(std::function<void()> refresh);
    bool hasStatusLineRefreshPending() const { return static_cast<bool>(m_statusLineRefresh); }

    TerminateReply applicationShouldTerminate();
    // One tick of the quit timer.
    void checkMergeStatus();
    void cleanupEnsemblesAndTerminateApp();

    void applicationDidBecomeActive();
    // Brings the hidden main window back; always false.
    bool applicationShouldHandleReopen();
    // After every undo or redo of the main context: the views reload and the result is saved.
    void didUndoOrRedo();
    void clearUndoStack();

    // Menu actions.
    void forceBackup();
    void sync();
    void resetVantrel();
    void dumpDatabase();

    // While a window runs modally, activation starts no merge.
    void beginModalSession() { m_disableAllActions = true; }
    void endModalSession() { m_disableAllActions = false; }

    bool appIsRunning() const { return m_appIsRunning; }
    bool isMergingChangesAfterSave() const { return m_isMergingChangesAfterSave; }
    bool isShuttingDown() const { return m_isShuttingDown; }
    bool disableAllActions() const { return m_disableAllActions; }
    StickyDate& stickyDate() { return m_stickyDate; }
    const QTimer& quitTimer() const { return m_quitTimer; }

private:
    void refreshCurrencies();
    void buildMainWindowViews();
    // The direct save of the quit path: no backup, no sync.
    void saveBeforeQuitting();

    AppServices m_services;
    std::unique_ptr<store::CoreDataController> m_coreData;
    std::unique_ptr<AppWorkspace> m_workspace;
    std::unique_ptr<model::CurrencyRefresh> m_currencyRefresh;
    std::function<void()> m_statusLineRefresh;
    StickyDate m_stickyDate;
    QTimer m_quitTimer;
    QDateTime m_quitWaitStarted;
    bool m_appIsRunning = false;
    bool m_isMergingChangesAfterSave = false;
    bool m_isShuttingDown = false;
    bool m_disableAllActions = false;
};

} // namespace vantrel::app
