#include "model/DIMonth.h"

#include "platform/InternalError.h"

namespace vantrel::model {

DIMonth::DIMonth(int count, const QString& unit)
    : m_count(count)
    , m_unit(unit) {
    if (unit != QLatin1String(kDayUnit)) {
        throw platform::InternalError("Only support day as unit for now");
    }
    if (count != kLastDay && (count < 1 || count > 31)) {
        throw platform::InternalError(QStringLiteral("DIMonth: count %1 out of range").arg(count));
    }
}

bool DIMonth::includes(const Day& day) const {
    if (m_count != kLastDay && m_count <= day.daysInMonth()) {
        return day.day_vt() == m_count;
    }
    return day == day.endOfMonth_vt();
}

QString DIMonth::description() const {
    return QStringLiteral("DIMonth: %1 %2").arg(m_count).arg(m_unit);
}

QJsonObject DIMonth::toArchive() const {
    return QJsonObject{{QLatin1String(kCountKey), m_count}, {QLatin1String(kUnitKey), m_unit}};
}

std::optional<DIMonth> DIMonth::fromArchive(const QJsonObject& archive) {
    const QJsonValue count = archive.value(QLatin1String(kCountKey));
    const QJsonValue unit = archive.value(QLatin1String(kUnitKey));
    if (!count.isDouble() || !unit.isString() || unit.toString() != QLatin1String(kDayUnit)) {
        return std::nullopt;
    }
    const double value = count.toDouble();
    if (value != static_cast<int>(value) || (value != kLastDay && (value < 1 || value > 31))) {
        return std::nullopt;
    }
    return DIMonth(static_cast<int>(value));
}

} // namespace vantrel::model
