#include "platform/objectstore/CompactString.h"

#include <cstring>
#include <new>
#include <utility>

namespace vantrel::objectstore {

namespace {

constexpr std::uintptr_t kInlineTag = 1;
constexpr std::uintptr_t kFormMask = 6;
constexpr std::uintptr_t kLatin1Tag = 0;
constexpr std::uintptr_t kUtf16Tag = 2;
constexpr std::uintptr_t kUuidTag = 4;
constexpr std::uintptr_t kSharedTag = 6;
constexpr int kUuidLength = 36;
constexpr int kUuidBytes = 16;

bool isUuidHyphen(qsizetype i) {
    return i == 8 || i == 13 || i == 18 || i == 23;
}

int hexValue(char16_t c) {
    if (c >= u'0' && c <= u'9') {
        return c - u'0';
    }
    if (c >= u'A' && c <= u'F') {
        return c - u'A' + 10;
    }
    return -1;
}

// Latin-1 text without NUL, so that it can be stored NUL-terminated with no length field: that keeps
// a 21-character sort key in the smallest heap block.
bool isPlainLatin1(QStringView text) {
    for (const QChar c : text) {
        if (c.unicode() == 0 || c.unicode() > 0xFF) {
            return false;
        }
    }
    return true;
}

template <typename T>
T* allocate(std::size_t bytes) {
    static_assert(alignof(std::max_align_t) >= 8);
    return static_cast<T*>(::operator new(bytes));
}

std::uintptr_t tagged(const void* pointer, std::uintptr_t tag) {
    return reinterpret_cast<std::uintptr_t>(pointer) | tag;
}

template <typename T>
T* untagged(std::uintptr_t word) {
    return reinterpret_cast<T*>(word & ~(kFormMask | kInlineTag));
}

} // namespace

CompactString::CompactString(const QString& text) {
    const qsizetype length = text.size();
    if (length <= kInlineCapacity && isPlainLatin1(text)) {
        std::uintptr_t word = kInlineTag | (static_cast<std::uintptr_t>(length) << 1);
        for (qsizetype i = 0; i < length; ++i) {
            word |= static_cast<std::uintptr_t>(text[i].unicode()) << (8 * (i + 1));
        }
        m_word = word;
    } else if (isCanonicalUuid(text)) {
        auto* bytes = allocate<std::uint8_t>(kUuidBytes);
        int n = 0;
        for (qsizetype i = 0; i < kUuidLength; ++i) {
            if (isUuidHyphen(i)) {
                continue;
            }
            const int nibble = hexValue(text[i].unicode());
            if (n % 2 == 0) {
                bytes[n / 2] = static_cast<std::uint8_t>(nibble << 4);
            } else {
                bytes[n / 2] |= static_cast<std::uint8_t>(nibble);
            }
            ++n;
        }
        m_word = tagged(bytes, kUuidTag);
    } else if (isPlainLatin1(text)) {
        auto* chars = allocate<char>(static_cast<std::size_t>(length) + 1);
        for (qsizetype i = 0; i < length; ++i) {
            chars[i] = static_cast<char>(text[i].unicode());
        }
        chars[length] = '\0';
        m_word = tagged(chars, kLatin1Tag);
    } else {
        const auto size = static_cast<std::size_t>(length);
        auto* header = allocate<std::uint64_t>(sizeof(std::uint64_t) + size * sizeof(char16_t));
        *header = size;
        std::memcpy(header + 1, text.utf16(), size * sizeof(char16_t));
        m_word = tagged(header, kUtf16Tag);
    }
}

CompactString CompactString::sharing(const QString* interned) {
    return CompactString(tagged(interned, kSharedTag));
}

CompactString::~CompactString() {
    release();
}

CompactString::CompactString(CompactString&& other) noexcept
    : m_word(std::exchange(other.m_word, kInlineTag)) {}

CompactString& CompactString::operator=(CompactString&& other) noexcept {
    if (this != &other) {
        release();
        m_word = std::exchange(other.m_word, kInlineTag);
    }
    return *this;
}

void CompactString::release() noexcept {
    if (!(m_word & kInlineTag) && (m_word & kFormMask) != kSharedTag) {
        ::operator delete(untagged<void>(m_word));
    }
    m_word = kInlineTag;
}

CompactString::Form CompactString::form() const {
    if (m_word & kInlineTag) {
        return Form::Inline;
    }
    switch (m_word & kFormMask) {
    case kLatin1Tag:
        return Form::Latin1;
    case kUtf16Tag:
        return Form::Utf16;
    case kUuidTag:
        return Form::Uuid;
    default:
        return Form::Shared;
    }
}

QString CompactString::text() const {
    switch (form()) {
    case Form::Inline: {
        const auto length = static_cast<qsizetype>((m_word >> 1) & 7u);
        QString text(length, Qt::Uninitialized);
        for (qsizetype i = 0; i < length; ++i) {
            text[i] = QChar(static_cast<char16_t>((m_word >> (8 * (i + 1))) & 0xFFu));
        }
        return text;
    }
    case Form::Latin1:
        return QString::fromLatin1(untagged<const char>(m_word));
    case Form::Utf16: {
        const auto* header = untagged<const std::uint64_t>(m_word);
        return QString(reinterpret_cast<const QChar*>(header + 1), static_cast<qsizetype>(*header));
    }
    case Form::Uuid: {
        static constexpr char kDigits[] = "0123456789ABCDEF";
        const auto* bytes = untagged<const std::uint8_t>(m_word);
        QString text(kUuidLength, Qt::Uninitialized);
        int n = 0;
        for (qsizetype i = 0; i < kUuidLength; ++i) {
            if (isUuidHyphen(i)) {
                text[i] = u'-';
                continue;
            }
            const int nibble = n % 2 == 0 ? bytes[n / 2] >> 4 : bytes[n / 2] & 0xF;
            text[i] = QLatin1Char(kDigits[nibble]);
            ++n;
        }
        return text;
    }
    case Form::Shared:
        return *untagged<const QString>(m_word);
    }
    return {};
}

bool CompactString::isCanonicalUuid(QStringView text) {
    if (text.size() != kUuidLength) {
        return false;
    }
    for (qsizetype i = 0; i < kUuidLength; ++i) {
        if (isUuidHyphen(i) ? text[i] != u'-' : hexValue(text[i].unicode()) < 0) {
            return false;
        }
    }
    return true;
}

} // namespace vantrel::objectstore
