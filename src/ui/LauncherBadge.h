#pragma once

#include <QString>

namespace vantrel::ui {

// Sends the application's count to the dock over the session bus (the launcher-entry convention:
// an "Update" signal naming the desktop entry, with "count" and "count-visible").
class LauncherBadge {
public:
    // False when there is no session bus to send on.
    static bool send(int count, const QString& desktopEntry = QStringLiteral("vantrel.desktop"));
};

} // namespace vantrel::ui
