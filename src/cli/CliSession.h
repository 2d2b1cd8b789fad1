#pragma once

#include "cli/AnsweringAlertPresenter.h"
#include "cli/CliWorkspace.h"
#include "platform/NotificationHub.h"
#include "platform/Paths.h"
#include "platform/UserDefaults.h"
#include "store/CoreDataController.h"

#include <QString>

#include <optional>

namespace vantrel::platform {
class Clock;
}

namespace vantrel::cli {

// One run's connection to the database: the store controller over the chosen root, the user's
// defaults there, and the workspace the application's commands take. Read-only commands call
// open(); commands that change data end with commit(), which saves once and applies the daily
// backup rule, as the application does after its saves.
class CliSession {
public:
    CliSession(const platform::Paths& paths, const platform::Clock& clock, QString localeId);
    ~CliSession();
    CliSession(const CliSession&) = delete;
    CliSession& operator=(const CliSession&) = delete;

    const platform::Paths& paths() const { return m_paths; }
    const platform::Clock& clock() const { return m_clock; }
    const QString& localeId() const { return m_localeId; }
    store::CoreDataController& controller() { return m_controller; }
    platform::UserDefaults& defaults() { return m_defaults; }
    AnsweringAlertPresenter& alerts() { return m_alerts; }
    // The database file, whether or not it exists.
    QString databaseFilePath() const;

    // Loads the existing database. UserError without a database, for a newer one and while
    // another copy runs.
    void open();
    // Loads (and for a missing file creates and seeds) the database.
    void load();
    bool isOpen() const { return m_workspace.has_value(); }

    // Only after open().
    CliWorkspace& workspace();
    objectstore::Context& context();

    // Saves once and applies the daily backup rule; answers the backup written, if any.
    std::optional<QString> commit();

private:
    platform::Paths m_paths;
    const platform::Clock& m_clock;
    QString m_localeId;
    platform::UserDefaults m_defaults;
    platform::NotificationHub m_notifications;
    AnsweringAlertPresenter m_alerts;
    store::CoreDataController m_controller;
    std::optional<CliWorkspace> m_workspace;
};

} // namespace vantrel::cli
