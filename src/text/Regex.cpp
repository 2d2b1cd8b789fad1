#include "text/Regex.h"

#include "platform/InternalError.h"
#include "text/CompiledPattern.h"
#include "text/MatchSession.h"
#include "text/ReplacementTemplate.h"

namespace vantrel::text {

namespace {

void checkLimits(RegexLimits limits) {
    if (limits.timeLimit < 0 || limits.stackLimitBytes < 0) {
        throw platform::InternalError("Regular expression limits must not be negative");
    }
}

template <typename Visit>
void forEachMatch(MatchSession& session, Visit&& visit) {
    qsizetype from = 0;
    while (session.findFrom(from)) {
        visit(session);
        from = session.resumePosition();
    }
}

QString replaceEach(const QString& subject, MatchSession& session, const ReplacementTemplate& replacement) {
    QString result;
    qsizetype copied = 0;
    bool replaced = false;
    forEachMatch(session, [&](const MatchSession& current) {
        result += QStringView(subject).mid(copied, current.start(0) - copied);
        replacement.appendTo(result, current);
        copied = current.end(0);
        replaced = true;
    });
    if (!replaced) {
        // Shares the subject's buffer instead of copying it.
        return subject;
    }
    result += QStringView(subject).mid(copied);
    return result;
}

bool needsEscape(QChar c) {
    // Letters and digits are literal, and a backslash before them would make an escape sequence.
    // Everything else in ASCII means something in some context (white space and # under Comments).
    return c.unicode() < 0x80 && !c.isLetterOrNumber();
}

} // namespace

Regex::Regex(QStringView pattern, RegexOptions options, RegexLimits limits)
    : Regex(CompiledPattern::compile(pattern, options), limits) {}

Regex::Regex(std::shared_ptr<const CompiledPattern> compiled, RegexLimits limits)
    : m_compiled(std::move(compiled))
    , m_limits(limits) {
    checkLimits(m_limits);
}

const QString& Regex::pattern() const {
    return m_compiled->source();
}

RegexOptions Regex::options() const {
    return m_compiled->options();
}

Regex Regex::withLimits(RegexLimits limits) const {
    return Regex(m_compiled, limits);
}

int Regex::captureCount() const {
    return m_compiled->captureCount();
}

int Regex::groupNumber(QStringView name) const {
    return m_compiled->groupNumber(name);
}

bool Regex::isFoundIn(const QString& subject) const {
    MatchSession session(*m_compiled, subject, m_limits);
    return session.findFrom(0);
}

bool Regex::matchesWhole(const QString& subject) const {
    MatchSession session(*m_compiled, subject, m_limits);
    return session.matchWhole();
}

std::optional<RegexMatch> Regex::wholeMatch(const QString& subject) const {
    MatchSession session(*m_compiled, subject, m_limits);
    if (!session.matchWhole()) {
        return std::nullopt;
    }
    return RegexMatch(session, m_compiled);
}

std::optional<RegexMatch> Regex::firstMatch(const QString& subject, qsizetype from) const {
    if (from < 0 || from > subject.size()) {
        throw platform::InternalError(
            QStringLiteral("Match start %1 is outside a text of length %2").arg(from).arg(subject.size()));
    }
    MatchSession session(*m_compiled, subject, m_limits);
    if (!session.findFrom(from)) {
        return std::nullopt;
    }
    return RegexMatch(session, m_compiled);
}

std::vector<RegexMatch> Regex::allMatches(const QString& subject) const {
    MatchSession session(*m_compiled, subject, m_limits);
    std::vector<RegexMatch> matches;
    forEachMatch(session, [&](const MatchSession& current) { matches.emplace_back(current, m_compiled); });
    return matches;
}

QStringList Regex::split(const QString& subject, EmptyParts emptyParts) const {
    MatchSession session(*m_compiled, subject, m_limits);
    QStringList pieces;
    qsizetype pieceStart = 0;
    const auto addPiece = [&](qsizetype end) {
        if (end > pieceStart || emptyParts == EmptyParts::Keep) {
            pieces.append(subject.mid(pieceStart, end - pieceStart));
        }
    };
    forEachMatch(session, [&](const MatchSession& current) {
        addPiece(current.start(0));
        pieceStart = current.end(0);
    });
    addPiece(subject.size());
    return pieces;
}

QString Regex::replaceAll(const QString& subject, const QString& replacementTemplate) const {
    const ReplacementTemplate replacement = ReplacementTemplate::parse(replacementTemplate, *m_compiled);
    MatchSession session(*m_compiled, subject, m_limits);
    return replaceEach(subject, session, replacement);
}

QString Regex::replaceAllLiteral(const QString& subject, const QString& replacement) const {
    MatchSession session(*m_compiled, subject, m_limits);
    return replaceEach(subject, session, ReplacementTemplate::literal(replacement));
}

QString Regex::escape(QStringView literal) {
    QString escaped;
    escaped.reserve(literal.size() * 2);
    for (const QChar c : literal) {
        if (needsEscape(c)) {
            escaped += u'\\';
        }
        escaped += c;
    }
    return escaped;
}

} // namespace vantrel::text
