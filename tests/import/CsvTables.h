#pragma once

#include "import/CsvRows.h"
#include "support/ModelValues.h"

#include <QString>

#include <string>
#include <vector>

// CSV rows as plain strings, so that a failed comparison prints readable tables.
namespace vantrel::testsupport {

using Table = std::vector<std::vector<std::string>>;

inline Table table(const import::CsvRows& rows) {
    Table out;
    for (const QStringList& row : rows) {
        std::vector<std::string> cells;
        for (const QString& cell : row) {
            cells.push_back(utf8(cell));
        }
        out.push_back(std::move(cells));
    }
    return out;
}

inline import::CsvRows rowsOf(const Table& cells) {
    import::CsvRows rows;
    for (const auto& row : cells) {
        QStringList fields;
        for (const std::string& cell : row) {
            fields.append(QString::fromStdString(cell));
        }
        rows.push_back(fields);
    }
    return rows;
}

inline QString csvFixture(const char* name) {
    return QStringLiteral(VANTREL_TEST_DATA "/csv/") + QString::fromLatin1(name);
}

} // namespace vantrel::testsupport
