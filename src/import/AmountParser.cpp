#include "import/AmountParser.h"

#include "import/ParseException.h"
#include "platform/Log.h"
#include "text/Regex.h"

#include <algorithm>

namespace vantrel::import {

namespace {

struct AmountParts {
    QString integer;
    QString fraction;
};

// Splits at the last separator when it ends the text or is followed by one or two digits;
// otherwise the whole text is the integer part.
AmountParts splitAtDecimalSeparator(const QString& cleaned) {
    static const text::Regex trailingSeparator(uR"((.*)[\.,]$)");
    static const text::Regex trailingFraction(uR"((.*)[\.,](\d{1,2})$)");
    if (const auto match = trailingSeparator.firstMatch(cleaned)) {
        return {match->captured(1), QStringLiteral("00")};
    }
    if (const auto match = trailingFraction.firstMatch(cleaned)) {
        return {match->captured(1), match->captured(2)};
    }
    return {cleaned, QStringLiteral("00")};
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

model::Amount AmountParser::readAmount(const std::optional<QString>& text) {
    if (!text) {
        throw ParseException(ParseException::kParse, QStringLiteral("Missing amount in record."));
    }
    static const text::Regex parenthesised(uR"(\(.*\))");
    static const text::Regex notPartOfNumber(uR"([^\d\-\.,])");
    static const text::Regex separator(uR"([\.,])");

    QString working = *text;
    if (parenthesised.isFoundIn(working)) {
        working.prepend(u'-');
    }
    const QString cleaned = notPartOfNumber.replaceAllLiteral(working, QString());
    const AmountParts parts = splitAtDecimalSeparator(cleaned);
    const QString integer = separator.replaceAllLiteral(parts.integer, QString());
    const QString composed = QStringLiteral("%1.%2").arg(integer, parts.fraction);
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
