#pragma once

#include "model/Day.h"

#include <QJsonObject>
#include <QString>

#include <optional>

namespace vantrel::model {

// Monthly repeat rule of a scheduled item: a day of the month (1...31), or -1 for the last day.
// A day the month lacks falls on its last day: the 31st repeats on April 30.
class DIMonth {
public:
    static constexpr int kLastDay = -1;
    static constexpr auto kCountKey = "DIMonthCount";
    static constexpr auto kUnitKey = "DIMonthUnit";
    static constexpr auto kDayUnit = "Day";

    // A count outside -1, 1...31 or a unit other than "Day" is an InternalError.
    explicit DIMonth(int count, const QString& unit = QLatin1String(kDayUnit));

    int count() const { return m_count; }
    const QString& unit() const { return m_unit; }
    bool includes(const Day& day) const;

    // "DIMonth: 31 Day"
    QString description() const;

    QJsonObject toArchive() const;
    // Nothing when the object is not a well-formed monthly rule.
    static std::optional<DIMonth> fromArchive(const QJsonObject& archive);
    static bool isArchiveOf(const QJsonObject& archive) { return archive.contains(kCountKey); }

    friend bool operator==(const DIMonth&, const DIMonth&) = default;

private:
    int m_count;
    QString m_unit;
};

} // namespace vantrel::model

template <>
struct std::hash<vantrel::model::DIMonth> {
    std::size_t operator()(const vantrel::model::DIMonth& rule) const noexcept {
        return qHash(rule.unit()) ^ static_cast<std::size_t>(rule.count() + 1);
    }
};
