#pragma once

#include "platform/Notification.h"

#include <QMutex>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <functional>
#include <memory>
#include <vector>

namespace vantrel::platform {

// Carries the application's named notifications from whoever posts them to whoever observes them.
//
// Delivery is synchronous: post() calls every matching observer, in the order they were added, on
// the posting thread, before it returns. An observer may post, observe or remove during delivery:
// a nested post is delivered at once; an observation added during a post hears only later posts;
// one removed (or whose receiver is destroyed) before its turn is skipped. Observers whose
// receivers live on another thread must not be destroyed while a post may reach them.
class NotificationHub : public QObject {
    Q_OBJECT

public:
    using Observer = std::function<void(const Notification&)>;
    enum class ObservationId : quint64 {};

    explicit NotificationHub(QObject* parent = nullptr);
    ~NotificationHub() override;

    // The observation ends by itself when receiver is destroyed.
    ObservationId observe(const QString& name, QObject* receiver, Observer observer);
    // Ending an observation that has already ended is harmless.
    void removeObservation(ObservationId id);
    void removeObserver(const QObject* receiver);

    void post(const QString& name, QObject* sender = nullptr, const QVariantMap& userInfo = {});

    int observationCount() const;

private:
    struct Observation;

    std::vector<std::shared_ptr<Observation>> observationsNamed(const QString& name) const;
    bool isLive(const Observation& observation) const;
    void end(Observation& observation);

    mutable QMutex m_mutex;
    std::vector<std::shared_ptr<Observation>> m_observations;
    quint64 m_lastId = 0;
};

} // namespace vantrel::platform
