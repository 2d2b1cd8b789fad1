#include "model/TransferSetting.h"

#include "model/DataModel.h"
#include "platform/InternalError.h"
#include "platform/objectstore/Context.h"
#include "platform/objectstore/MemoryStore.h"
#include "support/ModelValues.h"

#include <gtest/gtest.h>

#include <memory>

using vantrel::model::DataModel;
using vantrel::model::TransferSetting;
using vantrel::objectstore::Context;
using vantrel::objectstore::ManagedObject;
using vantrel::objectstore::MemoryStore;
using vantrel::platform::InternalError;
using vantrel::testsupport::amount;

namespace {

class TransferSettingTest : public ::testing::Test {
protected:
    TransferSetting newSetting(ManagedObject* from, ManagedObject* to) {
        TransferSetting setting = TransferSetting::insertInContext(context);
        setting.setAccount(from);
        setting.setToAccount(to);
        setting.setAmount(amount("50"));
        return setting;
    }

    std::shared_ptr<MemoryStore> store = std::make_shared<MemoryStore>(DataModel::description());
    Context context{store};
    ManagedObject* checking = context.insert(u"Account");
    ManagedObject* savings = context.insert(u"Account");
    ManagedObject* cash = context.insert(u"Account");
};

TEST_F(TransferSettingTest, FindsTheSettingOfTheDirectedPair) {
    const TransferSetting toSavings = newSetting(checking, savings);
    const TransferSetting toCash = newSetting(checking, cash);
    const TransferSetting back = newSetting(savings, checking);

    EXPECT_EQ(TransferSetting::find(context, checking, savings), toSavings);
    EXPECT_EQ(TransferSetting::find(context, checking, cash), toCash);
    EXPECT_EQ(TransferSetting::find(context, savings, checking), back);
    EXPECT_FALSE(TransferSetting::find(context, cash, checking));
    EXPECT_FALSE(TransferSetting::find(context, savings, cash));
}

TEST_F(TransferSettingTest, FindsNothingWithoutBothAccounts) {
    newSetting(checking, savings);
    EXPECT_FALSE(TransferSetting::find(context, nullptr, savings));
    EXPECT_FALSE(TransferSetting::find(context, checking, nullptr));
}

TEST_F(TransferSettingTest, ForgetsADeletedSetting) {
    const TransferSetting setting = newSetting(checking, savings);
    context.deleteObject(setting.object());
    EXPECT_FALSE(TransferSetting::find(context, checking, savings));
}

TEST_F(TransferSettingTest, FindsAMovedSettingUnderItsNewPair) {
    TransferSetting setting = newSetting(checking, savings);
    setting.setToAccount(cash);
    EXPECT_FALSE(TransferSetting::find(context, checking, savings));
    EXPECT_EQ(TransferSetting::find(context, checking, cash), setting);
}

TEST_F(TransferSettingTest, TwoSettingsForOnePairAreAnInternalError) {
    newSetting(checking, savings);
    newSetting(checking, savings);
    EXPECT_THROW(TransferSetting::find(context, checking, savings), InternalError);
}

} // namespace
