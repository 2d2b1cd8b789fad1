// The all-accounts projection over 36 months with 50 scheduled items of every kind, on the generated
// database of 1,000,000 transactions (the start balance is the database's overall balance).
#include "DatabaseGenerator.h"
#include "model/Account.h"
#include "model/DataModel.h"
#include "model/ScheduledItem.h"
#include "planning/Projection.h"
#include "platform/objectstore/Context.h"
#include "platform/objectstore/SqliteStore.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

using namespace vantrel;

constexpr std::int64_t kTransactions = 1'000'000;
constexpr int kItems = 50;

const model::Day kToday = model::Day::dateWithYear_VT(2026, 12, 31);

model::ScheduledItem addItem(objectstore::Context& context, const model::Account& account, int number) {
    model::ScheduledItem item = model::ScheduledItem::insertInContext(context);
    item.setTitle(QStringLiteral("Item %1").arg(number));
    item.setAccount(account.object());
    item.setAmount(model::Amount::fromCents(-1000 - 137 * number));
    item.setNextDueDate(kToday.advanceDays_VT(number % 28));
    return item;
}

void makeRepeat(model::ScheduledItem& item, const char* type, std::int64_t interval,
                std::optional<std::vector<model::RepeatRule>> rules = std::nullopt) {
    item.setRepeatType(QLatin1String(type));
    item.setRepeatInterval(interval);
    item.setRepeatRules(rules);
    item.adjustNextDueDate();
}

// A mix like a busy household's: weekly, monthly, every two weeks on two weekdays, monthly on the
// 1st and last day, every three months, a few transfers and items in the euro account.
void addFiftyItems(objectstore::Context& context) {
    const std::vector<model::Account> accounts = model::Account::allInAccountOrder(context);
    const model::Account* euros = nullptr;
    for (const model::Account& account : accounts) {
        if (account.currencyCode() == QLatin1String("EUR")) {
            euros = &account;
        }
    }
    for (int number = 0; number < kItems; ++number) {
        const model::Account& account = number == 7 && euros ? *euros : accounts[number % accounts.size()];
        model::ScheduledItem item = addItem(context, account, number);
        switch (number % 6) {
        case 0:
            makeRepeat(item, model::ScheduledItem::kWeekRepeat, 1);
            break;
        case 1:
            makeRepeat(item, model::ScheduledItem::kMonthRepeat, 1);
            break;
        case 2:
            makeRepeat(item, model::ScheduledItem::kWeekRepeat, 2,
                       std::vector<model::RepeatRule>{model::DIWeek(2), model::DIWeek(6)});
            break;
        case 3:
            makeRepeat(
                item, model::ScheduledItem::kMonthRepeat, 1,
                std::vector<model::RepeatRule>{model::DIMonth(1), model::DIMonth(model::DIMonth::kLastDay)});
            break;
        case 4:
            makeRepeat(item, model::ScheduledItem::kMonthRepeat, 3);
            break;
        default:
            makeRepeat(item, model::ScheduledItem::kMonthRepeat, 1);
            item.setToAccount(accounts[(number + 1) % accounts.size()].object());
            break;
        }
    }
}

void BM_ProjectionAllAccounts50Items36Months(benchmark::State& state) {
    objectstore::Context context(std::shared_ptr<objectstore::SqliteStore>(objectstore::SqliteStore::open(
        bench::DatabaseGenerator::cachedDatabase(kTransactions), model::DataModel::description())));
    addFiftyItems(context);
    const model::Day end = kToday.advanceMonths_VT(36);
    const model::Amount start = model::Account::overallBalanceInContext(context);
    std::size_t rows = 0;
    for (auto _ : state) {
        const auto projection = planning::Projection::allAccounts(context, end, start);
        rows = projection.size();
        benchmark::DoNotOptimize(projection.back().runningBalance);
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_ProjectionAllAccounts50Items36Months)->Unit(benchmark::kMillisecond);

} // namespace
