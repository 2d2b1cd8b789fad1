#include "store/CoreDataController.h"

#include "model/CategoryVT.h"
#include "model/CurrencyList.h"
#include "model/DataModel.h"
#include "model/Global.h"
#include "model/IntegrityCheck.h"
#include "model/ModelValidation.h"
#include "model/StoreDump.h"
#include "platform/Clock.h"
#include "platform/InternalError.h"
#include "platform/Log.h"
#include "platform/UserDefaults.h"
#include "platform/ZipExtractor.h"
#include "platform/ZipWriter.h"
#include "platform/objectstore/Context.h"
#include "platform/objectstore/SqliteStore.h"
#include "platform/objectstore/SqliteStoreError.h"
#include "store/DatabaseMetadata.h"
#include "store/UnconfiguredCloudSync.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QUuid>

#include <algorithm>
#include <filesystem>

namespace vantrel::store {

namespace fs = std::filesystem;
using platform::InternalError;
using platform::Log;

namespace {

// The application's own folder in the data home: the only folder destroyLocalData may remove.
constexpr auto kOwnFolderName = "vantrel";
constexpr auto kBackupTimestampFormat = "yyyy-MM-dd_HH-mm-ss";
constexpr qint64 kSecondsPerDay = 24 * 60 * 60;
constexpr int kLockWaitMilliseconds = 100;
constexpr auto kDumpNameSymbols = "0123456789abcdefghijklmnopqrstuvwxyz";
constexpr int kDumpNameSymbolCount = 36;
constexpr int kDumpNameLength = 3;
// Random names first; a folder so full that they keep colliding is searched in order.
constexpr int kRandomDumpNameAttempts = 64;

const QRegularExpression& backupNamePattern() {
    static const QRegularExpression pattern(
        QStringLiteral("^Vantrel_[0-9]{4}-[0-9]{2}-[0-9]{2}_[0-9]{2}-[0-9]{2}-[0-9]{2}\\.zip$"));
    return pattern;
}

fs::path fsPath(const QString& path) {
    return fs::path(QFile::encodeName(path).toStdString());
}

QString qtPath(const fs::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

// Links are not followed: a link is neither a regular file nor a folder here.
fs::file_type typeWithoutFollowing(const QString& path) {
    std::error_code error;
    return fs::symlink_status(fsPath(path), error).type();
}

bool isRegularFile(const QString& path) {
    return typeWithoutFollowing(path) == fs::file_type::regular;
}

// Dangling links count too: whatever occupies the name.
bool nameIsTaken(const QString& path) {
    const fs::file_type type = typeWithoutFollowing(path);
    return type != fs::file_type::not_found && type != fs::file_type::none;
}

QString describe(const objectstore::SaveResult& result) {
    if (result.error) {
        return result.error->message;
    }
    return result.storeFailure;
}

QString describe(platform::ZipExtractor::Failure failure) {
    using Failure = platform::ZipExtractor::Failure;
    switch (failure) {
    case Failure::None:
        return QStringLiteral("no failure");
    case Failure::CannotOpen:
        return QStringLiteral("not a readable zip archive");
    case Failure::UnsafeEntry:
        return QStringLiteral("unsafe entry");
    case Failure::TooLarge:
        return QStringLiteral("archive too large");
    case Failure::CorruptEntry:
        return QStringLiteral("corrupt entry");
    case Failure::CannotWrite:
        return QStringLiteral("cannot write");
    case Failure::TargetExists:
        return QStringLiteral("file exists");
    }
    return QStringLiteral("unknown failure");
}

bool startsWithSqliteHeader(const QString& path) {
    static const QByteArray header("SQLite format 3\0", 16);
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(header.size()) == header;
}

// Removes a temporary folder on every way out; links inside are removed as links.
class ScopedFolderRemoval {
public:
    explicit ScopedFolderRemoval(QString folder)
        : m_folder(std::move(folder)) {}
    ~ScopedFolderRemoval() {
        std::error_code error;
        fs::remove_all(fsPath(m_folder), error);
    }
    ScopedFolderRemoval(const ScopedFolderRemoval&) = delete;
    ScopedFolderRemoval& operator=(const ScopedFolderRemoval&) = delete;

private:
    QString m_folder;
};

void logBackupFailure(const QString& reason) {
    Log::write(QStringLiteral("WARNING: Failed to create zipped backup."));
    Log::write(reason);
}

// Every regular file directly in `folder`, under its own name, into a zip that appears at `target`
// only once it is complete.
bool zipFolderTo(const QString& folder, const QString& target) {
    const QFileInfo targetInfo(target);
    const QString partial = targetInfo.dir().filePath(
        QStringLiteral(".%1.%2.partial")
            .arg(targetInfo.fileName(), QUuid::createUuid().toString(QUuid::Id128)));
    {
        platform::ZipWriter zip(partial);
        if (!zip.isOpen()) {
            logBackupFailure(zip.errorString());
            return false;
        }
        const QFileInfoList files =
            QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::NoSymLinks, QDir::Name);
        for (const QFileInfo& file : files) {
            if (!zip.addFile(file.fileName(), file.filePath(), file.lastModified())) {
                logBackupFailure(zip.errorString());
                return false;
            }
        }
        if (!zip.close()) {
            logBackupFailure(zip.errorString());
            QFile::remove(partial);
            return false;
        }
    }
    std::error_code error;
    fs::rename(fsPath(partial), fsPath(target), error);
    if (error) {
        logBackupFailure(QString::fromStdString(error.message()));
        QFile::remove(partial);
        return false;
    }
    return true;
}

QString randomDumpName() {
    QString name;
    for (int i = 0; i < kDumpNameLength; ++i) {
        name += QLatin1Char(kDumpNameSymbols[QRandomGenerator::global()->bounded(kDumpNameSymbolCount)]);
    }
    return name + QStringLiteral(".txt");
}

// All names in order, for when random picks keep finding taken ones.
QStringList everyDumpName() {
    QStringList names;
    for (int a = 0; a < kDumpNameSymbolCount; ++a) {
        for (int b = 0; b < kDumpNameSymbolCount; ++b) {
            for (int c = 0; c < kDumpNameSymbolCount; ++c) {
                const char name[] = {kDumpNameSymbols[a], kDumpNameSymbols[b], kDumpNameSymbols[c]};
                names << QString::fromLatin1(name, kDumpNameLength) + QStringLiteral(".txt");
            }
        }
    }
    return names;
}

} // namespace

QStringList CoreDataController::databaseFileNames() {
    return {QString::fromLatin1(kDatabaseFileName), QString::fromLatin1(kSharedMemoryFileName),
            QString::fromLatin1(kWriteAheadLogFileName), QString::fromLatin1(DatabaseMetadata::kFileName)};
}

CoreDataController::CoreDataController(platform::Paths paths, platform::UserDefaults& defaults,
                                       const platform::Clock& clock, std::unique_ptr<CloudSync> sync)
    : m_paths(std::move(paths))
    , m_defaults(defaults)
    , m_clock(clock)
    , m_sync(sync ? std::move(sync) : std::make_unique<UnconfiguredCloudSync>()) {
    m_defaults.remove(QString::fromLatin1(kLastSyncSucceededKey));
}

CoreDataController::~CoreDataController() {
    closeStore();
}

// Paths.

QString CoreDataController::applicationSupportFolderPath() const {
    return m_paths.applicationSupportFolder();
}

QString CoreDataController::databaseFolderPath() const {
    return m_paths.databaseFolder();
}

bool CoreDataController::createDatabaseFolderIfNeeded() const {
    return m_paths.ensureDatabaseFolderExists();
}

QString CoreDataController::storeURL() const {
    createDatabaseFolderIfNeeded();
    return QDir(databaseFolderPath()).filePath(QString::fromLatin1(kDatabaseFileName));
}

bool CoreDataController::hasLocalContent() const {
    return QFileInfo::exists(QDir(databaseFolderPath()).filePath(QString::fromLatin1(kDatabaseFileName)));
}

QString CoreDataController::syncDataFolderPath() const {
    return QDir(applicationSupportFolderPath()).filePath(QString::fromLatin1(kSyncDataFolderName));
}

QString CoreDataController::backupFolderPath() const {
    return m_paths.backupsFolder();
}

QString CoreDataController::dumpFolderPath() const {
    return m_paths.ownDocumentsFolder();
}

// Database files before loading.

void CoreDataController::requireNotLoaded(const char* operation) const {
    if (m_store) {
        throw InternalError(QStringLiteral("%1 is only possible before the store is loaded")
                                .arg(QString::fromLatin1(operation)));
    }
}

bool CoreDataController::deleteDatabase() {
    requireNotLoaded("Deleting the database");
    const QDir folder(databaseFolderPath());
    for (const QString& name : databaseFileNames()) {
        const QString path = folder.filePath(name);
        if (!nameIsTaken(path)) {
            continue;
        }
        QFile file(path);
        if (!file.remove()) {
            Log::write(QStringLiteral("Error deleting file: %1. %2").arg(path, file.errorString()));
            return false;
        }
    }
    return true;
}

bool CoreDataController::importVantrelArchiveFromZip(const QString& zipPath) {
    requireNotLoaded("Importing an archive");
    const QString folder =
        QDir(QDir::tempPath()).filePath(QUuid::createUuid().toString(QUuid::WithoutBraces));
    const ScopedFolderRemoval removal(folder);
    const platform::ZipExtractor::Result extracted = platform::ZipExtractor::extractAll(zipPath, folder);
    if (!extracted.succeeded()) {
        Log::write(QStringLiteral("Couldn't extract %1: %2 %3")
                       .arg(zipPath, describe(extracted.failure), extracted.detail));
        return false;
    }
    const QString database = QDir(folder).filePath(QString::fromLatin1(kDatabaseFileName));
    if (!isRegularFile(database)) {
        Log::write(QStringLiteral("Couldn't find %1").arg(database));
        return false;
    }
    if (!startsWithSqliteHeader(database)) {
        Log::write(QStringLiteral("Not an SQLite database: %1").arg(database));
        return false;
    }
    return verifyAndMoveDatabaseFiles(databaseFileNames(), folder);
}

bool CoreDataController::importVantrelArchive(const QString& base64Text) {
    requireNotLoaded("Importing an archive");
    const QByteArray::FromBase64Result decoded = QByteArray::fromBase64Encoding(
        base64Text.toUtf8(), QByteArray::Base64Encoding | QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.isEmpty()) {
        Log::write(QStringLiteral("The archive text is not valid Base64."));
        return false;
    }
    if (!createDatabaseFolderIfNeeded()) {
        Log::write(QStringLiteral("Cannot create the database folder %1").arg(databaseFolderPath()));
        return false;
    }
    QTemporaryFile zip(QDir(QDir::tempPath()).filePath(QStringLiteral("XXXXXX.zip")));
    if (!zip.open() || zip.write(decoded.decoded) != decoded.decoded.size() || !zip.flush()) {
        Log::write(
            QStringLiteral("Cannot write the archive to %1: %2").arg(zip.fileName(), zip.errorString()));
        return false;
    }
    zip.close();
    return importVantrelArchiveFromZip(zip.fileName());
}

bool CoreDataController::verifyAndMoveDatabaseFiles(const QStringList& names, const QString& fromFolder) {
    requireNotLoaded("Importing database files");
    const QDir target(databaseFolderPath());
    for (const QString& name : names) {
        if (nameIsTaken(target.filePath(name))) {
            Log::write(QStringLiteral("%1 already exists; an import never overwrites a database.")
                           .arg(target.filePath(name)));
            return false;
        }
    }
    if (!createDatabaseFolderIfNeeded()) {
        Log::write(QStringLiteral("Cannot create the database folder %1").arg(databaseFolderPath()));
        return false;
    }
    QStringList copied;
    for (const QString& name : names) {
        const QString source = QDir(fromFolder).filePath(name);
        if (!isRegularFile(source)) {
            Log::write(QStringLiteral("Did not find %1. Skipping.").arg(source));
            continue;
        }
        QFile file(source);
        const QString destination = target.filePath(name);
        if (!file.copy(destination)) {
            Log::write(
                QStringLiteral("Error copying %1 to %2: %3").arg(source, destination, file.errorString()));
            // A half-imported database would open as something it is not.
            for (const QString& done : copied) {
                QFile::remove(done);
            }
            return false;
        }
        copied << destination;
    }
    return true;
}

// Loading.

bool CoreDataController::acquireInstanceLock() {
    if (m_lock) {
        return true;
    }
    if (!m_paths.ensureApplicationSupportFolderExists()) {
        Log::write(QStringLiteral("Cannot create %1").arg(applicationSupportFolderPath()));
        return false;
    }
    auto lock = std::make_unique<QLockFile>(m_paths.lockFile());
    // A running copy's lock never turns stale by age; a dead holder's lock is stale by its pid.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(kLockWaitMilliseconds)) {
        if (lock->error() != QLockFile::LockFailedError) {
            Log::write(QStringLiteral("Cannot take the lock %1 (error %2)")
                           .arg(m_paths.lockFile())
                           .arg(static_cast<int>(lock->error())));
        }
        return false;
    }
    m_lock = std::move(lock);
    return true;
}

