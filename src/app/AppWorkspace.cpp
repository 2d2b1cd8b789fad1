#include "app/AppWorkspace.h"

#include "app/AppController.h"

namespace vantrel::app {

AppWorkspace::AppWorkspace(AppController& controller, objectstore::Context& context, AlertPresenter& alerts,
                           const platform::Clock& clock, platform::UserDefaults& defaults,
                           platform::NotificationHub& notifications)
    : Workspace(context, alerts, clock, defaults, notifications)
    , m_controller(controller) {}

bool AppWorkspace::saveDatabase() {
    // A refused save throws; reaching the end means the store holds every change.
    m_controller.save();
    return true;
}

} // namespace vantrel::app
