#include "ui/QtApplicationShell.h"

#include "platform/InternalError.h"
#include "ui/MainWindow.h"
#include "ui/WelcomeWindow.h"

#include <QApplication>
#include <QDesktopServices>
#include <QProcess>
#include <QUrl>
#include <QWidget>

namespace vantrel::ui {

namespace {
constexpr int kMimeQueryTimeoutMs = 3000;
}

QtApplicationShell::QtApplicationShell(MainWindow& mainWindow)
    : m_mainWindow(mainWindow)
    , m_welcome(std::make_unique<WelcomeWindow>()) {}

QtApplicationShell::~QtApplicationShell() = default;

void QtApplicationShell::showWelcome() {
    m_welcome->showSpinner();
    m_welcome->show();
}

void QtApplicationShell::showFirstRunChoices(const app::FirstRunChoices& choices) {
    m_welcome->showChoices(choices);
}

void QtApplicationShell::showLoading(double fraction) {
    m_welcome->showLoading(fraction);
}

void QtApplicationShell::closeWelcome() {
    // Hidden, not closed: closing the last window is a quit request, and this is not one.
    m_welcome->hide();
}

void QtApplicationShell::showPasswordWindow() {
    // Only a set password leads here, and no build can set one before the password lock exists.
    throw platform::InternalError("The password window is not available in this build.");
}

void QtApplicationShell::buildMainWindowViews(const app::MainWindowContent& content) {
    m_mainWindow.showContent(content);
}

void QtApplicationShell::showMainWindow() {
    m_mainWindow.show();
}

bool QtApplicationShell::isMainWindowVisible() const {
    return m_mainWindow.isVisible();
}

void QtApplicationShell::bringMainWindowToFront() {
    m_mainWindow.show();
    m_mainWindow.raise();
    m_mainWindow.activateWindow();
}

void QtApplicationShell::closeAllWindowsAndHide() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        widget->hide();
    }
}

void QtApplicationShell::removeStickyDateMenuItem() {
    m_mainWindow.removeStickyDateAction();
}

QString QtApplicationShell::defaultHandlerForUrl(const QString& url) {
    const QString scheme = QUrl(url).scheme();
    if (scheme.isEmpty()) {
        return {};
    }
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"),
                                             QStringLiteral("x-scheme-handler/") + scheme});
    if (!query.waitForFinished(kMimeQueryTimeoutMs) || query.exitStatus() != QProcess::NormalExit ||
        query.exitCode() != 0) {
        query.kill();
        return {};
    }
    return QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed();
}

bool QtApplicationShell::hasApplicationForUrl(const QString& url) const {
    return !defaultHandlerForUrl(url).isEmpty();
}

void QtApplicationShell::openUrl(const QString& url) {
    QDesktopServices::openUrl(QUrl(url));
}

void QtApplicationShell::replyToApplicationShouldTerminate(bool terminate) {
    if (terminate) {
        QCoreApplication::quit();
    }
}

void QtApplicationShell::exitProcess(int status) {
    m_exitStatus = status;
    QCoreApplication::exit(status);
}

} // namespace vantrel::ui
