#pragma once

#include "model/Amount.h"
#include "model/Day.h"

#include <QString>

#include <cstdint>

namespace vantrel::cli {

// Reads the values typed on the command line. Each throws UserError with a one-line message
// naming the text it could not read.
class InputValues {
public:
    InputValues() = delete;

    // Plain decimal text: an optional minus sign, digits, optionally "." and at most two digits.
    // No grouping, no comma, no exponent: scripts write amounts one way only.
    static model::Amount amount(const QString& text);
    // YYYY-MM-DD naming a day that exists.
    static model::Day day(const QString& text);
    // A non-negative whole number.
    static std::int64_t checkNumber(const QString& text);
    // "checking", "savings", "credit-card", "cash", "other" -> the stored account type.
    static QString accountType(const QString& token);
    // The stored account type -> its command-line token.
    static QString accountTypeToken(const QString& storedType);
    static QStringList accountTypeTokens();
};

} // namespace vantrel::cli
