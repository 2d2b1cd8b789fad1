// Account money on the generated database of 100,000 transactions: every balance the sidebar shows
// (each account's balance, balance in the home currency and cleared balance, and the overall
// balance), and the register order of the largest account.
#include "DatabaseGenerator.h"
#include "model/Account.h"
#include "model/DataModel.h"
#include "platform/objectstore/Context.h"
#include "platform/objectstore/SqliteStore.h"

#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>

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

void BM_SidebarBalances(benchmark::State& state) {
    const auto context = loadedContext(state.range(0));
    const std::vector<model::Account> accounts = model::Account::allInAccountOrder(*context);
    for (auto _ : state) {
        for (const model::Account& account : accounts) {
            benchmark::DoNotOptimize(account.balance());
            benchmark::DoNotOptimize(account.balanceInHomeCurrency());
            benchmark::DoNotOptimize(account.reconciledBalance());
        }
        benchmark::DoNotOptimize(model::Account::overallBalanceInContext(*context));
    }
    state.counters["accounts"] = static_cast<double>(accounts.size());
}
BENCHMARK(BM_SidebarBalances)->Arg(100'000)->Unit(benchmark::kMillisecond);

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
