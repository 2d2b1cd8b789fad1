#pragma once

#include "text/RegexMatch.h"
#include "text/RegexOptions.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

namespace vantrel::text {

class CompiledPattern;

// Whether split() keeps the empty pieces between adjacent separators and at the ends.
enum class EmptyParts { Keep, Skip };

// A compiled ICU regular expression. Copies share the compiled form and are cheap; a Regex is
// immutable, so it can be a function-local `static const` and be used from several threads.
// Subjects are read in place and all positions are QString (UTF-16) indices.
//
// Every operation throws RegexError when the engine fails (time or stack limit exceeded, ...):
// a failure is never reported as "no match".
class Regex {
public:
    // Throws RegexError with the position of the fault when the pattern does not compile.
    explicit Regex(QStringView pattern, RegexOptions options = {}, RegexLimits limits = {});

    const QString& pattern() const;
    RegexOptions options() const;
    RegexLimits limits() const { return m_limits; }
    // The same compiled pattern under other limits.
    Regex withLimits(RegexLimits limits) const;

    // Capture groups, not counting the whole match.
    int captureCount() const;
    // -1 when the pattern has no group of that name.
    int groupNumber(QStringView name) const;

    // Whether the pattern matches anywhere in the subject.
    bool isFoundIn(const QString& subject) const;
    // Whether the pattern matches the whole subject.
    bool matchesWhole(const QString& subject) const;
    // The whole-subject match with its groups, if the pattern matches the whole subject.
    std::optional<RegexMatch> wholeMatch(const QString& subject) const;
    // The first match starting at or after `from`.
    std::optional<RegexMatch> firstMatch(const QString& subject, qsizetype from = 0) const;
    // All non-overlapping matches, left to right. After an empty match the scan moves on by one
    // character, so a pattern that can match nothing still terminates.
    std::vector<RegexMatch> allMatches(const QString& subject) const;

    // The pieces between matches. Every match separates, so a subject without a match gives one
    // piece and a separator at either end gives an empty piece there (unless skipped).
    QStringList split(const QString& subject, EmptyParts emptyParts = EmptyParts::Keep) const;
    // Replaces every match with `replacementTemplate`, in which $n and ${name} insert a group and a
    // backslash makes the next character literal. A bad template throws RegexError.
    QString replaceAll(const QString& subject, const QString& replacementTemplate) const;
    // Replaces every match with `replacement` exactly as written.
    QString replaceAllLiteral(const QString& subject, const QString& replacement) const;

    // A pattern that matches `literal` and nothing else, under any options.
    static QString escape(QStringView literal);

private:
    Regex(std::shared_ptr<const CompiledPattern> compiled, RegexLimits limits);

    std::shared_ptr<const CompiledPattern> m_compiled;
    RegexLimits m_limits;
};

} // namespace vantrel::text
