#pragma once

#include "store/CloudSync.h"

namespace vantrel::store {

// Cloud sync when no cloud is set up: never on, never merging. The probe and every request that
// needs a cloud answer with kNotConfigured; removing cloud data succeeds, as there is none.
class UnconfiguredCloudSync final : public CloudSync {
public:
    static constexpr auto kNotConfigured = "Cloud Sync is not configured.";

    bool isOn() const override { return false; }
    bool isMerging() const override { return false; }
    void hasDataInCloud(ProbeCompletion completion) override;
    void sync(Completion completion) override;
    void turnOn(Completion completion) override;
    void loadStoreWithCloudData(Completion completion) override;
    void cancelMerge(Completion completion) override;
    void processPendingChanges(Completion completion) override;
    void deleteCloudData(Completion completion) override;
    void startSyncTimer() override {}
};

} // namespace vantrel::store
