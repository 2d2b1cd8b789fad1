#include "platform/UInt384.h"

#include "platform/InternalError.h"

#include <vector>

namespace vantrel::platform {

using u128 = unsigned __int128;

UInt384 UInt384::multiply(u128 a, u128 b) {
    const std::uint64_t x[2] = {static_cast<std::uint64_t>(a), static_cast<std::uint64_t>(a >> 64)};
    const std::uint64_t y[2] = {static_cast<std::uint64_t>(b), static_cast<std::uint64_t>(b >> 64)};
    UInt384 result;
    for (int i = 0; i < 2; ++i) {
        std::uint64_t carry = 0;
        for (int j = 0; j < 2; ++j) {
            const u128 t = static_cast<u128>(x[i]) * y[j] + result.m_limbs[i + j] + carry;
            result.m_limbs[i + j] = static_cast<std::uint64_t>(t);
            carry = static_cast<std::uint64_t>(t >> 64);
        }
        result.m_limbs[i + 2] = carry;
    }
    return result;
}

const UInt384& UInt384::powerOfTen(int exponent) {
    static const std::vector<UInt384> powers = [] {
        std::vector<UInt384> table;
        table.reserve(kMaxDigits + 1);
        UInt384 value(1);
        for (int i = 0; i <= kMaxDigits; ++i) {
            table.push_back(value);
            (void)value.multiplyBy(10);
        }
        return table;
    }();
    if (exponent < 0 || exponent > kMaxDigits) {
        throw InternalError("UInt384: power of ten out of range");
    }
    return powers[static_cast<std::size_t>(exponent)];
}

bool UInt384::isZero() const {
    for (auto limb : m_limbs) {
        if (limb != 0) {
            return false;
        }
    }
    return true;
}

bool UInt384::fitsIn128() const {
    for (int i = 2; i < kLimbs; ++i) {
        if (m_limbs[i] != 0) {
            return false;
        }
    }
    return true;
}

u128 UInt384::low128() const {
    return (static_cast<u128>(m_limbs[1]) << 64) | m_limbs[0];
}

int UInt384::digitCount() const {
    // Binary search over the powers of ten: the smallest n with value < 10^n.
    int low = 1;
    int high = kMaxDigits;
    while (low < high) {
        const int mid = (low + high) / 2;
        if (*this < powerOfTen(mid)) {
            high = mid;
        } else {
            low = mid + 1;
        }
    }
    return low;
}

bool UInt384::multiplyBy(std::uint64_t factor) {
    std::uint64_t carry = 0;
    for (auto& limb : m_limbs) {
        const u128 t = static_cast<u128>(limb) * factor + carry;
        limb = static_cast<std::uint64_t>(t);
        carry = static_cast<std::uint64_t>(t >> 64);
    }
    return carry == 0;
}

bool UInt384::multiplyByPowerOfTen(int exponent) {
    constexpr std::uint64_t kTenToNineteen = 10'000'000'000'000'000'000ULL;
    while (exponent >= 19) {
        if (!multiplyBy(kTenToNineteen)) {
            return false;
        }
        exponent -= 19;
    }
    std::uint64_t factor = 1;
    for (int i = 0; i < exponent; ++i) {
        factor *= 10;
    }
    return multiplyBy(factor);
}

bool UInt384::add(const UInt384& other) {
    std::uint64_t carry = 0;
    for (int i = 0; i < kLimbs; ++i) {
        const u128 t = static_cast<u128>(m_limbs[i]) + other.m_limbs[i] + carry;
        m_limbs[i] = static_cast<std::uint64_t>(t);
        carry = static_cast<std::uint64_t>(t >> 64);
    }
    return carry == 0;
}

void UInt384::subtract(const UInt384& other) {
    std::uint64_t borrow = 0;
    for (int i = 0; i < kLimbs; ++i) {
        const std::uint64_t a = m_limbs[i];
        const std::uint64_t b = other.m_limbs[i];
        m_limbs[i] = a - b - borrow;
        borrow = (a < b || (a == b && borrow != 0)) ? 1 : 0;
    }
}

std::uint64_t UInt384::divideBy(std::uint64_t divisor) {
    u128 remainder = 0;
    for (int i = kLimbs - 1; i >= 0; --i) {
        const u128 current = (remainder << 64) | m_limbs[i];
        m_limbs[i] = static_cast<std::uint64_t>(current / divisor);
        remainder = current % divisor;
    }
    return static_cast<std::uint64_t>(remainder);
}

void UInt384::divide(const UInt384& numerator, const UInt384& denominator, UInt384& quotient,
                     UInt384& remainder) {
    if (denominator.isZero()) {
        throw InternalError("UInt384: division by zero");
    }
    quotient = UInt384();
    remainder = UInt384();
    if (denominator.fitsIn128() && denominator.m_limbs[1] == 0) {
        quotient = numerator;
        remainder = UInt384(quotient.divideBy(denominator.m_limbs[0]));
        return;
    }
    // Schoolbook binary long division: only reached by divisions with wide divisors, which are rare.
    for (int i = numerator.bitLength() - 1; i >= 0; --i) {
        remainder.shiftLeftOne();
        if (numerator.bit(i)) {
            remainder.m_limbs[0] |= 1;
        }
        if (remainder >= denominator) {
            remainder.subtract(denominator);
            quotient.setBit(i);
        }
    }
}

std::strong_ordering operator<=>(const UInt384& a, const UInt384& b) {
    for (int i = UInt384::kLimbs - 1; i >= 0; --i) {
        if (a.m_limbs[i] != b.m_limbs[i]) {
            return a.m_limbs[i] <=> b.m_limbs[i];
        }
    }
    return std::strong_ordering::equal;
}

int UInt384::bitLength() const {
    for (int i = kLimbs - 1; i >= 0; --i) {
        if (m_limbs[i] != 0) {
            return 64 * i + (64 - __builtin_clzll(m_limbs[i]));
        }
    }
    return 0;
}

void UInt384::shiftLeftOne() {
    for (int i = kLimbs - 1; i > 0; --i) {
        m_limbs[i] = (m_limbs[i] << 1) | (m_limbs[i - 1] >> 63);
    }
    m_limbs[0] <<= 1;
}

bool UInt384::bit(int index) const {
    return ((m_limbs[index / 64] >> (index % 64)) & 1U) != 0;
}

void UInt384::setBit(int index) {
    m_limbs[index / 64] |= std::uint64_t{1} << (index % 64);
}

} // namespace vantrel::platform
