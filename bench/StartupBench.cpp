// The desktop application's start-up as a user meets it: from starting the process on the generated
// database to the register's first paint with rows in it (the application reports that moment on
// stdout when started with --report-first-paint, then leaves). Offscreen platform, so no display is
// needed; the painting still happens into the window's backing store.
#include "BenchHome.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace vantrel;

// Milliseconds from starting the process to its first-paint line; negative when it never came.
double startToFirstPaint(const QString& home) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VANTREL_HOME"), home);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess process;
    process.setProcessEnvironment(environment);
    QElapsedTimer clock;
    clock.start();
    process.start(QStringLiteral(VANTREL_APP), {QStringLiteral("--report-first-paint")});
    while (process.waitForReadyRead(30'000)) {
        if (process.readAllStandardOutput().contains("first-register-paint")) {
            const double elapsed = static_cast<double>(clock.nsecsElapsed()) / 1e6;
            process.waitForFinished(30'000);
            return elapsed;
        }
    }
    process.kill();
    process.waitForFinished();
    return -1;
}

void BM_AppStartToFirstRegisterPaint(benchmark::State& state) {
    QTemporaryDir work;
    const QString home = work.filePath(QStringLiteral("home"));
    // The day's backup is written by the first start; later starts find it, as a user's do.
    if (!work.isValid() || !bench::placeDatabase(home, state.range(0)) || startToFirstPaint(home) < 0) {
        state.SkipWithError("the application did not start on the generated database");
        return;
    }
    for (auto _ : state) {
        const double milliseconds = startToFirstPaint(home);
        if (milliseconds < 0) {
            state.SkipWithError("the application did not paint its register");
            return;
        }
        state.SetIterationTime(milliseconds / 1000.0);
    }
}
BENCHMARK(BM_AppStartToFirstRegisterPaint)
    ->Arg(100'000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

} // namespace
