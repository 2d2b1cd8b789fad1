#include "app/SaveErrorLog.h"

#include "platform/Log.h"
#include "platform/objectstore/SaveResult.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace vantrel::app {

void SaveErrorLog::output(const objectstore::SaveResult& result) {
    platform::Log::write(QStringLiteral("Failed to save to data store: %1").arg(message(result)));
    if (!result.error) {
        return;
    }
    const objectstore::ValidationError& error = *result.error;
    if (error.detailedErrors.empty()) {
        platform::Log::write(QStringLiteral("  %1").arg(describe(error.userInfo)));
        return;
    }
    for (const objectstore::ValidationError& detail : error.detailedErrors) {
        platform::Log::write(QStringLiteral("DetailedError: %1").arg(describe(detail.userInfo)));
    }
}

QString SaveErrorLog::message(const objectstore::SaveResult& result) {
    return result.error ? result.error->message : result.storeFailure;
}

QString SaveErrorLog::userInfoText(const objectstore::SaveResult& result) {
    return describe(result.error ? result.error->userInfo : QVariantMap());
}

QString SaveErrorLog::describe(const QVariantMap& userInfo) {
    return QString::fromUtf8(
        QJsonDocument(QJsonObject::fromVariantMap(userInfo)).toJson(QJsonDocument::Compact));
}

} // namespace vantrel::app
