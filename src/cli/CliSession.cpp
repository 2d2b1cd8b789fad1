#include "cli/CliSession.h"

#include "cli/UserError.h"
#include "platform/InternalError.h"
#include "platform/objectstore/Context.h"

namespace vantrel::cli {

namespace {

// The defaults file of the root, its folder made first so the settings can be written back.
QString defaultsFileOf(const platform::Paths& paths) {
    static_cast<void>(paths.ensureDefaultsFolderExists());
    return paths.defaultsFile();
}

} // namespace

CliSession::CliSession(const platform::Paths& paths, const platform::Clock& clock, QString localeId)
    : m_paths(paths)
    , m_clock(clock)
    , m_localeId(std::move(localeId))
    , m_defaults(defaultsFileOf(paths))
    , m_controller(m_paths, m_defaults, m_clock) {}

CliSession::~CliSession() {
    m_defaults.sync();
}

QString CliSession::databaseFilePath() const {
    return m_paths.databaseFolder() + u'/' +
           QString::fromLatin1(store::CoreDataController::kDatabaseFileName);
}

void CliSession::open() {
    if (!m_controller.hasLocalContent()) {
        throw UserError(QStringLiteral("No database. Run 'vantrel-cli init' first."));
    }
    load();
}

void CliSession::load() {
    switch (m_controller.loadPersistentStores(m_localeId)) {
    case store::CoreDataController::LoadOutcome::Loaded:
        break;
    case store::CoreDataController::LoadOutcome::NewerDatabase:
        throw UserError(QString::fromLatin1(store::CoreDataController::kNewerDatabaseMessage));
    case store::CoreDataController::LoadOutcome::AnotherCopyRunning:
        throw UserError(QString::fromLatin1(store::CoreDataController::kAnotherCopyMessage));
    }
    m_workspace.emplace(m_controller.managedObjectContext(), m_alerts, m_clock, m_defaults, m_notifications);
}

CliWorkspace& CliSession::workspace() {
    if (!m_workspace) {
        throw platform::InternalError("the command-line session is not open");
    }
    return *m_workspace;
}

objectstore::Context& CliSession::context() {
    return workspace().context();
}

std::optional<QString> CliSession::commit() {
    workspace().saveNow();
    std::optional<QString> backup = m_controller.performBackup();
    m_defaults.sync();
    return backup;
}

} // namespace vantrel::cli
