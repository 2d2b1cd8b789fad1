#pragma once

#include "app/FirstRunChoices.h"
#include "app/MainWindowContent.h"

#include <QString>

namespace vantrel::app {

// What the start-up, quit and reset logic asks of windows and of the desktop. The desktop front end
// implements it with real windows; tests record the calls, so the controllers run without a display.
class ApplicationShell {
public:
    virtual ~ApplicationShell() = default;

    // The welcome window with its spinning progress indicator.
    virtual void showWelcome() = 0;
    virtual void showFirstRunChoices(const FirstRunChoices& choices) = 0;
    // The loading view of the welcome window: a determinate bar, fraction in [0, 1].
    virtual void showLoading(double fraction) = 0;
    virtual void closeWelcome() = 0;
    virtual void showPasswordWindow() = 0;

    // Builds the main window's views: the empty view when there is no account.
    virtual void buildMainWindowViews(const MainWindowContent& content) = 0;
    virtual void showMainWindow() = 0;
    virtual bool isMainWindowVisible() const = 0;
    virtual void bringMainWindowToFront() = 0;
    // Closes every window and hides the application (quitting while a merge finishes).
    virtual void closeAllWindowsAndHide() = 0;
    virtual void removeStickyDateMenuItem() = 0;

    // Whether some installed application opens this URL.
    virtual bool hasApplicationForUrl(const QString& url) const = 0;
    virtual void openUrl(const QString& url) = 0;

    // Answers a quit request that was answered with "later".
    virtual void replyToApplicationShouldTerminate(bool terminate) = 0;
    // Ends the process with `status`. Callers return right after: a test's shell only records it.
    virtual void exitProcess(int status) = 0;
};

} // namespace vantrel::app
