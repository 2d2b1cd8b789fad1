// Tracking a budget on the generated database of 1,000,000 transactions: both tables (expense and
// income) of a one-month budget over all 40 categories, as the budget view builds them.
#include "DatabaseGenerator.h"
#include "model/Budget.h"
#include "model/DataModel.h"
#include "planning/BudgetEstimate.h"
#include "planning/BudgetTracker.h"
#include "platform/Clock.h"
#include "platform/objectstore/Context.h"
#include "platform/objectstore/SqliteStore.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace vantrel;

constexpr std::int64_t kTransactions = 1'000'000;

void BM_TrackBudget40Categories(benchmark::State& state) {
    objectstore::Context context(std::shared_ptr<objectstore::SqliteStore>(objectstore::SqliteStore::open(
        bench::DatabaseGenerator::cachedDatabase(kTransactions), model::DataModel::description())));
    // The generator's "today": the budget is the current month, its limits estimated once.
    const platform::FixedClock clock(QDateTime(QDate(2026, 12, 31), QTime(12, 0), QTimeZone::utc()),
                                     QTimeZone::utc());
    model::Budget budget = planning::BudgetEstimate::createBudget(
        context, QStringLiteral("December, 2026"), model::Day::dateWithYear_VT(2026, 12, 1), 1, clock);
    // The context builds its date index on first use, once per session; the loop measures the view's
    // every refresh.
    benchmark::DoNotOptimize(planning::BudgetTracker::track(budget, planning::BudgetTracker::Side::Expense));
    std::size_t rows = 0;
    for (auto _ : state) {
        const planning::BudgetTrackResult expense =
            planning::BudgetTracker::track(budget, planning::BudgetTracker::Side::Expense);
        const planning::BudgetTrackResult income =
            planning::BudgetTracker::track(budget, planning::BudgetTracker::Side::Income);
        rows = expense.progress.size() + income.progress.size();
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["limits"] = static_cast<double>(budget.categoryLimits().size());
}
BENCHMARK(BM_TrackBudget40Categories)->Unit(benchmark::kMillisecond);

} // namespace
