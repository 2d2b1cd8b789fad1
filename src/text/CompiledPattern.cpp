#include "text/CompiledPattern.h"

#include "text/RegexError.h"

#include <limits>

namespace vantrel::text {

namespace {

uint32_t icuFlags(RegexOptions options) {
    // A mistyped escape such as \q is reported instead of silently matching a literal q.
    uint32_t flags = UREGEX_ERROR_ON_UNKNOWN_ESCAPES;
    if (options.testFlag(RegexOption::CaseInsensitive)) {
        flags |= UREGEX_CASE_INSENSITIVE;
    }
    if (options.testFlag(RegexOption::Multiline)) {
        flags |= UREGEX_MULTILINE;
    }
    if (options.testFlag(RegexOption::DotAll)) {
        flags |= UREGEX_DOTALL;
    }
    if (options.testFlag(RegexOption::Comments)) {
        flags |= UREGEX_COMMENTS;
    }
    if (options.testFlag(RegexOption::UnicodeWordBoundaries)) {
        flags |= UREGEX_UWORD;
    }
    return flags;
}

// Only a matcher knows how many groups its pattern has.
int countGroups(const icu::RegexPattern& pattern, const QString& source) {
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<icu::RegexMatcher> matcher(pattern.matcher(status));
    if (U_FAILURE(status) || !matcher) {
        throw RegexError::matchFailure(source, U_FAILURE(status) ? status : U_MEMORY_ALLOCATION_ERROR);
    }
    return matcher->groupCount();
}

icu::UnicodeString toUnicodeString(QStringView text) {
    return icu::UnicodeString(reinterpret_cast<const char16_t*>(text.utf16()),
                              static_cast<int32_t>(text.size()));
}

} // namespace

std::shared_ptr<const CompiledPattern> CompiledPattern::compile(QStringView pattern, RegexOptions options) {
    QString source = pattern.toString();
    UParseError where{};
    UErrorCode status = U_ZERO_ERROR;
    if (pattern.size() > std::numeric_limits<int32_t>::max()) {
        throw RegexError::compileFailure(source, U_INPUT_TOO_LONG_ERROR, where);
    }
    std::unique_ptr<icu::RegexPattern> compiled(
        icu::RegexPattern::compile(toUnicodeString(pattern), icuFlags(options), where, status));
    if (U_FAILURE(status) || !compiled) {
        throw RegexError::compileFailure(source, U_FAILURE(status) ? status : U_MEMORY_ALLOCATION_ERROR,
                                         where);
    }
    const int captureCount = countGroups(*compiled, source);
    return std::shared_ptr<const CompiledPattern>(
        new CompiledPattern(std::move(source), options, std::move(compiled), captureCount));
}

CompiledPattern::CompiledPattern(QString source, RegexOptions options,
                                 std::unique_ptr<icu::RegexPattern> pattern, int captureCount)
    : m_source(std::move(source))
    , m_options(options)
    , m_pattern(std::move(pattern))
    , m_captureCount(captureCount) {}

int CompiledPattern::groupNumber(QStringView name) const {
    UErrorCode status = U_ZERO_ERROR;
    const int number = m_pattern->groupNumberFromName(toUnicodeString(name), status);
    return U_SUCCESS(status) ? number : -1;
}

} // namespace vantrel::text
