#pragma once

#include <QString>
#include <QStringView>

#include <compare>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel::platform {

class UInt384;

// An exact base-10 decimal: value = mantissa x 10^exponent with at most 38 significant digits.
// Money never goes through double. Negative means money leaving an account; zero counts as an
// expense.
//
// Addition, subtraction and multiplication are exact. A result that needs more than 38
// significant digits (or an exponent outside the supported range) throws
// InternalError instead of wrapping or silently dropping digits. Division keeps 38
// significant digits, rounded plain; the `places` variants round exactly once, at the stated
// number of decimal places.
//
// The stored scale is kept: "12.50" stays 12.50 (two places) and prints back as "12.50". Equality,
// ordering and hashing are numeric: 12.5 == 12.50.
class Amount {
public:
    static constexpr int kMaxDigits = 38;
    static constexpr int kMinExponent = -128;
    static constexpr int kMaxExponent = 127;

    constexpr Amount() = default;
    // Whole units.
    explicit Amount(std::int64_t units);

    static Amount fromCents(std::int64_t cents);
    // mantissa x 10^exponent; throws InternalError when it cannot be represented.
    static Amount fromParts(__int128 mantissa, int exponent);

    // Plain decimal text: optional sign, digits, "." as the decimal separator, optional exponent
    // ("1.5E3"). No grouping, no spaces. Returns nothing for anything else, including a number
    // with more than 38 significant digits.
    static std::optional<Amount> withString_vt(QStringView text);
    static std::optional<Amount> fromAscii(std::string_view text);
    // True when the text has that syntax, whether or not its value fits in an Amount.
    static bool isPlainDecimal(std::string_view text);

    // Plain decimal text that withString_vt reads back to the same value and scale.
    QString toString() const;
    std::string toStdString() const;

    __int128 mantissa() const {
        return static_cast<__int128>(
            (static_cast<unsigned __int128>(static_cast<std::uint64_t>(m_hi)) << 64) | m_lo);
    }
    int exponent() const { return m_exponent; }
    // Decimal places as stored (0 for whole numbers and positive exponents).
    int scale() const { return m_exponent < 0 ? -m_exponent : 0; }

    bool isZero() const { return m_lo == 0 && m_hi == 0; }
    int sign() const;

    Amount negate_vt() const;
    Amount absolute_vt() const;
    bool isIncome_vt() const { return sign() > 0; }
    bool isExpense_vt() const { return !isIncome_vt(); }
    bool isLessThan_vt(const Amount& other) const { return *this < other; }
    bool isGreaterThan_vt(const Amount& other) const { return *this > other; }
    bool isLessThanOrEqualTo_vt(const Amount& other) const { return !isGreaterThan_vt(other); }
    // Equal, or differing by at most `delta`.
    bool isEqualTo_vt(const Amount& other, const Amount& delta) const;
    Amount roundToNearestCent_vt() const { return rounded(2); }

    // Plain rounding (ties away from zero) to `places` decimal places (0..kMaxDigits). The result
    // carries exactly that scale when it fits in 38 digits: 2.5 rounded to 2 places is 2.50.
    Amount rounded(int places) const;
    // True when rounding to `places` would not change the value.
    bool hasAtMostPlaces(int places) const;

    // The exact product rounded once to `places` decimal places.
    Amount multipliedBy(const Amount& factor, int places) const;
    // The quotient to 38 significant digits (plain rounding), trailing zeros removed.
    // Division by zero is an InternalError.
    Amount dividedBy(const Amount& divisor) const;
    // The exact quotient rounded once to `places` decimal places.
    Amount dividedBy(const Amount& divisor, int places) const;

    // The same value with trailing zeros of the mantissa removed (12.50 -> 12.5, 100 -> 1E2).
    Amount normalized() const;

    std::size_t hash() const;

