#include "app/Workspace.h"

#include "platform/InternalError.h"
#include "platform/Log.h"
#include "platform/NotificationHub.h"
#include "platform/NotificationNames.h"
#include "platform/objectstore/Context.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace vantrel::app {

namespace {

QString describe(const QVariantMap& userInfo) {
    return QString::fromUtf8(
        QJsonDocument(QJsonObject::fromVariantMap(userInfo)).toJson(QJsonDocument::Compact));
}

void logSaveError(const objectstore::SaveResult& result) {
    if (!result.error) {
        platform::Log::write(QStringLiteral("Failed to save to data store: %1").arg(result.storeFailure));
        return;
    }
    const objectstore::ValidationError& error = *result.error;
    platform::Log::write(QStringLiteral("Failed to save to data store: %1").arg(error.message));
    if (error.detailedErrors.empty()) {
        platform::Log::write(QStringLiteral("  %1").arg(describe(error.userInfo)));
        return;
    }
    for (const objectstore::ValidationError& detail : error.detailedErrors) {
        platform::Log::write(QStringLiteral("DetailedError: %1").arg(describe(detail.userInfo)));
    }
}

} // namespace

Workspace::Workspace(objectstore::Context& context, AlertPresenter& alerts, const platform::Clock& clock,
                     platform::UserDefaults& defaults, platform::NotificationHub& notifications)
    : m_context(context)
    , m_alerts(alerts)
    , m_clock(clock)
    , m_defaults(defaults)
    , m_notifications(notifications) {}

bool Workspace::saveDatabase() {
    const objectstore::SaveResult result = m_context.save();
    if (result.succeeded()) {
        return true;
    }
    // The unsaved changes stay in the context; the top level reports the fault and stops before
    // anything else can build on a state the store refused.
    logSaveError(result);
    throw platform::InternalError(
        QStringLiteral("Error occurred on save. See Console for detailed error report."));
}

void Workspace::refreshAllViews() {
    m_notifications.post(QString::fromLatin1(platform::kRefreshAllViews));
}

void Workspace::postCategoriesChanged() {
    m_notifications.post(QString::fromLatin1(platform::kCategoriesChanged));
}

} // namespace vantrel::app
