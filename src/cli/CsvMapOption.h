#pragma once

#include "import/CsvSettings.h"

#include <optional>

namespace vantrel::cli {

class CommandLine;

// The CSV column mapping typed on the command line: --csv-map FIELD=COLUMN,... with columns
// counted from 1, plus --header and one of --sign-column and --deposit-withdrawal.
class CsvMapOption {
public:
    CsvMapOption() = delete;

    // Nothing without --csv-map; --header and the layout flags alone are a UserError, as is any
    // unknown field, a column that is not a whole number from 1, a field or column named twice,
    // and both layout flags at once.
    static std::optional<import::CsvSettings> fromCommandLine(const CommandLine& line);

    // "date", "payee", "amount", "sign", "deposit", "withdrawal", "category", "notes", "check".
    static std::optional<import::CsvField> fieldForName(const QString& name);
    static QString nameFor(import::CsvField field);
};

} // namespace vantrel::cli
