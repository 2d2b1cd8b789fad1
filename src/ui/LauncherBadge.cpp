#include "ui/LauncherBadge.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariantMap>

namespace vantrel::ui {

bool LauncherBadge::send(int count, const QString& desktopEntry) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return false;
    }
    QDBusMessage signal = QDBusMessage::createSignal(
        QStringLiteral("/com/canonical/unity/launcherentry/vantrel"),
        QStringLiteral("com.canonical.Unity.LauncherEntry"), QStringLiteral("Update"));
    const QVariantMap properties{{QStringLiteral("count"), QVariant::fromValue<qint64>(count)},
                                 {QStringLiteral("count-visible"), count > 0}};
    signal << QStringLiteral("application://%1").arg(desktopEntry) << properties;
    return bus.send(signal);
}

} // namespace vantrel::ui
