#pragma once

#include <QString>

#include <cstdint>

namespace vantrel::objectstore {

// A string attribute in one pointer-sized word. A million loaded objects carry several strings
// each, and a QString (24 bytes plus a header and UTF-16 text on the heap) is most of what they
// cost. Short Latin-1 text sits in the word itself, an upper-case canonical UUID takes 16 bytes,
// other Latin-1 text one byte per character, and a string shared through an intern table costs
// nothing of its own. Whatever the form, text() gives back exactly the string that was stored.
class CompactString {
public:
    static constexpr int kInlineCapacity = 7;

    CompactString() = default;
    explicit CompactString(const QString& text);
    // Shares a string kept alive by its owner (an intern table) for as long as this one lives.
    static CompactString sharing(const QString* interned);
    ~CompactString();
    CompactString(CompactString&& other) noexcept;
    CompactString& operator=(CompactString&& other) noexcept;
    CompactString(const CompactString&) = delete;
    CompactString& operator=(const CompactString&) = delete;

    QString text() const;

    // The forms, exposed so that tests can check that the encoding they target is the one chosen.
    enum class Form { Inline, Latin1, Utf16, Uuid, Shared };
    Form form() const;

    static bool isCanonicalUuid(QStringView text);

private:
    explicit CompactString(std::uintptr_t word)
        : m_word(word) {}
    void release() noexcept;

    // Low bit set: inline text, its length in bits 1-3 and its characters in bytes 1-7. Otherwise a
    // pointer (at least 8-byte aligned) with the form in bits 1-2.
    std::uintptr_t m_word = 1; // the empty inline string
};

} // namespace vantrel::objectstore
