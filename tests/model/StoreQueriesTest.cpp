#include "model/StoreQueries.h"

#include "model/DataModel.h"
#include "platform/InternalError.h"
#include "platform/objectstore/MemoryStore.h"

#include <gtest/gtest.h>

#include <memory>

using vantrel::model::DataModel;
using vantrel::model::StoreQueries;
using vantrel::objectstore::Context;
using vantrel::objectstore::ManagedObject;
using vantrel::objectstore::MemoryStore;
using vantrel::platform::InternalError;

namespace {

QString messageOfFindOnly(Context& context, const QString& from) {
    try {
        StoreQueries::findOnlyByPredicate_vt(context, u"PayeeRenameRule", [&from](const ManagedObject& rule) {
            return vantrel::objectstore::describe(rule.value(u"from")) == from;
        });
    } catch (const InternalError& error) {
        return error.message();
    }
    return QStringLiteral("no error");
}

TEST(StoreQueries, FindOnlyAnswersTheSingleMatchAndTreatsAnyOtherCountAsAFault) {
    Context context(std::make_shared<MemoryStore>(DataModel::description()));
    for (const char* from : {"AMZN", "SHELL", "SHELL"}) {
        context.insert(u"PayeeRenameRule")->setValue(u"from", QString::fromLatin1(from));
    }
    ManagedObject* amazon =
        StoreQueries::findOnlyByPredicate_vt(context, u"PayeeRenameRule", [](const ManagedObject& rule) {
            return vantrel::objectstore::describe(rule.value(u"from")) == QLatin1String("AMZN");
        });
    ASSERT_NE(amazon, nullptr);
    EXPECT_EQ(vantrel::objectstore::describe(amazon->value(u"from")), QStringLiteral("AMZN"));

    EXPECT_EQ(messageOfFindOnly(context, QStringLiteral("NONE")),
              QStringLiteral("expected 1 count, but was 0"));
    EXPECT_EQ(messageOfFindOnly(context, QStringLiteral("SHELL")),
              QStringLiteral("expected 1 count, but was 2"));
}

} // namespace