CoreDataController::LoadOutcome CoreDataController::loadPersistentStores(const QString& localeId) {
    if (m_afterLoadStatus != kNotLoaded || m_store) {
        throw InternalError("there should only be one persistent store");
    }
    const bool isNew = !hasLocalContent();
    if (isNew) {
        Log::write(QStringLiteral("No local content, initializing new db."));
    }
    if (!checkDataCompatibility()) {
        return LoadOutcome::NewerDatabase;
    }
    if (!acquireInstanceLock()) {
        return LoadOutcome::AnotherCopyRunning;
    }
    addStoreToCoordinator();
    if (isNew) {
        seedBlankDatabase(localeId);
    }
    ensureSingleGlobal();
    m_afterLoadStatus = kLoaded;
    return LoadOutcome::Loaded;
}

bool CoreDataController::checkDataCompatibility() {
    constexpr int current = DatabaseMetadata::kCurrentDataCompatibilityVersion;
    DatabaseMetadata metadata = DatabaseMetadata::defaultMetadata(databaseFolderPath());
    const std::optional<int> stored = metadata.dataCompatibilityVersion;
    if (stored && *stored > current) {
        return false;
    }
    if (stored && *stored == current) {
        return true;
    }
    if (stored) {
        Log::write(QStringLiteral("less than current version, perform data upgrade and update version"));
        m_shouldTurnOnSyncAfterLaunch = *stored == 1 ? removeEnsemblesSyncDataFolder() : true;
    }
    metadata.dataCompatibilityVersion = current;
    metadata.persist(databaseFolderPath());
    return true;
}

