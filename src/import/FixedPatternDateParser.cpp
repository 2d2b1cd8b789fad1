#include "import/FixedPatternDateParser.h"

namespace vantrel::import {

FixedPatternDateParser::FixedPatternDateParser(const QString& pattern)
    : m_formatter(model::VTDateFormatter::withPattern(pattern, QStringLiteral("en_US_POSIX"))) {}

std::optional<model::Day> FixedPatternDateParser::parse(QStringView text) const {
    return m_formatter.parse(text);
}

std::optional<model::Day> FixedPatternDateParser::parseDate(QStringView text, const QString& pattern) {
    return FixedPatternDateParser(pattern).parse(text);
}

} // namespace vantrel::import
