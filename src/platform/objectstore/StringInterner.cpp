#include "platform/objectstore/StringInterner.h"

namespace vantrel::objectstore {

StringInterner::StringInterner(std::size_t attributeCount)
    : m_trials(attributeCount) {}

const QString* StringInterner::intern(std::size_t attribute, const QString& text) {
    Trial& trial = m_trials.at(attribute);
    // Given up on once more than half of the first strings were new.
    if (text.size() > kMaxLength || (trial.seen >= kTrialSize && trial.added * 2 > trial.seen)) {
        return nullptr;
    }
    const auto [it, added] = m_strings.insert(text);
    if (trial.seen < kTrialSize) {
        ++trial.seen;
        trial.added += added ? 1 : 0;
    }
    return &*it;
}

} // namespace vantrel::objectstore
