// vantrel-cli as a script sees it: one whole process of `vantrel-cli accounts` (start, open the
// 100,000-transaction database, compute every balance, print, exit) per iteration.
#include "DatabaseGenerator.h"
#include "platform/Paths.h"
#include "store/DatabaseMetadata.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace vantrel;

void BM_CliAccounts(benchmark::State& state) {
    QTemporaryDir home;
    const platform::Paths paths = platform::Paths::underRoot(home.path());
    if (!home.isValid() || !paths.ensureDatabaseFolderExists()) {
        state.SkipWithError("cannot make the temporary home");
        return;
    }
    // A scratch copy under the name the store controller looks for, companions included.
    const QString copy = bench::DatabaseGenerator::scratchCopy(
        bench::DatabaseGenerator::cachedDatabase(state.range(0)), paths.databaseFolder());
    const QString target = paths.databaseFolder() + QStringLiteral("/Database.vantrelsql");
    for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")}) {
        if (QFile::exists(copy + suffix) && !QFile::rename(copy + suffix, target + suffix)) {
            state.SkipWithError("cannot place the database copy");
            return;
        }
    }
    store::DatabaseMetadata metadata;
    metadata.dataCompatibilityVersion = store::DatabaseMetadata::kCurrentDataCompatibilityVersion;
    metadata.persist(paths.databaseFolder());

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VANTREL_HOME"), home.path());
    const auto runOnce = [&] {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(VANTREL_CLI), {QStringLiteral("accounts")});
        process.waitForFinished(-1);
        return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    };
    // The first run may upgrade what the generator wrote; measure the steady state.
    if (!runOnce()) {
        state.SkipWithError("vantrel-cli accounts failed");
        return;
    }
    for (auto _ : state) {
        if (!runOnce()) {
            state.SkipWithError("vantrel-cli accounts failed");
            return;
        }
    }
}
BENCHMARK(BM_CliAccounts)->Arg(100'000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
