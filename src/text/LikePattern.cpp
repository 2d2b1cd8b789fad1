#include "text/LikePattern.h"

#include <vector>

namespace vantrel::text {

namespace {

bool has(LikeOption options, LikeOption flag) {
    return (static_cast<int>(options) & static_cast<int>(flag)) != 0;
}

} // namespace

LikePattern::LikePattern(QStringView pattern, LikeOption options)
    : m_pattern(fold(pattern, options))
    , m_options(options) {}

QString LikePattern::fold(QStringView text, LikeOption options) {
    QString folded = text.toString();
    if (has(options, LikeOption::DiacriticInsensitive)) {
        const QString decomposed = folded.normalized(QString::NormalizationForm_KD);
        folded.clear();
        folded.reserve(decomposed.size());
        for (QChar c : decomposed) {
            if (c.category() != QChar::Mark_NonSpacing) {
                folded.append(c);
            }
        }
    }
    if (has(options, LikeOption::CaseInsensitive)) {
        folded = folded.toCaseFolded();
    }
    return folded;
}

bool LikePattern::matches(QStringView text) const {
    const QString subject = fold(text, m_options);
    // Wildcard matching with backtracking to the last "*": linear in practice, no regex needed.
    qsizetype p = 0;
    qsizetype s = 0;
    qsizetype starAt = -1;
    qsizetype resumeAt = 0;
    while (s < subject.size()) {
        if (p < m_pattern.size() && m_pattern[p] == u'*') {
            starAt = p++;
            resumeAt = s;
        } else if (p < m_pattern.size() && (m_pattern[p] == u'?' || m_pattern[p] == subject[s])) {
            ++p;
            ++s;
        } else if (starAt >= 0) {
            p = starAt + 1;
            s = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < m_pattern.size() && m_pattern[p] == u'*') {
        ++p;
    }
    return p == m_pattern.size();
}

} // namespace vantrel::text
