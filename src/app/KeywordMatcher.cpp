#include "app/KeywordMatcher.h"

#include "model/CategoryVT.h"
#include "text/LikePattern.h"

#include <algorithm>

namespace vantrel::app {

namespace {

bool isAscii(QStringView text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

char16_t asciiLower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + (u'a' - u'A')) : c;
}

// `needle` is folded ASCII (lower case); `text` is ASCII, so folding it is lower-casing it.
bool asciiContains(QStringView text, QStringView needle) {
    const qsizetype last = text.size() - needle.size();
    for (qsizetype start = 0; start <= last; ++start) {
        qsizetype i = 0;
        while (i < needle.size() && asciiLower(text[start + i].unicode()) == needle[i].unicode()) {
            ++i;
        }
        if (i == needle.size()) {
            return true;
        }
    }
    return false;
}

// The amount as the keyword text writes it: unsigned, exact to the cent.
QString amountText(const model::Amount& amount) {
    return amount.absolute_vt().rounded(2).toString();
}

} // namespace

KeywordMatcher::KeywordMatcher(const QString& typed)
    : m_needle(fold(typed))
    , m_needleIsAscii(isAscii(m_needle))
    , m_needleHasSpace(std::any_of(m_needle.begin(), m_needle.end(), [](QChar c) { return c.isSpace(); }))
    // The amount is written with digits and a decimal point only.
    , m_needleMayBeInAmount(std::all_of(m_needle.begin(), m_needle.end(),
                                        [](QChar c) { return (c >= u'0' && c <= u'9') || c == u'.'; })) {}

QString KeywordMatcher::fold(QStringView text) {
    return text::LikePattern::fold(text, text::LikeOption::CaseAndDiacriticInsensitive);
}

bool KeywordMatcher::matchesWholeKeywords(const model::Transaction& transaction) const {
    return fold(transaction.keywords()).contains(m_needle);
}

bool KeywordMatcher::matches(const model::Transaction& transaction) const {
    if (m_needle.isEmpty()) {
        return true;
    }
    if (m_needleHasSpace) {
        // The needle may span parts: test the whole text, folding it only when it is not ASCII.
        const QString keywords = transaction.keywords();
        return partMatches(keywords);
    }
    if (partMatches(transaction.title())) {
        return true;
    }
    for (const model::PlainSplit& line : transaction.splits()) {
        if (line.category != nullptr && categoryMatches(line.category)) {
            return true;
        }
    }
    return partMatches(transaction.notes()) || amountMatches(transaction);
}

bool KeywordMatcher::partMatches(QStringView part) const {
    if (isAscii(part)) {
        return m_needleIsAscii && asciiContains(part, m_needle);
    }
    return fold(part).contains(m_needle);
}

bool KeywordMatcher::categoryMatches(objectstore::ManagedObject* category) const {
    const auto known = m_categoryMatches.find(category);
    if (known != m_categoryMatches.end()) {
        return known->second;
    }
    const bool result = partMatches(model::CategoryVT(category).name());
    m_categoryMatches.emplace(category, result);
    return result;
}

bool KeywordMatcher::amountMatches(const model::Transaction& transaction) const {
    if (!m_needleMayBeInAmount) {
        return false;
    }
    return amountText(transaction.amount().value_or(model::Amount())).contains(m_needle);
}

} // namespace vantrel::app
