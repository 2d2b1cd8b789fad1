#pragma once

#include "model/Amount.h"

#include <QString>

#include <optional>

namespace vantrel::import {

// Reads the amount texts of bank and program files, whatever their decimal separator: the last
// "." or "," followed by one or two digits at the end is the decimal separator, every other one
// a thousands separator, and parentheses around the text make it negative.
class AmountParser {
public:
    AmountParser() = delete;

    // Throws ParseException "VTParseException" with "Missing amount in record." for an absent
    // text and "Amount could not be parsed." for a text that is no amount (after logging the
    // original and the composed text).
    static model::Amount readAmount(const std::optional<QString>& text);
};

} // namespace vantrel::import
