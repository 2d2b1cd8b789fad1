#include "model/Account.h"
#include "model/CategoryVT.h"
#include "model/Currency.h"
#include "model/DIMonth.h"
#include "model/DataModel.h"
#include "model/Global.h"
#include "model/ModelValidation.h"
#include "model/RepeatRuleArchive.h"
#include "model/Split.h"
#include "model/SplitSet.h"
#include "model/Transaction.h"
#include "platform/Clock.h"
#include "platform/objectstore/Context.h"
#include "platform/objectstore/SqliteStore.h"
#include "support/ModelValues.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace vantrel::model;
using namespace vantrel::objectstore;
using vantrel::platform::FixedClock;
using vantrel::testsupport::amount;
using vantrel::testsupport::day;

namespace {

// Everything the file holds, keyed by object id: attribute texts, to-one targets, to-many members.
struct Snapshot {
    std::map<ObjectID, std::vector<QString>> attributes;
    std::map<ObjectID, std::vector<std::optional<ObjectID>>> toOne;
    std::map<ObjectID, std::vector<std::set<ObjectID>>> toMany;
};

Snapshot snapshotOf(Context& context) {
    Snapshot snapshot;
    for (const auto& entity : context.model().entities()) {
        for (ManagedObject* object : context.all(entity.name())) {
            auto& attributes = snapshot.attributes[object->id()];
            for (std::size_t i = 0; i < entity.attributes().size(); ++i) {
                const Value value = object->value(static_cast<int>(i));
                // The variant index keeps "absent" apart from an empty string.
                attributes.push_back(QString::number(value.index()) + u':' + describe(value));
            }
            auto& toOne = snapshot.toOne[object->id()];
            auto& toMany = snapshot.toMany[object->id()];
            for (std::size_t i = 0; i < entity.relationships().size(); ++i) {
                const auto& relationship = entity.relationships()[i];
                if (relationship.cardinality == Cardinality::ToOne) {
                    ManagedObject* target = object->toOne(static_cast<int>(i));
                    toOne.push_back(target ? std::optional<ObjectID>(target->id()) : std::nullopt);
                } else {
                    std::set<ObjectID> members;
                    for (ManagedObject* member : object->toMany(static_cast<int>(i))) {
                        members.insert(member->id());
                    }
                    toMany.push_back(members);
                }
            }
        }
    }
    return snapshot;
}

std::shared_ptr<PersistentStore> openStore(const QString& path) {
    return std::shared_ptr<PersistentStore>(SqliteStore::open(path, DataModel::description()));
}

} // namespace

TEST(EntityRoundTrip, EveryEntityComesBackFromTheFileAsSaved) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("Database.vantrelsql"));
    const FixedClock clock(QDateTime(QDate(2026, 3, 4), QTime(9, 30), QTimeZone::utc()), QTimeZone::utc());

    Snapshot saved;
    {
        Context context(openStore(path));
        ModelValidation::install(context);
        Global global = Global::sharedInstanceInContext(context);
        global.setHomeCurrencyCode(QStringLiteral("EUR"));
        Currency euro = Currency::insertInContext(context);
        euro.setCode(QStringLiteral("EUR"));
        euro.setName(QStringLiteral("Euro"));
        euro.setRate(amount("0.9123456789"));

        Account checking = Account::insertInContext(context, clock);
        checking.setName(QStringLiteral("Girokonto – ünïcödé"));
        checking.setType(QStringLiteral("checking"));
        checking.setStartBalance(amount("12345678901234567890.12"));
        checking.setCsvImportSettings(QStringLiteral(R"({"date":0,"amount":3})"));
        checking.setSpecialBank(2);
        Account savings = Account::insertInContext(context, clock);
        savings.setType(QStringLiteral("savings"));
        savings.setClosed(true);

        CategoryVT food = CategoryVT::insertInContext(context);
        food.setName(QStringLiteral("Food"));
        food.setEmoji(QStringLiteral("🍎"));
        ManagedObject* group = context.insert(u"CategoryGroup");
        group->setValue(u"name", Value(QStringLiteral("Living")));
        food.setGroup(group);

        Transaction single = Transaction::insertInContext(context, clock);
        single.setAccount(checking.object());
        single.setAmount(amount("-12.50"));
        single.setCategory(food.object());
        single.setDate(day(1969, 7, 20));
        single.setCheckNumber(1001);
        single.setNotes(QString(""));
        single.setOfxAmount(amount("-12.50"));
        single.setOfxTitle(QStringLiteral("SHOP 42"));
        single.setOfxDate(day(1969, 7, 21));
        single.setOfxFitID(QStringLiteral("FIT-1"));
        single.setImported(true);

        Transaction split = Transaction::insertInContext(context, clock);
        split.setAccount(savings.object());
        split.setAmount(amount("100.00"));
        SplitSet set = SplitSet::insertInContext(context);
        split.replaceSplitSet(set.object());
        for (const char* value : {"60.00", "40.00"}) {
            Split line = Split::insertInContext(context);
            line.setAmount(amount(value));
            line.setSplitSet(set.object());
            line.setCategory(food.object());
        }

        ManagedObject* budget = context.insert(u"Budget");
        budget->setValue(u"name", Value(QStringLiteral("2026")));
        budget->setValue(u"months", Value(std::int64_t{12}));
        budget->setValue(u"startDate", Value(day(2026, 1, 1).toInstant()));
        ManagedObject* limit = context.insert(u"CategoryLimit");
        limit->setValue(u"amount", Value(amount("-300")));
        limit->setToOne(u"budget", budget);
        limit->setToOne(u"category", food.object());

        ManagedObject* item = context.insert(u"ScheduledItem");
        item->setValue(u"title", Value(QStringLiteral("Rent")));
        item->setValue(u"amount", Value(amount("-900.00")));
        item->setValue(u"nextDueDate", Value(day(2026, 4, 30).toInstant()));
        item->setValue(u"repeatType", Value(QStringLiteral("Month")));
        item->setValue(u"repeatInterval", Value(std::int64_t{1}));
        item->setValue(u"repeatRules", Value(RepeatRuleArchive::encode({DIMonth(-1)})));
        item->setValue(u"hasReminded", Value(false));
        item->setToOne(u"account", checking.object());
        item->setToOne(u"toAccount", savings.object());

        ManagedObject* setting = context.insert(u"TransferSetting");
        setting->setValue(u"amount", Value(amount("25.00")));
        setting->setToOne(u"account", checking.object());
        setting->setToOne(u"toAccount", savings.object());
        checking.setLastTransferSetting(setting);

        ManagedObject* rule = context.insert(u"PayeeRenameRule");
        rule->setValue(u"from", Value(QStringLiteral("AMZN MKTP")));
        rule->setValue(u"to", Value(QStringLiteral("Amazon")));

        const auto result = context.save();
        ASSERT_TRUE(result.succeeded())
            << (result.error ? result.error->message.toStdString() : "") << result.storeFailure.toStdString();
        saved = snapshotOf(context);
        for (const auto& entity : context.model().entities()) {
            EXPECT_GT(context.count(entity.name()), 0U) << entity.name().toStdString();
        }
    }

    Context reopened(openStore(path));
    const Snapshot loaded = snapshotOf(reopened);
    EXPECT_EQ(loaded.attributes, saved.attributes);
    EXPECT_EQ(loaded.toOne, saved.toOne);
    EXPECT_EQ(loaded.toMany, saved.toMany);
}

