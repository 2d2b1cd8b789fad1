#pragma once

#include "app/AppServices.h"
#include "app/FirstRunChoices.h"
#include "store/CloudSync.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <memory>
#include <optional>

namespace vantrel::store {
class PasswordLock;
}

namespace vantrel::app {

class AppController;

// The start-up decision: creates the application controller, registers the user defaults, and
// chooses between a normal start, the password window and the first run, whose choices (a new
// database, the data found in the cloud, or the hand-over from Vantrel 2) it drives.
class WelcomeController : public QObject {
    Q_OBJECT

public:
    // Why the cloud probe gave no answer to go by.
    struct ProbeError {
        QString domain;
        int code = 0;
        QString description;

        friend bool operator==(const ProbeError&, const ProbeError&) = default;
    };

    static constexpr auto kErrorDomain = "VTWelcomeErrorDomain";
    static constexpr int kTimeoutErrorCode = 999;
    static constexpr auto kTimeoutErrorDescription = "Timeout";
    static constexpr std::chrono::milliseconds kSetupTimeout{60'000};

    static constexpr auto kUpgradeUrl = "vantrel2://upgrade-to-vantrel3";
    static constexpr auto kHandOverPrefix = "vantrel3://finish-upgrade-to-vantrel3/";
    static constexpr auto kImportFailedMessage = "Import failed";

    static constexpr int kNewDatabaseTag = 101;
    static constexpr int kCloudDataTag = 102;
    static constexpr int kUpgradeTag = 103;
    static constexpr int kUpgradeButtonWidth = 240;
    static constexpr auto kSyncWithCloudTitle = "Sync with Cloud Sync";
    static constexpr auto kNewDatabaseTitle = "Start with a new database";
    static constexpr auto kUpgradeTitle = "Upgrade from Vantrel 2";
    static constexpr auto kGetStartedTitle = "Get Started";
    static constexpr auto kCloudDataFoundLabel = "Cloud Sync data has been found.";
    static constexpr auto kUpgradeDetectedLabel = "Vantrel 2 detected";

    static constexpr auto kShouldShowBudgetHelpKey = "VTShouldShowBudgetHelp";
    static constexpr auto kShowBalanceColumnKey = "VTShowBalanceColumn";
    static constexpr auto kShouldShowInactiveTipKey = "VTShouldShowInactiveTip";
    static constexpr auto kShowStickyDateOptionKey = "_VTShowStickyDateOption";

    // `sync` goes to the application controller when launch() creates it.
    WelcomeController(AppServices services, const store::PasswordLock& passwordLock,
                      std::unique_ptr<store::CloudSync> sync = {}, QObject* parent = nullptr);
    ~WelcomeController() override;

    // The start-up decision; the work runs once however often it is called.
    void launch();
    void registerUserDefaults();

    // First run.
    void showWelcome();
    // Offers the first-run choices; only the first call does anything.
    void showSetup();
    void buttonAction(int tag);
    void useiCloudData();
    // A progress report of the cloud load: moves the loading bar.
    void syncProgressMade(double fraction);

    // Loads the local store and starts; also the password window's way in after a correct password.
    void normalStartVantrel();
    // The hand-over URL of the earlier generation.
    void handleGetURLEvent(const QString& url);
    void setShouldTurnOniCloudOnStartup();

    // Nothing before launch().
    AppController* appController() const { return m_appController.get(); }
    bool isInitialized() const { return m_isInitialized; }
    bool isCheckingiCloud() const { return m_isCheckingiCloud; }
    bool iCloudDetected() const { return m_iCloudDetected; }
    bool upgradeDetected() const { return m_upgradeDetected; }
    const std::optional<ProbeError>& iCloudError() const { return m_iCloudError; }
    bool shouldTurnOniCloudOnStartup() const { return m_shouldTurnOniCloudOnStartup; }
    bool welcomeStarted() const { return m_welcomeStarted; }
    const QTimer& setupTimer() const { return m_setupTimer; }

    // The choices showSetup offers for the given probe outcome.
    static FirstRunChoices choicesFor(bool iCloudDetected, bool upgradeDetected);

private:
    static ProbeError timeoutError();
    void probeAnswered(bool found, const std::optional<QString>& error);
    // Loads the store; on a refusal shows why, ends the process and answers false.
    bool loadLocalStore();
    void turnOnSyncIfAsked();

    AppServices m_services;
    const store::PasswordLock& m_passwordLock;
    std::unique_ptr<store::CloudSync> m_pendingSync;
    std::unique_ptr<AppController> m_appController;
    QTimer m_setupTimer;
    bool m_isInitialized = false;
    bool m_isCheckingiCloud = true;
    bool m_iCloudDetected = false;
    bool m_upgradeDetected = false;
    std::optional<ProbeError> m_iCloudError;
    bool m_shouldTurnOniCloudOnStartup = false;
    bool m_welcomeStarted = false;
    bool m_loadingFromCloud = false;
};

} // namespace vantrel::app
