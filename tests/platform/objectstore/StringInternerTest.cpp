#include "platform/objectstore/StringInterner.h"

#include <gtest/gtest.h>

namespace vantrel::objectstore {
namespace {

TEST(StringInternerTest, RepeatedStringsShareOneCopy) {
    StringInterner interner(2);
    const QString* first = interner.intern(0, QStringLiteral("Grocery Store"));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(interner.intern(0, QString::fromLatin1("Grocery Store")), first);
    EXPECT_EQ(interner.intern(1, QStringLiteral("Grocery Store")), first);
    EXPECT_EQ(*first, QStringLiteral("Grocery Store"));
    EXPECT_NE(interner.intern(0, QStringLiteral("Grocery store")), first);
}

TEST(StringInternerTest, StopsOnAnAttributeWhoseStringsDoNotRepeat) {
    StringInterner interner(2);
    std::vector<const QString*> payees;
    for (std::uint32_t i = 0; i < StringInterner::kTrialSize; ++i) {
        interner.intern(0, QStringLiteral("sort key %1").arg(i));
        payees.push_back(interner.intern(1, QStringLiteral("payee %1").arg(i % 10)));
    }
    EXPECT_EQ(interner.intern(0, QStringLiteral("sort key new")), nullptr);
    // The repeating attribute goes on, and what was handed out stays valid.
    EXPECT_EQ(interner.intern(1, QStringLiteral("payee 3")), payees[3]);
    EXPECT_NE(interner.intern(1, QStringLiteral("payee new")), nullptr);
    EXPECT_EQ(*payees[13], QStringLiteral("payee 3"));
}

TEST(StringInternerTest, LongTextIsNotInterned) {
    StringInterner interner(1);
    EXPECT_NE(interner.intern(0, QString(StringInterner::kMaxLength, u'n')), nullptr);
    EXPECT_EQ(interner.intern(0, QString(StringInterner::kMaxLength + 1, u'n')), nullptr);
}

} // namespace
} // namespace vantrel::objectstore
