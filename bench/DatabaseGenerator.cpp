#include "DatabaseGenerator.h"

#include "model/Account.h"
#include "model/CategoryVT.h"
#include "model/Currency.h"
#include "model/DataModel.h"
#include "model/Global.h"
#include "model/ModelValidation.h"
#include "model/Split.h"
#include "model/SplitSet.h"
#include "model/Transaction.h"
#include "platform/Clock.h"
#include "platform/InternalError.h"
#include "platform/objectstore/Context.h"
#include "platform/objectstore/SqliteStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <random>
#include <vector>

namespace vantrel::bench {

namespace {

using model::Amount;
using model::Day;
using objectstore::Context;
using objectstore::ManagedObject;

const char* const kPayees[] = {"Grocer", "Fuel Station", "Coffee House",   "Pharmacy",      "Book Shop",
                               "Bakery", "Electric Co",  "Water Works",    "Phone Company", "Gym",
                               "Cinema", "Restaurant",   "Hardware Store", "Pet Shop",      "Airline",
                               "Hotel",  "Taxi",         "Train",          "Insurer",       "Employer"};

struct Fixture {
    std::vector<ManagedObject*> accounts;
    std::vector<ManagedObject*> categories;
    ManagedObject* transferCategory = nullptr;
};

Fixture seedStaticData(Context& context, const platform::Clock& clock) {
    model::Global::sharedInstanceInContext(context).setHomeCurrencyCode(QStringLiteral("USD"));
    for (const auto& [code, rate] : {std::pair{"USD", "1"}, std::pair{"EUR", "0.9123456789"}}) {
        model::Currency currency = model::Currency::insertInContext(context);
        currency.setCode(QString::fromLatin1(code));
        currency.setName(QString::fromLatin1(code));
        currency.setRate(Amount::fromAscii(rate));
    }
    Fixture fixture;
    const char* const types[] = {"checking", "savings", "credit_card", "cash", "other", "checking"};
    for (int i = 0; i < 6; ++i) {
        model::Account account = model::Account::insertInContext(context, clock);
        account.setType(QString::fromLatin1(types[i]));
        account.setName(QStringLiteral("Account %1").arg(i + 1));
        account.setStartBalance(Amount::fromCents(100000));
        if (i == 5) {
            account.setCurrencyCode(QStringLiteral("EUR"));
        }
        fixture.accounts.push_back(account.object());
    }
    for (int g = 0; g < 8; ++g) {
        ManagedObject* group = context.insert(u"CategoryGroup");
        group->setValue(u"name", objectstore::Value(QStringLiteral("Group %1").arg(g + 1)));
        for (int c = 0; c < 5; ++c) {
            model::CategoryVT category = model::CategoryVT::insertInContext(context);
            category.setName(QStringLiteral("Category %1.%2").arg(g + 1).arg(c + 1));
            category.setGroup(group);
            fixture.categories.push_back(category.object());
        }
    }
    model::CategoryVT transfer = model::CategoryVT::insertInContext(context);
    transfer.setName(QStringLiteral("Transfer"));
    fixture.transferCategory = transfer.object();
    return fixture;
}

} // namespace

DatabaseGenerator::Summary DatabaseGenerator::generate(const QString& path, std::int64_t transactionCount,
                                                       std::uint64_t seed) {
    const platform::FixedClock clock(QDateTime(QDate(2026, 12, 31), QTime(12, 0), QTimeZone::utc()),
                                     QTimeZone::utc());
    Context context(std::shared_ptr<objectstore::PersistentStore>(
        objectstore::SqliteStore::open(path, model::DataModel::description())));
    context.undoManager().disable();
    model::ModelValidation::install(context);
    const Fixture fixture = seedStaticData(context, clock);

    std::mt19937_64 random(seed);
    const Day first = Day::dateWithYear_VT(2007, 1, 1);
    const int span = Day::dateWithYear_VT(2026, 12, 31).numberOfDaysAfter_VT(first);
    std::uniform_int_distribution<int> dayOffset(0, span);
    std::uniform_int_distribution<std::int64_t> cents(100, 50000);
    std::uniform_int_distribution<std::size_t> payee(0, std::size(kPayees) - 1);
    std::uniform_int_distribution<std::size_t> category(0, fixture.categories.size() - 1);
    std::discrete_distribution<std::size_t> account({40, 10, 25, 10, 5, 10});
    std::uniform_int_distribution<int> percent(0, 99);
    std::uniform_int_distribution<int> lines(2, 4);

    Summary summary;
    const auto newTransaction = [&](ManagedObject* owner, const Day& day, const Amount& amount) {
        model::Transaction transaction = model::Transaction::insertInContext(context, clock);
        transaction.setAccount(owner);
        transaction.setDate(day);
        transaction.setAmount(amount);
        transaction.setFlagged(false);
        ++summary.transactions;
        return transaction;
    };
    while (summary.transactions < transactionCount) {
        const Day day = first.advanceDays_VT(dayOffset(random));
        const int kind = percent(random);
        ManagedObject* owner = fixture.accounts[account(random)];
        if (kind < 3 && summary.transactions + 2 <= transactionCount) {
            ManagedObject* other = fixture.accounts[(account(random) + 1) % fixture.accounts.size()];
            const Amount amount = Amount::fromCents(cents(random));
            model::Transaction out = newTransaction(owner, day, -amount);
            out.setTitle(QStringLiteral("Transfer"));
            out.setCategory(fixture.transferCategory);
            model::Transaction in = newTransaction(other, day, amount);
            in.setTitle(QStringLiteral("Transfer"));
            in.setCategory(fixture.transferCategory);
            ++summary.transfers;
            continue;
        }
        const bool income = kind >= 95;
        const Amount amount = Amount::fromCents(income ? cents(random) * 10 : -cents(random));
        model::Transaction transaction = newTransaction(owner, day, amount);
        transaction.setTitle(QString::fromLatin1(income ? "Employer" : kPayees[payee(random)]));
        if (kind >= 3 && kind < 13) {
            // Split into 2 to 4 lines that add up to the amount.
            model::SplitSet set = model::SplitSet::insertInContext(context);
            transaction.replaceSplitSet(set.object());
            const int count = lines(random);
            Amount rest = amount;
            for (int i = 0; i < count; ++i) {
                const Amount part = i + 1 == count ? rest : amount.dividedBy(Amount(count), 2);
                rest -= part;
                model::Split split = model::Split::insertInContext(context);
                split.setAmount(part);
                split.setCategory(fixture.categories[category(random)]);
                split.setSplitSet(set.object());
            }
            ++summary.splitTransactions;
        } else {
            transaction.setCategory(fixture.categories[category(random)]);
        }
    }
    const auto result = context.save();
    if (!result.succeeded()) {
        throw platform::InternalError(
            QStringLiteral("The generated database did not save: %1%2")
                .arg(result.error ? result.error->message : QString(), result.storeFailure));
    }
    return summary;
}

namespace {

// Raised whenever the generator or the way the cache is used changes what a cached file holds.
constexpr int kCacheRevision = 2;

const char* const kDatabaseSuffixes[] = {"", "-wal", "-shm"};

} // namespace

QString DatabaseGenerator::cachedDatabase(std::int64_t transactionCount) {
    const QString folder = QDir::temp().filePath(
        QStringLiteral("vantrel-bench-m%1-r%2").arg(model::DataModel::kVersion).arg(kCacheRevision));
    QDir().mkpath(folder);
    const QString path = QStringLiteral("%1/transactions-%2.vantrelsql").arg(folder).arg(transactionCount);
    const QString done = path + QStringLiteral(".done");
    if (!QFile::exists(done)) {
        for (const char* suffix : kDatabaseSuffixes) {
            QFile::remove(path + QString::fromLatin1(suffix));
        }
        generate(path, transactionCount);
        QFile marker(done);
        if (!marker.open(QIODevice::WriteOnly)) {
            throw platform::InternalError(QStringLiteral("cannot write %1").arg(done));
        }
    }
    return path;
}

QString DatabaseGenerator::scratchCopy(const QString& path, const QString& folder) {
    const QString copy = QDir(folder).filePath(QFileInfo(path).fileName());
    for (const char* suffix : kDatabaseSuffixes) {
        const QString source = path + QString::fromLatin1(suffix);
        const QString target = copy + QString::fromLatin1(suffix);
        QFile::remove(target);
        if (QFile::exists(source) && !QFile::copy(source, target)) {
            throw platform::InternalError(QStringLiteral("cannot copy %1 to %2").arg(source, target));
        }
    }
    return copy;
}

} // namespace vantrel::bench
