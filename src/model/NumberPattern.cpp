#include "model/NumberPattern.h"

namespace vantrel::model {

namespace {

// Calls visit(index) for every character outside quotes. A doubled quote ('') is a literal
// quote both inside and outside quoted text; toggling on every quote handles both.
template <typename Visit>
void forEachUnquoted(QStringView text, Visit visit) {
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\'') {
            quoted = !quoted;
        } else if (!quoted && !visit(i)) {
            return;
        }
    }
}

bool hasUnquotedParenthesis(QStringView subpattern) {
    bool found = false;
    forEachUnquoted(subpattern, [&](qsizetype i) {
        found = subpattern[i] == u'(' || subpattern[i] == u')';
        return !found;
    });
    return found;
}

} // namespace

NumberPattern::Parts NumberPattern::split(QStringView pattern) {
    qsizetype separator = -1;
    forEachUnquoted(pattern, [&](qsizetype i) {
        if (pattern[i] == u';') {
            separator = i;
            return false;
        }
        return true;
    });
    if (separator < 0) {
        return {pattern.toString(), std::nullopt};
    }
    return {pattern.first(separator).toString(), pattern.sliced(separator + 1).toString()};
}

bool NumberPattern::negativeUsesParentheses(QStringView pattern) {
    const Parts parts = split(pattern);
    return parts.negative && hasUnquotedParenthesis(*parts.negative);
}

QString NumberPattern::withMinusForNegatives(QStringView pattern) {
    if (!negativeUsesParentheses(pattern)) {
        return pattern.toString();
    }
    return split(pattern).positive;
}

QString NumberPattern::withParenthesesForNegatives(QStringView pattern) {
    if (negativeUsesParentheses(pattern)) {
        return pattern.toString();
    }
    const QString positive = split(pattern).positive;
    return positive + QStringLiteral(";(") + positive + QLatin1Char(')');
}

} // namespace vantrel::model
