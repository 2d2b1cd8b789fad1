#include "SqliteTestModel.h"
#include "platform/objectstore/SqliteStore.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <map>
#include <random>
#include <set>
#include <thread>

using namespace vantrel::objectstore;
using namespace vantrel::objectstore::sqlitetest;
using vantrel::platform::Amount;

namespace {

constexpr int kKills = 100;

// Complete lines only: a key cut off by the kill was never acknowledged.
std::vector<std::int64_t> acknowledgedKeys(const QByteArray& output) {
    std::vector<std::int64_t> keys;
    const auto end = output.lastIndexOf('\n');
    if (end < 0) {
        return keys;
    }
    for (const auto& line : output.left(end).split('\n')) {
        bool ok = false;
        keys.push_back(line.toLongLong(&ok));
        EXPECT_TRUE(ok) << line.toStdString();
    }
    return keys;
}

bool waitForFirstAcknowledgement(QProcess& writer) {
    QElapsedTimer timer;
    timer.start();
    while (!writer.peek(1 << 20).contains('\n')) {
        if (timer.elapsed() > 20'000 || writer.state() != QProcess::Running) {
            return false;
        }
        writer.waitForReadyRead(100);
    }
    return true;
}

} // namespace

TEST(SqliteCrash, KilledWritersNeverLoseAcknowledgedSavesNorCorruptTheFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("crash.vantrel"));
    const ModelDescription model = testModel();

    const unsigned seed = std::random_device()();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> fromStart(0, 60);
    std::uniform_int_distribution<int> afterAcknowledgement(0, 80);

    std::set<std::int64_t> acknowledged;
    int killsWithSavesInFlight = 0;
    QElapsedTimer elapsed;
    elapsed.start();
    for (int run = 0; run < kKills; ++run) {
        SCOPED_TRACE("run " + std::to_string(run));
        QProcess writer;
        writer.start(QStringLiteral(VANTREL_CRASH_WRITER), {path});
        ASSERT_TRUE(writer.waitForStarted());
        // A third of the kills may land while the writer opens the file (or creates it, in run 0);
        // the rest while it is saving.
        int delay = fromStart(random);
        if (run % 3 != 0) {
            ASSERT_TRUE(waitForFirstAcknowledgement(writer)) << writer.readAllStandardError().toStdString();
            delay = afterAcknowledgement(random);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(delay));
        ASSERT_EQ(writer.state(), QProcess::Running) << writer.readAllStandardError().toStdString();
        writer.kill(); // SIGKILL: no destructor, no close, no checkpoint
        ASSERT_TRUE(writer.waitForFinished());
        ASSERT_EQ(writer.exitStatus(), QProcess::CrashExit);
        const auto keys = acknowledgedKeys(writer.readAllStandardOutput());
        killsWithSavesInFlight += keys.empty() ? 0 : 1;
        acknowledged.insert(keys.begin(), keys.end());

        auto store = SqliteStore::open(path, model);
        ASSERT_TRUE(store->integrityCheck());
        std::map<std::int64_t, Amount> saved;
        store->loadAll(kTransaction, [&saved](ObjectState&& state) {
            saved.emplace(state.id.key, std::get<Amount>(state.attributes[kTransactionAmount]));
        });
        for (const auto key : acknowledged) {
            const auto found = saved.find(key);
            ASSERT_NE(found, saved.end()) << "acknowledged save " << key << " is lost";
            ASSERT_EQ(found->second, Amount::fromCents(key));
        }
        if (!acknowledged.empty()) {
            std::int64_t position = 0;
            store->loadAll(kAccount, [&position](ObjectState&& state) {
                position = std::get<std::int64_t>(state.attributes[kAccountPosition]);
            });
            // The update of the same save is there too.
            ASSERT_GE(position, *acknowledged.rbegin());
        }
    }
    // Two thirds of the runs wait for a save before the kill; the count of saves depends on the disk.
    EXPECT_GE(killsWithSavesInFlight, kKills / 2);
    std::cout << "[ crash    ] " << kKills << " kills (" << killsWithSavesInFlight << " after saves), "
              << acknowledged.size() << " acknowledged saves checked, " << elapsed.elapsed() << " ms\n";
}