TEST(EntityUndo, DeletingAnAccountAndUndoingRestoresTheWholeGraph) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const FixedClock clock(QDateTime(QDate(2026, 3, 4), QTime(9, 30), QTimeZone::utc()), QTimeZone::utc());
    Context context(openStore(folder.filePath(QStringLiteral("Database.vantrelsql"))));
    ModelValidation::install(context);
    Global::sharedInstanceInContext(context).setHomeCurrencyCode(QStringLiteral("USD"));
    Account checking = Account::insertInContext(context, clock);
    checking.setType(QStringLiteral("checking"));
    Account savings = Account::insertInContext(context, clock);
    savings.setType(QStringLiteral("savings"));
    CategoryVT food = CategoryVT::insertInContext(context);
    food.setName(QStringLiteral("Food"));
    for (int i = 0; i < 3; ++i) {
        Transaction transaction = Transaction::insertInContext(context, clock);
        transaction.setAccount(checking.object());
        transaction.setAmount(amount("-20.00"));
        SplitSet set = SplitSet::insertInContext(context);
        transaction.replaceSplitSet(set.object());
        for (const char* value : {"-5.00", "-15.00"}) {
            Split line = Split::insertInContext(context);
            line.setAmount(amount(value));
            line.setCategory(food.object());
            line.setSplitSet(set.object());
        }
    }
    ManagedObject* setting = context.insert(u"TransferSetting");
    setting->setToOne(u"account", checking.object());
    setting->setToOne(u"toAccount", savings.object());
    savings.setLastTransferSetting(setting);
    ASSERT_TRUE(context.save().succeeded());
    context.undoManager().clear();
    const Snapshot before = snapshotOf(context);

    context.deleteObject(checking.object());
    EXPECT_EQ(context.count(u"Transaction"), 0U);
    EXPECT_EQ(context.count(u"Split"), 0U);
    EXPECT_EQ(context.count(u"TransferSetting"), 0U);
    EXPECT_EQ(savings.lastTransferSetting(), nullptr);
    EXPECT_TRUE(food.splits().empty());

    context.undoManager().undo();
    EXPECT_EQ(snapshotOf(context).attributes, before.attributes);
    EXPECT_EQ(snapshotOf(context).toOne, before.toOne);
    EXPECT_EQ(snapshotOf(context).toMany, before.toMany);
    EXPECT_FALSE(context.hasChanges());

    context.undoManager().redo();
    EXPECT_EQ(context.count(u"Account"), 1U);
    EXPECT_EQ(context.count(u"Split"), 0U);
    context.undoManager().undo();
    ASSERT_TRUE(context.save().succeeded());
    EXPECT_EQ(snapshotOf(context).toMany, before.toMany);
}
