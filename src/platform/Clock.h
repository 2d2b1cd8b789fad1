#pragma once

#include <QDateTime>
#include <QTimeZone>

#include <chrono>
#include <mutex>
#include <optional>

namespace vantrel::platform {

// The source of "now" and of the user's time zone. Everything that needs today's date or the
// current instant takes a Clock, so tests can pin both.
class Clock {
public:
    virtual ~Clock() = default;

    // The current instant, in UTC.
    virtual QDateTime now() const = 0;
    // The user's time zone, which decides what "today" is.
    virtual QTimeZone timeZone() const = 0;

    // The machine's clock and time zone.
    static const Clock& system();
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override;
    // Asking the system reads its zone files each time; an import asks once per transaction, so
    // the answer is kept for a second, short enough to follow a change of zone (travel) at once.
    QTimeZone timeZone() const override;

private:
    mutable std::mutex m_zoneMutex;
    mutable QTimeZone m_zone;
    mutable std::optional<std::chrono::steady_clock::time_point> m_zoneReadAt;
};

// A clock that stands still until told otherwise: for tests and reproducible command-line runs.
class FixedClock final : public Clock {
public:
    FixedClock(QDateTime now, QTimeZone zone);

    QDateTime now() const override { return m_now; }
    QTimeZone timeZone() const override { return m_zone; }

    void setNow(const QDateTime& now) { m_now = now.toUTC(); }
    void advanceSeconds(qint64 seconds) { m_now = m_now.addSecs(seconds); }
    void setTimeZone(const QTimeZone& zone) { m_zone = zone; }

private:
    QDateTime m_now;
    QTimeZone m_zone;
};

} // namespace vantrel::platform
