#pragma once

#include <QString>

#include <memory>
#include <vector>

namespace vantrel::text {

class CompiledPattern;
class MatchSession;

// One match of a Regex: the whole match is group 0, capture groups count from 1. Positions are
// QString indices into the subject, which the match keeps alive (a shared copy, not a deep one),
// so capturedView() stays valid as long as the match does.
//
// Asking for a group the pattern does not have is a programming fault (platform::InternalError);
// a group that exists but took no part in the match reads as a null string at position -1.
class RegexMatch {
public:
    // Takes the session's current match.
    explicit RegexMatch(const MatchSession& session, std::shared_ptr<const CompiledPattern> pattern);

    const QString& subject() const { return m_subject; }
    // Capture groups of the pattern, not counting the whole match.
    int captureCount() const { return static_cast<int>(m_spans.size()) - 1; }

    bool hasCaptured(int group) const { return span(group).start >= 0; }
    bool hasCaptured(QStringView name) const { return hasCaptured(groupNumber(name)); }

    QString captured(int group = 0) const { return capturedView(group).toString(); }
    QString captured(QStringView name) const { return captured(groupNumber(name)); }
    QStringView capturedView(int group = 0) const;
    QStringView capturedView(QStringView name) const { return capturedView(groupNumber(name)); }

    qsizetype capturedStart(int group = 0) const { return span(group).start; }
    qsizetype capturedEnd(int group = 0) const { return span(group).end; }
    qsizetype capturedLength(int group = 0) const;

    // The number of a named group; an unknown name is an InternalError.
    int groupNumber(QStringView name) const;

private:
    struct Span {
        qsizetype start = -1;
        qsizetype end = -1;
    };

    const Span& span(int group) const;

    QString m_subject;
    std::vector<Span> m_spans;
    std::shared_ptr<const CompiledPattern> m_pattern;
};

} // namespace vantrel::text
