#include "model/Account.h"
#include "model/DataModel.h"
#include "model/Global.h"
#include "model/ModelValidation.h"
#include "model/Transaction.h"
#include "platform/Clock.h"
#include "platform/objectstore/Context.h"
#include "platform/objectstore/SqliteStore.h"
#include "support/ModelValues.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <thread>

using namespace vantrel::model;
using namespace vantrel::objectstore;
using vantrel::platform::FixedClock;
using vantrel::testsupport::amount;

// The import of another application's file runs on a worker thread with a context of its own over
// the same store; the main context then merges what it saved.
TEST(BackgroundMerge, MainContextTakesTheWorkersSaveButKeepsItsOwnUnsavedEdit) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    std::shared_ptr<PersistentStore> store(
        SqliteStore::open(folder.filePath(QStringLiteral("Database.vantrelsql")), DataModel::description()));
    const FixedClock clock(QDateTime(QDate(2026, 3, 4), QTime(10, 0), QTimeZone::utc()), QTimeZone::utc());

    Context main(store);
    ModelValidation::install(main);
    Global::sharedInstanceInContext(main).setHomeCurrencyCode(QStringLiteral("USD"));
    Account account = Account::insertInContext(main, clock);
    account.setType(QStringLiteral("checking"));
    account.setName(QStringLiteral("Checking"));
    ASSERT_TRUE(main.save().succeeded());
    const ObjectID accountID = account.object()->id();

    // An edit the user has not saved yet.
    account.setName(QStringLiteral("Everyday"));

    ChangeSet workerChanges;
    bool workerSaved = false;
    std::thread worker([&] {
        Context background(store);
        ModelValidation::install(background);
        Account theirs(background.object(accountID));
        theirs.setName(QStringLiteral("Imported name"));
        theirs.setStartBalance(amount("250.00"));
        for (int i = 0; i < 3; ++i) {
            Transaction transaction = Transaction::insertInContext(background, clock);
            transaction.setAccount(theirs.object());
            transaction.setAmount(amount("-10.00"));
        }
        const SaveResult result = background.save();
        workerSaved = result.succeeded();
        workerChanges = result.changes;
    });
    worker.join();
    ASSERT_TRUE(workerSaved);

    main.mergeChanges(workerChanges);
    EXPECT_EQ(account.name(), QStringLiteral("Everyday"));
    EXPECT_EQ(account.startBalance(), amount("250.00"));
    ASSERT_EQ(account.transactions().size(), 3U);
    EXPECT_EQ(main.sum(u"Transaction", u"amount"), amount("-30.00"));
    EXPECT_TRUE(main.hasChanges());

    // The edit still saves over the worker's name.
    ASSERT_TRUE(main.save().succeeded());
    Context reopened(store);
    EXPECT_EQ(Account(reopened.object(accountID)).name(), QStringLiteral("Everyday"));
    EXPECT_EQ(reopened.count(u"Transaction"), 3U);
}
