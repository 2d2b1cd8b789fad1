#pragma once

#include "app/Workspace.h"

namespace vantrel::app {

class AppController;

// The workspace of the running application: every command's save goes through the application
// controller, so it is followed by the daily backup, the sync pass and the status-line refresh.
class AppWorkspace final : public Workspace {
public:
    AppWorkspace(AppController& controller, objectstore::Context& context, AlertPresenter& alerts,
                 const platform::Clock& clock, platform::UserDefaults& defaults,
                 platform::NotificationHub& notifications);

    bool saveDatabase() override;

private:
    AppController& m_controller;
};

} // namespace vantrel::app
