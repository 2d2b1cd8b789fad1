#include "model/StoreDump.h"

#include "model/Account.h"
#include "model/Budget.h"
#include "model/CategoryLimit.h"
#include "model/CategoryVT.h"
#include "model/DataModel.h"
#include "model/Global.h"
#include "model/ScheduledItem.h"
#include "model/Split.h"
#include "model/SplitSet.h"
#include "model/Transaction.h"
#include "platform/Clock.h"
#include "platform/LogCapture.h"
#include "platform/objectstore/MemoryStore.h"
#include "support/ModelValues.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

using namespace vantrel::model;
using ::testing::ElementsAre;
using vantrel::objectstore::Context;
using vantrel::objectstore::ManagedObject;
using vantrel::objectstore::MemoryStore;
using vantrel::platform::FixedClock;
using vantrel::platform::LogCapture;
using vantrel::testsupport::amount;
using vantrel::testsupport::day;
using vantrel::testsupport::utf8;

namespace {

class StoreDumpTest : public ::testing::Test {
protected:
    StoreDumpTest()
        : clock(QDateTime(QDate(2026, 3, 4), QTime(12, 0), QTimeZone::utc()), QTimeZone::utc())
        , context(std::make_shared<MemoryStore>(DataModel::description())) {
        Global::sharedInstanceInContext(context).setHomeCurrencyCode(QStringLiteral("USD"));
        account = std::make_unique<Account>(Account::insertInContext(context, clock));
        account->setName(QStringLiteral("Checking"));
        setCloudID(account->object(), "ACC-1");

        Transaction transaction = Transaction::insertInContext(context, clock);
        transaction.setAccount(account->object());
        transaction.setAmount(amount("10.00"));
        transaction.setTitle(QStringLiteral("Groceries"));
        transaction.setSortKey(QStringLiteral("T1"));
        setCloudID(transaction.object(), "TX-1");

        CategoryVT food = CategoryVT::insertInContext(context);
        food.setName(QStringLiteral("Food"));
        setCloudID(food.object(), "C-1");

        SplitSet set = SplitSet::insertInContext(context);
        setCloudID(set.object(), "SET-1");
        transaction.replaceSplitSet(set.object());
        // Inserted in the opposite of the dump's order: an uncategorised split sorts first.
        for (const auto& [value, cloudID, category] :
             {std::tuple{"4.00", "S-1", food.object()},
              std::tuple{"6.00", "S-2", static_cast<ManagedObject*>(nullptr)}}) {
            Split split = Split::insertInContext(context);
            split.setAmount(amount(value));
            split.setSplitSet(set.object());
            split.setCategory(category);
            setCloudID(split.object(), cloudID);
        }
    }

    static void setCloudID(ManagedObject* object, const char* cloudID) {
        object->setValue(u"cloudID", QString::fromLatin1(cloudID));
    }

