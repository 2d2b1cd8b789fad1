#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace vantrel::cli {

// A plain-text table: a header line, then one line per row, columns padded to their widest cell
// and separated by two spaces; numeric columns align right. No trailing spaces.
class TextTable {
public:
    enum class Align { Left, Right };

    struct Column {
        QString header;
        Align align = Align::Left;
    };

    explicit TextTable(std::vector<Column> columns);

    // Missing cells are empty; line breaks inside a cell become "; ".
    void addRow(QStringList cells);
    QString toString() const;

private:
    std::vector<Column> m_columns;
    std::vector<QStringList> m_rows;
};

} // namespace vantrel::cli
