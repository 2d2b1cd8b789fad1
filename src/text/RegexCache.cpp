#include "text/RegexCache.h"

#include "platform/InternalError.h"

namespace vantrel::text {

RegexCache::RegexCache(std::size_t capacity)
    : m_capacity(capacity) {
    if (m_capacity == 0) {
        throw platform::InternalError("A regular expression cache needs room for at least one pattern");
    }
}

Regex RegexCache::get(const QString& pattern, RegexOptions options) {
    const Key key{pattern, options};
    const auto found = m_index.constFind(key);
    if (found != m_index.constEnd()) {
        m_entries.splice(m_entries.begin(), m_entries, found.value());
        return m_entries.front().regex;
    }
    // Compile before touching the cache, so a bad pattern leaves it as it was.
    Regex regex(pattern, options);
    evictIfFull();
    m_entries.push_front(Entry{key, regex});
    m_index.insert(key, m_entries.begin());
    return regex;
}

bool RegexCache::contains(const QString& pattern, RegexOptions options) const {
    return m_index.contains(Key{pattern, options});
}

RegexCache& RegexCache::forCurrentThread() {
    thread_local RegexCache cache;
    return cache;
}

void RegexCache::evictIfFull() {
    if (m_entries.size() < m_capacity) {
        return;
    }
    m_index.remove(m_entries.back().key);
    m_entries.pop_back();
}

} // namespace vantrel::text
