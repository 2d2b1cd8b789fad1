#include "app/ApplicationBadge.h"

#include <QStringList>

namespace vantrel::app {

QString ApplicationBadge::badgeText(int count) {
    return count > 0 ? QString::number(count) : QString();
}

bool ApplicationBadge::desktopShowsLauncherCounts(const QString& currentDesktop) {
    // Plasma's task manager, Unity's launcher, Ubuntu's dock and Budgie's panel read the counts;
    // plain GNOME Shell and the others ignore them.
    static const QStringList kDesktops{QStringLiteral("KDE"), QStringLiteral("Unity"),
                                       QStringLiteral("ubuntu"), QStringLiteral("Budgie")};
    const QStringList names = currentDesktop.split(u':', Qt::SkipEmptyParts);
    for (const QString& name : names) {
        if (kDesktops.contains(name, Qt::CaseInsensitive)) {
            return true;
        }
    }
    return false;
}

QString ApplicationBadge::windowTitle(int count, bool countInTitle) {
    if (!countInTitle || count <= 0) {
        return QStringLiteral("Vantrel");
    }
    return QStringLiteral("Vantrel (%1)").arg(badgeText(count));
}

} // namespace vantrel::app
