#include "import/AmountParser.h"

#include "import/ParseException.h"
#include "platform/Log.h"

#include <algorithm>

namespace vantrel::import {

namespace {

struct AmountParts {
    QString integer;
    QString fraction;
};

bool isSeparator(QChar c) {
    return c == u'.' || c == u',';
}

bool isLineBreak(QChar c) {
    return c == u'\n' || c == u'\r' || c == u'\u0085' || c == u'\u2028' || c == u'\u2029';
}

// An opening parenthesis followed, on the same line, by a closing one: accountants' negative.
bool isParenthesised(const QString& text) {
    bool open = false;
    for (const QChar c : text) {
        if (isLineBreak(c)) {
            open = false;
        } else if (c == u'(') {
            open = true;
        } else if (c == u')' && open) {
            return true;
        }
    }
    return false;
}

// Digits, minus signs and separators only (any script's decimal digits count as digits).
QString partOfNumber(const QString& text) {
    QString kept;
    kept.reserve(text.size());
    for (const QChar c : text) {
        if (c.isDigit() || c == u'-' || isSeparator(c)) {
            kept.append(c);
        }
    }
    return kept;
}

// Splits at the last separator when it ends the text or is followed by one or two digits;
// otherwise the whole text is the integer part.
AmountParts splitAtDecimalSeparator(const QString& cleaned) {
    const qsizetype size = cleaned.size();
    if (size >= 1 && isSeparator(cleaned[size - 1])) {
        return {cleaned.left(size - 1), QStringLiteral("00")};
    }
    if (size >= 2 && isSeparator(cleaned[size - 2]) && cleaned[size - 1].isDigit()) {
        return {cleaned.left(size - 2), cleaned.right(1)};
    }
    if (size >= 3 && isSeparator(cleaned[size - 3]) && cleaned[size - 2].isDigit() &&
        cleaned[size - 1].isDigit()) {
        return {cleaned.left(size - 3), cleaned.right(2)};
    }
    return {cleaned, QStringLiteral("00")};
}

QString withoutSeparators(const QString& text) {
    QString kept = text;
    kept.removeIf(isSeparator);
    return kept;
}

bool hasDigit(const QString& text) {
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.isDigit(); });
}

[[noreturn]] void failToParse(const QString& original, const QString& composed) {
    platform::Log::write(
        QStringLiteral("originalAmountString: %1, amountString: %2").arg(original, composed));
    throw ParseException(ParseException::kParse, QStringLiteral("Amount could not be parsed."));
}

} // namespace

// Scanned by hand rather than with regular expressions: a program's export holds one amount per
// record and split line, hundreds of thousands in a large file.
model::Amount AmountParser::readAmount(const std::optional<QString>& text) {
    if (!text) {
        throw ParseException(ParseException::kParse, QStringLiteral("Missing amount in record."));
    }
    QString working = *text;
    if (isParenthesised(working)) {
        working.prepend(u'-');
    }
    const QString cleaned = partOfNumber(working);
    const AmountParts parts = splitAtDecimalSeparator(cleaned);
    const QString composed = QStringLiteral("%1.%2").arg(withoutSeparators(parts.integer), parts.fraction);
    // A text without any digit ("abc" becomes ".00") would otherwise import as a silent zero.
    if (!hasDigit(cleaned)) {
        failToParse(*text, composed);
    }
    const auto amount = model::Amount::withString_vt(composed);
    if (!amount) {
        failToParse(*text, composed);
    }
    return *amount;
}

} // namespace vantrel::import