    FixedClock clock;
    Context context;
    std::unique_ptr<Account> account;
};

TEST_F(StoreDumpTest, LabelsNameObjectsByTheirLogicalKeys) {
    EXPECT_EQ(StoreDump::labelFor(account->object()), QStringLiteral("Account/Checking/ACC-1/"));
    EXPECT_EQ(StoreDump::labelFor(nullptr), QStringLiteral("(null)"));
    EXPECT_EQ(StoreDump::labelFor(Global::sharedInstanceInContext(context).object()),
              QStringLiteral("Global/"));
    EXPECT_EQ(StoreDump::labelFor(context.insert(u"PayeeRenameRule")), QStringLiteral("PayeeRenameRule/"));

    // Key paths run through relationships; a missing link prints as nothing.
    Budget budget = Budget::insertInContext(context);
    budget.setName(QStringLiteral("Home"));
    CategoryLimit limit = CategoryLimit::insertInContext(context);
    limit.setBudget(budget);
    setCloudID(limit.object(), "L-1");
    EXPECT_EQ(StoreDump::labelFor(limit.object()), QStringLiteral("CategoryLimit/Home/(null)/L-1/"));

    ScheduledItem item = ScheduledItem::insertInContext(context);
    item.setTitle(QStringLiteral("Rent"));
    item.setNextDueDate(day(2026, 12, 8));
    EXPECT_EQ(StoreDump::labelFor(item.object()),
              QStringLiteral("ScheduledItem/Rent/2026-12-08 00:00:00 +0000/"));
}

TEST_F(StoreDumpTest, DumpsObjectsInKeyOrderWithTheirPropertiesInNameOrder) {
    LogCapture log;
    QString output = QStringLiteral("before\n");
    StoreDump::dump(context, u"Split", output);
    EXPECT_EQ(utf8(output), utf8(QStringLiteral("before\n"
                                                "Split/T1/(null)/6.00/S-2/\n"
                                                "\tamount: 6.00\n"
                                                "\tcloudID: S-2\n"
                                                "\tcategory: (null)\n"
                                                "\tsplitSet: SplitSet/T1/\n"
                                                "Split/T1/C-1/4.00/S-1/\n"
                                                "\tamount: 4.00\n"
                                                "\tcloudID: S-1\n"
                                                "\tcategory: Category/Food/C-1/\n"
                                                "\tsplitSet: SplitSet/T1/\n")));
    EXPECT_THAT(log.lines(),
                ElementsAre(QStringLiteral("Dumping: Split"), QStringLiteral("  found 2 objects")));
}

TEST_F(StoreDumpTest, DumpsEveryAttributeAndOnlyToOneRelationships) {
    QString output;
    StoreDump::dump(context, u"Transaction", output);
    EXPECT_EQ(utf8(output), utf8(QStringLiteral("Transaction/T1/\n"
                                                "\tamount: 10.00\n"
                                                "\tcheckNumber: (null)\n"
                                                "\tcloudID: TX-1\n"
                                                "\tdate: 2026-03-04 00:00:00 +0000\n"
                                                "\tisFlagged: 1\n"
                                                "\tisImported: (null)\n"
                                                "\tnotes: (null)\n"
                                                "\tofxAmount: (null)\n"
                                                "\tofxCheckNumber: (null)\n"
                                                "\tofxDate: (null)\n"
                                                "\tofxFitID: (null)\n"
                                                "\tofxTitle: (null)\n"
                                                "\tsortKey: T1\n"
                                                "\ttitle: Groceries\n"
                                                "\ttype: (null)\n"
                                                "\taccount: Account/Checking/ACC-1/\n"
                                                "\tcategory: (null)\n"
                                                "\tscheduledItem: (null)\n"
                                                "\tsplitSet: SplitSet/T1/\n")));

    QString empty;
    LogCapture log;
    StoreDump::dump(context, u"Currency", empty);
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_THAT(log.lines(),
                ElementsAre(QStringLiteral("Dumping: Currency"), QStringLiteral("  found 0 objects")));
}

TEST(StoreDump, OrdersPropertyNamesWithoutRegardToCase) {
    using namespace vantrel::objectstore;
    // Every name of the application's model sorts alike with or without regard to case; these do not.
    const auto text = [](const char* name) {
        return AttributeDescription{QString::fromLatin1(name), AttributeType::String, Optionality::Optional,
                                    false};
    };
    const auto toOne = [](const char* name) {
        return RelationshipDescription{QString::fromLatin1(name), QStringLiteral("Note"),
                                       Cardinality::ToOne,        QString(),
                                       DeleteRule::Nullify,       Optionality::Optional};
    };
    Context context(std::make_shared<MemoryStore>(ModelDescription(
        1, {EntityDescription(QStringLiteral("Note"), {text("zeta"), text("Beta"), text("alpha")},
                              {toOne("Owner"), toOne("zebra"), toOne("author")})})));
    ManagedObject* note = context.insert(u"Note");
    note->setValue(u"Beta", QStringLiteral("b"));
    note->setToOne(u"zebra", note);

    QString output;
    StoreDump::dump(context, u"Note", output);
    EXPECT_EQ(utf8(output), utf8(QStringLiteral("Note/\n\talpha: (null)\n\tBeta: b\n\tzeta: (null)\n"
                                                "\tauthor: (null)\n\tOwner: (null)\n\tzebra: Note/\n")));
}

} // namespace
