#include "model/VTDateFormatter.h"

#include "platform/InternalError.h"

#include <unicode/datefmt.h>
#include <unicode/gregocal.h>
#include <unicode/parsepos.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace vantrel::model {

namespace {

constexpr double kMillisecondsPerDay = 86'400'000.0;

std::unique_ptr<icu::TimeZone> utcZone() {
    return std::unique_ptr<icu::TimeZone>(icu::TimeZone::createTimeZone(u"UTC"));
}

// Gregorian all the way back: ICU's calendar switches to Julian before October 1582, and days
// are counted in the proleptic Gregorian calendar.
std::unique_ptr<icu::GregorianCalendar> utcCalendar(const icu::Locale& locale) {
    UErrorCode status = U_ZERO_ERROR;
    auto calendar = std::make_unique<icu::GregorianCalendar>(utcZone().release(), locale, status);
    IcuBridge::throwIfFailed(status, "creating the UTC calendar");
    calendar->setGregorianChange(U_DATE_MIN, status);
    IcuBridge::throwIfFailed(status, "making the calendar proleptic");
    calendar->setLenient(false);
    return calendar;
}

std::unique_ptr<icu::DateFormat> inUtc(std::unique_ptr<icu::DateFormat> format, const icu::Locale& locale) {
    format->adoptCalendar(utcCalendar(locale).release());
    format->adoptTimeZone(utcZone().release());
    format->setLenient(false);
    return format;
}

} // namespace

VTDateFormatter::VTDateFormatter(const QString& localeId) {
    const icu::Locale locale = IcuBridge::locale(localeId);
    std::unique_ptr<icu::DateFormat> format(
        icu::DateFormat::createDateInstance(icu::DateFormat::kMedium, locale));
    if (!format) {
        throw platform::InternalError("ICU: no medium date format for the locale");
    }
    m_format = inUtc(std::move(format), locale);
}

VTDateFormatter::VTDateFormatter(std::unique_ptr<icu::DateFormat> format)
    : m_format(std::move(format)) {}

VTDateFormatter VTDateFormatter::withPattern(const QString& pattern, const QString& localeId) {
    const icu::Locale locale = IcuBridge::locale(localeId);
    UErrorCode status = U_ZERO_ERROR;
    auto format = std::make_unique<icu::SimpleDateFormat>(IcuBridge::toUnicode(pattern), locale, status);
    IcuBridge::throwIfFailed(status, "creating a date format from a pattern");
    return VTDateFormatter(inUtc(std::move(format), locale));
}

VTDateFormatter VTDateFormatter::defaultDateFormatter_VT(const QString& localeId) {
    return withPattern(QStringLiteral("MMM dd, yyyy"), localeId);
}

QString VTDateFormatter::utcDateString(const Day& day) {
    return QStringLiteral("%1-%2-%3 00:00:00 +0000")
        .arg(day.year_VT(), 4, 10, QLatin1Char('0'))
        .arg(day.month_VT(), 2, 10, QLatin1Char('0'))
        .arg(day.day_vt(), 2, 10, QLatin1Char('0'));
}

VTDateFormatter::~VTDateFormatter() = default;

VTDateFormatter::VTDateFormatter(const VTDateFormatter& other)
    : m_format(other.m_format->clone()) {}

VTDateFormatter& VTDateFormatter::operator=(const VTDateFormatter& other) {
    if (this != &other) {
        m_format.reset(other.m_format->clone());
    }
    return *this;
}

VTDateFormatter::VTDateFormatter(VTDateFormatter&& other) noexcept = default;
VTDateFormatter& VTDateFormatter::operator=(VTDateFormatter&& other) noexcept = default;

QString VTDateFormatter::pattern() const {
    icu::UnicodeString result;
    if (const auto* simple = dynamic_cast<const icu::SimpleDateFormat*>(m_format.get())) {
        simple->toPattern(result);
    }
    return IcuBridge::toQString(result);
}

QString VTDateFormatter::format(const Day& day) const {
    icu::UnicodeString result;
    m_format->format(static_cast<double>(day.daysSinceEpoch()) * kMillisecondsPerDay, result);
    return IcuBridge::toQString(result);
}

std::optional<Day> VTDateFormatter::parse(QStringView text) const {
    const QStringView trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        return std::nullopt;
    }
    const icu::UnicodeString unicode = IcuBridge::toUnicode(trimmed);
    icu::ParsePosition position(0);
    const UDate instant = m_format->parse(unicode, position);
    if (position.getIndex() != unicode.length() || position.getErrorIndex() >= 0) {
        return std::nullopt;
    }
    const double days = std::floor(instant / kMillisecondsPerDay);
    if (!(days >= std::numeric_limits<std::int32_t>::min() &&
          days <= std::numeric_limits<std::int32_t>::max())) {
        return std::nullopt;
    }
    return Day::fromDaysSinceEpoch(static_cast<std::int32_t>(days));
}

} // namespace vantrel::model
