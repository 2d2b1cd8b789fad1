#include "platform/objectstore/CompactAmount.h"

#include <memory>
#include <utility>

namespace vantrel::objectstore {

namespace {

constexpr __int128 kInlineLimit = __int128{1} << (CompactAmount::kInlineMantissaBits - 1);
constexpr int kMantissaShift = 64 - CompactAmount::kInlineMantissaBits;

} // namespace

CompactAmount::CompactAmount(const platform::Amount& amount) {
    static_assert(platform::Amount::kMinExponent >= -128 && platform::Amount::kMaxExponent <= 127,
                  "the exponent must fit in eight bits");
    const __int128 mantissa = amount.mantissa();
    if (mantissa >= -kInlineLimit && mantissa < kInlineLimit) {
        const auto exponent = static_cast<std::uint8_t>(static_cast<std::int8_t>(amount.exponent()));
        m_word = (static_cast<std::uint64_t>(static_cast<std::int64_t>(mantissa)) << kMantissaShift) |
                 (std::uintptr_t{exponent} << 1) | 1u;
    } else {
        m_word = reinterpret_cast<std::uintptr_t>(std::make_unique<platform::Amount>(amount).release());
    }
}

CompactAmount::~CompactAmount() {
    release();
}

CompactAmount::CompactAmount(CompactAmount&& other) noexcept
    : m_word(std::exchange(other.m_word, 1u)) {}

CompactAmount& CompactAmount::operator=(CompactAmount&& other) noexcept {
    if (this != &other) {
        release();
        m_word = std::exchange(other.m_word, 1u);
    }
    return *this;
}

void CompactAmount::release() noexcept {
    if (!isInline()) {
        std::unique_ptr<platform::Amount> owned(reinterpret_cast<platform::Amount*>(m_word));
    }
    m_word = 1u;
}

platform::Amount CompactAmount::amount() const {
    if (!isInline()) {
        return *reinterpret_cast<const platform::Amount*>(m_word);
    }
    // Arithmetic shift keeps the sign.
    const std::int64_t mantissa = static_cast<std::int64_t>(m_word) >> kMantissaShift;
    const int exponent = static_cast<std::int8_t>(static_cast<std::uint8_t>(m_word >> 1));
    return platform::Amount::fromParts(mantissa, exponent);
}

} // namespace vantrel::objectstore
