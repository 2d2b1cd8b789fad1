#include "ContextTestModel.h"
#include "platform/InternalError.h"

#include <gtest/gtest.h>

namespace vantrel::objectstore {
namespace {

using namespace testing;

class ContextFetchTest : public ::testing::Test {
protected:
    std::shared_ptr<MemoryStore> store = makeStore();
    Context context{store};
    ManagedObject* checking = nullptr;
    ManagedObject* savings = nullptr;

    void SetUp() override {
        checking = account("Checking");
        savings = account("Savings");
    }
    ManagedObject* account(const QString& name) {
        ManagedObject* object = context.insert(u"Account");
        object->setValue(u"name", name);
        return object;
    }
    ManagedObject* transaction(ManagedObject* owner, const QString& title, const QDateTime& date,
                               const char* value, const QString& sortKey = {}) {
        ManagedObject* object = context.insert(u"Transaction");
        object->setValue(u"title", title);
        object->setValue(u"date", date);
        object->setValue(u"amount", amount(value));
        if (!sortKey.isEmpty()) {
            object->setValue(u"sortKey", sortKey);
        }
        object->setToOne(u"account", owner);
        return object;
    }
    // Register order: date descending, then sortKey descending.
    static bool registerOrder(const ManagedObject& a, const ManagedObject& b) {
        const int byDate = compareValues(a.value(0), b.value(0));
        return byDate != 0 ? byDate > 0 : compareValues(a.value(3), b.value(3)) > 0;
    }
};

TEST_F(ContextFetchTest, PredicateAndMultiKeySortThroughAKeyPath) {
    transaction(savings, "s1", day(2024, 1, 2), "10");
    transaction(checking, "c2", day(2024, 1, 2), "-5");
    transaction(checking, "c1", day(2024, 1, 1), "-7");
    transaction(savings, "s0", day(2024, 1, 1), "3");
    transaction(nullptr, "orphan", day(2024, 1, 3), "1");

    const auto sorted = context.fetch(
        u"Transaction", {},
        {SortDescriptor::byKey("account.name", SortOrder::Descending), SortDescriptor::byKey("date")});
    // Descending puts the absent account name last; ties keep ascending dates.
    EXPECT_EQ(titles(sorted), (QStringList{"s0", "s1", "c1", "c2", "orphan"}));

    const auto expenses = context.fetch(
        u"Transaction",
        [](const ManagedObject& t) { return std::get<platform::Amount>(t.value(u"amount")).isExpense_vt(); },
        {SortDescriptor::byKey("amount")});
    EXPECT_EQ(titles(expenses), (QStringList{"c1", "c2"}));

    const auto byLength = context.fetch(
        u"Transaction", {},
        {SortDescriptor::byKey("title", SortOrder::Ascending,
                               [](const Value& a, const Value& b) {
                                   return int(std::get<QString>(b).size()) - int(std::get<QString>(a).size());
                               }),
         SortDescriptor::byObjects([](const ManagedObject& a, const ManagedObject& b) {
             return compareValues(a.value(u"title"), b.value(u"title"));
         })});
    EXPECT_EQ(titles(byLength).first(1), QStringList{"orphan"});
    EXPECT_EQ(titles(byLength).mid(1), (QStringList{"c1", "c2", "s0", "s1"}));
    EXPECT_THROW(context.fetch(u"Transaction", {}, {SortDescriptor::byKey("account.transactions")}),
                 platform::InternalError);
}

TEST_F(ContextFetchTest, FetchesSeeUnsavedInsertsAndHideDeletes) {
    ManagedObject* saved = transaction(checking, "saved", day(2024, 1, 1), "-1");
    ASSERT_TRUE(context.save().succeeded());
    ManagedObject* fresh = transaction(checking, "fresh", day(2024, 1, 2), "-2");
    EXPECT_EQ(context.count(u"Transaction"), 2u);
    context.deleteObject(saved);
    EXPECT_EQ(context.fetch(u"Transaction"), std::vector<ManagedObject*>{fresh});
    EXPECT_EQ(
        context.first(u"Transaction",
                      [](const ManagedObject& t) { return t.value(u"title") == Value(QString("saved")); }),
        nullptr);
    EXPECT_EQ(context.sum(u"Transaction", u"amount"), amount("-2"));
}

TEST_F(ContextFetchTest, AggregatesAreExact) {
    transaction(checking, "a", day(2024, 1, 1), "0.1");
    transaction(checking, "b", day(2024, 1, 5), "0.2");
    transaction(savings, "c", day(2024, 1, 3), "-0.3");
    context.insert(u"Transaction"); // absent amount and date count as nothing
    EXPECT_EQ(context.sum(u"Transaction", u"amount"), amount("0"));
    EXPECT_EQ(context.sum(u"Transaction", u"amount",
                          [this](const ManagedObject& t) { return t.toOne(u"account") == checking; }),
              amount("0.3"));
    EXPECT_EQ(context.maximum(u"Transaction", u"date"), std::optional<Value>(day(2024, 1, 5)));
    EXPECT_EQ(context.maximum(u"CategoryGroup", u"name"), std::nullopt);
    EXPECT_THROW(context.sum(u"Transaction", u"title"), platform::InternalError);
}

TEST_F(ContextFetchTest, LookupIndexFollowsEditsDeletesRollbackAndUndo) {
    ManagedObject* t = transaction(checking, "t", day(2024, 1, 1), "1");
    t->setValue(u"fitID", QStringLiteral("F1"));
    ASSERT_TRUE(context.save().succeeded());
    const auto find = [this](const char* fit) {
        return context.lookup(u"Transaction", u"fitID", QString(fit));
    };
    EXPECT_EQ(find("F1"), std::vector<ManagedObject*>{t});

    t->setValue(u"fitID", QStringLiteral("F2"));
    EXPECT_TRUE(find("F1").empty());
    EXPECT_EQ(find("F2"), std::vector<ManagedObject*>{t});

    context.rollback();
    EXPECT_EQ(find("F1"), std::vector<ManagedObject*>{t});
    EXPECT_TRUE(find("F2").empty());

    context.deleteObject(t);
    EXPECT_TRUE(find("F1").empty());
    context.undoManager().undo();
    EXPECT_EQ(find("F1"), std::vector<ManagedObject*>{t});

    ManagedObject* twin = transaction(savings, "twin", day(2024, 1, 1), "1");
    twin->setValue(u"fitID", QStringLiteral("F1"));
    EXPECT_EQ(find("F1"), (std::vector<ManagedObject*>{t, twin}));
    context.undoManager().undo();
    EXPECT_EQ(find("F1"), std::vector<ManagedObject*>{t});
    EXPECT_THROW(context.lookup(u"Transaction", u"title", QString("t")), platform::InternalError);
}

TEST_F(ContextFetchTest, DateRangeIsInclusiveAndFollowsEdits) {
    ManagedObject* jan = transaction(checking, "jan", day(2024, 1, 15), "1");
    ManagedObject* feb = transaction(checking, "feb", day(2024, 2, 1), "1");
    ManagedObject* mar = transaction(checking, "mar", day(2024, 3, 1), "1");
    EXPECT_EQ(context.inDateRange(u"Transaction", u"date", day(2024, 1, 15), day(2024, 2, 1)),
              (std::vector<ManagedObject*>{jan, feb}));
    mar->setValue(u"date", day(2024, 1, 20));
    context.deleteObject(feb);
    EXPECT_EQ(context.inDateRange(u"Transaction", u"date", day(2024, 1, 1), day(2024, 2, 28)),
              (std::vector<ManagedObject*>{jan, mar}));
    EXPECT_EQ(context.inDateRange(u"Transaction", u"date", QDateTime(), day(2024, 1, 16)),
              std::vector<ManagedObject*>{jan});
    EXPECT_TRUE(context.inDateRange(u"Transaction", u"date", day(2024, 2, 1), day(2024, 1, 1)).empty());
}

// The same edits keep the order, whether the ordering says what it reads or not.
class OrderedToManyTest : public ContextFetchTest, public ::testing::WithParamInterface<QStringList> {};

TEST_P(OrderedToManyTest, StaysInRegisterOrder) {
    context.registerOrdering(u"Account", u"transactions", "register", registerOrder, GetParam());
    transaction(checking, "b", day(2024, 1, 2), "1", "10:00");
    ManagedObject* a = transaction(checking, "a", day(2024, 1, 1), "1", "09:00");
    transaction(checking, "c", day(2024, 1, 2), "1", "11:00");
    const auto& ordered = context.orderedToMany(*checking, u"transactions", u"register");
    EXPECT_EQ(titles(ordered), (QStringList{"c", "b", "a"}));

    a->setValue(u"date", day(2024, 1, 3));
    EXPECT_EQ(titles(ordered), (QStringList{"a", "c", "b"}));
    transaction(checking, "d", day(2024, 1, 2), "1", "10:30");
    EXPECT_EQ(titles(ordered), (QStringList{"a", "c", "d", "b"}));
    a->setToOne(u"account", savings);
    EXPECT_EQ(titles(ordered), (QStringList{"c", "d", "b"}));
    EXPECT_EQ(titles(context.orderedToMany(*savings, u"transactions", u"register")), QStringList{"a"});

    context.undoManager().undo(); // a back in checking
    context.undoManager().undo(); // d leaves checking
    EXPECT_EQ(titles(ordered), (QStringList{"a", "c", "b"}));
    const auto fresh = context.fetch(
        u"Transaction", [this](const ManagedObject& t) { return t.toOne(u"account") == checking; },
        {SortDescriptor::byKey("date", SortOrder::Descending),
         SortDescriptor::byKey("sortKey", SortOrder::Descending)});
    EXPECT_EQ(ordered, fresh);
}

INSTANTIATE_TEST_SUITE_P(KeyAttributes, OrderedToManyTest,
                         ::testing::Values(QStringList{}, QStringList{"date", "sortKey"}));

TEST_F(ContextFetchTest, OrderingWithKeyAttributesFollowsThemAndRefusesUnknownOnes) {
    const auto byTitle = [](const ManagedObject& x, const ManagedObject& y) {
        return compareValues(x.value(u"title"), y.value(u"title")) < 0;
    };
    context.registerOrdering(u"Account", u"transactions", "byTitle", byTitle, {"title"});
    ManagedObject* b = transaction(checking, "b", day(2024, 1, 2), "1");
    transaction(checking, "c", day(2024, 1, 1), "1");
    const auto& ordered = context.orderedToMany(*checking, u"transactions", u"byTitle");
    b->setValue(u"title", QStringLiteral("d"));
    EXPECT_EQ(titles(ordered), (QStringList{"c", "d"}));

    EXPECT_THROW(context.registerOrdering(u"Account", u"transactions", "bad", byTitle, {"noSuchAttribute"}),
                 platform::InternalError);
}

} // namespace
} // namespace vantrel::objectstore
