#include "AppStartFixture.h"
#include "app/Workspace.h"
#include "platform/InternalError.h"
#include "platform/LogCapture.h"
#include "support/EventLoopWait.h"

using namespace vantrel;
using testsupport::ScriptedCloudSync;
using Reply = app::AppController::TerminateReply;

namespace {

class AppControllerTest : public testsupport::AppStartFixture {
protected:
    void SetUp() override {
        createDatabaseWithAccounts({QStringLiteral("Checking")});
        startNormally();
    }

    // An unsaved change of the main context.
    void change(const QString& name = QStringLiteral("Savings")) { addAccount(context(), name); }

    bool logged(const platform::LogCapture& log, const QString& line) const {
        return log.lines().contains(line);
    }
};

TEST_F(AppControllerTest, ASaveWithoutChangesDoesNothingAndTheFirstChangeOfTheDayMakesOneBackup) {
    ASSERT_TRUE(backupArchives().isEmpty());
    int refreshed = 0;
    controller().setStatusLineRefreshAfterSave([&refreshed] { ++refreshed; });

    controller().save();
    EXPECT_TRUE(backupArchives().isEmpty());
    EXPECT_EQ(refreshed, 0);
    EXPECT_TRUE(controller().hasStatusLineRefreshPending());

    change();
    controller().save();
    EXPECT_FALSE(context().hasChanges());
    EXPECT_EQ(backupArchives().size(), 1);
    EXPECT_EQ(refreshed, 1);
    EXPECT_FALSE(controller().hasStatusLineRefreshPending());

    clock.advanceSeconds(3600);
    change(QStringLiteral("Cash"));
    controller().save();
    EXPECT_EQ(backupArchives().size(), 1);
    EXPECT_EQ(refreshed, 1);
    EXPECT_FALSE(cloud.calls.contains(QStringLiteral("sync")));
}

TEST_F(AppControllerTest, CommandsSaveThroughTheControllerSoTheirSavesAreBackedUp) {
    change();
    EXPECT_TRUE(controller().workspace().saveDatabase());
    EXPECT_FALSE(context().hasChanges());
    EXPECT_EQ(backupArchives().size(), 1);
}

TEST_F(AppControllerTest, ARefusedSaveIsLoggedReportedAndKeepsTheChanges) {
    // A transaction needs an account: the store refuses it.
    context().insert(u"Transaction");
    platform::LogCapture log;
    try {
        controller().save();
        FAIL() << "the refused save was not reported";
    } catch (const platform::InternalError& error) {
        EXPECT_EQ(error.message(),
                  QStringLiteral("Error occurred on save. See Console for detailed error report."));
    }
    ASSERT_FALSE(log.lines().isEmpty());
    EXPECT_TRUE(log.lines().front().startsWith(QStringLiteral("Failed to save to data store: ")));
    EXPECT_TRUE(context().hasChanges());
    EXPECT_TRUE(backupArchives().isEmpty());
}

TEST_F(AppControllerTest, WithSyncOnASaveStartsAMergeThatIsTrackedUntilItCompletes) {
    cloud.on = true;
    cloud.holdSync = true;
    change();
    controller().save();
    EXPECT_EQ(cloud.calls.count(QStringLiteral("sync")), 1);
    EXPECT_TRUE(controller().isMergingChangesAfterSave());
    testsupport::complete(cloud.heldSync);
    EXPECT_FALSE(controller().isMergingChangesAfterSave());
}

TEST_F(AppControllerTest, QuittingIsImmediateWhenNothingMerges) {
    platform::LogCapture log;
    EXPECT_EQ(controller().applicationShouldTerminate(), Reply::TerminateNow);
    EXPECT_TRUE(logged(log, QStringLiteral("not merging")));
    EXPECT_FALSE(cloud.calls.contains(QStringLiteral("cancelMerge")));
}

TEST_F(AppControllerTest, AnUnsavedChangeAtQuitIsSavedDirectlyWithoutBackup) {
    change();
    platform::LogCapture log;
    EXPECT_EQ(controller().applicationShouldTerminate(), Reply::TerminateNow);
    EXPECT_TRUE(logged(log, QStringLiteral("WARNING: Unexpected save needed when app enters background. App "
                                           "should always save data immediately after change.")));
    EXPECT_FALSE(context().hasChanges());
    EXPECT_TRUE(backupArchives().isEmpty());
}

TEST_F(AppControllerTest, QuittingDuringASaveStartedMergeWaitsUpToTenSecondsThenCancels) {
    cloud.on = true;
    cloud.holdSync = true;
    change();
    controller().save();
    cloud.merging = true;
    platform::LogCapture log;

    EXPECT_EQ(controller().applicationShouldTerminate(), Reply::TerminateLater);
    EXPECT_TRUE(logged(log, QStringLiteral("Wait merge after save to finish")));
    EXPECT_TRUE(shell.calls.contains(QStringLiteral("closeAllWindowsAndHide")));
    EXPECT_TRUE(controller().isShuttingDown());
    const QTimer& timer = controller().quitTimer();
    EXPECT_TRUE(timer.isActive());
    EXPECT_FALSE(timer.isSingleShot());
    EXPECT_EQ(timer.interval(), 200);

    clock.advanceSeconds(10);
    controller().checkMergeStatus();
    EXPECT_TRUE(timer.isActive());
    EXPECT_FALSE(cloud.calls.contains(QStringLiteral("cancelMerge")));

    clock.advanceSeconds(1);
    controller().checkMergeStatus();
    EXPECT_FALSE(timer.isActive());
    EXPECT_TRUE(logged(log, QStringLiteral("wait expired")));
    EXPECT_TRUE(cloud.calls.contains(QStringLiteral("cancelMerge")));
    EXPECT_TRUE(shell.terminateReplies.empty());

    testsupport::complete(cloud.heldCancel);
    EXPECT_TRUE(logged(log, QStringLiteral("Merge canceled")));
    EXPECT_TRUE(cloud.calls.contains(QStringLiteral("processPendingChanges")));
    EXPECT_TRUE(shell.terminateReplies.empty());

    testsupport::complete(cloud.heldPending);
    EXPECT_TRUE(logged(log, QStringLiteral("processedniing pending changes")));
    EXPECT_EQ(shell.terminateReplies, std::vector<bool>({true}));
}

TEST_F(AppControllerTest, TheQuitTimerNoticesAFinishedMergeOnItsOwn) {
    cloud.on = true;
    cloud.holdSync = true;
    change();
    controller().save();
    cloud.merging = true;
    platform::LogCapture log;
    ASSERT_EQ(controller().applicationShouldTerminate(), Reply::TerminateLater);

    cloud.merging = false;
    ASSERT_TRUE(
        testsupport::waitUntil([this] { return cloud.calls.contains(QStringLiteral("cancelMerge")); }));
    EXPECT_TRUE(logged(log, QStringLiteral("merge finished")));
    EXPECT_FALSE(logged(log, QStringLiteral("wait expired")));
    EXPECT_FALSE(controller().quitTimer().isActive());

    testsupport::complete(cloud.heldCancel, QStringLiteral("busy"));
    EXPECT_TRUE(logged(log, QStringLiteral("Could not cancel merge: busy")));
    testsupport::complete(cloud.heldPending);
    EXPECT_EQ(shell.terminateReplies, std::vector<bool>({true}));
}

TEST_F(AppControllerTest, AMergeOfAnotherOriginIsCancelledAtOnce) {
    cloud.merging = true;
    platform::LogCapture log;
    EXPECT_EQ(controller().applicationShouldTerminate(), Reply::TerminateLater);
    EXPECT_TRUE(logged(log, QStringLiteral("Canceling merge")));
    EXPECT_TRUE(cloud.calls.contains(QStringLiteral("cancelMerge")));
    EXPECT_FALSE(controller().quitTimer().isActive());
    EXPECT_FALSE(shell.calls.contains(QStringLiteral("closeAllWindowsAndHide")));
}

TEST_F(AppControllerTest, ResetNeedsTwoConfirmations) {
    const QString applicationFolder = paths.applicationSupportFolder();
    const app::Alert first{
        QStringLiteral("Reset Vantrel data"),
        QStringLiteral("You are about to erase Vantrel 3's local and Cloud Sync data, and start "
                       "with a blank database. This action cannot be undone. Are you sure you "
                       "want to continue?"),
        {QStringLiteral("Cancel"), QStringLiteral("Reset Vantrel data")}};
    const app::Alert second{
        QStringLiteral("Again, are you sure?"),
        QStringLiteral("Vantrel will quit after reset. Relaunch Vantrel to see a fresh copy of Vantrel."),
        {QStringLiteral("Cancel"), QStringLiteral("Reset Vantrel data")}};

    alerts.answer(QStringLiteral("Cancel"));
    controller().resetVantrel();
    ASSERT_EQ(alerts.shown().size(), 1u);
    EXPECT_EQ(alerts.last(), first);

    alerts.answer(QStringLiteral("Reset Vantrel data"));
    alerts.answer(QStringLiteral("Cancel"));
    controller().resetVantrel();
    ASSERT_EQ(alerts.shown().size(), 3u);
    EXPECT_EQ(alerts.last(), second);
    EXPECT_FALSE(cloud.calls.contains(QStringLiteral("deleteCloudData")));
    EXPECT_TRUE(QFileInfo::exists(applicationFolder));
    EXPECT_FALSE(shell.exitStatus.has_value());

    alerts.answer(QStringLiteral("Reset Vantrel data"));
    alerts.answer(QStringLiteral("Reset Vantrel data"));
    controller().resetVantrel();
    EXPECT_TRUE(cloud.calls.contains(QStringLiteral("deleteCloudData")));
    EXPECT_FALSE(QFileInfo::exists(applicationFolder));
    EXPECT_EQ(shell.exitStatus, 1);
}

TEST_F(AppControllerTest, ResetStopsWhenTheCloudDataCannotBeDeleted) {
    cloud.deleteError = QStringLiteral("offline");
    alerts.answer(QStringLiteral("Reset Vantrel data"));
    alerts.answer(QStringLiteral("Reset Vantrel data"));
    platform::LogCapture log;
    controller().resetVantrel();
    EXPECT_EQ(log.lines(), QStringList({QStringLiteral("Error while deleting iCloud data")}));
    EXPECT_TRUE(databaseFileExists());
    EXPECT_FALSE(shell.exitStatus.has_value());
    EXPECT_TRUE(controller().appIsRunning());
}

TEST_F(AppControllerTest, ActivationSyncsOnlyWhileRunningAndNoWindowRunsModally) {
    controller().applicationDidBecomeActive();
    EXPECT_EQ(cloud.calls.count(QStringLiteral("sync")), 1);

    controller().beginModalSession();
    controller().applicationDidBecomeActive();
    EXPECT_EQ(cloud.calls.count(QStringLiteral("sync")), 1);
    controller().endModalSession();
    controller().applicationDidBecomeActive();
    EXPECT_EQ(cloud.calls.count(QStringLiteral("sync")), 2);
}

TEST_F(AppControllerTest, ReopenBringsBackAHiddenMainWindow) {
    EXPECT_FALSE(controller().applicationShouldHandleReopen());
    EXPECT_FALSE(shell.calls.contains(QStringLiteral("bringMainWindowToFront")));
    shell.mainWindowVisible = false;
    EXPECT_FALSE(controller().applicationShouldHandleReopen());
    EXPECT_EQ(shell.calls.count(QStringLiteral("bringMainWindowToFront")), 1);
}

TEST_F(AppControllerTest, UndoAndRedoRefreshTheViewsAndAreSaved) {
    QStringList posted;
    hub.observe(QStringLiteral("RefreshAllViews"), &hub,
                [&posted](const platform::Notification& note) { posted << note.name; });
    // One undoable step, as an editor records it.
    context().undoManager().beginGroup();
    change();
    context().undoManager().endGroup();
    controller().save();
    context().undoManager().undo();
    ASSERT_TRUE(context().hasChanges());

    controller().didUndoOrRedo();
    EXPECT_EQ(posted, QStringList({QStringLiteral("RefreshAllViews")}));
    EXPECT_FALSE(context().hasChanges());
    EXPECT_EQ(context().count(u"Account"), 1u);
}

TEST_F(AppControllerTest, ForcedBackupsIgnoreTheDailyRule) {
    change();
    controller().save();
    ASSERT_EQ(backupArchives().size(), 1);
    clock.advanceSeconds(5);
    controller().forceBackup();
    EXPECT_EQ(backupArchives().size(), 2);
}

TEST_F(AppControllerTest, AFailedDumpIsReported) {
    controller().dumpDatabase();
    EXPECT_TRUE(alerts.shown().empty());

    context().insert(u"Transaction");
    controller().dumpDatabase();
    ASSERT_EQ(alerts.shown().size(), 1u);
    EXPECT_EQ(alerts.last(), app::Alert({QStringLiteral("Dump failed."), {}, {}}));
}

class AppControllerBeforeStartTest : public testsupport::AppStartFixture {};

TEST_F(AppControllerBeforeStartTest, QuitActivationAndReopenDoNothingUntilRunning) {
    app::AppController notStarted(services(), std::make_unique<ScriptedCloudSync>(cloud));
    platform::LogCapture log;
    EXPECT_EQ(notStarted.applicationShouldTerminate(), Reply::TerminateNow);
    notStarted.applicationDidBecomeActive();
    shell.mainWindowVisible = false;
    EXPECT_FALSE(notStarted.applicationShouldHandleReopen());
    EXPECT_TRUE(cloud.calls.isEmpty());
    EXPECT_TRUE(shell.calls.isEmpty());
    EXPECT_TRUE(log.lines().isEmpty());
    EXPECT_THROW(notStarted.save(), platform::InternalError);
    EXPECT_THROW(notStarted.startVantrel(), platform::InternalError);
}

} // namespace
