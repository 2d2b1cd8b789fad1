#pragma once

#include <QString>

#include <vector>

namespace vantrel::text {

class CompiledPattern;
class MatchSession;

// The text that replaces each match: literal pieces and references to capture groups. Parsed and
// checked against the pattern before any matching starts, so a bad template fails even when the
// subject holds no match. Internal to the text layer.
class ReplacementTemplate {
public:
    // Template syntax: $n or ${name} inserts a group (the longest run of digits that names an
    // existing group), a backslash makes the next character literal. Throws RegexError.
    static ReplacementTemplate parse(const QString& text, const CompiledPattern& pattern);
    // Inserts `text` as it is.
    static ReplacementTemplate literal(const QString& text);

    // Appends the replacement for the session's current match. A group that did not participate
    // contributes nothing.
    void appendTo(QString& out, const MatchSession& match) const;

private:
    struct Piece {
        QString text;
        // -1 for a literal piece.
        int group = -1;
    };

    class Parser;

    std::vector<Piece> m_pieces;
};

} // namespace vantrel::text
