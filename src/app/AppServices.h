#pragma once

#include "platform/Paths.h"

#include <QString>

namespace vantrel::platform {
class Clock;
class HttpClient;
class NotificationHub;
class UserDefaults;
} // namespace vantrel::platform

namespace vantrel::app {

class AlertPresenter;
class ApplicationShell;

// What the start-up controllers are built from: where the files live, the desktop, and the services
// every command uses. The desktop passes the real ones; tests a temporary root and fakes.
struct AppServices {
    platform::Paths paths;
    ApplicationShell& shell;
    AlertPresenter& alerts;
    const platform::Clock& clock;
    platform::UserDefaults& defaults;
    platform::NotificationHub& notifications;
    platform::HttpClient& http;
    // ICU locale id whose currency becomes the home currency of a new database.
    QString localeId;
};

} // namespace vantrel::app
