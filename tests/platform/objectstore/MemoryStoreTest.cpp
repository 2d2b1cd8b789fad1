#include "ContextTestModel.h"

#include <gtest/gtest.h>

namespace vantrel::objectstore {
namespace {

using namespace testing;

TEST(MemoryStoreTest, AppliesAllOrNothing) {
    MemoryStore store(contextTestModel());
    const ObjectID a{0, store.allocateKey(0)};
    const ObjectID b{0, store.allocateKey(0)};
    EXPECT_NE(a, b);
    const ObjectState state{a, {QString("A"), Value(), Value()}, {std::nullopt}};
    store.apply(ChangeSet{{state}, {}, {}});

    // The insert of b is valid, the update of an unknown object is not: neither is written.
    const ObjectState second{b, {QString("B"), Value(), Value()}, {std::nullopt}};
    EXPECT_THROW(
        store.apply(ChangeSet{{second}, {ObjectUpdate{ObjectID{0, 99}, {{0, QString("x")}}, {}}}, {}}),
        std::runtime_error);
    EXPECT_EQ(store.count(0), 1u);
    EXPECT_THROW(store.apply(ChangeSet{{state}, {}, {}}), std::runtime_error);

    store.apply(ChangeSet{{}, {ObjectUpdate{a, {{0, QString("A2")}}, {}}}, {}});
    EXPECT_TRUE(sameValue(store.find(a)->attributes[0], QString("A2")));
    store.apply(ChangeSet{{}, {}, {a}});
    EXPECT_EQ(store.find(a), std::nullopt);
    EXPECT_EQ(store.applyCount(), 3);
}

} // namespace
} // namespace vantrel::objectstore
