#include "import/OfxElementSearch.h"

#include "import/ParseException.h"

namespace vantrel::import {
namespace {

// The next occurrence of a tag ("<NAME>", "</NAME>"), ignoring case. Jumps from "<" to "<" (a
// vectorised search for one character) and compares the tag only there, which is several times
// faster than a case-insensitive search for the whole tag over long texts.
qsizetype findTag(QStringView text, QStringView tag, qsizetype from) {
    for (;;) {
        const qsizetype position = text.indexOf(u'<', from);
        if (position < 0 || text.size() - position < tag.size()) {
            return -1;
        }
        if (text.sliced(position, tag.size()).compare(tag, Qt::CaseInsensitive) == 0) {
            return position;
        }
        from = position + 1;
    }
}

// The next "</TAG>" at or after a position, remembering the last answer. Callers ask with
// positions that never decrease, so the text after the first position is scanned at most once:
// without this, leaf elements that have no closing tag anywhere (OFX 1.x) would rescan the rest of
// the text for every occurrence.
class ClosingTagFinder {
public:
    ClosingTagFinder(QStringView text, QString closingTag)
        : m_text(text)
        , m_closingTag(std::move(closingTag)) {}

    // -1 when there is none.
    qsizetype findFrom(qsizetype from) {
        if (m_searched && from >= m_searchedFrom && (m_found < 0 || m_found >= from)) {
            return m_found;
        }
        m_searched = true;
        m_searchedFrom = from;
        m_found = findTag(m_text, m_closingTag, from);
        return m_found;
    }

private:
    QStringView m_text;
    QString m_closingTag;
    bool m_searched = false;
    qsizetype m_searchedFrom = 0;
    qsizetype m_found = -1;
};

struct ContentEnd {
    qsizetype position;
    bool closed;
};

ContentEnd findContentEnd(QStringView text, qsizetype contentStart, ClosingTagFinder& closing) {
    if (const qsizetype close = closing.findFrom(contentStart); close >= 0) {
        return {close, true};
    }
    const qsizetype nextTag = text.indexOf(u'<', contentStart);
    return {nextTag >= 0 ? nextTag : text.size(), false};
}

QString openingTag(QStringView tag) {
    return QStringLiteral("<%1>").arg(tag);
}

QString closingTag(QStringView tag) {
    return QStringLiteral("</%1>").arg(tag);
}

// The listed tag that "<name>" at `position` opens, if any.
qsizetype listedTagAt(QStringView text, qsizetype position, const QStringList& tags) {
    const QStringView rest = text.sliced(position + 1);
    for (qsizetype i = 0; i < tags.size(); ++i) {
        const QString& tag = tags[i];
        if (rest.size() > tag.size() && rest[tag.size()] == u'>' &&
            rest.first(tag.size()).compare(tag, Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}

[[noreturn]] void throwCountMismatch(const QString& reason) {
    throw ParseException(ParseException::kParse, reason);
}

} // namespace

std::vector<OfxElementSearch::Occurrence> OfxElementSearch::occurrences(QStringView tag, QStringView text) {
    const QString opening = openingTag(tag);
    ClosingTagFinder closing(text, closingTag(tag));
    std::vector<Occurrence> found;
    qsizetype from = 0;
    for (;;) {
        const qsizetype start = findTag(text, opening, from);
        if (start < 0) {
            return found;
        }
        const qsizetype contentStart = start + opening.size();
        const ContentEnd end = findContentEnd(text, contentStart, closing);
        found.push_back({text.sliced(contentStart, end.position - contentStart).trimmed(), end.closed});
        from = end.position;
    }
}

std::vector<QStringView> OfxElementSearch::elements(QStringView tag, QStringView text, int expectedCount) {
    std::vector<QStringView> contents;
    for (const Occurrence& occurrence : occurrences(tag, text)) {
        if (!occurrence.content.isEmpty()) {
            contents.push_back(occurrence.content);
        }
    }
    if (expectedCount != kAnyCount && contents.size() != static_cast<std::size_t>(expectedCount)) {
        throwCountMismatch(QStringLiteral("Expected %1 %2(s), got %3 instead")
                               .arg(expectedCount)
                               .arg(tag)
                               .arg(contents.size()));
    }
    return contents;
}

QStringView OfxElementSearch::element(QStringView tag, QStringView text) {
    return elements(tag, text, 1).front();
}

std::optional<QStringView> OfxElementSearch::optionalElement(QStringView tag, QStringView text) {
    const std::vector<QStringView> contents = elements(tag, text);
    if (contents.size() > 1) {
        throwCountMismatch(
            QStringLiteral("Expected 0 or 1 %1(s), got %2 instead").arg(tag).arg(contents.size()));
    }
    if (contents.empty()) {
        return std::nullopt;
    }
    return contents.front();
}

std::vector<OfxElementSearch::Statement> OfxElementSearch::statementOccurrences(const QStringList& tags,
                                                                                QStringView text) {
    std::vector<ClosingTagFinder> closing;
    closing.reserve(static_cast<std::size_t>(tags.size()));
    for (const QString& tag : tags) {
        closing.emplace_back(text, closingTag(tag));
    }
    std::vector<Statement> found;
    qsizetype from = 0;
    for (;;) {
        const qsizetype start = text.indexOf(u'<', from);
        if (start < 0) {
            return found;
        }
        const qsizetype listed = listedTagAt(text, start, tags);
        if (listed < 0) {
            from = start + 1;
            continue;
        }
        const QString& tag = tags[listed];
        const qsizetype contentStart = start + tag.size() + 2;
        const ContentEnd end = findContentEnd(text, contentStart, closing[static_cast<std::size_t>(listed)]);
        found.push_back({tag, text.sliced(contentStart, end.position - contentStart).trimmed(), end.closed});
        from = end.position;
    }
}

std::vector<OfxElementSearch::Statement> OfxElementSearch::elementsByTags(const QStringList& tags,
                                                                          QStringView text) {
    std::vector<Statement> statements = statementOccurrences(tags, text);
    std::erase_if(statements, [](const Statement& statement) { return statement.content.isEmpty(); });
    return statements;
}

} // namespace vantrel::import