void CoreDataController::addStoreToCoordinator() {
    try {
        m_store = objectstore::SqliteStore::open(storeURL(), model::DataModel::description());
        m_context = std::make_unique<objectstore::Context>(m_store);
    } catch (const std::exception& error) {
        closeStore();
        throw InternalError(QStringLiteral("Error occurred while adding persistent store: %1")
                                .arg(QString::fromUtf8(error.what())));
    }
    model::ModelValidation::install(*m_context);
}

void CoreDataController::ensureSingleGlobal() {
    // Creates the one Global when missing; two or more is an internal error.
    model::Global::sharedInstanceInContext(*m_context);
    if (m_context->hasChanges()) {
        lowLevelSave();
    }
}

void CoreDataController::closeStore() {
    m_context.reset();
    m_store.reset();
    m_afterLoadStatus = kNotLoaded;
}

objectstore::Context& CoreDataController::managedObjectContext() const {
    if (!m_context) {
        throw InternalError("The store is not loaded");
    }
    return *m_context;
}

objectstore::SqliteStore& CoreDataController::persistentStore() const {
    if (!m_store) {
        throw InternalError("The store is not loaded");
    }
    return *m_store;
}

std::shared_ptr<objectstore::PersistentStore> CoreDataController::sharedPersistentStore() const {
    if (!m_store) {
        throw InternalError("The store is not loaded");
    }
    return m_store;
}

