#include "text/RegexFunctions.h"

#include "text/RegexCache.h"

namespace vantrel::text {

Regex cachedRegex(const QString& pattern, RegexOptions options) {
    return RegexCache::forCurrentThread().get(pattern, options);
}

bool isFoundIn(const QString& pattern, const QString& subject, RegexOptions options) {
    return cachedRegex(pattern, options).isFoundIn(subject);
}

bool matchesWhole(const QString& pattern, const QString& subject, RegexOptions options) {
    return cachedRegex(pattern, options).matchesWhole(subject);
}

std::optional<RegexMatch> wholeMatch(const QString& pattern, const QString& subject, RegexOptions options) {
    return cachedRegex(pattern, options).wholeMatch(subject);
}

std::optional<RegexMatch> firstMatch(const QString& pattern, const QString& subject, RegexOptions options) {
    return cachedRegex(pattern, options).firstMatch(subject);
}

std::vector<RegexMatch> allMatches(const QString& pattern, const QString& subject, RegexOptions options) {
    return cachedRegex(pattern, options).allMatches(subject);
}

QStringList split(const QString& pattern, const QString& subject, EmptyParts emptyParts,
                  RegexOptions options) {
    return cachedRegex(pattern, options).split(subject, emptyParts);
}

QString replaceAll(const QString& pattern, const QString& subject, const QString& replacementTemplate,
                   RegexOptions options) {
    return cachedRegex(pattern, options).replaceAll(subject, replacementTemplate);
}

QString replaceAllLiteral(const QString& pattern, const QString& subject, const QString& replacement,
                          RegexOptions options) {
    return cachedRegex(pattern, options).replaceAllLiteral(subject, replacement);
}

} // namespace vantrel::text
