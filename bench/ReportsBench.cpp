// The reports on the generated database of 1,000,000 transactions over 20 years: one month's
// breakdown folded into groups as the breakdown view shows it first, and the balance, income and
// expense trends computed together over the whole history.
#include "DatabaseGenerator.h"
#include "model/DataModel.h"
#include "platform/Clock.h"
#include "platform/objectstore/Context.h"
#include "platform/objectstore/SqliteStore.h"
#include "reports/Breakdown.h"
#include "reports/Trends.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace vantrel;

constexpr std::int64_t kTransactions = 1'000'000;

struct LoadedDatabase {
    LoadedDatabase()
        : context(std::shared_ptr<objectstore::SqliteStore>(objectstore::SqliteStore::open(
              bench::DatabaseGenerator::cachedDatabase(kTransactions), model::DataModel::description()))) {}

    objectstore::Context context;
    // The generated history ends on this day.
    platform::FixedClock clock{QDateTime(QDate(2026, 12, 31), QTime(12, 0), QTimeZone::utc()),
                               QTimeZone::utc()};
};

void warmUp(objectstore::Context& context) {
    const model::Day day = model::Day::dateWithYear_VT(2026, 1, 1);
    benchmark::DoNotOptimize(reports::CategoryBreakdown::categorySums(context, day, day));
}

void BM_MonthBreakdown(benchmark::State& state) {
    LoadedDatabase loaded;
    const model::Day first = model::Day::dateWithYear_VT(2026, 6, 1);
    const model::Day last = first.endOfMonth_vt();
    std::size_t slices = 0;
    // The context builds its date index on first use and keeps it current from then on; the
    // application pays that once per session, so it is left out of the timing.
    warmUp(loaded.context);
    for (auto _ : state) {
        const reports::Breakdown breakdown =
            reports::CategoryBreakdown::breakdown(loaded.context, first, last, nullptr);
        slices = breakdown.expense.size() + breakdown.income.size();
        benchmark::DoNotOptimize(slices);
    }
    state.counters["slices"] = static_cast<double>(slices);
}
BENCHMARK(BM_MonthBreakdown)->Unit(benchmark::kMillisecond);

void BM_TrendsBalanceIncomeExpense(benchmark::State& state) {
    LoadedDatabase loaded;
    const QStringList identifiers = {QString::fromLatin1(reports::Trends::kBalance),
                                     QString::fromLatin1(reports::Trends::kIncome),
                                     QString::fromLatin1(reports::Trends::kExpense)};
    std::size_t points = 0;
    warmUp(loaded.context);
    for (auto _ : state) {
        const auto series = reports::Trends::series(loaded.context, loaded.clock, identifiers);
        points = series.at(identifiers.front()).size();
        benchmark::DoNotOptimize(points);
    }
    state.counters["months"] = static_cast<double>(points);
}
BENCHMARK(BM_TrendsBalanceIncomeExpense)->Unit(benchmark::kMillisecond);

} // namespace
