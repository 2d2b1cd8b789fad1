#include "store/UnconfiguredCloudSync.h"

#include <gtest/gtest.h>

#include <vector>

namespace vantrel::store {
namespace {

TEST(UnconfiguredCloudSyncTest, AnswersAtOnceAndOnlyWhatNeedsNoCloudSucceeds) {
    UnconfiguredCloudSync sync;
    EXPECT_FALSE(sync.isOn());
    EXPECT_FALSE(sync.isMerging());

    int probes = 0;
    sync.hasDataInCloud([&](bool found, const std::optional<QString>& error) {
        ++probes;
        EXPECT_FALSE(found);
        EXPECT_EQ(error, QString::fromLatin1(UnconfiguredCloudSync::kNotConfigured));
    });
    EXPECT_EQ(probes, 1);

    using Request = void (UnconfiguredCloudSync::*)(CloudSync::Completion);
    const std::vector<std::pair<Request, bool>> requests = {
        {&UnconfiguredCloudSync::sync, false},
        {&UnconfiguredCloudSync::turnOn, false},
        {&UnconfiguredCloudSync::loadStoreWithCloudData, false},
        {&UnconfiguredCloudSync::cancelMerge, true},
        {&UnconfiguredCloudSync::processPendingChanges, true},
        {&UnconfiguredCloudSync::deleteCloudData, true},
    };
    for (const auto& [request, succeeds] : requests) {
        int answers = 0;
        (sync.*request)([&](const std::optional<QString>& error) {
            ++answers;
            EXPECT_EQ(!error.has_value(), succeeds);
            if (error) {
                EXPECT_EQ(*error, "Cloud Sync is not configured.");
            }
        });
        EXPECT_EQ(answers, 1);
    }
}

} // namespace
} // namespace vantrel::store
