#include "ContextTestModel.h"
#include "platform/objectstore/StringInterner.h"

#include <gtest/gtest.h>

namespace vantrel::objectstore {
namespace {

using namespace testing;
using platform::Amount;

// Values that a loaded context keeps in compact forms (shared payees, inline and heap text, UUIDs,
// inline and heap decimals) must read back exactly as they were saved, and stay independent per
// object when edited afterwards.
class ContextLoadTest : public ::testing::Test {
protected:
    std::shared_ptr<MemoryStore> store = makeStore();

    static QString title(int i) {
        // Few distinct payees, so that titles are shared; a few empty, a few absent.
        const QString payees[] = {QStringLiteral("Whole Foods Market"), QStringLiteral("Caf\u00e9 \u20ac"),
                                  QStringLiteral("Rent"), QString(QStringLiteral(""))};
        return payees[i % 4];
    }
    static QString sortKey(int i) {
        return QStringLiteral("12:00:00.%1 ABCDEFGH").arg(i, 3, 10, QChar(u'0'));
    }
    static Amount amountOf(int i) {
        return i % 3 == 0 ? *Amount::fromAscii("12.50")
                          : Amount::fromParts((__int128{1} << 70) * (i % 2 ? -1 : 1) + i, -(i % 5));
    }

    void seed(int count) {
        Context writer(store);
        ManagedObject* account = writer.insert(u"Account");
        account->setValue(u"name", QStringLiteral("Checking"));
        account->setValue(u"cloudID", QStringLiteral("0A1B2C3D-4E5F-6789-ABCD-EF0123456789"));
        for (int i = 0; i < count; ++i) {
            ManagedObject* t = writer.insert(u"Transaction");
            t->setToOne(u"account", account);
            if (i % 7 != 0) {
                t->setValue(u"title", title(i));
            }
            t->setValue(u"sortKey", sortKey(i));
            t->setValue(
                u"fitID",
                QStringLiteral("0a1b2c3d-4e5f-6789-abcd-ef01234567%1").arg(i % 100, 2, 10, QChar(u'0')));
            t->setValue(u"amount", amountOf(i));
        }
        ASSERT_TRUE(writer.save().succeeded());
    }
};

TEST_F(ContextLoadTest, LoadedValuesReadBackAsSaved) {
    const int count = static_cast<int>(StringInterner::kTrialSize) * 2;
    seed(count);
    Context reader(store);
    EXPECT_EQ(snapshot(reader), snapshot(Context(store)));
    const auto transactions = reader.fetch(u"Transaction", {}, {SortDescriptor::byKey("sortKey")});
    ASSERT_EQ(transactions.size(), static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const ManagedObject* t = transactions[static_cast<std::size_t>(i)];
        if (i % 7 == 0) {
            EXPECT_TRUE(isAbsent(t->value(u"title")));
        } else {
            const QString loaded = std::get<QString>(t->value(u"title"));
            EXPECT_EQ(loaded, title(i));
            EXPECT_FALSE(loaded.isNull());
        }
        EXPECT_EQ(std::get<QString>(t->value(u"sortKey")), sortKey(i));
        EXPECT_EQ(std::get<Amount>(t->value(u"amount")).toString(), amountOf(i).toString());
    }
    EXPECT_EQ(std::get<QString>(reader.all(u"Account").front()->value(u"cloudID")),
              QStringLiteral("0A1B2C3D-4E5F-6789-ABCD-EF0123456789"));
}

TEST_F(ContextLoadTest, EditingASharedTitleChangesOnlyThatObject) {
    seed(40);
    {
        Context editor(store);
        auto transactions = editor.fetch(u"Transaction", {}, {SortDescriptor::byKey("sortKey")});
        transactions[1]->setValue(u"title", QStringLiteral("Edited"));
        transactions[5]->setValue(u"title", Value());
        editor.deleteObject(transactions[9]);
        EXPECT_EQ(std::get<QString>(transactions[13]->value(u"title")), title(13));
        ASSERT_TRUE(editor.save().succeeded());
    }
    Context reader(store);
    const auto transactions = reader.fetch(u"Transaction", {}, {SortDescriptor::byKey("sortKey")});
    EXPECT_EQ(std::get<QString>(transactions[1]->value(u"title")), QStringLiteral("Edited"));
    EXPECT_TRUE(isAbsent(transactions[5]->value(u"title")));
    EXPECT_EQ(std::get<QString>(transactions[12]->value(u"title")), title(13)); // one fewer before it
}

} // namespace
} // namespace vantrel::objectstore
