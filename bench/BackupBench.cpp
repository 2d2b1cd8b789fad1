// The daily backup of the generated 100,000-transaction database: a snapshot of the open store and
// its zip archive, as CoreDataController::backup() makes them after a save.
#include "DatabaseGenerator.h"
#include "platform/Clock.h"
#include "platform/Paths.h"
#include "platform/UserDefaults.h"
#include "store/CoreDataController.h"
#include "store/DatabaseMetadata.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace vantrel;

// Puts a copy of the generated database where an installation under `root` keeps its database.
void installGeneratedDatabase(const platform::Paths& paths, std::int64_t transactions) {
    const QString folder = paths.databaseFolder();
    QDir().mkpath(folder);
    const QString copy =
        bench::DatabaseGenerator::scratchCopy(bench::DatabaseGenerator::cachedDatabase(transactions), folder);
    for (const char* suffix : {"", "-wal", "-shm"}) {
        const QString from = copy + QLatin1String(suffix);
        if (QFile::exists(from)) {
            QFile::rename(from,
                          QDir(folder).filePath(QLatin1String(store::CoreDataController::kDatabaseFileName) +
                                                QLatin1String(suffix)));
        }
    }
    store::DatabaseMetadata metadata;
    metadata.dataCompatibilityVersion = store::DatabaseMetadata::kCurrentDataCompatibilityVersion;
    metadata.persist(folder);
}

void BM_Backup(benchmark::State& state) {
    QTemporaryDir root;
    const platform::Paths paths = platform::Paths::underRoot(root.path());
    installGeneratedDatabase(paths, state.range(0));
    platform::UserDefaults defaults(root.filePath(QStringLiteral("defaults.conf")));
    platform::FixedClock clock(QDateTime::currentDateTimeUtc(), QTimeZone::utc());
    store::CoreDataController controller(paths, defaults, clock);
    if (controller.loadPersistentStores(QStringLiteral("en_US")) !=
        store::CoreDataController::LoadOutcome::Loaded) {
        state.SkipWithError("the generated database did not load");
        return;
    }
    qint64 archiveBytes = 0;
    for (auto _ : state) {
        const auto archive = controller.backup();
        state.PauseTiming();
        if (!archive) {
            state.SkipWithError("backup failed");
            return;
        }
        archiveBytes = QFileInfo(*archive).size();
        QFile::remove(*archive);
        clock.advanceSeconds(1);
        state.ResumeTiming();
    }
    state.counters["archive_MB"] = static_cast<double>(archiveBytes) / 1e6;
    state.counters["database_MB"] = static_cast<double>(QFileInfo(controller.storeURL()).size()) / 1e6;
}
BENCHMARK(BM_Backup)->Arg(100'000)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
