#pragma once

#include "text/Regex.h"
#include "text/RegexOptions.h"

#include <QHash>
#include <QString>

#include <cstddef>
#include <list>

namespace vantrel::text {

// Compiled patterns by pattern text and options, least recently used dropped first. Not thread
// safe: each thread uses its own (forCurrentThread), which is what the free functions in
// RegexFunctions.h go through.
class RegexCache {
public:
    static constexpr std::size_t defaultCapacity = 64;

    explicit RegexCache(std::size_t capacity = defaultCapacity);

    // The compiled pattern, compiling it on first use. A pattern that does not compile throws
    // RegexError every time and is not kept.
    Regex get(const QString& pattern, RegexOptions options = {});
    bool contains(const QString& pattern, RegexOptions options = {}) const;
    std::size_t size() const { return m_entries.size(); }
    std::size_t capacity() const { return m_capacity; }

    // This thread's cache, created on first use and bounded by defaultCapacity.
    static RegexCache& forCurrentThread();

private:
    struct Key {
        QString pattern;
        RegexOptions options;

        bool operator==(const Key& other) const = default;
        friend size_t qHash(const Key& key, size_t seed = 0) {
            return qHashMulti(seed, key.pattern, key.options.toInt());
        }
    };
    struct Entry {
        Key key;
        Regex regex;
    };
    using Entries = std::list<Entry>;

    void evictIfFull();

    std::size_t m_capacity;
    // Most recently used first.
    Entries m_entries;
    QHash<Key, Entries::iterator> m_index;
};

} // namespace vantrel::text
