#include "text/MatchSession.h"

#include "text/CompiledPattern.h"
#include "text/RegexError.h"

#include <limits>

namespace vantrel::text {

namespace {

// Reads the QString's buffer in place: positions ICU reports are then QString indices.
icu::UnicodeString aliasOf(const QString& subject, const CompiledPattern& pattern) {
    if (subject.size() > std::numeric_limits<int32_t>::max()) {
        throw RegexError::matchFailure(pattern.source(), U_INPUT_TOO_LONG_ERROR);
    }
    return icu::UnicodeString(false, reinterpret_cast<const char16_t*>(subject.constData()),
                              static_cast<int32_t>(subject.size()));
}

} // namespace

MatchSession::MatchSession(const CompiledPattern& pattern, const QString& subject, RegexLimits limits)
    : m_pattern(pattern)
    , m_subject(subject)
    // Initialised in place: assigning a read-only alias to another UnicodeString copies the text.
    , m_input(aliasOf(m_subject, pattern)) {
    UErrorCode status = U_ZERO_ERROR;
    m_matcher.reset(pattern.icuPattern().matcher(m_input, status));
    if (!m_matcher && U_SUCCESS(status)) {
        status = U_MEMORY_ALLOCATION_ERROR;
    }
    check(status);
    m_matcher->setTimeLimit(limits.timeLimit, status);
    m_matcher->setStackLimit(limits.stackLimitBytes, status);
    check(status);
}

MatchSession::~MatchSession() = default;

bool MatchSession::findFrom(qsizetype from) {
    if (from > m_subject.size()) {
        return false;
    }
    UErrorCode status = U_ZERO_ERROR;
    const bool found = m_matcher->find(from, status);
    check(status);
    return found;
}

bool MatchSession::matchWhole() {
    UErrorCode status = U_ZERO_ERROR;
    const bool matched = m_matcher->matches(status);
    check(status);
    return matched;
}

qsizetype MatchSession::resumePosition() const {
    const qsizetype matchStart = start(0);
    const qsizetype matchEnd = end(0);
    if (matchEnd > matchStart) {
        return matchEnd;
    }
    // Never resume between the halves of a surrogate pair.
    const bool pairFollows = matchEnd + 1 < m_subject.size() && m_subject.at(matchEnd).isHighSurrogate() &&
                             m_subject.at(matchEnd + 1).isLowSurrogate();
    return matchEnd + (pairFollows ? 2 : 1);
}

qsizetype MatchSession::start(int group) const {
    UErrorCode status = U_ZERO_ERROR;
    const int32_t position = m_matcher->start(group, status);
    check(status);
    return position;
}

qsizetype MatchSession::end(int group) const {
    UErrorCode status = U_ZERO_ERROR;
    const int32_t position = m_matcher->end(group, status);
    check(status);
    return position;
}

void MatchSession::check(UErrorCode status) const {
    if (U_FAILURE(status)) {
        throw RegexError::matchFailure(m_pattern.source(), status);
    }
}

} // namespace vantrel::text
