#include "import/SimpleCsvParser.h"

#include "import/CsvParser.h"
#include "import/ParseException.h"
#include "model/TextHelper.h"
#include "platform/InternalError.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace vantrel::import {
namespace {

// Every row gets the table's width: a trailing empty field one beyond it is dropped, a shorter row
// is padded with empty fields.
void square(CsvRows& rows) {
    int width = 0;
    for (const QStringList& row : rows) {
        width = std::max(width, SimpleCsvParser::numberOfColumnsIn(row));
    }
    for (QStringList& row : rows) {
        if (row.size() == width + 1) {
            row.removeLast();
        }
        while (row.size() < width) {
            row.append(QString());
        }
        if (row.size() != width) {
            throw platform::InternalError("Expect row count to equal maxNumberOfColumns");
        }
    }
}

} // namespace

std::optional<CsvRows> SimpleCsvParser::parseFile(const QString& path) {
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
        throw ParseException(ParseException::kParse, QStringLiteral("Could not read file."));
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        throw ParseException(ParseException::kParse, QStringLiteral("Could not read file."));
    }
    return parseBytes(bytes);
}

std::optional<CsvRows> SimpleCsvParser::parseBytes(const QByteArray& bytes) {
    CsvParser::PreparedBytes prepared = CsvParser::prepare(bytes);
    CsvParser parser;
    parser.setEncoding(prepared.encoding);
    parser.openBytes(prepared.bytes);
    CsvRows rows = parser.parseFile();
    parser.closeFile();
    if (rows.empty()) {
        return std::nullopt;
    }
    square(rows);
    return rows;
}

int SimpleCsvParser::numberOfColumnsIn(const QStringList& row) {
    if (row.isEmpty()) {
        return 0;
    }
    const auto count = static_cast<int>(row.size());
    return model::TextHelper::isBlank_vt(row.last()) ? count - 1 : count;
}

bool SimpleCsvParser::allRowsHaveSameNumberOfColumns(const CsvRows& rows) {
    return std::adjacent_find(rows.cbegin(), rows.cend(), [](const QStringList& a, const QStringList& b) {
               return numberOfColumnsIn(a) != numberOfColumnsIn(b);
           }) == rows.cend();
}

} // namespace vantrel::import
