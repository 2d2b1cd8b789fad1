#include "app/Workspace.h"

#include "model/Account.h"
#include "model/DataModel.h"
#include "model/ModelValidation.h"
#include "platform/Clock.h"
#include "platform/InternalError.h"
#include "platform/LogCapture.h"
#include "platform/NotificationHub.h"
#include "platform/UserDefaults.h"
#include "platform/objectstore/Context.h"
#include "platform/objectstore/MemoryStore.h"
#include "support/ScriptedAlertPresenter.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vantrel;

namespace {

TEST(WorkspaceTest, AFailedSaveIsLoggedWithItsDetailsAndKeepsTheChangesInMemory) {
    auto store = std::make_shared<objectstore::MemoryStore>(model::DataModel::description());
    objectstore::Context context(store);
    model::ModelValidation::install(context);
    testsupport::ScriptedAlertPresenter alerts;
    const platform::FixedClock clock(QDateTime(QDate(2024, 3, 1), QTime(12, 0), QTimeZone::utc()),
                                     QTimeZone::utc());
    QTemporaryDir folder;
    platform::UserDefaults defaults(folder.filePath(QStringLiteral("defaults.ini")));
    platform::NotificationHub hub;
    app::Workspace workspace(context, alerts, clock, defaults, hub);

    // A transaction without its mandatory account cannot be saved.
    context.insert(u"Transaction");
    platform::LogCapture log;
    EXPECT_THROW(workspace.saveDatabase(), platform::InternalError);
    ASSERT_FALSE(log.lines().isEmpty());
    EXPECT_TRUE(log.lines().front().startsWith(QStringLiteral("Failed to save to data store: ")));
    EXPECT_TRUE(context.hasChanges());
    EXPECT_TRUE(objectstore::Context(store).all(u"Transaction").empty());
}

} // namespace
