#include "model/PayeeRenameRule.h"

#include "model/DataModel.h"
#include "platform/objectstore/Context.h"
#include "platform/objectstore/MemoryStore.h"

#include <gtest/gtest.h>

#include <memory>

using vantrel::model::DataModel;
using vantrel::model::PayeeRenameRule;
using vantrel::objectstore::Context;
using vantrel::objectstore::MemoryStore;

namespace {

TEST(PayeeRenameRule, InsertsWithOnlyAFreshCloudID) {
    Context context(std::make_shared<MemoryStore>(DataModel::description()));
    const PayeeRenameRule first = PayeeRenameRule::insertInContext(context);
    const PayeeRenameRule second = PayeeRenameRule::insertInContext(context);
    EXPECT_EQ(first.cloudID().size(), 36);
    EXPECT_EQ(first.cloudID(), first.cloudID().toUpper());
    EXPECT_NE(first.cloudID(), second.cloudID());
    EXPECT_TRUE(first.from().isNull());
    EXPECT_TRUE(first.to().isNull());
    EXPECT_EQ(context.count(u"PayeeRenameRule"), 2u);
}

} // namespace
