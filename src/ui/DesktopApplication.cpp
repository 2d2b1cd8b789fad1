#include "ui/DesktopApplication.h"

#include "app/AppController.h"
#include "app/WelcomeController.h"
#include "platform/Clock.h"
#include "ui/WelcomeWindow.h"

#include <QAction>
#include <QApplication>

namespace vantrel::ui {

namespace {

bool anyWindowVisible() {
    for (const QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->isWindow()) {
            return true;
        }
    }
    return false;
}

} // namespace

DesktopApplication::DesktopApplication(const platform::Paths& paths, const platform::Clock& clock,
                                       const QString& localeId)
    : m_paths(paths)
    , m_defaults(paths.defaultsFile())
    , m_alerts(&m_mainWindow)
    , m_shell(m_mainWindow) {
    m_welcome = std::make_unique<app::WelcomeController>(
        app::AppServices{m_paths, m_shell, m_alerts, clock, m_defaults, m_notifications, m_http, localeId},
        m_noPassword);
    m_mainWindow.setControllerProvider([this] { return m_welcome->appController(); });
    connectSignals();
}

DesktopApplication::~DesktopApplication() {
    m_mainWindow.detach();
}

void DesktopApplication::connectSignals() {
    QObject::connect(&m_shell.welcomeWindow(), &WelcomeWindow::buttonClicked, m_welcome.get(),
                     [this](int tag) { m_welcome->buttonAction(tag); });
    m_mainWindow.setQuitHandler([this] { requestQuit(); });
    // Closing a window is not a quit by itself; only when no window is left is it one.
    QObject::connect(qApp, &QGuiApplication::lastWindowClosed, this, [this] {
        if (!anyWindowVisible()) {
            requestQuit();
        }
    });
    QObject::connect(qApp, &QGuiApplication::applicationStateChanged, this,
                     [this](Qt::ApplicationState state) {
                         if (state == Qt::ApplicationActive && m_welcome->appController() != nullptr) {
                             m_welcome->appController()->applicationDidBecomeActive();
                         }
                     });
    if (QAction* stickyDate = m_mainWindow.stickyDateAction()) {
        QObject::connect(stickyDate, &QAction::toggled, this, [this](bool on) {
            if (m_welcome->appController() != nullptr) {
                m_welcome->appController()->stickyDate().on = on;
            }
        });
    }
}

void DesktopApplication::launch(const QStringList& arguments) {
    m_welcome->launch();
    // The desktop starts us with the hand-over URL as an argument (x-scheme-handler/vantrel3).
    for (const QString& argument : arguments) {
        if (m_shell.exitStatus()) {
            break;
        }
        if (argument.startsWith(QStringLiteral("vantrel3:"))) {
            m_welcome->handleGetURLEvent(argument);
        }
    }
}

void DesktopApplication::requestQuit() {
    app::AppController* controller = m_welcome->appController();
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

} // namespace vantrel::ui
