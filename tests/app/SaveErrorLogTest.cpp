#include "app/SaveErrorLog.h"

#include "platform/LogCapture.h"
#include "platform/objectstore/SaveResult.h"

#include <gtest/gtest.h>

using namespace vantrel;

namespace {

objectstore::ValidationError errorWith(const QString& message, const QString& key) {
    objectstore::ValidationError error;
    error.message = message;
    error.userInfo.insert(QStringLiteral("NSValidationErrorKey"), key);
    return error;
}

TEST(SaveErrorLogTest, LogsEachDetailedErrorOrElseTheErrorsOwnDetails) {
    objectstore::SaveResult single;
    single.error = errorWith(QStringLiteral("account is missing"), QStringLiteral("account"));
    objectstore::SaveResult combined;
    combined.error = errorWith(QStringLiteral("Multiple validation errors occurred."), QStringLiteral("-"));
    combined.error->detailedErrors = {errorWith(QStringLiteral("a"), QStringLiteral("date")),
                                      errorWith(QStringLiteral("b"), QStringLiteral("name"))};
    objectstore::SaveResult refused;
    refused.storeFailure = QStringLiteral("disk I/O error");

    platform::LogCapture log;
    app::SaveErrorLog::output(single);
    app::SaveErrorLog::output(combined);
    app::SaveErrorLog::output(refused);

    EXPECT_EQ(log.lines(), QStringList({
                               "Failed to save to data store: account is missing",
                               "  {\"NSValidationErrorKey\":\"account\"}",
                               "Failed to save to data store: Multiple validation errors occurred.",
                               "DetailedError: {\"NSValidationErrorKey\":\"date\"}",
                               "DetailedError: {\"NSValidationErrorKey\":\"name\"}",
                               "Failed to save to data store: disk I/O error",
                           }));
}

} // namespace
