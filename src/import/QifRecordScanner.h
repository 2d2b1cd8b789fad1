#pragma once

#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

namespace vantrel::import {

// One line of a QIF text.
struct QifLine {
    QStringView content; // without its line end
    qsizetype start = 0; // index of its first character
    qsizetype next = 0;  // index where the following line starts (the text's size after the last)
};

// The S, E and $ lines of one category line of a split record, values as the fields give them.
struct QifSplitGroup {
    std::optional<QString> category;
    std::optional<QString> memo;
    std::optional<QString> amount;
};

// The record syntax both QIF flavours share, read by walking lines once so that the cost stays
// linear whatever the text holds (long lines, no record ends, millions of blank lines).
//
// Line ends are LF, CR LF and also a lone CR (old exports end lines that way). White space is
// Unicode White_Space, as in the regular expressions this format was first read with.
class QifRecordScanner {
public:
    QifRecordScanner() = delete;

    // The line that starts at `from` (0 <= from < text.size()).
    static QifLine lineAt(QStringView text, qsizetype from);

    // The records of the text in order: each runs from where the previous one ended up to and
    // including the next line that holds only "^" and trailing white space. Text after the last
    // such line is in no record.
    static std::vector<QStringView> records(QStringView text);

    // The value of field `code`: the rest of the first line of the record that starts with it.
    // Empty or white-space-only values are absent; later lines with the same code are ignored.
    static std::optional<QString> field(QChar code, QStringView record);

    // The category lines of a record: an S line, optionally an E line directly after it, and a
    // "$" line directly after those, in record order.
    static std::vector<QifSplitGroup> splitGroups(QStringView record);

    // The first line at or after `from` that starts with "!"; the text's size when none does.
    static qsizetype nextHeaderLine(QStringView text, qsizetype from);

    static bool isWhiteSpace(QChar c);
    // Empty or only white space.
    static bool isBlank(QStringView text);
    // `line` is `word` followed by nothing but white space.
    static bool isWordLine(QStringView line, QStringView word);
};

} // namespace vantrel::import
