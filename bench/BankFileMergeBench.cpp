// Merging a large bank file into a large account: 10,000 records (a tenth already imported, some
// confirming pending entries, the rest new) into an account of 20,000 transactions, with the
// store-wide category lookup for every new description.
#include "import/AccountDictionary.h"
#include "import/BankFileMerge.h"
#include "model/Account.h"
#include "model/CategoryVT.h"
#include "model/DataModel.h"
#include "model/ModelValidation.h"
#include "model/Transaction.h"
#include "platform/Clock.h"
#include "platform/objectstore/Context.h"
#include "platform/objectstore/MemoryStore.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

using namespace vantrel;

constexpr int kAccountSize = 20'000;
constexpr int kFileSize = 10'000;
constexpr int kPending = 500;

const platform::FixedClock& clock() {
    static const platform::FixedClock fixed(QDateTime(QDate(2024, 6, 1), QTime(12, 0), QTimeZone::utc()),
                                            QTimeZone::utc());
    return fixed;
}

model::Day dayNumber(int n) {
    return model::Day::dateWithYear_VT(2020, 1, 1).daysLater_VT(n / 20);
}

QString payee(int n) {
    return QStringLiteral("PAYEE %1").arg(n % 700);
}

struct Scenario {
    std::shared_ptr<objectstore::MemoryStore> store =
        std::make_shared<objectstore::MemoryStore>(model::DataModel::description());
    std::unique_ptr<objectstore::Context> context = std::make_unique<objectstore::Context>(store);
    std::optional<model::Account> account;
    import::AccountDictionary file;

    Scenario() {
        model::ModelValidation::install(*context);
        account = model::Account::insertInContext(*context, clock());
        account->setName(QStringLiteral("Checking"));
        account->setType(QStringLiteral("checking"));
        std::vector<objectstore::ManagedObject*> categories;
        for (int i = 0; i < 40; ++i) {
            model::CategoryVT category = model::CategoryVT::insertInContext(*context);
            category.setName(QStringLiteral("Category %1").arg(i));
            categories.push_back(category.object());
        }
        for (int n = 0; n < kAccountSize; ++n) {
            const model::Amount amount = model::Amount::fromCents(-100 - n % 5'000);
            model::Transaction t = account->createTransactionWithDate(
                dayNumber(n), payee(n), amount, categories[static_cast<std::size_t>(n % 40)], QString(),
                std::nullopt, clock());
            if (n < kAccountSize - kPending) {
                t.setOfxAmount(amount);
                t.setOfxTitle(payee(n).toUpper());
                t.setOfxDate(dayNumber(n));
                t.setOfxFitID(QStringLiteral("FIT-%1").arg(n));
                t.setFlagged(false);
            }
        }
        file.format = import::FileFormat::Ofx;
        import::ImportedAccount statement;
        // The file overlaps the account's last thousand records and the pending entries, then goes on.
        for (int k = 0; k < kFileSize; ++k) {
            const int n = kAccountSize - 1'000 + k;
            import::ImportedTransaction record;
            const model::Day day = dayNumber(n);
            record.dtPosted = day.toQDate().toString(QStringLiteral("yyyyMMdd"));
            record.amount = model::Amount::fromCents(-100 - n % 5'000);
            record.name = payee(n).toUpper();
            record.fitID = QStringLiteral("FIT-%1").arg(n);
            statement.transactions.push_back(record);
        }
        file.accounts.push_back(statement);
    }
};

void BM_BankFileMerge(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto scenario = std::make_unique<Scenario>();
        state.ResumeTiming();
        const import::ImportSummary summary =
            import::BankFileMerge(*scenario->account, clock()).importTransactions(scenario->file);
        benchmark::DoNotOptimize(summary);
        state.PauseTiming();
        state.counters["new"] = summary.newCount;
        state.counters["matched"] = summary.matched;
        state.counters["duplicate"] = summary.duplicate;
        scenario.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_BankFileMerge)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
