#include "app/Workspace.h"

#include "app/SaveErrorLog.h"
#include "platform/InternalError.h"
#include "platform/NotificationHub.h"
#include "platform/NotificationNames.h"
#include "platform/objectstore/Context.h"

namespace vantrel::app {

Workspace::Workspace(objectstore::Context& context, AlertPresenter& alerts, const platform::Clock& clock,
                     platform::UserDefaults& defaults, platform::NotificationHub& notifications)
    : m_context(context)
    , m_alerts(alerts)
    , m_clock(clock)
    , m_defaults(defaults)
    , m_notifications(notifications) {}

bool Workspace::saveDatabase() {
    return saveContext(m_context);
}

bool Workspace::saveContext(objectstore::Context& context) {
    const objectstore::SaveResult result = context.save();
    if (result.succeeded()) {
        return true;
    }
    // The unsaved changes stay in the context; the top level reports the fault and stops before
    // anything else can build on a state the store refused.
    SaveErrorLog::output(result);
    throw platform::InternalError(QString::fromLatin1(kSaveFailedMessage));
}

void Workspace::refreshAllViews() {
    m_notifications.post(QString::fromLatin1(platform::kRefreshAllViews));
}

void Workspace::postCategoriesChanged() {
    m_notifications.post(QString::fromLatin1(platform::kCategoriesChanged));
}

} // namespace vantrel::app
