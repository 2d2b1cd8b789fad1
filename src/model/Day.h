#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTimeZone>

#include <compare>
#include <cstdint>
#include <optional>
#include <vector>

namespace vantrel::platform {
class Clock;
}

namespace vantrel::model {

// A calendar day, stored as the instant of midnight UTC that begins it. All arithmetic runs in the
// proleptic Gregorian calendar in UTC, weeks start on Monday, weekdays are numbered 1 = Sunday ...
// 7 = Saturday. "Today" is the date on the user's clock, whatever their time zone.
class Day {
public:
    // 1970-01-01.
    constexpr Day() = default;

    static Day fromDaysSinceEpoch(std::int32_t days) { return Day(days); }
    // Nothing for a date that does not exist (February 30, month 13, ...).
    static std::optional<Day> fromCivil(int year, int month, int day);
    // Midnight UTC of that day; an invalid date is an InternalError.
    static Day dateWithYear_VT(int year, int month, int day);
    static Day fromQDate(const QDate& date);
    // The UTC-calendar day of an instant: how stored dates are normalised on assignment.
    static Day fromInstant(const QDateTime& instant);
    // The local calendar day of an instant, as midnight UTC.
    static Day utcDateFromLocalDate_VT(const QDateTime& instant, const QTimeZone& zone);
    // The date on the user's clock now.
    static Day today_VT(const platform::Clock& clock);
    // "yyyy-MM-dd"; nothing for anything else.
    static std::optional<Day> fromIsoString(QStringView text);

    std::int32_t daysSinceEpoch() const { return m_days; }
    QDate toQDate() const;
    // Midnight UTC.
    QDateTime toInstant() const;
    // "yyyy-MM-dd".
    QString toIsoString() const;

    int year_VT() const;
    int month_VT() const;
    int day_vt() const;
    // 1 = Sunday ... 7 = Saturday.
    int weekday_vt() const;
    int daysInMonth() const;

    Day advanceDays_VT(int days) const { return Day(m_days + days); }
    Day daysLater_VT(int days) const { return advanceDays_VT(days); }
    Day daysAgo_VT(int days) const { return advanceDays_VT(-days); }
    Day advanceWeeks_vt(int weeks) const { return advanceDays_VT(7 * weeks); }
    // A negative step is an InternalError.
    Day weeksLater_vt(int weeks) const;
    // Calendar months; a day missing from the target month becomes that month's last day.
    Day advanceMonths_VT(int months) const;
    Day monthsLater_VT(int months) const { return advanceMonths_VT(months); }
    Day monthsAgo_VT(int months) const { return advanceMonths_VT(-months); }

    // Whole days from `other` to this day (positive when this day is later).
    int numberOfDaysAfter_VT(const Day& other) const { return m_days - other.m_days; }
    int daysAwayFrom_vt(const Day& other) const;
    // Whole months from the first of `other`'s month to the first of this day's month.
    int numberOfMonthsAfter_vt(const Day& other) const;

    bool isLaterThan_VT(const Day& other) const { return m_days > other.m_days; }
    bool isEarlierThan_VT(const Day& other) const { return m_days < other.m_days; }
    bool isOnOrAfter_vt(const Day& other) const { return !isEarlierThan_VT(other); }
    bool isOnOrBefore_vt(const Day& other) const { return !isLaterThan_VT(other); }

    // The Monday of this day's week.
    Day beginningOfWeek_vt() const;
    Day beginningOfMonth_vt() const;
    Day endOfMonth_vt() const;
    Day beginningOfYear_vt() const;
    Day endOfYear_vt() const;

    // The last day of every month from `start`'s month through `end`'s month; empty when the
    // start month is after the end month.
    static std::vector<Day> monthsFromStartDate(const Day& start, const Day& end);

    friend bool operator==(const Day&, const Day&) = default;
    friend auto operator<=>(const Day&, const Day&) = default;

private:
    constexpr explicit Day(std::int32_t days)
        : m_days(days) {}

    std::int32_t m_days = 0;
};

// Instants seen on the user's clock.

// Whole days from the start of `since`'s local day to the start of `value`'s local day.
int daysSince_VT(const QDateTime& value, const QDateTime& since, const QTimeZone& zone);
// "yyyy-MM-dd_HH-mm-ss" in the given time zone: the stamp in backup file names.
QString toTimestamp_vt(const QDateTime& instant, const QTimeZone& zone);
QString timestampNow_vt(const platform::Clock& clock);

} // namespace vantrel::model

template <>
struct std::hash<vantrel::model::Day> {
    std::size_t operator()(const vantrel::model::Day& day) const noexcept {
        return std::hash<std::int32_t>()(day.daysSinceEpoch());
    }
};
