#pragma once

#include "platform/Paths.h"
#include "store/CloudSync.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QLockFile;

namespace vantrel::objectstore {
class Context;
class PersistentStore;
class SqliteStore;
} // namespace vantrel::objectstore

namespace vantrel::platform {
class Clock;
class UserDefaults;
} // namespace vantrel::platform

namespace vantrel::store {

// Owns everything that lies on disk: the database folder with its four files, the metadata and the
// data-compatibility check, the lock against a second running copy, the opening and first seeding
// of the store, the daily zip backups, archive import and the diagnostic dump. It also owns the
// main context every other piece reads and writes through, and the cloud-sync interface.
//
// Creating one opens no file; loadPersistentStores() does. Everything runs on the main thread.
class CoreDataController {
public:
    // Load status.
    static constexpr int kLoaded = 0;
    static constexpr int kNotLoaded = 2;

    static constexpr auto kDatabaseFileName = "Database.vantrelsql";
    static constexpr auto kSharedMemoryFileName = "Database.vantrelsql-shm";
    static constexpr auto kWriteAheadLogFileName = "Database.vantrelsql-wal";
    // The four database files, always handled together and in this order.
    static QStringList databaseFileNames();

    static constexpr auto kLastBackupTimeKey = "VTLastBackupTime";
    static constexpr auto kLastSyncSucceededKey = "VTLastSyncSucceeded";
    static constexpr int kBackupsKept = 20;
    // The cloud-sync engine keeps its local data below the application-support folder, the
    // database's own under this name.
    static constexpr auto kSyncDataFolderName = "SyncData";
    static constexpr auto kEnsembleIdentifier = "MainStore";

    // Why loading stopped short. The caller shows the alert (the texts below) and ends the process.
    enum class LoadOutcome { Loaded, NewerDatabase, AnotherCopyRunning };
    static constexpr auto kNewerDatabaseMessage = "Cannot open database with this version of Vantrel.";
    static constexpr auto kNewerDatabaseInformative =
        "Please update to the latest version of Vantrel via the Vantrel web site and try again.";
    static constexpr auto kNewerDatabaseButton = "Quit Vantrel";
    static constexpr auto kAnotherCopyMessage = "Another copy of Vantrel is already running.";
    static constexpr auto kAnotherCopyInformative =
        "This copy will now quit. To protect your data, two copies of Vantrel cannot run at the same "
        "time. Please quit the other copy of Vantrel first.";

    // `sync` defaults to UnconfiguredCloudSync.
    CoreDataController(platform::Paths paths, platform::UserDefaults& defaults, const platform::Clock& clock,
                       std::unique_ptr<CloudSync> sync = {});
    ~CoreDataController();
    CoreDataController(const CoreDataController&) = delete;
    CoreDataController& operator=(const CoreDataController&) = delete;

    // Paths.
    const platform::Paths& paths() const { return m_paths; }
    QString applicationSupportFolderPath() const;
    QString databaseFolderPath() const;
    bool createDatabaseFolderIfNeeded() const;
    // Creates the folder, then answers the database file's path.
    QString storeURL() const;
    // Exactly when the database file exists; the other three files do not count.
    bool hasLocalContent() const;
    QString syncDataFolderPath() const;
    QString backupFolderPath() const;
    // Where the dump goes (there is no cloud container on this platform).
    QString dumpFolderPath() const;

    // Removes each of the four database files that exists; stops at the first failure, logging
    // "Error deleting file: %@. %@", and answers false. Only before the store is loaded.
    bool deleteDatabase();
    // Imports a database archive into an empty database folder; never overwrites. Only before the
    // store is loaded.
    bool importVantrelArchiveFromZip(const QString& zipPath);
    // The same from standard Base64 text of a zip archive.
    bool importVantrelArchive(const QString& base64Text);
    bool verifyAndMoveDatabaseFiles(const QStringList& names, const QString& fromFolder);

    // Normal loading: the data-compatibility check, the single-copy lock, opening the store and,
    // for a missing file, seeding with the currency of `localeId` (an ICU locale id). Postcondition
    // on Loaded: exactly one Global exists.
    LoadOutcome loadPersistentStores(const QString& localeId);
    int afterLoadStatus() const { return m_afterLoadStatus; }
    bool isLoaded() const { return m_afterLoadStatus == kLoaded; }
    // Set when an older database was upgraded and sync should come back on after launch.
    bool shouldTurnOnSyncForVantrel3AfterLaunch() const { return m_shouldTurnOnSyncAfterLaunch; }

    // The main context; an InternalError before the store is loaded.
    objectstore::Context& managedObjectContext() const;
    objectstore::SqliteStore& persistentStore() const;
    // The same store, shared: a background import opens a context of its own on it.
    std::shared_ptr<objectstore::PersistentStore> sharedPersistentStore() const;
    CloudSync& cloudSync() const { return *m_sync; }

    void seedBlankDatabase(const QString& localeId);
    void setHomeCurrencyBasedOnUserLocale(const QString& localeId);
    // Saves the context; InternalError "Error occurred on initial save: %@" on failure.
    void lowLevelSave();
    // Discards the sync engine's local data; answers whether sync had been on.
    bool removeEnsemblesSyncDataFolder();

    // The daily rule: backup() when none was made yet or a whole day has passed since the last.
    // Answers the archive written, if any.
    std::optional<QString> performBackup();
    // Unconditional; records the time under kLastBackupTimeKey even when it fails.
    std::optional<QString> backup();
    std::optional<QString> createDatabaseBackup();
    // A consistent snapshot of the database, zipped under the database files' names.
    bool archiveDatabaseToPath(const QString& path);
    // "Vantrel_yyyy-MM-dd_HH-mm-ss.zip" for the given instant in the clock's time zone.
    QString backupFileNameFor(const QDateTime& instant) const;
    // The paths whose file name is a whole backup archive name, ascending by that name (oldest
    // first).
    static QStringList filteredAndSortedBackupPathsFromPaths(const QStringList& paths);

    // Saves, checks every object, and writes the text dump to a new file in dumpFolderPath(); answers
    // the path. InternalError "Not all objects are valid." when an object fails validation.
    QString dumpDatabase();
    // Writes the dump to a new file at `path`; false (logged) when it exists or cannot be written.
    bool dumpDataBaseAt(const QString& path);

    // Closes the store and removes the application's own folder (database, sync data, lock) and
    // nothing else; an error is logged as "error during destory: %@".
    void destroyLocalData();

    // Takes the lock against a second running copy without loading (for work on the files before
    // loading, such as restoring an archive). loadPersistentStores() takes it too.
    bool acquireInstanceLock();

private:
    void requireNotLoaded(const char* operation) const;
    // False for a database written by a newer release; upgrades and stamps older ones.
    bool checkDataCompatibility();
    void addStoreToCoordinator();
    void ensureSingleGlobal();
    void closeStore();
    bool backupIsDue() const;
    void prepareBackupFolder() const;
    // Keeps the kBackupsKept newest archives directly in the backups folder.
    void pruneBackups() const;

    platform::Paths m_paths;
    platform::UserDefaults& m_defaults;
    const platform::Clock& m_clock;
    std::unique_ptr<CloudSync> m_sync;
    std::unique_ptr<QLockFile> m_lock;
    std::shared_ptr<objectstore::SqliteStore> m_store;
    std::unique_ptr<objectstore::Context> m_context;
    int m_afterLoadStatus = kNotLoaded;
    bool m_shouldTurnOnSyncAfterLaunch = false;
};

} // namespace vantrel::store
