#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace vantrel::store {

// What start-up, saving and quitting need of cloud synchronisation. The sync engine plugs in here;
// until one is configured, UnconfiguredCloudSync answers. Completions run on the main thread,
// possibly before the call returns.
class CloudSync {
public:
    // Nothing on success, else the error's description.
    using Completion = std::function<void(const std::optional<QString>& error)>;
    using ProbeCompletion = std::function<void(bool found, const std::optional<QString>& error)>;

    virtual ~CloudSync() = default;

    // Whether sync is turned on for this database.
    virtual bool isOn() const = 0;
    // Whether a merge with the cloud is running now.
    virtual bool isMerging() const = 0;

    // First run: whether this application's data already exists in the cloud.
    virtual void hasDataInCloud(ProbeCompletion completion) = 0;
    // Merges local and cloud changes.
    virtual void sync(Completion completion) = 0;
    virtual void turnOn(Completion completion) = 0;
    // First run: makes the local store from the cloud's data.
    virtual void loadStoreWithCloudData(Completion completion) = 0;
    virtual void cancelMerge(Completion completion) = 0;
    virtual void processPendingChanges(Completion completion) = 0;
    // Removes this application's data from the cloud (reset).
    virtual void deleteCloudData(Completion completion) = 0;
    // The periodic merge while the application runs.
    virtual void startSyncTimer() = 0;
};

} // namespace vantrel::store
