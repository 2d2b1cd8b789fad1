// Account money on the generated database of 100,000 transactions: every balance the sidebar shows
// (each account's balance, balance in the home currency and cleared balance, and the overall
// balance) after an edit and on a freshly loaded database, and the register order of the largest
// account.
#include "DatabaseGenerator.h"
#include "model/Account.h"
#include "model/DataModel.h"
#include "platform/objectstore/Context.h"
#include "platform/objectstore/SqliteStore.h"

#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>

namespace {

using namespace vantrel;

// The same file StoreBench generates, so the two suites share one generation.
QString databaseWith(std::int64_t transactions) {
    const QString folder =
        QDir::temp().filePath(QStringLiteral("vantrel-bench-v%1").arg(model::DataModel::kVersion));
    QDir().mkpath(folder);
    const QString path = QStringLiteral("%1/transactions-%2.vantrelsql").arg(folder).arg(transactions);
    if (!QFile::exists(path + QStringLiteral(".done"))) {
        for (const char* suffix : {"", "-wal", "-shm"}) {
            QFile::remove(path + QString::fromLatin1(suffix));
        }
        bench::DatabaseGenerator::generate(path, transactions);
        QFile done(path + QStringLiteral(".done"));
        done.open(QIODevice::WriteOnly);
    }
    return path;
}

std::unique_ptr<objectstore::Context> loadedContext(std::int64_t transactions) {
    auto store = std::shared_ptr<objectstore::SqliteStore>(
        objectstore::SqliteStore::open(databaseWith(transactions), model::DataModel::description()));
    return std::make_unique<objectstore::Context>(store);
}

// Every balance the sidebar shows.
void sidebarBalances(objectstore::Context& context, const std::vector<model::Account>& accounts) {
    for (const model::Account& account : accounts) {
        benchmark::DoNotOptimize(account.balance());
        benchmark::DoNotOptimize(account.balanceInHomeCurrency());
        benchmark::DoNotOptimize(account.reconciledBalance());
    }
    benchmark::DoNotOptimize(model::Account::overallBalanceInContext(context));
}

const model::Account& largestOf(const std::vector<model::Account>& accounts) {
    return *std::max_element(accounts.begin(), accounts.end(),
                             [](const model::Account& a, const model::Account& b) {
                                 return a.transactions().size() < b.transactions().size();
                             });
}

// The refresh after an edit in a running app: one transaction of the largest account changes its
// amount (untimed), then every balance is shown again.
void BM_SidebarBalances(benchmark::State& state) {
    const auto context = loadedContext(state.range(0));
    const std::vector<model::Account> accounts = model::Account::allInAccountOrder(*context);
    model::Transaction edited(largestOf(accounts).transactions().front());
    sidebarBalances(*context, accounts); // the app has shown the sidebar once already
    std::int64_t step = 0;
    for (auto _ : state) {
        state.PauseTiming();
        edited.setAmount(model::Amount::fromCents(-1 - (++step % 10'000)));
        state.ResumeTiming();
        sidebarBalances(*context, accounts);
    }
    state.counters["accounts"] = static_cast<double>(accounts.size());
}
BENCHMARK(BM_SidebarBalances)->Arg(100'000)->Unit(benchmark::kMicrosecond);

// The first sidebar after opening the database (loading untimed).
void BM_SidebarBalancesCold(benchmark::State& state) {
    std::unique_ptr<objectstore::Context> context;
    std::vector<model::Account> accounts;
    for (auto _ : state) {
        state.PauseTiming();
        accounts.clear();
        context.reset();
        context = loadedContext(state.range(0));
        accounts = model::Account::allInAccountOrder(*context);
        state.ResumeTiming();
        sidebarBalances(*context, accounts);
    }
    state.counters["accounts"] = static_cast<double>(accounts.size());
}
// Each iteration loads the whole database, so a few are enough.
BENCHMARK(BM_SidebarBalancesCold)->Arg(100'000)->Iterations(5)->Unit(benchmark::kMillisecond);

// The first call sorts; every later one is the cached list the context keeps current.
void BM_OrderedTransactionsAfterAnEdit(benchmark::State& state) {
    const auto context = loadedContext(state.range(0));
    const std::vector<model::Account> accounts = model::Account::allInAccountOrder(*context);
    const model::Account* largest = &accounts.front();
    for (const model::Account& account : accounts) {
        if (account.transactions().size() > largest->transactions().size()) {
            largest = &account;
        }
    }
    model::Transaction edited(largest->orderedTransactions().back());
    std::int64_t step = 0;
    for (auto _ : state) {
        edited.setDate(model::Day::dateWithYear_VT(2000, 1, 1).daysLater_VT(static_cast<int>(++step % 7000)));
        benchmark::DoNotOptimize(largest->orderedTransactions().front());
    }
}
BENCHMARK(BM_OrderedTransactionsAfterAnEdit)->Arg(100'000)->Unit(benchmark::kMicrosecond);

} // namespace
