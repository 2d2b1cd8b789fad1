#include "AppStartFixture.h"
#include "platform/LogCapture.h"
#include "store/DatabaseMetadata.h"

#include <QFileInfo>

using namespace vantrel;
using testsupport::ScriptedCloudSync;
using Probe = ScriptedCloudSync::Probe;

namespace {

const QString kUpgradeUrl = QStringLiteral("vantrel2://upgrade-to-vantrel3");
const QString kHandOverPrefix = QStringLiteral("vantrel3://finish-upgrade-to-vantrel3/");

app::FirstRunChoices getStartedOnly() {
    return {QString(), {{QStringLiteral("Get Started"), 101, 0}}};
}

class WelcomeControllerTest : public testsupport::AppStartFixture {};

TEST_F(WelcomeControllerTest, AFirstRunWithNothingInTheCloudOffersGetStartedAndTurnsSyncOnWhenClicked) {
    cloud.probe = Probe::None;
    platform::LogCapture log;
    welcome().launch();

    EXPECT_TRUE(welcome().welcomeStarted());
    EXPECT_EQ(shell.calls.mid(0, 2), QStringList({"showWelcome", "showFirstRunChoices"}));
    ASSERT_EQ(shell.choices.size(), 1u);
    EXPECT_EQ(shell.choices.front(), getStartedOnly());
    EXPECT_FALSE(welcome().iCloudError().has_value());
    EXPECT_FALSE(databaseFileExists());
    EXPECT_FALSE(controller().appIsRunning());

    welcome().buttonAction(101);
    EXPECT_TRUE(log.lines().contains(QStringLiteral("Button clicked with tag 101")));
    EXPECT_TRUE(welcome().shouldTurnOniCloudOnStartup());
    EXPECT_TRUE(cloud.calls.contains(QStringLiteral("turnOn")));
    EXPECT_TRUE(databaseFileExists());
    EXPECT_TRUE(controller().appIsRunning());
    ASSERT_TRUE(shell.mainWindowContent.has_value());
    EXPECT_TRUE(shell.mainWindowContent->showsEmptyView());
    EXPECT_TRUE(shell.calls.contains(QStringLiteral("closeWelcome")));
}

TEST_F(WelcomeControllerTest, DataFoundInTheCloudOffersSyncOrANewDatabaseAndDecliningLeavesSyncOff) {
    cloud.probe = Probe::Found;
    welcome().launch();

    ASSERT_EQ(shell.choices.size(), 1u);
    const app::FirstRunChoices expected{QStringLiteral("Cloud Sync data has been found."),
                                        {{QStringLiteral("Sync with Cloud Sync"), 102, 0},
                                         {QStringLiteral("Start with a new database"), 101, 0}}};
    EXPECT_EQ(shell.choices.front(), expected);
    EXPECT_TRUE(welcome().iCloudDetected());

    welcome().buttonAction(101);
    EXPECT_FALSE(welcome().shouldTurnOniCloudOnStartup());
    EXPECT_FALSE(cloud.calls.contains(QStringLiteral("turnOn")));
    EXPECT_TRUE(controller().appIsRunning());
}

TEST_F(WelcomeControllerTest, UsingTheCloudDataShowsTheLoadingViewAndStartsOnlyWhenTheLoadSucceeds) {
    cloud.probe = Probe::Found;
    cloud.loadError = QStringLiteral("The cloud could not be reached.");
    platform::LogCapture log;
    welcome().launch();

    welcome().buttonAction(102);
    EXPECT_EQ(shell.loadingFractions, std::vector<double>({0.1}));
    EXPECT_TRUE(log.lines().contains(QStringLiteral("Failed to turn on iCloud")));
    EXPECT_FALSE(controller().appIsRunning());
    EXPECT_FALSE(shell.calls.contains(QStringLiteral("closeWelcome")));
    EXPECT_FALSE(shell.calls.contains(QStringLiteral("showMainWindow")));

    cloud.loadError.reset();
    welcome().buttonAction(102);
    EXPECT_TRUE(controller().appIsRunning());
    // The welcome window closes only once the main window is up.
    EXPECT_EQ(shell.calls.mid(shell.calls.size() - 2), QStringList({"showMainWindow", "closeWelcome"}));
}

TEST_F(WelcomeControllerTest, AFailedProbeOffersGetStartedWithoutTurningSyncOn) {
    cloud.probe = Probe::Error;
    welcome().launch();

    ASSERT_EQ(shell.choices.size(), 1u);
    EXPECT_EQ(shell.choices.front(), getStartedOnly());
    ASSERT_TRUE(welcome().iCloudError().has_value());
    EXPECT_EQ(welcome().iCloudError()->description, QStringLiteral("The network is unreachable."));

    welcome().buttonAction(101);
    EXPECT_FALSE(cloud.calls.contains(QStringLiteral("turnOn")));
    EXPECT_TRUE(controller().appIsRunning());
}

TEST_F(WelcomeControllerTest, WhenTheTimerDecidesFirstTheTimeoutStandsAndALateAnswerIsIgnored) {
    cloud.probe = Probe::Never;
    welcome().launch();

    EXPECT_TRUE(shell.choices.empty());
    EXPECT_TRUE(welcome().setupTimer().isActive());
    EXPECT_TRUE(welcome().setupTimer().isSingleShot());
    EXPECT_EQ(welcome().setupTimer().interval(), 60'000);
    const app::WelcomeController::ProbeError timeout{QStringLiteral("VTWelcomeErrorDomain"), 999,
                                                     QStringLiteral("Timeout")};
    EXPECT_EQ(welcome().iCloudError(), timeout);

    welcome().showSetup(); // what the timer does
    ASSERT_EQ(shell.choices.size(), 1u);
    EXPECT_EQ(shell.choices.front(), getStartedOnly());
    EXPECT_FALSE(welcome().setupTimer().isActive());

    ASSERT_TRUE(cloud.heldProbe);
    cloud.heldProbe(true, std::nullopt);
    EXPECT_EQ(shell.choices.size(), 1u);
    EXPECT_FALSE(welcome().iCloudDetected());
    EXPECT_EQ(welcome().iCloudError(), timeout);

    welcome().showSetup();
    EXPECT_EQ(shell.choices.size(), 1u);
    welcome().buttonAction(101);
    EXPECT_FALSE(cloud.calls.contains(QStringLiteral("turnOn")));
}

TEST_F(WelcomeControllerTest, AnInstalledEarlierGenerationIsOfferedTheUpgradeWhichOnlyOpensItsUrl) {
    shell.urlsWithHandler << kUpgradeUrl;
    cloud.probe = Probe::None;
    welcome().launch();

    ASSERT_EQ(shell.choices.size(), 1u);
    const app::FirstRunChoices expected{QStringLiteral("Vantrel 2 detected"),
                                        {{QStringLiteral("Upgrade from Vantrel 2"), 103, 240},
                                         {QStringLiteral("Start with a new database"), 101, 0}}};
    EXPECT_EQ(shell.choices.front(), expected);

    const QStringList callsBefore = shell.calls;
    welcome().buttonAction(103);
    EXPECT_EQ(shell.openedUrls, QStringList({kUpgradeUrl}));
    EXPECT_EQ(shell.calls, callsBefore);
    EXPECT_FALSE(databaseFileExists());

    welcome().buttonAction(7);
    EXPECT_EQ(shell.calls, callsBefore);
    EXPECT_EQ(shell.openedUrls.size(), 1);
}

TEST_F(WelcomeControllerTest, ANormalStartShowsTheAccountsAndMarksTheApplicationRunningLast) {
    createDatabaseWithAccounts({QStringLiteral("Checking"), QStringLiteral("Savings")});
    // Running is the last step: until then a quit is answered at once.
    std::optional<bool> runningWhenShown;
    shell.onCall = [&](const QString& call) {
        if (call == QStringLiteral("showMainWindow")) {
            runningWhenShown = controller().appIsRunning();
        }
    };
    platform::LogCapture log;
    welcome().launch();
    EXPECT_EQ(runningWhenShown, false);
    EXPECT_TRUE(controller().appIsRunning());

    EXPECT_FALSE(welcome().welcomeStarted());
    EXPECT_FALSE(shell.calls.contains(QStringLiteral("showWelcome")));
    EXPECT_TRUE(cloud.calls.filter(QStringLiteral("hasDataInCloud")).isEmpty());
    EXPECT_EQ(shell.calls, QStringList({"closeWelcome", "buildMainWindowViews", "showMainWindow"}));
    ASSERT_TRUE(shell.mainWindowContent.has_value());
    EXPECT_EQ(shell.mainWindowContent->accountCount, 2);
    ASSERT_EQ(shell.mainWindowContent->accounts.size(), 2u);
    EXPECT_EQ(shell.mainWindowContent->accounts[0].name, QStringLiteral("Checking"));
    EXPECT_EQ(shell.mainWindowContent->accounts[1].name, QStringLiteral("Savings"));
    EXPECT_TRUE(log.lines().contains(QStringLiteral("Account count: 2")));
    EXPECT_TRUE(cloud.calls.contains(QStringLiteral("startSyncTimer")));
    EXPECT_FALSE(cloud.calls.contains(QStringLiteral("turnOn")));
    EXPECT_TRUE(defaults.boolValue(QStringLiteral("NSApplicationCrashOnExceptions")));
}

TEST_F(WelcomeControllerTest, LaunchDoesItsWorkOnce) {
    cloud.probe = Probe::Never;
    welcome().launch();
    app::AppController* first = welcome().appController();
    welcome().launch();
    EXPECT_EQ(welcome().appController(), first);
    EXPECT_EQ(shell.calls.count(QStringLiteral("showWelcome")), 1);
    EXPECT_EQ(cloud.calls.count(QStringLiteral("hasDataInCloud")), 1);
}

TEST_F(WelcomeControllerTest, ALockedDatabaseWaitsForThePasswordWindow) {
    createDatabaseWithAccounts({});
    passwordLock.locked = true;
    welcome().launch();
    EXPECT_EQ(shell.calls, QStringList({"showPasswordWindow"}));
    EXPECT_FALSE(controller().coreDataController().isLoaded());

    // A correct password continues with the normal start.
    welcome().normalStartVantrel();
    EXPECT_TRUE(controller().appIsRunning());
}

TEST_F(WelcomeControllerTest, ANewerDatabaseIsRefusedUntouchedAndTheProcessExitsWithStatusOne) {
    createDatabaseWithAccounts({QStringLiteral("Checking")});
    store::DatabaseMetadata newer;
    newer.dataCompatibilityVersion = store::DatabaseMetadata::kCurrentDataCompatibilityVersion + 1;
    newer.persist(paths.databaseFolder());
    const QMap<QString, QByteArray> before = databaseFolderChecksums();
    alerts.answer(QStringLiteral("Quit Vantrel"));

    welcome().launch();

    ASSERT_EQ(alerts.shown().size(), 1u);
    EXPECT_EQ(alerts.last(),
              app::Alert({QStringLiteral("Cannot open database with this version of Vantrel."),
                          QStringLiteral("Please update to the latest version of Vantrel via the "
                                         "Vantrel web site and try again."),
                          {QStringLiteral("Quit Vantrel")}}));
    EXPECT_EQ(shell.exitStatus, 1);
    EXPECT_FALSE(controller().appIsRunning());
    EXPECT_FALSE(shell.calls.contains(QStringLiteral("showMainWindow")));
    EXPECT_EQ(databaseFolderChecksums(), before);
}

TEST_F(WelcomeControllerTest, ASecondCopyIsRefusedAndExits) {
    createDatabaseWithAccounts({});
    store::CoreDataController running(paths, defaults, clock);
    ASSERT_EQ(running.loadPersistentStores(QStringLiteral("en_US")),
              store::CoreDataController::LoadOutcome::Loaded);

    welcome().launch();

    ASSERT_EQ(alerts.shown().size(), 1u);
    EXPECT_EQ(
        alerts.last(),
        app::Alert({QStringLiteral("Another copy of Vantrel is already running."),
                    QStringLiteral("This copy will now quit. To protect your data, two copies of Vantrel "
                                   "cannot run at the same time. Please quit the other copy of Vantrel "
                                   "first."),
                    {}}));
    EXPECT_EQ(shell.exitStatus, 1);
    EXPECT_FALSE(controller().coreDataController().isLoaded());
    EXPECT_FALSE(shell.calls.contains(QStringLiteral("showMainWindow")));
}

TEST_F(WelcomeControllerTest, RegisteredDefaultsGiveWayToStoredValues) {
    defaults.setValue(QStringLiteral("VTShowBalanceColumn"), true);
    defaults.setValue(QStringLiteral("VTShouldShowInactiveTip"), false);
    cloud.probe = Probe::Never;
    welcome().launch();

    EXPECT_TRUE(defaults.boolValue(QStringLiteral("VTShouldShowBudgetHelp")));
    EXPECT_TRUE(defaults.boolValue(QStringLiteral("VTShowBalanceColumn")));
    EXPECT_FALSE(defaults.boolValue(QStringLiteral("VTShouldShowInactiveTip")));
    EXPECT_TRUE(defaults.boolValue(QStringLiteral("_VTShowStickyDateOption")));
    EXPECT_TRUE(defaults.contains(QStringLiteral("VTShouldShowBudgetHelp")));
    EXPECT_FALSE(shell.calls.contains(QStringLiteral("removeStickyDateMenuItem")));
}

TEST_F(WelcomeControllerTest, TheStickyDateItemGoesWhenTheOptionIsOff) {
    defaults.setValue(QStringLiteral("_VTShowStickyDateOption"), false);
    cloud.probe = Probe::Never;
    welcome().launch();
    EXPECT_EQ(shell.calls.count(QStringLiteral("removeStickyDateMenuItem")), 1);
}

// The hand-over of the earlier generation carries a backup archive of its database.
class HandOverTest : public WelcomeControllerTest {
protected:
    // A database with one account, made and backed up on a root of its own; its archive as Base64.
    QString archiveOfAnotherDatabase() {
        QTemporaryDir elsewhere;
        const platform::Paths otherPaths = platform::Paths::underRoot(elsewhere.path());
        platform::UserDefaults otherDefaults(elsewhere.filePath(QStringLiteral("defaults.ini")));
        store::CoreDataController other(otherPaths, otherDefaults, clock);
        EXPECT_EQ(other.loadPersistentStores(QStringLiteral("en_US")),
                  store::CoreDataController::LoadOutcome::Loaded);
        addAccount(other.managedObjectContext(), QStringLiteral("Handed Over"));
        other.lowLevelSave();
        const std::optional<QString> archive = other.backup();
        EXPECT_TRUE(archive.has_value());
        QFile file(archive.value_or(QString()));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return QString::fromLatin1(file.readAll().toBase64());
    }
};

TEST_F(HandOverTest, AValidArchiveIsImportedAndStarted) {
    const QString archive = archiveOfAnotherDatabase();
    cloud.probe = Probe::None;
    welcome().launch();

    welcome().handleGetURLEvent(kHandOverPrefix + archive);

    EXPECT_TRUE(alerts.shown().empty());
    EXPECT_TRUE(controller().appIsRunning());
    ASSERT_TRUE(shell.mainWindowContent.has_value());
    EXPECT_EQ(shell.mainWindowContent->accountCount, 1);
    ASSERT_EQ(shell.mainWindowContent->accounts.size(), 1u);
    EXPECT_EQ(shell.mainWindowContent->accounts[0].name, QStringLiteral("Handed Over"));
    // The probe answered cleanly and found nothing: sync comes on with the handed-over data.
    EXPECT_TRUE(cloud.calls.contains(QStringLiteral("turnOn")));
}

TEST_F(HandOverTest, BadBase64IsReportedAndNothingStarts) {
    cloud.probe = Probe::Never;
    welcome().launch();

    welcome().handleGetURLEvent(kHandOverPrefix + QStringLiteral("not*base64!"));

    ASSERT_EQ(alerts.shown().size(), 1u);
    EXPECT_EQ(alerts.last(), app::Alert({QStringLiteral("Import failed"), {}, {}}));
    EXPECT_FALSE(databaseFileExists());
    EXPECT_FALSE(controller().appIsRunning());
    EXPECT_FALSE(shell.calls.contains(QStringLiteral("closeWelcome")));
}

TEST_F(HandOverTest, AUrlNotStartingWithThePrefixIsLoggedAndIgnored) {
    const QString archive = archiveOfAnotherDatabase();
    cloud.probe = Probe::Never;
    welcome().launch();
    platform::LogCapture log;
    const QStringList callsBefore = shell.calls;

    const QString wrongStart = QStringLiteral("vantrel3://other/") + kHandOverPrefix + archive;
    welcome().handleGetURLEvent(wrongStart);

    EXPECT_EQ(log.lines(), QStringList({QStringLiteral("invalid URL ") + wrongStart}));
    EXPECT_TRUE(alerts.shown().empty());
    EXPECT_EQ(shell.calls, callsBefore);
    EXPECT_FALSE(databaseFileExists());
}

} // namespace
