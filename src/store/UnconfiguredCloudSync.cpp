#include "store/UnconfiguredCloudSync.h"

namespace vantrel::store {

namespace {

QString notConfigured() {
    return QString::fromLatin1(UnconfiguredCloudSync::kNotConfigured);
}

} // namespace

void UnconfiguredCloudSync::hasDataInCloud(ProbeCompletion completion) {
    completion(false, notConfigured());
}

void UnconfiguredCloudSync::sync(Completion completion) {
    completion(notConfigured());
}

void UnconfiguredCloudSync::turnOn(Completion completion) {
    completion(notConfigured());
}

void UnconfiguredCloudSync::loadStoreWithCloudData(Completion completion) {
    completion(notConfigured());
}

// Nothing is running and nothing is stored in a cloud, so there is nothing to cancel, process or
// remove.
void UnconfiguredCloudSync::cancelMerge(Completion completion) {
    completion(std::nullopt);
}

void UnconfiguredCloudSync::processPendingChanges(Completion completion) {
    completion(std::nullopt);
}

void UnconfiguredCloudSync::deleteCloudData(Completion completion) {
    completion(std::nullopt);
}

} // namespace vantrel::store
