#include "text/MarkupParser.h"

#include <algorithm>

namespace vantrel::text {

namespace {

constexpr QChar backslash = u'\\';
constexpr QChar star = u'*';
constexpr QChar underscore = u'_';

bool isMark(QChar c) {
    return c == star || c == underscore;
}

bool isEscapable(QChar c) {
    return isMark(c) || c == backslash;
}

// The start and end of the text count as white space.
bool isBlank(QChar c) {
    return c.isNull() || c.isSpace();
}

} // namespace

MarkupParser::MarkupParser(QStringView markup)
    : m_markup(markup) {}

std::vector<StyledRun> MarkupParser::parse(QStringView markup) {
    MarkupParser parser(markup);
    parser.tokenize();
    return parser.render();
}

QString MarkupParser::escape(QStringView text) {
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        if (isEscapable(c)) {
            escaped += backslash;
        }
        escaped += c;
    }
    return escaped;
}

void MarkupParser::tokenize() {
    while (m_pos < m_markup.size()) {
        const QChar c = m_markup.at(m_pos);
        if (c == backslash) {
            scanEscape();
        } else if (isMark(c)) {
            scanMarkRun();
        } else {
            const qsizetype start = m_pos;
            while (m_pos < m_markup.size() && !isEscapable(m_markup.at(m_pos))) {
                ++m_pos;
            }
            appendText(m_markup.mid(start, m_pos - start));
        }
    }
}

void MarkupParser::scanEscape() {
    const bool escapesMark = m_pos + 1 < m_markup.size() && isEscapable(m_markup.at(m_pos + 1));
    if (escapesMark) {
        appendText(m_markup.mid(m_pos + 1, 1));
        m_pos += 2;
    } else {
        appendText(m_markup.mid(m_pos, 1));
        ++m_pos;
    }
}

void MarkupParser::scanMarkRun() {
    const QChar mark = m_markup.at(m_pos);
    const qsizetype start = m_pos;
    while (m_pos < m_markup.size() && m_markup.at(m_pos) == mark) {
        ++m_pos;
    }
    const int count = static_cast<int>(m_pos - start);
    // Underscores only mark italics one at a time; "__" and longer runs are blanks to fill in.
    if (mark == underscore && count > 1) {
        appendText(m_markup.mid(start, count));
        return;
    }
    const QChar before = start > 0 ? m_markup.at(start - 1) : QChar();
    const QChar after = m_pos < m_markup.size() ? m_markup.at(m_pos) : QChar();
    bool canOpen = !isBlank(after);
    bool canClose = !isBlank(before);
    if (mark == underscore) {
        canOpen = canOpen && !before.isLetterOrNumber();
        canClose = canClose && !after.isLetterOrNumber();
    }
    const int remaining = canClose ? closeWith(mark, count) : count;
    if (remaining > 0 && canOpen) {
        openWith(mark, remaining);
    } else if (remaining > 0) {
        appendText(QString(remaining, mark));
    }
}

int MarkupParser::closeWith(QChar mark, int count) {
    int remaining = count;
    Token closer{TokenKind::Closer, QString(), mark, 0, {}};
    while (remaining > 0) {
        const auto opener = findOpener(mark, remaining);
        if (opener == m_openers.rend()) {
            break;
        }
        // Openers inside the one being closed can no longer be closed without crossing it.
        m_openers.erase(opener.base(), m_openers.end());
        Token& open = m_tokens[m_openers.back()];
        const bool bold = mark == star && unusedCount(open) >= 2 && remaining >= 2;
        const Emphasis emphasis = bold ? Emphasis::Bold : Emphasis::Italic;
        open.uses.push_back(emphasis);
        closer.uses.push_back(emphasis);
        closer.count += bold ? 2 : 1;
        remaining -= bold ? 2 : 1;
        if (unusedCount(open) == 0) {
            m_openers.pop_back();
        }
    }
    if (closer.count > 0) {
        m_tokens.push_back(std::move(closer));
    }
    return remaining;
}

std::vector<std::size_t>::reverse_iterator MarkupParser::findOpener(QChar mark, int count) {
    const auto isMatching = [&](std::size_t index) { return m_tokens[index].mark == mark; };
    // An opener of exactly the closer's width wins, so in "**bold *stray**" the stray star, not
    // the bold, is left unmatched.
    const auto exact = std::find_if(m_openers.rbegin(), m_openers.rend(), [&](std::size_t index) {
        return isMatching(index) && unusedCount(m_tokens[index]) == count;
    });
    return exact != m_openers.rend() ? exact : std::find_if(m_openers.rbegin(), m_openers.rend(), isMatching);
}

void MarkupParser::openWith(QChar mark, int count) {
    m_tokens.push_back(Token{TokenKind::Opener, QString(), mark, count, {}});
    m_openers.push_back(m_tokens.size() - 1);
}

void MarkupParser::appendText(QStringView text) {
    if (m_tokens.empty() || m_tokens.back().kind != TokenKind::Text) {
        m_tokens.push_back(Token{TokenKind::Text, QString(), QChar(), 0, {}});
    }
    m_tokens.back().text += text;
}

int MarkupParser::unusedCount(const Token& token) const {
    int used = 0;
    for (const Emphasis emphasis : token.uses) {
        used += emphasis == Emphasis::Bold ? 2 : 1;
    }
    return token.count - used;
}

std::vector<StyledRun> MarkupParser::render() const {
    std::vector<StyledRun> runs;
    int boldDepth = 0;
    int italicDepth = 0;
    const auto addText = [&](QStringView text) {
        const bool bold = boldDepth > 0;
        const bool italic = italicDepth > 0;
        if (text.isEmpty()) {
            return;
        }
        if (!runs.empty() && runs.back().bold == bold && runs.back().italic == italic) {
            runs.back().text += text;
        } else {
            runs.push_back(StyledRun{text.toString(), bold, italic});
        }
    };
    const auto nest = [&](Emphasis emphasis, int step) {
        (emphasis == Emphasis::Bold ? boldDepth : italicDepth) += step;
    };
    for (const Token& token : m_tokens) {
        if (token.kind == TokenKind::Text) {
            addText(token.text);
        } else if (token.kind == TokenKind::Opener) {
            // Unmatched stars are the outer ones; the matched ones sit next to the text they mark.
            addText(QString(unusedCount(token), token.mark));
            std::for_each(token.uses.rbegin(), token.uses.rend(), [&](Emphasis e) { nest(e, 1); });
        } else {
            std::for_each(token.uses.begin(), token.uses.end(), [&](Emphasis e) { nest(e, -1); });
        }
    }
    return runs;
}

} // namespace vantrel::text
