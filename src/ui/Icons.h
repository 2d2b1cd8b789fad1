#pragma once

#include <QIcon>
#include <QString>

namespace vantrel::ui {

// The application's images by the names the view-models use ("SidebarIconChecking", "FlagPending",
// ...), drawn in code so they stay sharp at every size and need no image plug-in. An unknown name
// gives a null icon.
QIcon namedIcon(const QString& name);
// The application's own icon (window and desktop entry).
QIcon applicationIcon();

} // namespace vantrel::ui
