#pragma once

#include <QFlags>

namespace vantrel::text {

// How a pattern is interpreted. The names follow the ICU flags they map to.
enum class RegexOption : unsigned {
    CaseInsensitive = 1U << 0,
    // ^ and $ also match at line boundaries, not only at the ends of the text.
    Multiline = 1U << 1,
    // . also matches line terminators.
    DotAll = 1U << 2,
    // White space and #-comments in the pattern are ignored.
    Comments = 1U << 3,
    // \b follows Unicode word boundaries instead of the simple \w / \W rule.
    UnicodeWordBoundaries = 1U << 4,
};
using RegexOptions = QFlags<RegexOption>;
Q_DECLARE_OPERATORS_FOR_FLAGS(RegexOptions)

// Bounds on a single match attempt, so that a pathological pattern or input ends in an error
// instead of hanging the application or exhausting memory.
struct RegexLimits {
    // In units of the ICU match engine, each 10,000 backtracking steps. The default lets one match
    // attempt run for roughly a tenth of a second, far beyond any reasonable pattern. 0 means unlimited.
    int timeLimit = 1000;
    // Bytes of backtracking stack one match attempt may use. 0 means unlimited.
    int stackLimitBytes = 8 * 1024 * 1024;

    bool operator==(const RegexLimits&) const = default;
};

} // namespace vantrel::text
