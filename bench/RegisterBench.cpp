// The register on the generated database of 100,000 transactions: building the register of the
// largest account with the running balance of every row, and searching all accounts.
#include "DatabaseGenerator.h"
#include "app/AlertPresenter.h"
#include "app/RegisterSearch.h"
#include "app/RegisterViewModel.h"
#include "app/Workspace.h"
#include "model/Account.h"
#include "model/DataModel.h"
#include "platform/Clock.h"
#include "platform/NotificationHub.h"
#include "platform/UserDefaults.h"
#include "platform/objectstore/Context.h"
#include "platform/objectstore/SqliteStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace vantrel;

constexpr std::int64_t kTransactions = 100'000;

QString generatedDatabase() {
    return bench::DatabaseGenerator::cachedDatabase(kTransactions);
}

class NoAlerts : public app::AlertPresenter {
public:
    int present(const app::Alert&) override { return 0; }
};

// A loaded database with the services a register needs.
struct LoadedWorkspace {
    LoadedWorkspace()
        : context(std::shared_ptr<objectstore::SqliteStore>(
              objectstore::SqliteStore::open(generatedDatabase(), model::DataModel::description()))) {}

    objectstore::Context context;
    NoAlerts alerts;
    platform::FixedClock clock{QDateTime(QDate(2026, 12, 31), QTime(12, 0), QTimeZone::utc()),
                               QTimeZone::utc()};
    QTemporaryDir folder;
    platform::UserDefaults defaults{folder.filePath(QStringLiteral("defaults.ini"))};
    platform::NotificationHub hub;
    app::Workspace workspace{context, alerts, clock, defaults, hub};
};

model::Account largestAccount(objectstore::Context& context) {
    std::vector<model::Account> accounts = model::Account::allInAccountOrder(context);
    return *std::max_element(accounts.begin(), accounts.end(),
                             [](const model::Account& a, const model::Account& b) {
                                 return a.transactions().size() < b.transactions().size();
                             });
}

void BM_RegisterOfLargestAccount(benchmark::State& state) {
    LoadedWorkspace loaded;
    const model::Account account = largestAccount(loaded.context);
    // The context builds the account's ordered list once and keeps it current; the register reads it.
    benchmark::DoNotOptimize(account.orderedTransactions().size());
    for (auto _ : state) {
        const app::RegisterViewModel model =
            app::RegisterViewModel::forAccount(loaded.workspace, account, QStringLiteral("en_US"));
        benchmark::DoNotOptimize(model.runningBalance(model.rowCount() - 1));
        benchmark::DoNotOptimize(model.runningBalance(0));
    }
    state.counters["rows"] = static_cast<double>(account.transactions().size());
}
BENCHMARK(BM_RegisterOfLargestAccount)->Unit(benchmark::kMillisecond);

void BM_SearchAllAccounts(benchmark::State& state, const char* text) {
    LoadedWorkspace loaded;
    for (const model::Account& account : model::Account::allInAccountOrder(loaded.context)) {
        benchmark::DoNotOptimize(account.orderedTransactions().size());
    }
    std::size_t found = 0;
    for (auto _ : state) {
        app::RegisterSearch search(loaded.workspace, std::nullopt, QStringLiteral("en_US"));
        search.setText(QString::fromUtf8(text));
        found = search.results().rowCount();
        benchmark::DoNotOptimize(found);
    }
    state.counters["found"] = static_cast<double>(found);
}
// A payee, a category, an amount, a diacritic spelling, and text that spans title and category.
BENCHMARK_CAPTURE(BM_SearchAllAccounts, payee, "coffee")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchAllAccounts, category, "category 3.2")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchAllAccounts, amount, "12.5")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchAllAccounts, diacritic, "café")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchAllAccounts, matchesAll, "0")->Unit(benchmark::kMillisecond);

} // namespace
