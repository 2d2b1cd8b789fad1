#pragma once

#include "model/Day.h"
#include "model/VTDateFormatter.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace vantrel::import {

// Dates whose source guarantees a fixed pattern, such as the bank-sync service's "yyyy-MM-dd".
// Read with an ICU date pattern in the Gregorian calendar in UTC, strictly: a text that does not
// fit the pattern, or names no real day, gives nothing. Month and weekday names are English,
// whatever the user's locale, as the sources write them.
class FixedPatternDateParser {
public:
    // A pattern ICU rejects is an InternalError: patterns are constants of the program.
    explicit FixedPatternDateParser(const QString& pattern);

    std::optional<model::Day> parse(QStringView text) const;

    // One text, one pattern; keep a parser to read many texts with one pattern.
    static std::optional<model::Day> parseDate(QStringView text, const QString& pattern);

private:
    model::VTDateFormatter m_formatter;
};

} // namespace vantrel::import
