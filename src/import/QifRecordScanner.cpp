#include "import/QifRecordScanner.h"

#include <algorithm>

namespace vantrel::import {

namespace {

constexpr char16_t kLineFeed = u'\n';
constexpr char16_t kCarriageReturn = u'\r';

bool isRecordEnd(QStringView line) {
    return line.startsWith(u'^') && QifRecordScanner::isBlank(line.sliced(1));
}

std::optional<QString> valueIfPresent(QStringView value) {
    if (QifRecordScanner::isBlank(value)) {
        return std::nullopt;
    }
    return value.toString();
}

// The lines of a record, which is small: a handful of fields.
std::vector<QStringView> linesOf(QStringView record) {
    std::vector<QStringView> lines;
    for (qsizetype at = 0; at < record.size();) {
        const QifLine line = QifRecordScanner::lineAt(record, at);
        lines.push_back(line.content);
        at = line.next;
    }
    return lines;
}

bool startsWith(const std::vector<QStringView>& lines, std::size_t index, QChar code) {
    return index < lines.size() && lines[index].startsWith(code);
}

} // namespace

QifLine QifRecordScanner::lineAt(QStringView text, qsizetype from) {
    const auto* const begin = text.utf16();
    const auto* const end = begin + text.size();
    const auto* const lineEnd =
        std::find_if(begin + from, end, [](char16_t c) { return c == kLineFeed || c == kCarriageReturn; });
    qsizetype next = lineEnd - begin;
    if (lineEnd != end) {
        const bool crLf = *lineEnd == kCarriageReturn && lineEnd + 1 != end && lineEnd[1] == kLineFeed;
        next += crLf ? 2 : 1;
    }
    return QifLine{text.sliced(from, (lineEnd - begin) - from), from, next};
}

std::vector<QStringView> QifRecordScanner::records(QStringView text) {
    std::vector<QStringView> found;
    qsizetype recordStart = 0;
    for (qsizetype at = 0; at < text.size();) {
        const QifLine line = lineAt(text, at);
        at = line.next;
        if (isRecordEnd(line.content)) {
            found.push_back(text.sliced(recordStart, at - recordStart));
            recordStart = at;
        }
    }
    return found;
}

std::optional<QString> QifRecordScanner::field(QChar code, QStringView record) {
    for (qsizetype at = 0; at < record.size();) {
        const QifLine line = lineAt(record, at);
        if (line.content.startsWith(code)) {
            return valueIfPresent(line.content.sliced(1));
        }
        at = line.next;
    }
    return std::nullopt;
}

std::vector<QifSplitGroup> QifRecordScanner::splitGroups(QStringView record) {
    const std::vector<QStringView> lines = linesOf(record);
    std::vector<QifSplitGroup> groups;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!lines[i].startsWith(u'S')) {
            continue;
        }
        const bool hasMemo = startsWith(lines, i + 1, u'E') && startsWith(lines, i + 2, u'$');
        const std::size_t amountLine = hasMemo ? i + 2 : i + 1;
        if (!startsWith(lines, amountLine, u'$')) {
            continue;
        }
        groups.push_back(QifSplitGroup{valueIfPresent(lines[i].sliced(1)),
                                       hasMemo ? valueIfPresent(lines[i + 1].sliced(1)) : std::nullopt,
                                       valueIfPresent(lines[amountLine].sliced(1))});
        i = amountLine;
    }
    return groups;
}

qsizetype QifRecordScanner::nextHeaderLine(QStringView text, qsizetype from) {
    for (qsizetype at = from; at < text.size();) {
        const QifLine line = lineAt(text, at);
        if (line.content.startsWith(u'!')) {
            return at;
        }
        at = line.next;
    }
    return text.size();
}

bool QifRecordScanner::isWhiteSpace(QChar c) {
    // QChar's separators are exactly Unicode White_Space, which is what \s means to ICU.
    return c.isSpace();
}

bool QifRecordScanner::isBlank(QStringView text) {
    return std::all_of(text.begin(), text.end(), isWhiteSpace);
}

bool QifRecordScanner::isWordLine(QStringView line, QStringView word) {
    return line.startsWith(word) && isBlank(line.sliced(word.size()));
}

} // namespace vantrel::import
