#pragma once

#include "app/ApplicationShell.h"

#include <memory>
#include <optional>

namespace vantrel::ui {

class MainWindow;
class WelcomeWindow;

// The controllers' desktop: the welcome window, the main window, URL handlers through the desktop's
// MIME associations, and the process's end through the Qt event loop.
class QtApplicationShell final : public app::ApplicationShell {
public:
    explicit QtApplicationShell(MainWindow& mainWindow);
    ~QtApplicationShell() override;

    WelcomeWindow& welcomeWindow() const { return *m_welcome; }
    // Set once exitProcess() was asked for: the caller that has not entered the event loop yet
    // returns this status instead.
    std::optional<int> exitStatus() const { return m_exitStatus; }

    void showWelcome() override;
    void showFirstRunChoices(const app::FirstRunChoices& choices) override;
    void showLoading(double fraction) override;
    void closeWelcome() override;
    void showPasswordWindow() override;
    void buildMainWindowViews(const app::MainWindowContent& content) override;
    void showMainWindow() override;
    bool isMainWindowVisible() const override;
    void bringMainWindowToFront() override;
    void closeAllWindowsAndHide() override;
    void removeStickyDateMenuItem() override;
    bool hasApplicationForUrl(const QString& url) const override;
    void openUrl(const QString& url) override;
    void replyToApplicationShouldTerminate(bool terminate) override;
    void exitProcess(int status) override;

    // The desktop file registered for the URL's scheme, as the desktop's MIME database answers;
    // empty when none is, or when the query cannot run.
    static QString defaultHandlerForUrl(const QString& url);

private:
    MainWindow& m_mainWindow;
    std::unique_ptr<WelcomeWindow> m_welcome;
    std::optional<int> m_exitStatus;
};

} // namespace vantrel::ui
