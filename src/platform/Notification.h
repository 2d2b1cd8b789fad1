#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>

namespace vantrel::platform {

// What an observer receives. The sender may be null and is only guaranteed alive during delivery.
struct Notification {
    QString name;
    QObject* sender = nullptr;
    QVariantMap userInfo;
};

} // namespace vantrel::platform
