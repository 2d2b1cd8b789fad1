// The object store on generated databases of 10,000, 100,000 and 1,000,000 transactions: opening
// and loading, one edit saved, 1,000 inserts saved, the store-side balance sum of one account, and
// the memory a loaded transaction costs.
#include "DatabaseGenerator.h"
#include "model/Account.h"
#include "model/DataModel.h"
#include "model/Transaction.h"
#include "platform/Clock.h"
#include "platform/objectstore/Context.h"
#include "platform/objectstore/SqliteStore.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fstream>
#include <malloc.h>
#include <memory>
#include <unistd.h>

namespace {

using namespace vantrel;

QString databaseWith(std::int64_t transactions) {
    return bench::DatabaseGenerator::cachedDatabase(transactions);
}

std::shared_ptr<objectstore::SqliteStore> openStore(const QString& path) {
    return std::shared_ptr<objectstore::SqliteStore>(
        objectstore::SqliteStore::open(path, model::DataModel::description()));
}

long heapBytes() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<long>(info.uordblks + info.hblkhd);
}

long residentBytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

void BM_OpenAndLoad(benchmark::State& state) {
    const QString path = databaseWith(state.range(0));
    for (auto _ : state) {
        objectstore::Context context(openStore(path));
        benchmark::DoNotOptimize(context.count(u"Transaction"));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_OpenAndLoad)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// Run it on its own (--benchmark_filter=Memory) so the process starts from nothing: memory freed by
// earlier benchmarks stays resident and would hide the cost. Heap bytes come from the allocator and
// do not depend on that.
void BM_MemoryPerTransaction(benchmark::State& state) {
    const QString path = databaseWith(state.range(0));
    double resident = 0;
    double heap = 0;
    for (auto _ : state) {
        const long residentBefore = residentBytes();
        const auto heapBefore = heapBytes();
        auto context = std::make_unique<objectstore::Context>(openStore(path));
        resident =
            static_cast<double>(residentBytes() - residentBefore) / static_cast<double>(state.range(0));
        heap = static_cast<double>(heapBytes() - heapBefore) / static_cast<double>(state.range(0));
        benchmark::DoNotOptimize(context.get());
    }
    state.counters["resident_bytes_per_transaction"] = resident;
    state.counters["heap_bytes_per_transaction"] = heap;
}
BENCHMARK(BM_MemoryPerTransaction)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_EditOnePropertyAndSave(benchmark::State& state) {
    const QTemporaryDir scratch;
    const QString path = bench::DatabaseGenerator::scratchCopy(databaseWith(state.range(0)), scratch.path());
    objectstore::Context context(openStore(path));
    const auto transactions = context.all(u"Transaction");
    std::size_t i = 0;
    for (auto _ : state) {
        model::Transaction transaction(transactions[i++ % transactions.size()]);
        transaction.setNotes(QStringLiteral("edited %1").arg(i));
        benchmark::DoNotOptimize(context.save());
    }
}
BENCHMARK(BM_EditOnePropertyAndSave)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void BM_Insert1000AndSave(benchmark::State& state) {
    const QTemporaryDir scratch;
    const QString path = bench::DatabaseGenerator::scratchCopy(databaseWith(state.range(0)), scratch.path());
    objectstore::Context context(openStore(path));
    const platform::FixedClock clock(QDateTime(QDate(2026, 12, 31), QTime(12, 0), QTimeZone::utc()),
                                     QTimeZone::utc());
    objectstore::ManagedObject* account = context.all(u"Account").front();
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i) {
            model::Transaction transaction = model::Transaction::insertInContext(context, clock);
            transaction.setAccount(account);
            transaction.setAmount(model::Amount::fromCents(-1234));
            transaction.setTitle(QStringLiteral("Bench"));
        }
        benchmark::DoNotOptimize(context.save());
    }
}
BENCHMARK(BM_Insert1000AndSave)->Arg(100'000)->Unit(benchmark::kMillisecond);

void BM_StoreSideSumOfOneAccount(benchmark::State& state) {
    const QString path = databaseWith(state.range(0));
    auto store = openStore(path);
    const auto& model = model::DataModel::description();
    const int transaction = *model.entityIndex(u"Transaction");
    const int amount = *model.entity(transaction).attributeIndex(u"amount");
    const int account = *model.entity(transaction).relationshipIndex(u"account");
    const objectstore::ObjectID firstAccount{*model.entityIndex(u"Account"), 1};
    for (auto _ : state) {
        benchmark::DoNotOptimize(store->sum(
            transaction, amount, {objectstore::SqliteStore::ColumnFilter::toOneIs(account, firstAccount)}));
    }
}
BENCHMARK(BM_StoreSideSumOfOneAccount)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

} // namespace
