#pragma once

#include "model/Day.h"
#include "model/IcuBridge.h"

#include <QString>
#include <QStringView>

#include <unicode/uversion.h>

#include <memory>
#include <optional>

U_NAMESPACE_BEGIN
class DateFormat;
U_NAMESPACE_END

namespace vantrel::model {

// Calendar days as text in the user's locale. Formatting and parsing run in the proleptic
// Gregorian calendar in UTC, the calendar days are stored in, so a day always displays as itself
// whatever the machine's time zone or the locale's preferred calendar.
class VTDateFormatter {
public:
    // The locale's medium date style ("Mar 5, 2024", "05.03.2024", "2024/03/05").
    explicit VTDateFormatter(const QString& localeId = IcuBridge::systemLocaleId());
    // A fixed ICU date pattern; a pattern ICU rejects is an InternalError (patterns are
    // constants of the program, not user input).
    static VTDateFormatter withPattern(const QString& pattern,
                                       const QString& localeId = IcuBridge::systemLocaleId());
    // "MMM dd, yyyy": the pattern dates had before the locale's own styles were used.
    static VTDateFormatter defaultDateFormatter_VT(const QString& localeId = IcuBridge::systemLocaleId());
    // "yyyy-MM-dd 00:00:00 +0000": how transaction dates are written as text.
    static QString utcDateString(const Day& day);

    ~VTDateFormatter();
    VTDateFormatter(const VTDateFormatter& other);
    VTDateFormatter& operator=(const VTDateFormatter& other);
    VTDateFormatter(VTDateFormatter&& other) noexcept;
    VTDateFormatter& operator=(VTDateFormatter&& other) noexcept;

    QString pattern() const;
    QString format(const Day& day) const;
    // The whole text (surrounding white space aside) must be a real date in the pattern:
    // "Feb 30, 2024" is nothing, not March 1.
    std::optional<Day> parse(QStringView text) const;

private:
    explicit VTDateFormatter(std::unique_ptr<icu::DateFormat> format);

    std::unique_ptr<icu::DateFormat> m_format;
};

} // namespace vantrel::model
