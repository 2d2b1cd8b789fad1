#pragma once

#include "model/Day.h"

#include <QJsonObject>
#include <QString>

#include <optional>

namespace vantrel::model {

// Weekly repeat rule of a scheduled item: the weekday it falls on (1 = Sunday ... 7 = Saturday).
class DIWeek {
public:
    static constexpr auto kWeekdayKey = "DIWeekWeekday";

    // A weekday outside 1...7 is an InternalError.
    explicit DIWeek(int weekday);

    int weekday() const { return m_weekday; }
    bool includes(const Day& day) const { return day.weekday_vt() == m_weekday; }

    // "DIWeek: 2"
    QString description() const;

    QJsonObject toArchive() const;
    // Nothing when the object is not a well-formed weekly rule.
    static std::optional<DIWeek> fromArchive(const QJsonObject& archive);
    static bool isArchiveOf(const QJsonObject& archive) { return archive.contains(kWeekdayKey); }

    friend bool operator==(const DIWeek&, const DIWeek&) = default;

private:
    int m_weekday;
};

} // namespace vantrel::model

template <>
struct std::hash<vantrel::model::DIWeek> {
    std::size_t operator()(const vantrel::model::DIWeek& rule) const noexcept {
        return std::hash<int>()(rule.weekday());
    }
};
