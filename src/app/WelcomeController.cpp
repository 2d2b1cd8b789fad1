#include "app/WelcomeController.h"

#include "app/AlertPresenter.h"
#include "app/AppController.h"
#include "app/ApplicationShell.h"
#include "platform/InternalError.h"
#include "platform/Log.h"
#include "platform/UserDefaults.h"
#include "store/CloudSync.h"
#include "store/CoreDataController.h"
#include "store/PasswordLock.h"

#include <QPointer>
#include <QUrl>

namespace vantrel::app {

using platform::Log;
using store::CoreDataController;

WelcomeController::WelcomeController(AppServices services, const store::PasswordLock& passwordLock,
                                     std::unique_ptr<store::CloudSync> sync, QObject* parent)
    : QObject(parent)
    , m_services(std::move(services))
    , m_passwordLock(passwordLock)
    , m_pendingSync(std::move(sync)) {
    m_setupTimer.setSingleShot(true);
    m_setupTimer.setInterval(kSetupTimeout);
    connect(&m_setupTimer, &QTimer::timeout, this, &WelcomeController::showSetup);
}

WelcomeController::~WelcomeController() = default;

void WelcomeController::launch() {
    if (m_services.shell.hasApplicationForUrl(QString::fromLatin1(kUpgradeUrl))) {
        m_upgradeDetected = true;
    }
    if (m_isInitialized) {
        return;
    }
    m_appController = std::make_unique<AppController>(m_services, std::move(m_pendingSync));
    m_isInitialized = true;

    registerUserDefaults();
    if (!m_services.defaults.boolValue(QString::fromLatin1(kShowStickyDateOptionKey))) {
        m_services.shell.removeStickyDateMenuItem();
    }

    if (m_appController->coreDataController().hasLocalContent()) {
        m_welcomeStarted = false;
        if (m_passwordLock.hasPassword()) {
            m_services.shell.showPasswordWindow();
            return;
        }
        normalStartVantrel();
        return;
    }
    m_welcomeStarted = true;
    showWelcome();
}

void WelcomeController::registerUserDefaults() {
    m_services.defaults.registerDefaults({
        {QString::fromLatin1(kShouldShowBudgetHelpKey), true},
        {QString::fromLatin1(kShowBalanceColumnKey), false},
        {QString::fromLatin1(kShouldShowInactiveTipKey), true},
        {QString::fromLatin1(kShowStickyDateOptionKey), true},
    });
}

WelcomeController::ProbeError WelcomeController::timeoutError() {
    return {QString::fromLatin1(kErrorDomain), kTimeoutErrorCode,
            QString::fromLatin1(kTimeoutErrorDescription)};
}

void WelcomeController::showWelcome() {
    m_services.shell.showWelcome();
    m_setupTimer.start();
    m_iCloudError = timeoutError();
    QPointer<WelcomeController> self(this);
    m_appController->cloudSync().hasDataInCloud([self](bool found, const std::optional<QString>& error) {
        if (self) {
            self->probeAnswered(found, error);
        }
    });
}

void WelcomeController::probeAnswered(bool found, const std::optional<QString>& error) {
    // The 60-second timer may have decided already; a late answer changes nothing.
    if (!m_isCheckingiCloud) {
        return;
    }
    m_iCloudError.reset();
    if (error) {
        m_iCloudError = ProbeError{QString::fromLatin1(kErrorDomain), 0, *error};
    } else if (found) {
        m_iCloudDetected = true;
    }
    showSetup();
}

FirstRunChoices WelcomeController::choicesFor(bool iCloudDetected, bool upgradeDetected) {
    const FirstRunButton newDatabase{QString::fromLatin1(kNewDatabaseTitle), kNewDatabaseTag, 0};
    if (iCloudDetected) {
        return {QString::fromLatin1(kCloudDataFoundLabel),
                {{QString::fromLatin1(kSyncWithCloudTitle), kCloudDataTag, 0}, newDatabase}};
    }
    if (upgradeDetected) {
        return {QString::fromLatin1(kUpgradeDetectedLabel),
                {{QString::fromLatin1(kUpgradeTitle), kUpgradeTag, kUpgradeButtonWidth}, newDatabase}};
    }
    return {QString(), {{QString::fromLatin1(kGetStartedTitle), kNewDatabaseTag, 0}}};
}

void WelcomeController::showSetup() {
    if (!m_isCheckingiCloud) {
        return;
    }
    m_isCheckingiCloud = false;
    m_setupTimer.stop();
    m_services.shell.showFirstRunChoices(choicesFor(m_iCloudDetected, m_upgradeDetected));
}

void WelcomeController::buttonAction(int tag) {
    Log::write(QStringLiteral("Button clicked with tag %1").arg(tag));
    switch (tag) {
    case kNewDatabaseTag:
        setShouldTurnOniCloudOnStartup();
        normalStartVantrel();
        break;
    case kCloudDataTag:
        useiCloudData();
        break;
    case kUpgradeTag:
        // The earlier generation exports its data and answers with the hand-over URL.
        m_services.shell.openUrl(QString::fromLatin1(kUpgradeUrl));
        break;
    default:
        break;
    }
}

void WelcomeController::setShouldTurnOniCloudOnStartup() {
    m_shouldTurnOniCloudOnStartup = !m_iCloudError && !m_iCloudDetected;
}

bool WelcomeController::loadLocalStore() {
    CoreDataController& coreData = m_appController->coreDataController();
    switch (coreData.loadPersistentStores(m_services.localeId)) {
    case CoreDataController::LoadOutcome::Loaded:
        return true;
    case CoreDataController::LoadOutcome::NewerDatabase:
        m_services.alerts.present({QString::fromLatin1(CoreDataController::kNewerDatabaseMessage),
                                   QString::fromLatin1(CoreDataController::kNewerDatabaseInformative),
                                   {QString::fromLatin1(CoreDataController::kNewerDatabaseButton)}});
        break;
    case CoreDataController::LoadOutcome::AnotherCopyRunning:
        m_services.alerts.present({QString::fromLatin1(CoreDataController::kAnotherCopyMessage),
                                   QString::fromLatin1(CoreDataController::kAnotherCopyInformative),
                                   {}});
        break;
    }
    // Before running, so the quit is immediate and ends with the same status as the refusal.
    m_services.shell.exitProcess(1);
    return false;
}

void WelcomeController::turnOnSyncIfAsked() {
    if (!m_shouldTurnOniCloudOnStartup &&
        !m_appController->coreDataController().shouldTurnOnSyncForVantrel3AfterLaunch()) {
        return;
    }
    // The start does not wait: a failure leaves the application running without sync.
    m_appController->cloudSync().turnOn([](const std::optional<QString>& error) {
        if (error) {
            Log::write(
                QStringLiteral("Fail to turn iCloud back on after upgrading to Vantrel 3. %1").arg(*error));
        }
    });
}

void WelcomeController::normalStartVantrel() {
    // Whatever decided, the first-run timer has nothing left to offer.
    m_isCheckingiCloud = false;
    m_setupTimer.stop();
    m_services.shell.closeWelcome();
    if (!loadLocalStore()) {
        return;
    }
    turnOnSyncIfAsked();
    m_appController->startVantrel();
}

void WelcomeController::useiCloudData() {
    m_services.shell.showLoading(0.1);
    m_loadingFromCloud = true;
    QPointer<WelcomeController> self(this);
    m_appController->cloudSync().loadStoreWithCloudData([self](const std::optional<QString>& error) {
        if (!self) {
            return;
        }
        self->m_loadingFromCloud = false;
        if (error) {
            Log::write(QStringLiteral("Failed to turn on iCloud"));
            return;
        }
        // The sync engine has filled the database folder; the store controller opens it.
        if (!self->m_appController->coreDataController().isLoaded() && !self->loadLocalStore()) {
            return;
        }
        self->m_appController->startVantrel();
        self->m_services.shell.closeWelcome();
    });
}

void WelcomeController::syncProgressMade(double fraction) {
    if (m_loadingFromCloud && m_appController->cloudSync().isMerging()) {
        m_services.shell.showLoading(fraction);
    }
}

void WelcomeController::handleGetURLEvent(const QString& url) {
    if (!m_appController) {
        throw platform::InternalError("A URL was handed over before launch.");
    }
    const QString prefix = QString::fromLatin1(kHandOverPrefix);
    if (!url.startsWith(prefix)) {
        Log::write(QStringLiteral("invalid URL %1").arg(url));
        return;
    }
    // Base64 needs no escaping in a URL, but a launcher may still have percent-encoded it.
    const QString archive = QUrl::fromPercentEncoding(url.mid(prefix.size()).toUtf8());
    if (!m_appController->coreDataController().importVantrelArchive(archive)) {
        m_services.alerts.present({QString::fromLatin1(kImportFailedMessage), {}, {}});
        return;
    }
    setShouldTurnOniCloudOnStartup();
    normalStartVantrel();
}

} // namespace vantrel::app
