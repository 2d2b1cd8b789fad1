#pragma once

#include "text/RegexOptions.h"

#include <QString>

#include <unicode/regex.h>

#include <memory>

namespace vantrel::text {

class CompiledPattern;

// One ICU matcher running over one subject, read in place. Every match attempt starts afresh, so
// the time limit bounds each attempt rather than a whole scan of a long text. Any engine failure is
// thrown as a RegexError. Internal to the text layer.
class MatchSession {
public:
    MatchSession(const CompiledPattern& pattern, const QString& subject, RegexLimits limits);
    ~MatchSession();

    // The matcher refers to m_input by address.
    MatchSession(const MatchSession&) = delete;
    MatchSession& operator=(const MatchSession&) = delete;

    // Looks for the next match starting at or after `from`; false when there is none.
    bool findFrom(qsizetype from);
    // Whether the whole subject matches.
    bool matchWhole();
    // Where to look for the match after the current one: its end, or one character further for an
    // empty match so a scan always moves forward. Past the subject's end when nothing is left.
    qsizetype resumePosition() const;

    // Positions of a group of the current match; -1 for a group that did not participate.
    qsizetype start(int group) const;
    qsizetype end(int group) const;

    const CompiledPattern& pattern() const { return m_pattern; }
    const QString& subject() const { return m_subject; }

private:
    void check(UErrorCode status) const;

    const CompiledPattern& m_pattern;
    QString m_subject;
    icu::UnicodeString m_input;
    std::unique_ptr<icu::RegexMatcher> m_matcher;
};

} // namespace vantrel::text
