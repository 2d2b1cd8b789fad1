#include "cli/TextTable.h"

#include <algorithm>

namespace vantrel::cli {

TextTable::TextTable(std::vector<Column> columns)
    : m_columns(std::move(columns)) {}

void TextTable::addRow(QStringList cells) {
    while (cells.size() < static_cast<qsizetype>(m_columns.size())) {
        cells.append(QString());
    }
    for (QString& cell : cells) {
        cell.replace(u'\n', QStringLiteral("; "));
    }
    m_rows.push_back(std::move(cells));
}

QString TextTable::toString() const {
    std::vector<qsizetype> widths;
    for (const Column& column : m_columns) {
        widths.push_back(column.header.size());
    }
    for (const QStringList& row : m_rows) {
        for (std::size_t i = 0; i < m_columns.size(); ++i) {
            widths[i] = std::max(widths[i], row[static_cast<qsizetype>(i)].size());
        }
    }
    const auto line = [&](const QStringList& cells) {
        QString text;
        for (std::size_t i = 0; i < m_columns.size(); ++i) {
            const QString& cell = cells[static_cast<qsizetype>(i)];
            if (i > 0) {
                text.append(QStringLiteral("  "));
            }
            text.append(m_columns[i].align == Align::Right ? cell.rightJustified(widths[i])
                                                           : cell.leftJustified(widths[i]));
        }
        while (text.endsWith(u' ')) {
            text.chop(1);
        }
        return text;
    };
    QStringList headers;
    for (const Column& column : m_columns) {
        headers.append(column.header);
    }
    QStringList lines{line(headers)};
    for (const QStringList& row : m_rows) {
        lines.append(line(row));
    }
    return lines.join(u'\n');
}

} // namespace vantrel::cli
