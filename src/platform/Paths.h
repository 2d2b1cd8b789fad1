#pragma once

#include <QString>

namespace vantrel::platform {

// Where the application keeps its files. A value captured once from the environment, so one run
// never sees its folders move. Setting VANTREL_HOME puts every folder below that one root, which
// keeps tests, the command line and portable installs away from the user's real data.
class Paths {
public:
    // The inputs the folders are derived from. Empty or relative XDG values count as unset, as the
    // XDG base-directory rules require.
    struct Environment {
        QString vantrelHome;
        QString home;
        QString dataHome;
        QString configHome;
        QString documents;
    };

    static Paths fromEnvironment();
    static Paths fromSnapshot(const Environment& environment);
    static Paths underRoot(const QString& root);

    // Owned by the application alone: removing it never touches anything else.
    QString applicationSupportFolder() const { return m_applicationSupportFolder; }
    // Holds exactly the database files.
    QString databaseFolder() const;
    // The application's own folder among the user's documents: backups and diagnostic dumps.
    QString ownDocumentsFolder() const { return m_ownDocumentsFolder; }
    QString backupsFolder() const { return m_backupsFolder; }
    QString defaultsFolder() const { return m_defaultsFolder; }
    QString defaultsFile() const;
    // Marks a running copy; outside the database folder so it never mixes with the database files.
    QString lockFile() const;

    // Each creates its folder and any missing parents; false when the folder cannot be made.
    [[nodiscard]] bool ensureApplicationSupportFolderExists() const;
    [[nodiscard]] bool ensureDatabaseFolderExists() const;
    [[nodiscard]] bool ensureBackupsFolderExists() const;
    [[nodiscard]] bool ensureDefaultsFolderExists() const;

private:
    Paths(const QString& dataHome, const QString& configHome, const QString& documents);

    static Environment readEnvironment();
    static QString documentsFolder();
    static bool ensureFolderExists(const QString& folder);

    QString m_applicationSupportFolder;
    QString m_ownDocumentsFolder;
    QString m_backupsFolder;
    QString m_defaultsFolder;
};

} // namespace vantrel::platform
