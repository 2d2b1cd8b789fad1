// Saves to the store in a loop until it is killed, printing the key of every save that apply()
// acknowledged. The crash test kills it at random moments and checks that every printed key is in
// the file.
#include "../SqliteTestModel.h"
#include "platform/objectstore/SqliteStore.h"

#include <cstdio>
#include <exception>
#include <string>

using namespace vantrel::objectstore;
using namespace vantrel::objectstore::sqlitetest;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s STORE\n", argv[0]);
        return 2;
    }
    try {
        const ModelDescription model = testModel();
        auto store = SqliteStore::open(QString::fromLocal8Bit(argv[1]), model);
        if (store->count(kAccount) == 0) {
            ChangeSet account;
            account.inserted.push_back(accountState(1, QStringLiteral("Crash test")));
            store->apply(account);
        }
        for (;;) {
            const std::int64_t key = store->allocateKey(kTransaction);
            // A long memo fills pages quickly, so kills also land in page splits and checkpoints.
            const QString memo = QStringLiteral("save %1 ").arg(key).leftJustified(300, u'x');
            ChangeSet changes;
            changes.inserted.push_back(
                transactionState(key, vantrel::platform::Amount::fromCents(key), 1, std::nullopt, {}, memo));
            changes.updated.push_back(ObjectUpdate{ObjectID{kAccount, 1}, {{kAccountPosition, key}}, {}});
            store->apply(changes);
            const std::string line = std::to_string(key) + '\n';
            std::fputs(line.c_str(), stdout);
            std::fflush(stdout);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}
