#pragma once

#include "import/AccountDictionary.h"
#include "import/CsvRows.h"
#include "import/CsvSettings.h"

#include <QString>

#include <optional>

namespace vantrel::import {

// Builds the account dictionary from squared CSV rows and a column mapping. Failures are
// ParseException "VTCSVParseException" with the reason "VTCSVParseExceptionInvalidDateFormat",
// "VTCSVParseExceptionInvalidAmountFormat" (detail "string": the offending text) or
// "VTCSVParseExceptionUnknownReason".
class CsvReader {
public:
    static constexpr auto kInvalidDateFormat = "VTCSVParseExceptionInvalidDateFormat";
    static constexpr auto kInvalidAmountFormat = "VTCSVParseExceptionInvalidAmountFormat";
    static constexpr auto kUnknownReason = "VTCSVParseExceptionUnknownReason";

    CsvReader() = delete;

    // Bank flavour: format Csv, one account entry with "dateString", "amount" and "name".
    static AccountDictionary readRows(const CsvRows& rows, const CsvSettings& settings);
    // Program flavour: one account entry with one split per transaction, never pending.
    static ImportedAccount accountDictionaryFromRows(const CsvRows& rows, const CsvSettings& settings);

    // Contains a digit, and no ASCII letter and no "/".
    static bool looksLikeAmountString(const QString& text);
};

} // namespace vantrel::import