void CoreDataController::seedBlankDatabase(const QString& localeId) {
    Log::write(QStringLiteral("Seed blank database"));
    objectstore::Context& context = managedObjectContext();
    model::CurrencyList::seedCurrenciesInContext(context, model::CurrencyList::defaultCurrenciesPath(),
                                                 m_defaults);
    setHomeCurrencyBasedOnUserLocale(localeId);
    model::CategoryVT::loadDefaultCategories(context);
    lowLevelSave();
}

void CoreDataController::setHomeCurrencyBasedOnUserLocale(const QString& localeId) {
    model::CurrencyList::chooseHomeCurrency(managedObjectContext(), localeId);
}

void CoreDataController::lowLevelSave() {
    const objectstore::SaveResult result = managedObjectContext().save();
    if (!result.succeeded()) {
        throw InternalError(QStringLiteral("Error occurred on initial save: %1").arg(describe(result)));
    }
}

bool CoreDataController::removeEnsemblesSyncDataFolder() {
    const QString folder = syncDataFolderPath();
    const bool wasOn = QFileInfo(QDir(folder).filePath(QString::fromLatin1(kEnsembleIdentifier))).isDir();
    Log::write(QStringLiteral("iCloud was on: %1").arg(wasOn ? 1 : 0));
    if (nameIsTaken(folder)) {
        Log::write(QStringLiteral("Removing ensembles folder"));
        std::error_code error;
        fs::remove_all(fsPath(folder), error);
        if (error) {
            throw InternalError("error removing ensembles folder");
        }
    }
    return wasOn;
}

