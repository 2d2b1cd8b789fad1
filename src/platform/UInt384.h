#pragma once

#include <array>
#include <compare>
#include <cstdint>

namespace vantrel::platform {

// A fixed-width unsigned integer of 384 bits (115 decimal digits): room for the exact product of two
// 38-digit mantissas and for aligning two mantissas whose exponents differ by up to 76. Only the
// slow paths of Amount use it; the common cases stay in 128-bit arithmetic.
class UInt384 {
public:
    static constexpr int kLimbs = 6;
    static constexpr int kMaxDigits = 115;

    constexpr UInt384() = default;
    constexpr UInt384(unsigned __int128 value) // NOLINT(google-explicit-constructor)
        : m_limbs{static_cast<std::uint64_t>(value), static_cast<std::uint64_t>(value >> 64), 0, 0, 0, 0} {}

    static UInt384 multiply(unsigned __int128 a, unsigned __int128 b);
    // 10^exponent for 0 <= exponent <= kMaxDigits.
    static const UInt384& powerOfTen(int exponent);

    bool isZero() const;
    bool fitsIn128() const;
    unsigned __int128 low128() const;
    // Number of decimal digits; 1 for zero.
    int digitCount() const;

    // Each returns false when the result does not fit; the value is then unspecified.
    [[nodiscard]] bool multiplyBy(std::uint64_t factor);
    [[nodiscard]] bool multiplyByPowerOfTen(int exponent);
    [[nodiscard]] bool add(const UInt384& other);
    // Requires *this >= other.
    void subtract(const UInt384& other);
    // Divides in place and returns the remainder.
    std::uint64_t divideBy(std::uint64_t divisor);
    // Quotient and remainder of numerator / denominator; denominator must not be zero.
    static void divide(const UInt384& numerator, const UInt384& denominator, UInt384& quotient,
                       UInt384& remainder);

    friend bool operator==(const UInt384&, const UInt384&) = default;
    friend std::strong_ordering operator<=>(const UInt384& a, const UInt384& b);

private:
    int bitLength() const;
    void shiftLeftOne();
    bool bit(int index) const;
    void setBit(int index);

    std::array<std::uint64_t, kLimbs> m_limbs{}; // least significant first
};

} // namespace vantrel::platform
