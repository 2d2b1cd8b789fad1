#include "text/ReplacementTemplate.h"

#include "text/CompiledPattern.h"
#include "text/MatchSession.h"
#include "text/RegexError.h"

namespace vantrel::text {

namespace {

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool isAsciiLetterOrDigit(QChar c) {
    return isAsciiDigit(c) || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

} // namespace

// Walks the template once, left to right.
class ReplacementTemplate::Parser {
public:
    Parser(const QString& text, const CompiledPattern& pattern)
        : m_text(text)
        , m_pattern(pattern) {}

    std::vector<Piece> run() {
        while (m_pos < m_text.size()) {
            const QChar c = m_text.at(m_pos);
            if (c == u'\\') {
                escape();
            } else if (c == u'$') {
                reference();
            } else {
                m_literal += c;
                ++m_pos;
            }
        }
        flushLiteral();
        return std::move(m_pieces);
    }

private:
    void escape() {
        if (m_pos + 1 >= m_text.size()) {
            fail(U_REGEX_BAD_ESCAPE_SEQUENCE, m_pos);
        }
        m_literal += m_text.at(m_pos + 1);
        m_pos += 2;
    }

    void reference() {
        const qsizetype dollar = m_pos++;
        if (m_pos < m_text.size() && m_text.at(m_pos) == u'{') {
            addGroup(namedGroup(dollar));
        } else if (m_pos < m_text.size() && isAsciiDigit(m_text.at(m_pos))) {
            addGroup(numberedGroup(dollar));
        } else {
            fail(U_REGEX_INVALID_CAPTURE_GROUP_NAME, dollar);
        }
    }

    int namedGroup(qsizetype dollar) {
        const qsizetype nameStart = ++m_pos;
        while (m_pos < m_text.size() && isAsciiLetterOrDigit(m_text.at(m_pos))) {
            ++m_pos;
        }
        if (m_pos >= m_text.size() || m_text.at(m_pos) != u'}') {
            fail(U_REGEX_INVALID_CAPTURE_GROUP_NAME, dollar);
        }
        const int group = m_pattern.groupNumber(QStringView(m_text).mid(nameStart, m_pos - nameStart));
        if (group < 0) {
            fail(U_REGEX_INVALID_CAPTURE_GROUP_NAME, dollar);
        }
        ++m_pos;
        return group;
    }

    // "$12" with only one group is group 1 followed by a literal "2".
    int numberedGroup(qsizetype dollar) {
        int group = m_text.at(m_pos++).digitValue();
        if (group > m_pattern.captureCount()) {
            fail(U_INDEX_OUTOFBOUNDS_ERROR, dollar);
        }
        while (m_pos < m_text.size() && isAsciiDigit(m_text.at(m_pos))) {
            const int longer = group * 10 + m_text.at(m_pos).digitValue();
            if (longer > m_pattern.captureCount()) {
                break;
            }
            group = longer;
            ++m_pos;
        }
        return group;
    }

    void addGroup(int group) {
        flushLiteral();
        m_pieces.push_back(Piece{QString(), group});
    }

    void flushLiteral() {
        if (!m_literal.isEmpty()) {
            m_pieces.push_back(Piece{m_literal, -1});
            m_literal.clear();
        }
    }

    [[noreturn]] void fail(UErrorCode code, qsizetype offset) const {
        throw RegexError::replacementFailure(m_pattern.source(), m_text, code, offset);
    }

    const QString& m_text;
    const CompiledPattern& m_pattern;
    qsizetype m_pos = 0;
    QString m_literal;
    std::vector<Piece> m_pieces;
};

ReplacementTemplate ReplacementTemplate::parse(const QString& text, const CompiledPattern& pattern) {
    ReplacementTemplate result;
    result.m_pieces = Parser(text, pattern).run();
    return result;
}

ReplacementTemplate ReplacementTemplate::literal(const QString& text) {
    ReplacementTemplate result;
    result.m_pieces.push_back(Piece{text, -1});
    return result;
}

void ReplacementTemplate::appendTo(QString& out, const MatchSession& match) const {
    for (const Piece& piece : m_pieces) {
        if (piece.group < 0) {
            out += piece.text;
            continue;
        }
        const qsizetype start = match.start(piece.group);
        if (start >= 0) {
            out += QStringView(match.subject()).mid(start, match.end(piece.group) - start);
        }
    }
}

} // namespace vantrel::text
