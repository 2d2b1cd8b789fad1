#include "platform/NotificationHub.h"

#include "platform/InternalError.h"

#include <QMutexLocker>
#include <QPointer>

#include <algorithm>

namespace vantrel::platform {

struct NotificationHub::Observation {
    ObservationId id;
    QString name;
    QPointer<QObject> receiver;
    Observer observer;
    QMetaObject::Connection receiverDestroyed;
    bool active = true;
};

NotificationHub::NotificationHub(QObject* parent)
    : QObject(parent) {}

NotificationHub::~NotificationHub() {
    // Receivers may outlive the hub; their destroyed() connections must not call back into it.
    for (const auto& observation : m_observations) {
        QObject::disconnect(observation->receiverDestroyed);
    }
}

NotificationHub::ObservationId NotificationHub::observe(const QString& name, QObject* receiver,
                                                        Observer observer) {
    if (receiver == nullptr || !observer) {
        throw InternalError("NotificationHub::observe needs a receiver and an observer");
    }
    auto observation = std::make_shared<Observation>();
    observation->name = name;
    observation->receiver = receiver;
    observation->observer = std::move(observer);
    QMutexLocker lock(&m_mutex);
    const ObservationId id{++m_lastId};
    observation->id = id;
    // Direct, so the observation is gone before the receiver finishes dying, whatever its thread.
    observation->receiverDestroyed = connect(
        receiver, &QObject::destroyed, this, [this, id] { removeObservation(id); }, Qt::DirectConnection);
    m_observations.push_back(std::move(observation));
    return id;
}

void NotificationHub::removeObservation(ObservationId id) {
    QMutexLocker lock(&m_mutex);
    const auto found = std::find_if(m_observations.begin(), m_observations.end(),
                                    [id](const auto& observation) { return observation->id == id; });
    if (found != m_observations.end()) {
        end(**found);
        m_observations.erase(found);
    }
}

void NotificationHub::removeObserver(const QObject* receiver) {
    QMutexLocker lock(&m_mutex);
    std::erase_if(m_observations, [this, receiver](const auto& observation) {
        if (observation->receiver != receiver) {
            return false;
        }
        end(*observation);
        return true;
    });
}

void NotificationHub::post(const QString& name, QObject* sender, const QVariantMap& userInfo) {
    const Notification notification{name, sender, userInfo};
    // An observer may destroy the hub itself; nothing of it may be touched after that.
    const QPointer<NotificationHub> self(this);
    for (const auto& observation : observationsNamed(name)) {
        if (self.isNull()) {
            return;
        }
        if (isLive(*observation)) {
            observation->observer(notification);
        }
    }
}

int NotificationHub::observationCount() const {
    QMutexLocker lock(&m_mutex);
    return static_cast<int>(m_observations.size());
}

std::vector<std::shared_ptr<NotificationHub::Observation>>
NotificationHub::observationsNamed(const QString& name) const {
    // A copy, so observers can change the list while it is walked; the lock is never held while
    // an observer runs, so they can also post.
    QMutexLocker lock(&m_mutex);
    std::vector<std::shared_ptr<Observation>> matching;
    std::copy_if(m_observations.begin(), m_observations.end(), std::back_inserter(matching),
                 [&name](const auto& observation) { return observation->name == name; });
    return matching;
}

bool NotificationHub::isLive(const Observation& observation) const {
    QMutexLocker lock(&m_mutex);
    return observation.active && !observation.receiver.isNull();
}

void NotificationHub::end(Observation& observation) {
    observation.active = false;
    QObject::disconnect(observation.receiverDestroyed);
}

} // namespace vantrel::platform
