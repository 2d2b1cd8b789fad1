#include "app/AppController.h"
#include "app/WelcomeController.h"
#include "model/IcuBridge.h"
#include "platform/Clock.h"
#include "platform/InternalError.h"
#include "platform/NotificationHub.h"
#include "platform/Paths.h"
#include "platform/QtHttpClient.h"
#include "platform/UserDefaults.h"
#include "store/PasswordLock.h"
#include "ui/MainWindow.h"
#include "ui/QtAlertPresenter.h"
#include "ui/QtApplicationShell.h"
#include "ui/WelcomeWindow.h"

#include <QAction>
#include <QApplication>

#include <cstdio>

using namespace vantrel;

namespace {

// Every way of asking the application to quit goes through the application controller, which may
// answer "later" while a merge started by the last save finishes.
void requestQuit(app::WelcomeController& welcome) {
    app::AppController* controller = welcome.appController();
    if (controller == nullptr) {
        QCoreApplication::quit();
        return;
    }
    if (controller->isShuttingDown()) {
        return;
    }
    if (controller->applicationShouldTerminate() == app::AppController::TerminateReply::TerminateNow) {
        QCoreApplication::quit();
    }
}

bool anyWindowVisible() {
    for (const QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->isWindow()) {
            return true;
        }
    }
    return false;
}

int run(QApplication& application) {
    const platform::Paths paths = platform::Paths::fromEnvironment();
    if (!paths.ensureDefaultsFolderExists()) {
        std::fprintf(stderr, "Vantrel cannot create its settings folder %s\n",
                     qPrintable(paths.defaultsFolder()));
        return 1;
    }
    platform::UserDefaults defaults(paths.defaultsFile());
    platform::NotificationHub notifications;
    platform::QtHttpClient http;
    ui::MainWindow mainWindow;
    ui::QtAlertPresenter alerts;
    ui::QtApplicationShell shell(mainWindow);
    const store::NoPasswordLock noPassword;
    app::WelcomeController welcome({paths, shell, alerts, platform::Clock::system(), defaults, notifications,
                                    http, model::IcuBridge::systemLocaleId()},
                                   noPassword);

    QObject::connect(&shell.welcomeWindow(), &ui::WelcomeWindow::buttonClicked, &welcome,
                     [&welcome](int tag) { welcome.buttonAction(tag); });
    mainWindow.setQuitHandler([&welcome] { requestQuit(welcome); });
    // Closing a window is not a quit by itself; only when no window is left is it one.
    QObject::connect(&application, &QGuiApplication::lastWindowClosed, &welcome, [&welcome] {
        if (!anyWindowVisible()) {
            requestQuit(welcome);
        }
    });
    QObject::connect(&application, &QGuiApplication::applicationStateChanged, &welcome,
                     [&welcome](Qt::ApplicationState state) {
                         if (state == Qt::ApplicationActive && welcome.appController() != nullptr) {
                             welcome.appController()->applicationDidBecomeActive();
                         }
                     });
    if (QAction* stickyDate = mainWindow.stickyDateAction()) {
        QObject::connect(stickyDate, &QAction::toggled, &welcome, [&welcome](bool on) {
            if (welcome.appController() != nullptr) {
                welcome.appController()->stickyDate().on = on;
            }
        });
    }

    welcome.launch();
    // The desktop starts us with the hand-over URL as an argument (x-scheme-handler/vantrel3).
    for (const QString& argument : QCoreApplication::arguments().mid(1)) {
        if (shell.exitStatus()) {
            break;
        }
        if (argument.startsWith(QStringLiteral("vantrel3:"))) {
            welcome.handleGetURLEvent(argument);
        }
    }
    if (shell.exitStatus()) {
        return *shell.exitStatus();
    }
    return QApplication::exec();
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantrel"));
    QApplication::setOrganizationName(QStringLiteral("Vantrel"));
    QApplication::setApplicationVersion(QStringLiteral(VANTREL_VERSION));
    // The application decides when it quits: see requestQuit.
    QApplication::setQuitOnLastWindowClosed(false);

    try {
        return run(application);
    } catch (const platform::InternalError& error) {
        // A programming fault: say what happened and stop rather than run on with a broken state.
        std::fprintf(stderr, "Vantrel stopped after an internal error: %s\n", error.what());
        return 70;
    }
}
