#include "platform/Paths.h"

#include <QDir>
#include <QStandardPaths>

namespace vantrel::platform {

namespace {

// Lower case for the folders the XDG rules share between applications; the database folder keeps
// its historical capitalised name.
constexpr auto kOwnFolderName = "vantrel";
constexpr auto kDatabaseFolderName = "Vantrel";
constexpr auto kOwnDocumentsFolderName = "Vantrel";
constexpr auto kBackupsFolderName = "Backups";
constexpr auto kDefaultsFileName = "vantrel.conf";
constexpr auto kLockFileName = "vantrel.lock";

QString absoluteOr(const QString& candidate, const QString& fallback) {
    return QDir::isAbsolutePath(candidate) ? QDir::cleanPath(candidate) : QDir::cleanPath(fallback);
}

QString joined(const QString& folder, const QString& name) {
    return QDir::cleanPath(folder + QLatin1Char('/') + name);
}

} // namespace

Paths::Paths(const QString& dataHome, const QString& configHome, const QString& documents)
    : m_applicationSupportFolder(joined(dataHome, kOwnFolderName))
    , m_ownDocumentsFolder(joined(documents, kOwnDocumentsFolderName))
    , m_backupsFolder(joined(m_ownDocumentsFolder, kBackupsFolderName))
    , m_defaultsFolder(joined(configHome, kOwnFolderName)) {}

Paths Paths::fromEnvironment() {
    return fromSnapshot(readEnvironment());
}

Paths Paths::fromSnapshot(const Environment& environment) {
    if (!environment.vantrelHome.isEmpty()) {
        return underRoot(environment.vantrelHome);
    }
    return Paths(absoluteOr(environment.dataHome, environment.home + "/.local/share"),
                 absoluteOr(environment.configHome, environment.home + "/.config"),
                 absoluteOr(environment.documents, environment.home + "/Documents"));
}

Paths Paths::underRoot(const QString& root) {
    const QString absoluteRoot = QDir(root).absolutePath();
    return Paths(absoluteRoot + "/data", absoluteRoot + "/config", absoluteRoot + "/Documents");
}

Paths::Environment Paths::readEnvironment() {
    Environment environment;
    environment.vantrelHome = qEnvironmentVariable("VANTREL_HOME");
    environment.home = QDir::homePath();
    environment.dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    environment.configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    environment.documents = documentsFolder();
    return environment;
}

QString Paths::documentsFolder() {
    // An explicit variable wins over user-dirs.dirs, which is what the standard location reads.
    const QString fromVariable = qEnvironmentVariable("XDG_DOCUMENTS_DIR");
    if (QDir::isAbsolutePath(fromVariable)) {
        return fromVariable;
    }
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

QString Paths::databaseFolder() const {
    return joined(m_applicationSupportFolder, kDatabaseFolderName);
}

QString Paths::defaultsFile() const {
    return joined(m_defaultsFolder, kDefaultsFileName);
}

QString Paths::lockFile() const {
    return joined(m_applicationSupportFolder, kLockFileName);
}

bool Paths::ensureApplicationSupportFolderExists() const {
    return ensureFolderExists(m_applicationSupportFolder);
}

bool Paths::ensureDatabaseFolderExists() const {
    return ensureFolderExists(databaseFolder());
}

bool Paths::ensureBackupsFolderExists() const {
    return ensureFolderExists(m_backupsFolder);
}

bool Paths::ensureDefaultsFolderExists() const {
    return ensureFolderExists(m_defaultsFolder);
}

bool Paths::ensureFolderExists(const QString& folder) {
    return QDir().mkpath(folder);
}

} // namespace vantrel::platform
