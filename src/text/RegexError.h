#pragma once

#include <QString>

#include <unicode/parseerr.h>
#include <unicode/utypes.h>

#include <stdexcept>

namespace vantrel::text {

// A regular expression could not be compiled or a match could not be completed. Never means
// "no match": whoever catches it must treat the result as unknown.
class RegexError : public std::runtime_error {
public:
    enum class Kind {
        // The pattern does not compile; line() and offset() locate the fault.
        InvalidPattern,
        // A replacement template refers to a missing group or is malformed.
        InvalidReplacement,
        // The match exceeded its time limit, typically through catastrophic backtracking.
        TimeOut,
        // The match exceeded its backtracking stack limit.
        StackOverflow,
        // Any other failure reported by the engine while matching.
        MatchFailure,
    };

    static RegexError compileFailure(const QString& pattern, UErrorCode code, const UParseError& where);
    static RegexError matchFailure(const QString& pattern, UErrorCode code);
    static RegexError replacementFailure(const QString& pattern, const QString& replacement, UErrorCode code,
                                         qsizetype offset);

    Kind kind() const { return m_kind; }
    const QString& pattern() const { return m_pattern; }
    // The ICU name of the failure, such as "U_REGEX_TIME_OUT".
    const QString& errorName() const { return m_errorName; }
    // 1-based line of a compile error; -1 when unknown or not a compile error.
    int line() const { return m_line; }
    // For a compile error, how far into its line ICU had read when it found the fault (so "a(b"
    // reports 3, the end); for a replacement template, the index of the faulty $ or backslash.
    // -1 when unknown.
    int offset() const { return m_offset; }
    QString message() const { return QString::fromUtf8(what()); }

private:
    RegexError(Kind kind, const QString& pattern, UErrorCode code, int line, int offset,
               const QString& message);

    Kind m_kind;
    QString m_pattern;
    QString m_errorName;
    int m_line;
    int m_offset;
};

} // namespace vantrel::text