// Backups.

bool CoreDataController::backupIsDue() const {
    const QVariant stored = m_defaults.value(QString::fromLatin1(kLastBackupTimeKey));
    const QDateTime last = stored.typeId() == QMetaType::QDateTime ? stored.toDateTime() : QDateTime();
    if (!last.isValid()) {
        return true;
    }
    const QDateTime now = m_clock.now();
    // A time ahead of now means the clock was wrong then or is wrong now; waiting for it to come
    // round again could stop backups for a long time.
    if (last > now) {
        return true;
    }
    return last.secsTo(now) >= kSecondsPerDay;
}

std::optional<QString> CoreDataController::performBackup() {
    if (!backupIsDue()) {
        return std::nullopt;
    }
    return backup();
}

std::optional<QString> CoreDataController::backup() {
    Log::write(QStringLiteral("Backing up"));
    std::optional<QString> archive = createDatabaseBackup();
    // A failed attempt counts too, so a broken backup does not retry on every save.
    m_defaults.setValue(QString::fromLatin1(kLastBackupTimeKey), m_clock.now());
    return archive;
}

void CoreDataController::prepareBackupFolder() const {
    const QString folder = backupFolderPath();
    const QFileInfo info(folder);
    if (info.exists() && !info.isDir()) {
        throw InternalError("Unexpected filed named 'Backup' exists in application support folder.");
    }
    if (!info.exists() && !QDir().mkpath(folder)) {
        throw InternalError(QStringLiteral("Error occurred while creating backup folder. (%1)").arg(folder));
    }
}

std::optional<QString> CoreDataController::createDatabaseBackup() {
    prepareBackupFolder();
    const QString target = QDir(backupFolderPath()).filePath(backupFileNameFor(m_clock.now()));
    if (!archiveDatabaseToPath(target)) {
        return std::nullopt;
    }
    pruneBackups();
    return target;
}

void CoreDataController::pruneBackups() const {
    QStringList candidates;
    std::error_code error;
    for (fs::directory_iterator it(fsPath(backupFolderPath()), error), end; !error && it != end;
         it.increment(error)) {
        // Links are never followed nor removed, whatever their name.
        if (it->symlink_status(error).type() == fs::file_type::regular) {
            candidates << qtPath(it->path());
        }
    }
    const QStringList archives = filteredAndSortedBackupPathsFromPaths(candidates);
    for (qsizetype i = 0; i + kBackupsKept < archives.size(); ++i) {
        QFile file(archives[i]);
        if (!file.remove()) {
            Log::write(QStringLiteral("WARNING: error deleting backup: %1, %2")
                           .arg(archives[i], file.errorString()));
        }
    }
}

bool CoreDataController::archiveDatabaseToPath(const QString& path) {
    if (!QFileInfo::exists(QDir(databaseFolderPath()).filePath(QString::fromLatin1(kDatabaseFileName)))) {
        return false;
    }
    const objectstore::SaveResult saved = managedObjectContext().save();
    if (!saved.succeeded()) {
        Log::write(QStringLiteral("Error saving before archive: %1").arg(describe(saved)));
        return false;
    }
    // The live files are never zipped: a copy taken while SQLite writes them can be torn.
    const QTemporaryDir staging;
    if (!staging.isValid()) {
        logBackupFailure(staging.errorString());
        return false;
    }
    try {
        persistentStore().snapshotTo(staging.filePath(QString::fromLatin1(kDatabaseFileName)));
    } catch (const objectstore::SqliteStoreError& error) {
        logBackupFailure(error.message());
        return false;
    }
    const QString metadata = DatabaseMetadata::defaultPath(databaseFolderPath());
    if (QFileInfo::exists(metadata) &&
        !QFile::copy(metadata, staging.filePath(QString::fromLatin1(DatabaseMetadata::kFileName)))) {
        logBackupFailure(QStringLiteral("Cannot copy %1").arg(metadata));
        return false;
    }
    return zipFolderTo(staging.path(), path);
}

