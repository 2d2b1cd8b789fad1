#pragma once

#include "model/Transaction.h"

#include <QString>

#include <unordered_map>

namespace vantrel::app {

// The register search's test "keywords CONTAINS[cd] text": whether the folded text (case and
// diacritics removed) occurs in the folded `Transaction::keywords()`.
//
// Folding every keyword text with Unicode normalisation costs far too much for a search over a large
// database, so the parts of the keyword text are tested one by one: a needle without white space
// cannot span the space between two parts. ASCII parts (nearly all of them) are compared by plain
// lower-casing; only non-ASCII parts are folded. Category names are folded once per matcher, which
// lives for one search, so a renamed category is found by its new name on the next search. Needles
// with white space are tested against the whole keyword text, on the same ASCII fast path.
class KeywordMatcher {
public:
    explicit KeywordMatcher(const QString& typed);

    bool matches(const model::Transaction& transaction) const;
    // The reference the fast path must agree with: the folded keyword text contains the folded needle.
    bool matchesWholeKeywords(const model::Transaction& transaction) const;

    static QString fold(QStringView text);

private:
    bool partMatches(QStringView part) const;
    bool categoryMatches(objectstore::ManagedObject* category) const;
    bool amountMatches(const model::Transaction& transaction) const;

    QString m_needle; // folded
    bool m_needleIsAscii = true;
    bool m_needleHasSpace = false;
    bool m_needleMayBeInAmount = false;
    mutable std::unordered_map<const objectstore::ManagedObject*, bool> m_categoryMatches;
};

} // namespace vantrel::app
