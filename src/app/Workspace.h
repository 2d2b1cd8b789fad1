#pragma once

#include "app/AlertPresenter.h"

#include <QString>

namespace vantrel::objectstore {
class Context;
}

namespace vantrel::platform {
class Clock;
class NotificationHub;
class UserDefaults;
} // namespace vantrel::platform

namespace vantrel::app {

// What every command of the application works with: the main object context and the services
// around it. Commands and view-models take a Workspace instead of reaching for globals, so a test
// can build one over a memory store, a fixed clock and scripted alerts.
class Workspace {
public:
    Workspace(objectstore::Context& context, AlertPresenter& alerts, const platform::Clock& clock,
              platform::UserDefaults& defaults, platform::NotificationHub& notifications);
    virtual ~Workspace() = default;

    objectstore::Context& context() const { return m_context; }
    AlertPresenter& alerts() const { return m_alerts; }
    const platform::Clock& clock() const { return m_clock; }
    platform::UserDefaults& defaults() const { return m_defaults; }
    platform::NotificationHub& notifications() const { return m_notifications; }

    // Saves the main context. A failed save is logged and shown to the user, and the changes stay
    // in memory (nothing is half-written). Returns whether the save succeeded.
    virtual bool saveDatabase();
    // The save every path of the application shares: saves `context`; a refusal is logged through
    // SaveErrorLog and thrown as the InternalError kSaveFailedMessage, the changes kept in memory.
    static bool saveContext(objectstore::Context& context);
    static constexpr auto kSaveFailedMessage =
        "Error occurred on save. See Console for detailed error report.";
    // "RefreshAllViews".
    void refreshAllViews();
    // "VT Categories Changed".
    void postCategoriesChanged();

private:
    objectstore::Context& m_context;
    AlertPresenter& m_alerts;
    const platform::Clock& m_clock;
    platform::UserDefaults& m_defaults;
    platform::NotificationHub& m_notifications;
};

} // namespace vantrel::app
