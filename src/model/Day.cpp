#include "model/Day.h"

#include "platform/Clock.h"
#include "platform/InternalError.h"

#include <cstdlib>

namespace vantrel::model {

namespace {

struct Civil {
    int year;
    int month;
    int day;
};

// Proleptic Gregorian conversions (days since 1970-01-01), exact for every representable day.
std::int32_t daysFromCivil(int year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const int era = (year >= 0 ? year : year - 399) / 400;
    const int yearOfEra = year - era * 400;
    const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

Civil civilFromDays(std::int32_t days) {
    const int shifted = days + 719468;
    const int era = (shifted >= 0 ? shifted : shifted - 146096) / 146097;
    const int dayOfEra = shifted - era * 146097;
    const int yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int monthIndex = (5 * dayOfYear + 2) / 153;
    const int day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    const int month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    const int year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    return {year, month, day};
}

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonthOf(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

} // namespace

std::optional<Day> Day::fromCivil(int year, int month, int day) {
    if (year < -999999 || year > 999999 || month < 1 || month > 12 || day < 1 ||
        day > daysInMonthOf(year, month)) {
        return std::nullopt;
    }
    return Day(daysFromCivil(year, month, day));
}

Day Day::dateWithYear_VT(int year, int month, int day) {
    const auto result = fromCivil(year, month, day);
    if (!result) {
        throw platform::InternalError(
            QStringLiteral("Day: no such date %1-%2-%3").arg(year).arg(month).arg(day));
    }
    return *result;
}

Day Day::fromQDate(const QDate& date) {
    if (!date.isValid()) {
        throw platform::InternalError("Day: invalid QDate");
    }
    return dateWithYear_VT(date.year(), date.month(), date.day());
}

Day Day::fromInstant(const QDateTime& instant) {
    return fromQDate(instant.toUTC().date());
}

Day Day::utcDateFromLocalDate_VT(const QDateTime& instant, const QTimeZone& zone) {
    return fromQDate(instant.toTimeZone(zone).date());
}

Day Day::today_VT(const platform::Clock& clock) {
    return utcDateFromLocalDate_VT(clock.now(), clock.timeZone());
}

std::optional<Day> Day::fromIsoString(QStringView text) {
    if (text.size() != 10 || text[4] != u'-' || text[7] != u'-') {
        return std::nullopt;
    }
    const auto number = [&text](int from, int length) {
        int value = 0;
        for (int i = from; i < from + length; ++i) {
            if (!text[i].isDigit() || text[i].unicode() > u'9') {
                return -1;
            }
            value = value * 10 + (text[i].unicode() - u'0');
        }
        return value;
    };
    const int year = number(0, 4);
    const int month = number(5, 2);
    const int day = number(8, 2);
    if (year < 0 || month < 0 || day < 0) {
        return std::nullopt;
    }
    return fromCivil(year, month, day);
}

QDate Day::toQDate() const {
    const Civil civil = civilFromDays(m_days);
    return QDate(civil.year, civil.month, civil.day);
}

QDateTime Day::toInstant() const {
    return QDateTime::fromSecsSinceEpoch(static_cast<qint64>(m_days) * 86400, QTimeZone::utc());
}

QString Day::toIsoString() const {
    const Civil civil = civilFromDays(m_days);
    return QStringLiteral("%1-%2-%3")
        .arg(civil.year, 4, 10, QLatin1Char('0'))
        .arg(civil.month, 2, 10, QLatin1Char('0'))
        .arg(civil.day, 2, 10, QLatin1Char('0'));
}

int Day::year_VT() const {
    return civilFromDays(m_days).year;
}

int Day::month_VT() const {
    return civilFromDays(m_days).month;
}

int Day::day_vt() const {
    return civilFromDays(m_days).day;
}

int Day::weekday_vt() const {
    // 1970-01-01 was a Thursday (5).
    const int fromThursday = ((m_days % 7) + 7) % 7;
    return (fromThursday + 4) % 7 + 1;
}

int Day::daysInMonth() const {
    const Civil civil = civilFromDays(m_days);
    return daysInMonthOf(civil.year, civil.month);
}

Day Day::weeksLater_vt(int weeks) const {
    if (weeks < 0) {
        throw platform::InternalError("Step needs to be a positive integer");
    }
    return advanceWeeks_vt(weeks);
}

Day Day::advanceMonths_VT(int months) const {
    const Civil civil = civilFromDays(m_days);
    const long monthIndex = static_cast<long>(civil.year) * 12 + (civil.month - 1) + months;
    const int year = static_cast<int>(monthIndex >= 0 ? monthIndex / 12 : (monthIndex - 11) / 12);
    const int month = static_cast<int>(monthIndex - static_cast<long>(year) * 12) + 1;
    const int day = std::min(civil.day, daysInMonthOf(year, month));
    return Day(daysFromCivil(year, month, day));
}

int Day::daysAwayFrom_vt(const Day& other) const {
    return std::abs(numberOfDaysAfter_VT(other));
}

int Day::numberOfMonthsAfter_vt(const Day& other) const {
    const Civil mine = civilFromDays(m_days);
    const Civil theirs = civilFromDays(other.m_days);
    return (mine.year - theirs.year) * 12 + (mine.month - theirs.month);
}

Day Day::beginningOfWeek_vt() const {
    const int weekday = weekday_vt();
    return daysAgo_VT(weekday == 1 ? 6 : weekday - 2);
}

Day Day::beginningOfMonth_vt() const {
    const Civil civil = civilFromDays(m_days);
    return Day(daysFromCivil(civil.year, civil.month, 1));
}

Day Day::endOfMonth_vt() const {
    const Civil civil = civilFromDays(m_days);
    return Day(daysFromCivil(civil.year, civil.month, daysInMonthOf(civil.year, civil.month)));
}

Day Day::beginningOfYear_vt() const {
    return Day(daysFromCivil(civilFromDays(m_days).year, 1, 1));
}

Day Day::endOfYear_vt() const {
    return Day(daysFromCivil(civilFromDays(m_days).year, 12, 31));
}

std::vector<Day> Day::monthsFromStartDate(const Day& start, const Day& end) {
    std::vector<Day> monthEnds;
    const Day last = end.endOfMonth_vt();
    for (Day current = start.endOfMonth_vt(); !current.isLaterThan_VT(last);
         current = current.advanceMonths_VT(1).endOfMonth_vt()) {
        monthEnds.push_back(current);
    }
    return monthEnds;
}

int daysSince_VT(const QDateTime& value, const QDateTime& since, const QTimeZone& zone) {
    return Day::utcDateFromLocalDate_VT(value, zone)
        .numberOfDaysAfter_VT(Day::utcDateFromLocalDate_VT(since, zone));
}

QString toTimestamp_vt(const QDateTime& instant, const QTimeZone& zone) {
    return instant.toTimeZone(zone).toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss"));
}

QString timestampNow_vt(const platform::Clock& clock) {
    return toTimestamp_vt(clock.now(), clock.timeZone());
}

} // namespace vantrel::model
