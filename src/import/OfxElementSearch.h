#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <vector>

namespace vantrel::import {

// Finds OFX elements by plain, case-insensitive search for their tags, without building a tree:
// the same search reads OFX 1.x SGML (leaf elements have no closing tag) and OFX 2.x XML.
//
// An element's content starts after "<TAG>" and ends at the next "</TAG>" after it, else at the
// next "<", else at the end of the text; it is trimmed, and an empty one is not collected. The
// search for the next "<TAG>" resumes where the content ended. Each call costs time linear in the
// length of the text: every position is looked at a bounded number of times.
//
// Results are views into `text`, which must outlive them.
class OfxElementSearch {
public:
    OfxElementSearch() = delete;

    static constexpr int kAnyCount = -1;

    // One "<TAG>" occurrence: its trimmed content (possibly empty) and whether "</TAG>" ended it.
    struct Occurrence {
        QStringView content;
        bool closed = false;
    };

    // A statement: the canonical spelling of the tag it opened with (the spelling of the list
    // handed in) and its content.
    struct Statement {
        QString tag;
        QStringView content;
        bool closed = false;
    };

    // Every occurrence, empty ones included, in text order.
    static std::vector<Occurrence> occurrences(QStringView tag, QStringView text);

    // The non-empty contents. With an expected count other than kAnyCount, a different number
    // throws ParseException "VTParseException" "Expected %d %@(s), got %lu instead".
    static std::vector<QStringView> elements(QStringView tag, QStringView text,
                                             int expectedCount = kAnyCount);
    // Exactly one.
    static QStringView element(QStringView tag, QStringView text);
    // None gives nothing; two or more throw "Expected 0 or 1 %@(s), got %lu instead".
    static std::optional<QStringView> optionalElement(QStringView tag, QStringView text);

    // Occurrences of any of `tags` (matched ignoring case) in text order, each ending at its own
    // closing tag as elements do; empty contents are skipped.
    static std::vector<Statement> elementsByTags(const QStringList& tags, QStringView text);
    // The same with the empty ones kept, so that a caller can tell an unclosed statement.
    static std::vector<Statement> statementOccurrences(const QStringList& tags, QStringView text);
};

} // namespace vantrel::import
