#pragma once

#include "text/StyledRun.h"

#include <QString>

#include <cstddef>
#include <vector>

namespace vantrel::text {

// Bold and italic marks in short interface texts, such as "**Groceries** (25% of total)".
//
//   **text**           bold
//   *text* or _text_   italic; bold and italic nest, as in ***both*** or **bold _and italic_**
//   \* \_ \\           the character itself; a backslash before anything else stays a backslash
//
// A mark opens only before a non-space character and closes only after one, and an underscore
// inside a word (snake_case) is not a mark, so "2 * 3" and identifiers read as written. A mark
// that is never closed is shown as it was typed: no text is ever lost.
class MarkupParser {
public:
    // The visible text in runs of one style each, adjacent runs of the same style merged. Their
    // texts put together give the visible text; empty markup gives no runs.
    static std::vector<StyledRun> parse(QStringView markup);
    // Markup that shows `text` exactly as given, for embedding names the user typed.
    static QString escape(QStringView text);

private:
    enum class Emphasis { Bold, Italic };
    enum class TokenKind { Text, Opener, Closer };

    // Plain text, or a run of mark characters with the emphases it opens or closes, innermost
    // first. Stars of an opener that never found a partner are shown literally.
    struct Token {
        TokenKind kind = TokenKind::Text;
        QString text;
        QChar mark;
        int count = 0;
        std::vector<Emphasis> uses;
    };

    explicit MarkupParser(QStringView markup);

    void tokenize();
    void scanEscape();
    void scanMarkRun();
    // Pairs a run of `count` marks with open ones; returns how many marks are left over.
    int closeWith(QChar mark, int count);
    // The opener a closing run of `count` marks pairs with: the nearest of exactly that width, or
    // else simply the nearest.
    std::vector<std::size_t>::reverse_iterator findOpener(QChar mark, int count);
    void openWith(QChar mark, int count);
    void appendText(QStringView text);
    int unusedCount(const Token& token) const;
    std::vector<StyledRun> render() const;

    QStringView m_markup;
    qsizetype m_pos = 0;
    std::vector<Token> m_tokens;
    // Indices of opener tokens that may still be closed, innermost last.
    std::vector<std::size_t> m_openers;
};

} // namespace vantrel::text