    Amount operator-() const { return negate_vt(); }
    // Sums of amounts of one scale (the running balance of a register) are inline and branch once;
    // anything else, including every sum near the limit, takes the exact path.
    friend Amount operator+(const Amount& a, const Amount& b) {
        if (a.m_exponent == b.m_exponent) {
            const auto result =
                static_cast<unsigned __int128>(a.mantissa()) + static_cast<unsigned __int128>(b.mantissa());
            if (clearlyFitsMantissa(result)) {
                return raw(static_cast<__int128>(result), a.m_exponent);
            }
        }
        return sum(Amount(a), Amount(b), Fit::Exact);
    }
    friend Amount operator-(const Amount& a, const Amount& b) {
        if (a.m_exponent == b.m_exponent) {
            const auto result =
                static_cast<unsigned __int128>(a.mantissa()) - static_cast<unsigned __int128>(b.mantissa());
            if (clearlyFitsMantissa(result)) {
                return raw(static_cast<__int128>(result), a.m_exponent);
            }
        }
        return sum(Amount(a), b.negate_vt(), Fit::Exact);
    }
    friend Amount operator*(const Amount& a, const Amount& b);
    Amount& operator+=(const Amount& other) { return *this = *this + other; }
    Amount& operator-=(const Amount& other) { return *this = *this - other; }

    friend bool operator==(const Amount& a, const Amount& b) { return compare(a, b) == 0; }
    friend std::strong_ordering operator<=>(const Amount& a, const Amount& b) { return compare(a, b) <=> 0; }

private:
    // Whether a result that needs more than 38 significant digits is an error or is rounded.
    enum class Fit { Exact, Round };

    static Amount raw(__int128 mantissa, int exponent) {
        Amount amount;
        amount.m_lo = static_cast<std::uint64_t>(mantissa);
        amount.m_hi = static_cast<std::int64_t>(mantissa >> 64);
        amount.m_exponent = static_cast<std::int16_t>(exponent);
        return amount;
    }
    // A wrapped sum or difference of two mantissas whose high word lies in [-K, K), where K is the
    // high word of 10^38, is a mantissa: |value| < K * 2^64 < 10^38. A sum that wrapped around lands
    // far outside, so no separate overflow test is needed. The few values near 10^38 that fail this
    // test go to the exact path.
    static bool clearlyFitsMantissa(unsigned __int128 value) {
        constexpr std::uint64_t kHighWordOfLimit = 5421010862427522170ULL;
        return static_cast<std::uint64_t>(value >> 64) + kHighWordOfLimit < 2 * kHighWordOfLimit;
    }
    // -10^38 < value < 10^38, in one unsigned comparison.
    static bool fitsMantissa(__int128 value) {
        constexpr unsigned __int128 kTenToNineteen = 10'000'000'000'000'000'000ULL;
        constexpr unsigned __int128 kLimit = kTenToNineteen * kTenToNineteen;
        return static_cast<unsigned __int128>(value) + (kLimit - 1) < 2 * kLimit - 1;
    }
    // By value, so that the inline callers' operands never have their address taken and stay in
    // registers on the fast path.
    static Amount sum(Amount a, Amount b, Fit fit);
    static Amount sumSlow(const Amount& a, const Amount& b, Fit fit);
    static Amount fromWide(bool negative, UInt384 magnitude, int exponent, Fit fit);
    static int compare(const Amount& a, const Amount& b);
    // The same value with a lower exponent (more decimal places) when that still fits, else as is.
    Amount rescaledDownTo(int exponent) const;
    unsigned __int128 magnitude() const;
    void setMantissa(__int128 mantissa);

    // Split so the value packs into 24 bytes instead of the 32 an aligned __int128 would take.
    std::uint64_t m_lo = 0;
    std::int64_t m_hi = 0;
    std::int16_t m_exponent = 0;
};

} // namespace vantrel::platform

template <>
struct std::hash<vantrel::platform::Amount> {
    std::size_t operator()(const vantrel::platform::Amount& amount) const noexcept { return amount.hash(); }
};
