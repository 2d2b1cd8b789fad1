#include "text/RegexMatch.h"

#include "platform/InternalError.h"
#include "text/CompiledPattern.h"
#include "text/MatchSession.h"

namespace vantrel::text {

RegexMatch::RegexMatch(const MatchSession& session, std::shared_ptr<const CompiledPattern> pattern)
    : m_subject(session.subject())
    , m_pattern(std::move(pattern)) {
    const int groups = m_pattern->captureCount();
    m_spans.reserve(static_cast<std::size_t>(groups) + 1);
    for (int group = 0; group <= groups; ++group) {
        m_spans.push_back(Span{session.start(group), session.end(group)});
    }
}

QStringView RegexMatch::capturedView(int group) const {
    const Span& s = span(group);
    if (s.start < 0) {
        return {};
    }
    return QStringView(m_subject).mid(s.start, s.end - s.start);
}

qsizetype RegexMatch::capturedLength(int group) const {
    const Span& s = span(group);
    return s.start < 0 ? 0 : s.end - s.start;
}

int RegexMatch::groupNumber(QStringView name) const {
    const int group = m_pattern->groupNumber(name);
    if (group < 0) {
        throw platform::InternalError(QStringLiteral("Regular expression \"%1\" has no group named \"%2\"")
                                          .arg(m_pattern->source(), name));
    }
    return group;
}

const RegexMatch::Span& RegexMatch::span(int group) const {
    if (group < 0 || group >= static_cast<int>(m_spans.size())) {
        throw platform::InternalError(
            QStringLiteral("Regular expression \"%1\" has no group %2").arg(m_pattern->source()).arg(group));
    }
    return m_spans[static_cast<std::size_t>(group)];
}

} // namespace vantrel::text
