#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <concepts>
#include <cstdint>

namespace vantrel::model {

// Small text utilities shared by validation, messages and identifiers.
class TextHelper {
public:
    TextHelper() = delete;

    // "1 transaction", "3 transactions", "0 transactions": English plurals for counts in
    // messages.
    static QString pluralize(const QString& noun, std::int64_t count);

    // "A", "A and B", "A, B and C": a list as a sentence says it.
    static QString naturalList(const QStringList& items);
    // The first letter of every white-space separated word upper case, the rest lower case: how
    // the register shows banks' descriptions ("CORNER CAFE" becomes "Corner Cafe").
    static QString capitalizedWords(const QString& text);

    // `length` characters, each drawn uniformly from 0-9 and a-z with the system's
    // cryptographically secure generator; empty for a length below 1.
    static QString hashWithLength(int length);

    // Runs `block` `count` times; not at all when `count` is below 1.
    template <std::invocable Block>
    static void times_vt(std::int64_t count, Block&& block) {
        for (std::int64_t i = 0; i < count; ++i) {
            block();
        }
    }

    // White space here is Unicode white space including line breaks and no-break spaces
    // (U+00A0, U+202F), as QChar::isSpace defines it.
    static bool isBlank_vt(QStringView text);
    static bool isPresent_vt(QStringView text) { return !isBlank_vt(text); }
    static QString trimmed_vt(QStringView text);
};

} // namespace vantrel::model
