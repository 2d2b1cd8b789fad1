#pragma once

#include <QString>

namespace vantrel::app {

// The application-wide count of scheduled items asking for attention. Docks that follow the
// launcher-entry convention show it on the application's icon; elsewhere the window title carries it.
class ApplicationBadge {
public:
    // "%ld"; empty for 0 (no badge).
    static QString badgeText(int count);
    // Whether the desktop named by XDG_CURRENT_DESKTOP ("KDE", "ubuntu:GNOME", ...) has a dock that
    // draws launcher-entry counts.
    static bool desktopShowsLauncherCounts(const QString& currentDesktop);
    // "Vantrel", or "Vantrel (3)" when the count goes in the title.
    static QString windowTitle(int count, bool countInTitle);
};

} // namespace vantrel::app
