#pragma once

#include "import/CsvRows.h"

#include <QString>

#include <optional>

namespace vantrel::import {

// Splits a CSV file with the default settings (rows below 2048 bytes, detected delimiter) and
// squares the result so that every row has the same number of fields. Fields are Latin-1 unless
// the whole file is valid UTF-8 or carries a byte-order mark (CsvParser::prepare).
class SimpleCsvParser {
public:
    SimpleCsvParser() = delete;

    // Nothing for a file without rows. A file that cannot be read throws ParseException
    // "VTParseException"; a UTF-16 or UTF-32 marked file that does not decode throws
    // "VTParseEncodingException".
    static std::optional<CsvRows> parseFile(const QString& path);
    // The same on bytes already in memory.
    static std::optional<CsvRows> parseBytes(const QByteArray& bytes);

    // The field count, less one when the last field is blank.
    static int numberOfColumnsIn(const QStringList& row);
    static bool allRowsHaveSameNumberOfColumns(const CsvRows& rows);
};

} // namespace vantrel::import
