#pragma once

#include "text/Regex.h"
#include "text/RegexMatch.h"
#include "text/RegexOptions.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// Shorthands for a Regex taken from the calling thread's RegexCache, for code that matches a
// pattern now and then. Hot paths keep a `static const Regex` instead. All of them throw
// RegexError exactly as the Regex members do, with the default limits.
namespace vantrel::text {

Regex cachedRegex(const QString& pattern, RegexOptions options = {});

bool isFoundIn(const QString& pattern, const QString& subject, RegexOptions options = {});
bool matchesWhole(const QString& pattern, const QString& subject, RegexOptions options = {});
std::optional<RegexMatch> wholeMatch(const QString& pattern, const QString& subject,
                                     RegexOptions options = {});
std::optional<RegexMatch> firstMatch(const QString& pattern, const QString& subject,
                                     RegexOptions options = {});
std::vector<RegexMatch> allMatches(const QString& pattern, const QString& subject, RegexOptions options = {});
QStringList split(const QString& pattern, const QString& subject, EmptyParts emptyParts = EmptyParts::Keep,
                  RegexOptions options = {});
QString replaceAll(const QString& pattern, const QString& subject, const QString& replacementTemplate,
                   RegexOptions options = {});
QString replaceAllLiteral(const QString& pattern, const QString& subject, const QString& replacement,
                          RegexOptions options = {});

} // namespace vantrel::text
