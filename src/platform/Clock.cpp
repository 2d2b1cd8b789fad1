#include "platform/Clock.h"

namespace vantrel::platform {

const Clock& Clock::system() {
    static const SystemClock clock;
    return clock;
}

QDateTime SystemClock::now() const {
    return QDateTime::currentDateTimeUtc();
}

QTimeZone SystemClock::timeZone() const {
    constexpr auto kKeepFor = std::chrono::seconds(1);
    const auto now = std::chrono::steady_clock::now();
    const std::lock_guard lock(m_zoneMutex);
    if (!m_zoneReadAt || now - *m_zoneReadAt >= kKeepFor) {
        m_zone = QTimeZone::systemTimeZone();
        m_zoneReadAt = now;
    }
    return m_zone;
}

FixedClock::FixedClock(QDateTime now, QTimeZone zone)
    : m_now(now.toUTC())
    , m_zone(std::move(zone)) {}

} // namespace vantrel::platform
