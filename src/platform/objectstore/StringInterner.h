#pragma once

#include <QHashFunctions>
#include <QString>

#include <cstdint>
#include <unordered_set>
#include <vector>

namespace vantrel::objectstore {

// One shared copy of each string that repeats while a context loads (payees, account types), so
// that a million transactions with thirty payee names keep thirty strings. Each attribute is
// watched separately: one whose strings turn out mostly distinct (identifiers, sort keys) is no
// longer interned, since a table entry costs more than the string it would share.
class StringInterner {
public:
    // Attributes are numbered by the caller (for example entity * 64 + attribute).
    explicit StringInterner(std::size_t attributeCount);

    // The shared copy, stable for the interner's lifetime; nothing when the attribute's strings do
    // not repeat enough to be worth it, or the string is too long to be a likely repeat.
    const QString* intern(std::size_t attribute, const QString& text);

    // Strings looked at before an attribute is judged, and the share of them that must be repeats.
    static constexpr std::uint32_t kTrialSize = 256;
    static constexpr qsizetype kMaxLength = 64;

private:
    struct Trial {
        std::uint32_t seen = 0;
        std::uint32_t added = 0;
    };

    struct Hash {
        std::size_t operator()(const QString& text) const noexcept { return qHash(text); }
    };

    std::unordered_set<QString, Hash> m_strings;
    std::vector<Trial> m_trials;
};

} // namespace vantrel::objectstore
