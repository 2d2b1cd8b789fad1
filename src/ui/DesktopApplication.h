#pragma once

#include "platform/NotificationHub.h"
#include "platform/Paths.h"
#include "platform/QtHttpClient.h"
#include "platform/UserDefaults.h"
#include "store/PasswordLock.h"
#include "ui/MainWindow.h"
#include "ui/QtAlertPresenter.h"
#include "ui/QtApplicationShell.h"

#include <QObject>

#include <memory>

namespace vantrel::platform {
class Clock;
}

namespace vantrel::app {
class WelcomeController;
}

namespace vantrel::ui {

// The running desktop application: its services, the windows and the start-up controller, wired
// together. main() makes one over the real clock; widget tests make one over a temporary home and
// a fixed clock and click through it.
class DesktopApplication : public QObject {
    Q_OBJECT

public:
    // The settings folder must exist (Paths::ensureDefaultsFolderExists).
    // `localeId` (ICU) picks the home currency of a new database and the formats.
    DesktopApplication(const platform::Paths& paths, const platform::Clock& clock, const QString& localeId);
    ~DesktopApplication() override;

    // Shows the welcome window or opens the database, as the start-up controller decides, and
    // handles "vantrel3:" URLs given on the command line.
    void launch(const QStringList& arguments = {});
    // Every way of asking to quit lands here; the application controller may answer "later" while
    // a merge started by the last save finishes.
    void requestQuit();

    MainWindow& mainWindow() { return m_mainWindow; }
    QtApplicationShell& shell() { return m_shell; }
    app::WelcomeController& welcome() { return *m_welcome; }
    platform::UserDefaults& defaults() { return m_defaults; }

private:
    void connectSignals();

    platform::Paths m_paths;
    platform::UserDefaults m_defaults;
    platform::NotificationHub m_notifications;
    platform::QtHttpClient m_http;
    MainWindow m_mainWindow;
    QtAlertPresenter m_alerts;
    QtApplicationShell m_shell;
    store::NoPasswordLock m_noPassword;
    std::unique_ptr<app::WelcomeController> m_welcome;
};

} // namespace vantrel::ui
