#include "platform/objectstore/ObjectKeyMap.h"

#include <gtest/gtest.h>

#include <array>

namespace vantrel::objectstore {
namespace {

// Only the addresses matter: the map never looks at the objects.
ManagedObject* fake(std::array<char, 8>& storage, std::size_t i) {
    return reinterpret_cast<ManagedObject*>(&storage[i]);
}

TEST(ObjectKeyMapTest, FindsSequentialAndFarKeys) {
    std::array<char, 8> storage{};
    ObjectKeyMap map;
    const std::int64_t keys[] = {1, 2, 3, 5'000'000'000, 7, 1'000'000};
    for (std::size_t i = 0; i < std::size(keys); ++i) {
        map.insert(keys[i], fake(storage, i));
    }
    for (std::size_t i = 0; i < std::size(keys); ++i) {
        EXPECT_EQ(map.value(keys[i]), fake(storage, i)) << keys[i];
    }
    EXPECT_EQ(map.value(4), nullptr);
    EXPECT_EQ(map.value(0), nullptr);
    EXPECT_EQ(map.value(-1), nullptr);
    EXPECT_EQ(map.value(5'000'000'001), nullptr);
    EXPECT_FALSE(map.contains(999'999));
}

TEST(ObjectKeyMapTest, RemovedKeysAreGoneAndCanComeBack) {
    std::array<char, 8> storage{};
    ObjectKeyMap map;
    map.insert(2, fake(storage, 0));
    map.insert(1LL << 40, fake(storage, 1));
    map.remove(2);
    map.remove(1LL << 40);
    map.remove(3); // unknown: nothing happens
    EXPECT_FALSE(map.contains(2));
    EXPECT_FALSE(map.contains(1LL << 40));
    map.insert(2, fake(storage, 2));
    map.insert(1LL << 40, fake(storage, 3));
    EXPECT_EQ(map.value(2), fake(storage, 2));
    EXPECT_EQ(map.value(1LL << 40), fake(storage, 3));
}

TEST(ObjectKeyMapTest, FarKeyStaysFoundOnceSequentialKeysCatchUp) {
    std::array<char, 8> storage{};
    ObjectKeyMap map;
    map.insert(2000, fake(storage, 0));
    for (std::int64_t key = 1; key <= 1999; ++key) {
        map.insert(key, fake(storage, 1));
    }
    map.insert(2001, fake(storage, 2));
    EXPECT_EQ(map.value(2000), fake(storage, 0));
    EXPECT_EQ(map.value(2001), fake(storage, 2));
    map.remove(2000);
    EXPECT_FALSE(map.contains(2000));
    EXPECT_EQ(map.value(1999), fake(storage, 1));
}

} // namespace
} // namespace vantrel::objectstore
