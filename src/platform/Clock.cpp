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
    return QTimeZone::systemTimeZone();
}

FixedClock::FixedClock(QDateTime now, QTimeZone zone)
    : m_now(now.toUTC())
    , m_zone(std::move(zone)) {}

} // namespace vantrel::platform
