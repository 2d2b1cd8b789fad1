#pragma once

#include "platform/Amount.h"

#include <cstdint>

namespace vantrel::objectstore {

// A decimal attribute in one pointer-sized word. An Amount takes 24 bytes, but money almost always
// fits a 55-bit mantissa with its exponent, which then sits in the word itself; anything larger is
// kept whole on the heap. The value and its scale come back exactly as stored.
class CompactAmount {
public:
    static constexpr int kInlineMantissaBits = 55;

    CompactAmount() = default;
    explicit CompactAmount(const platform::Amount& amount);
    ~CompactAmount();
    CompactAmount(CompactAmount&& other) noexcept;
    CompactAmount& operator=(CompactAmount&& other) noexcept;
    CompactAmount(const CompactAmount&) = delete;
    CompactAmount& operator=(const CompactAmount&) = delete;

    platform::Amount amount() const;
    // Whether the value sits in the word (for tests of the limits).
    bool isInline() const { return m_word & 1u; }

private:
    void release() noexcept;

    // Low bit set: the mantissa in the top 55 bits, the exponent in bits 1-8. Otherwise an owned
    // heap Amount.
    std::uintptr_t m_word = 1; // zero
};

} // namespace vantrel::objectstore
