#pragma once

#include "store/CloudSync.h"

#include <QStringList>

#include <optional>
#include <utility>

namespace vantrel::testsupport {

// Cloud sync whose answers the test decides. The probe answers at once with the scripted outcome,
// or is held in heldProbe; cancelMerge and processPendingChanges are held until the test
// completes them; the other requests answer at once with the scripted error (none: success). Every
// request is recorded by name in `calls`.
//
// The sync object is owned by the store controller, so a test keeps a pointer to it: the state it
// scripts lives in a separate record the test owns and the fake only refers to.
class ScriptedCloudSync final : public store::CloudSync {
public:
    enum class Probe { Found, None, Error, Never };

    struct Script {
        Probe probe = Probe::None;
        bool on = false;
        bool merging = false;
        // Holds sync completions in heldSync instead of answering at once.
        bool holdSync = false;
        std::optional<QString> syncError;
        std::optional<QString> turnOnError;
        std::optional<QString> loadError;
        std::optional<QString> deleteError;
        std::optional<QString> cancelError;
        QStringList calls;
        ProbeCompletion heldProbe;
        Completion heldSync;
        Completion heldCancel;
        Completion heldPending;
    };

    explicit ScriptedCloudSync(Script& script)
        : m_script(script) {}

    bool isOn() const override { return m_script.on; }
    bool isMerging() const override { return m_script.merging; }

    void hasDataInCloud(ProbeCompletion completion) override {
        m_script.calls << QStringLiteral("hasDataInCloud");
        switch (m_script.probe) {
        case Probe::Found:
            return completion(true, std::nullopt);
        case Probe::None:
            return completion(false, std::nullopt);
        case Probe::Error:
            return completion(false, QStringLiteral("The network is unreachable."));
        case Probe::Never:
            m_script.heldProbe = std::move(completion);
            return;
        }
    }
    void sync(Completion completion) override {
        m_script.calls << QStringLiteral("sync");
        if (m_script.holdSync) {
            m_script.heldSync = std::move(completion);
            return;
        }
        completion(m_script.syncError);
    }
    void turnOn(Completion completion) override {
        m_script.calls << QStringLiteral("turnOn");
        completion(m_script.turnOnError);
    }
    void loadStoreWithCloudData(Completion completion) override {
        m_script.calls << QStringLiteral("loadStoreWithCloudData");
        completion(m_script.loadError);
    }
    void cancelMerge(Completion completion) override {
        m_script.calls << QStringLiteral("cancelMerge");
        m_script.heldCancel = std::move(completion);
    }
    void processPendingChanges(Completion completion) override {
        m_script.calls << QStringLiteral("processPendingChanges");
        m_script.heldPending = std::move(completion);
    }
    void deleteCloudData(Completion completion) override {
        m_script.calls << QStringLiteral("deleteCloudData");
        completion(m_script.deleteError);
    }
    void startSyncTimer() override { m_script.calls << QStringLiteral("startSyncTimer"); }

private:
    Script& m_script;
};

// Completes a held request, as the sync engine would later.
inline void complete(store::CloudSync::Completion& held, std::optional<QString> error = std::nullopt) {
    auto completion = std::exchange(held, {});
    completion(error);
}

} // namespace vantrel::testsupport
