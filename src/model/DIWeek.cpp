#include "model/DIWeek.h"

#include "platform/InternalError.h"

namespace vantrel::model {

DIWeek::DIWeek(int weekday)
    : m_weekday(weekday) {
    if (weekday < 1 || weekday > 7) {
        throw platform::InternalError(QStringLiteral("DIWeek: weekday %1 out of range").arg(weekday));
    }
}

QString DIWeek::description() const {
    return QStringLiteral("DIWeek: %1").arg(m_weekday);
}

QJsonObject DIWeek::toArchive() const {
    return QJsonObject{{QLatin1String(kWeekdayKey), m_weekday}};
}

std::optional<DIWeek> DIWeek::fromArchive(const QJsonObject& archive) {
    const QJsonValue weekday = archive.value(QLatin1String(kWeekdayKey));
    if (!weekday.isDouble()) {
        return std::nullopt;
    }
    const double value = weekday.toDouble();
    if (value != static_cast<int>(value) || value < 1 || value > 7) {
        return std::nullopt;
    }
    return DIWeek(static_cast<int>(value));
}

} // namespace vantrel::model