QString CoreDataController::backupFileNameFor(const QDateTime& instant) const {
    const QString stamp =
        instant.toTimeZone(m_clock.timeZone()).toString(QString::fromLatin1(kBackupTimestampFormat));
    return QStringLiteral("Vantrel_%1.zip").arg(stamp);
}

QStringList CoreDataController::filteredAndSortedBackupPathsFromPaths(const QStringList& paths) {
    QStringList archives;
    for (const QString& path : paths) {
        if (backupNamePattern().match(QFileInfo(path).fileName()).hasMatch()) {
            archives << path;
        }
    }
    // The fixed-width timestamp makes name order the age order.
    std::sort(archives.begin(), archives.end(), [](const QString& a, const QString& b) {
        const QString nameA = QFileInfo(a).fileName();
        const QString nameB = QFileInfo(b).fileName();
        return nameA != nameB ? nameA < nameB : a < b;
    });
    return archives;
}

// Dump.

QString CoreDataController::dumpDatabase() {
    if (!managedObjectContext().save().succeeded()) {
        throw InternalError("Error occurred on save. See Console for detailed error report.");
    }
    Log::write(QStringLiteral("validating all objects"));
    if (!model::IntegrityCheck::allManagedObjectsAreValid(managedObjectContext())) {
        throw InternalError("Not all objects are valid.");
    }
    const QDir folder(dumpFolderPath());
    if (!QDir().mkpath(folder.path())) {
        Log::write(QStringLiteral("Error during dump: cannot create %1").arg(folder.path()));
        return {};
    }
    QStringList candidates;
    for (int i = 0; i < kRandomDumpNameAttempts; ++i) {
        candidates << randomDumpName();
    }
    candidates << everyDumpName();
    for (const QString& name : candidates) {
        const QString path = folder.filePath(name);
        if (nameIsTaken(path)) {
            continue;
        }
        if (dumpDataBaseAt(path)) {
            return path;
        }
        // Taken between the check and the write: try the next name; anything else is final.
        if (!nameIsTaken(path)) {
            return {};
        }
    }
    Log::write(QStringLiteral("Error during dump: no free file name in %1").arg(folder.path()));
    return {};
}

bool CoreDataController::dumpDataBaseAt(const QString& path) {
    objectstore::Context& context = managedObjectContext();
    QString output;
    for (const auto& entity : context.model().entities()) {
        model::StoreDump::dump(context, entity.name(), output);
    }
    Log::write(path);
    QFile file(path);
    const QByteArray bytes = output.toUtf8();
    // Never replaces an existing file.
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly) || file.write(bytes) != bytes.size() ||
        !file.flush()) {
        Log::write(QStringLiteral("Error during dump: %1").arg(file.errorString()));
        return false;
    }
    return true;
}

// Removal.

void CoreDataController::destroyLocalData() {
    closeStore();
    m_lock.reset();
    const QString folder = applicationSupportFolderPath();
    const fs::file_type type = typeWithoutFollowing(folder);
    if (type == fs::file_type::not_found) {
        return;
    }
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    const bool isOwnFolder =
        type == fs::file_type::directory && QFileInfo(folder).fileName() == QLatin1String(kOwnFolderName) &&
        canonical != QDir::rootPath() && canonical != QFileInfo(QDir::homePath()).canonicalFilePath();
    if (!isOwnFolder) {
        Log::write(
            QStringLiteral("error during destory: %1 is not the application's own folder").arg(folder));
        return;
    }
    std::error_code error;
    fs::remove_all(fsPath(folder), error);
    if (error) {
        Log::write(QStringLiteral("error during destory: %1").arg(QString::fromStdString(error.message())));
    }
}

} // namespace vantrel::store
