#include "platform/Amount.h"

#include "platform/InternalError.h"
#include "platform/UInt384.h"

#include <algorithm>
#include <array>

namespace vantrel::platform {

namespace {

using i128 = __int128;
using u128 = unsigned __int128;

constexpr std::array<u128, 39> kPowersOfTen = [] {
    std::array<u128, 39> powers{};
    u128 value = 1;
    for (auto& power : powers) {
        power = value;
        value *= 10;
    }
    return powers;
}();

constexpr i128 kMantissaLimit = static_cast<i128>(kPowersOfTen[Amount::kMaxDigits]);

// Number of decimal digits of a value below 2^128; 1 for zero.
int digitCount(u128 value) {
    if (value == 0) {
        return 1;
    }
    const int bits = 128 - (static_cast<std::uint64_t>(value >> 64) != 0
                                ? __builtin_clzll(static_cast<std::uint64_t>(value >> 64))
                                : 64 + __builtin_clzll(static_cast<std::uint64_t>(value)));
    const int guess = (bits * 1233) >> 12; // bits * log10(2)
    if (guess >= static_cast<int>(kPowersOfTen.size())) {
        return guess + 1;
    }
    return value >= kPowersOfTen[static_cast<std::size_t>(guess)] ? guess + 1 : guess;
}

std::string digitsOf(u128 value) {
    // Work in 64-bit chunks of 19 digits: 128-bit division is a library call per digit.
    constexpr std::uint64_t kTenToNineteen = 10'000'000'000'000'000'000ULL;
    char buffer[48];
    char* end = buffer + sizeof buffer;
    char* start = end;
    while (value >= kTenToNineteen) {
        auto chunk = static_cast<std::uint64_t>(value % kTenToNineteen);
        value /= kTenToNineteen;
        for (int i = 0; i < 19; ++i) {
            *--start = static_cast<char>('0' + chunk % 10);
            chunk /= 10;
        }
    }
    auto rest = static_cast<std::uint64_t>(value);
    do {
        *--start = static_cast<char>('0' + rest % 10);
        rest /= 10;
    } while (rest != 0);
    return std::string(start, end);
}

[[noreturn]] void raiseTooManyDigits() {
    throw InternalError("Amount: the exact result needs more than 38 significant digits");
}

[[noreturn]] void raiseOverflow() {
    throw InternalError("Amount: overflow, the result is too large to represent");
}

// Removes `count` low digits. With rounding, ties go away from zero; otherwise a non-zero digit
// removed is an error. Returns nothing; `magnitude` is updated in place.
void dropDigits(UInt384& magnitude, int count, bool round) {
    if (count <= 0) {
        return;
    }
    if (count > UInt384::kMaxDigits) {
        // Every digit goes, and the value is far below half a unit of what is kept.
        if (!round && !magnitude.isZero()) {
            raiseTooManyDigits();
        }
        magnitude = UInt384();
        return;
    }
    bool nonZeroDropped = false;
    int remaining = count - 1;
    constexpr std::uint64_t kTenToNineteen = 10'000'000'000'000'000'000ULL;
    while (remaining >= 19) {
        nonZeroDropped |= magnitude.divideBy(kTenToNineteen) != 0;
        remaining -= 19;
    }
    if (remaining > 0) {
        nonZeroDropped |= magnitude.divideBy(static_cast<std::uint64_t>(kPowersOfTen[remaining])) != 0;
    }
    // Half away from zero only needs the first removed digit: the rest can only add to it.
    const std::uint64_t firstRemoved = magnitude.divideBy(10);
    nonZeroDropped |= firstRemoved != 0;
    if (!round) {
        if (nonZeroDropped) {
            raiseTooManyDigits();
        }
        return;
    }
    if (firstRemoved >= 5) {
        (void)magnitude.add(UInt384(1));
    }
}

struct Parsed {
    bool negative = false;
    std::string digits; // without leading zeros
    long exponent = 0;
};

std::optional<Parsed> parsePlainDecimal(std::string_view text) {
    Parsed parsed;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        parsed.negative = text[i] == '-';
        ++i;
    }
    bool sawDigit = false;
    long fractionDigits = 0;
    bool inFraction = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            sawDigit = true;
            if (!(parsed.digits.empty() && c == '0')) {
                parsed.digits.push_back(c);
            }
            if (inFraction) {
                ++fractionDigits;
            }
        } else if (c == '.' && !inFraction) {
            inFraction = true;
        } else {
            break;
        }
    }
    if (!sawDigit) {
        return std::nullopt;
    }
    long exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
            negativeExponent = text[i] == '-';
            ++i;
        }
        const std::size_t start = i;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
            // Far beyond any representable exponent; stop growing before the count overflows.
            exponent = std::min(exponent * 10 + (text[i] - '0'), 1'000'000L);
        }
        if (i == start) {
            return std::nullopt;
        }
        exponent = negativeExponent ? -exponent : exponent;
    }
    if (i != text.size()) {
        return std::nullopt;
    }
    parsed.exponent = exponent - fractionDigits;
    return parsed;
}

} // namespace

Amount::Amount(std::int64_t units) {
    setMantissa(units);
}

Amount Amount::fromCents(std::int64_t cents) {
    return raw(cents, -2);
}

Amount Amount::fromParts(i128 mantissa, int exponent) {
    if (fitsMantissa(mantissa) && exponent >= kMinExponent && exponent <= kMaxExponent) {
        return raw(mantissa, exponent);
    }
    const bool negative = mantissa < 0;
    const u128 magnitude =
        negative ? static_cast<u128>(0) - static_cast<u128>(mantissa) : static_cast<u128>(mantissa);
    return fromWide(negative, UInt384(magnitude), exponent, Fit::Exact);
}

Amount Amount::fromWide(bool negative, UInt384 magnitude, int exponent, Fit fit) {
    const bool round = fit == Fit::Round;
    const int digits = magnitude.digitCount();
    if (digits > kMaxDigits) {
        dropDigits(magnitude, digits - kMaxDigits, round);
        exponent += digits - kMaxDigits;
        if (magnitude == UInt384::powerOfTen(kMaxDigits)) { // rounding carried into a new digit
            magnitude.divideBy(10);
            ++exponent;
        }
    }
    if (exponent < kMinExponent) {
        dropDigits(magnitude, kMinExponent - exponent, round);
        exponent = kMinExponent;
    }
    if (exponent > kMaxExponent) {
        const int shift = exponent - kMaxExponent;
        if (magnitude.digitCount() + shift > kMaxDigits && !magnitude.isZero()) {
            raiseOverflow();
        }
        (void)magnitude.multiplyByPowerOfTen(magnitude.isZero() ? 0 : shift);
        exponent = kMaxExponent;
    }
    const i128 mantissa = static_cast<i128>(magnitude.low128());
    return raw(negative ? -mantissa : mantissa, exponent);
}

std::optional<Amount> Amount::withString_vt(QStringView text) {
    std::string ascii;
    ascii.reserve(static_cast<std::size_t>(text.size()));
    for (QChar c : text) {
        if (c.unicode() > 0x7F) {
            return std::nullopt;
        }
        ascii.push_back(static_cast<char>(c.unicode()));
    }
    return fromAscii(ascii);
}

std::optional<Amount> Amount::fromAscii(std::string_view text) {
    auto parsed = parsePlainDecimal(text);
    if (!parsed) {
        return std::nullopt;
    }
    // Trailing zeros beyond 38 digits carry no information; anything else would be lost.
    while (parsed->digits.size() > static_cast<std::size_t>(kMaxDigits) && parsed->digits.back() == '0') {
        parsed->digits.pop_back();
        ++parsed->exponent;
    }
    if (parsed->digits.size() > static_cast<std::size_t>(kMaxDigits)) {
        return std::nullopt;
    }
    u128 magnitude = 0;
    for (char c : parsed->digits) {
        magnitude = magnitude * 10 + static_cast<u128>(c - '0');
    }
    long exponent = parsed->exponent;
    if (magnitude == 0) {
        exponent = std::clamp<long>(exponent, kMinExponent, std::min<long>(kMaxExponent, 0));
    }
    if (exponent < kMinExponent) {
        return std::nullopt;
    }
    if (exponent > kMaxExponent) {
        const long shift = exponent - kMaxExponent;
        if (digitCount(magnitude) + shift > kMaxDigits) {
            return std::nullopt;
        }
        magnitude *= kPowersOfTen[static_cast<std::size_t>(shift)];
        exponent = kMaxExponent;
    }
    const i128 mantissa = static_cast<i128>(magnitude);
    return raw(parsed->negative ? -mantissa : mantissa, static_cast<int>(exponent));
}

bool Amount::isPlainDecimal(std::string_view text) {
    return parsePlainDecimal(text).has_value();
}

QString Amount::toString() const {
    return QString::fromLatin1(toStdString());
}

std::string Amount::toStdString() const {
    std::string digits = digitsOf(magnitude());
    std::string text = sign() < 0 ? "-" : "";
    if (m_exponent >= 0) {
        text += digits;
        if (!isZero()) {
            text.append(static_cast<std::size_t>(m_exponent), '0');
        }
        return text;
    }
    const auto places = static_cast<std::size_t>(-m_exponent);
    if (digits.size() <= places) {
        digits.insert(0, places - digits.size() + 1, '0');
    }
    digits.insert(digits.size() - places, 1, '.');
    return text + digits;
}

u128 Amount::magnitude() const {
    const i128 m = mantissa();
    return m < 0 ? static_cast<u128>(-m) : static_cast<u128>(m);
}

void Amount::setMantissa(i128 mantissa) {
    m_lo = static_cast<std::uint64_t>(mantissa);
    m_hi = static_cast<std::int64_t>(mantissa >> 64);
}

int Amount::sign() const {
    if (m_hi < 0) {
        return -1;
    }
    return isZero() ? 0 : 1;
}

Amount Amount::negate_vt() const {
    return raw(-mantissa(), m_exponent);
}

Amount Amount::absolute_vt() const {
    return sign() < 0 ? negate_vt() : *this;
}

bool Amount::isEqualTo_vt(const Amount& other, const Amount& delta) const {
    if (*this == other) {
        return true;
    }
    // The difference only has to be good enough to compare with the delta.
    return sum(*this, other.negate_vt(), Fit::Round).absolute_vt() <= delta;
}

Amount Amount::rescaledDownTo(int exponent) const {
    if (exponent >= m_exponent) {
        return *this;
    }
    const int shift = m_exponent - exponent;
    const u128 value = magnitude();
    if (exponent < kMinExponent || digitCount(value) + shift > kMaxDigits) {
        return *this;
    }
    const i128 scaled = static_cast<i128>(value * kPowersOfTen[static_cast<std::size_t>(shift)]);
    return raw(sign() < 0 ? -scaled : scaled, exponent);
}

Amount Amount::rounded(int places) const {
    if (places < 0 || places > kMaxDigits) {
        throw InternalError("Amount: rounding places out of range");
    }
    const int target = -places;
    if (m_exponent >= target) {
        return rescaledDownTo(target);
    }
    const int removed = target - m_exponent;
    if (removed > kMaxDigits) {
        return raw(0, target); // the value is below 10^38 units of the removed scale: under half a unit
    }
    const u128 divisor = kPowersOfTen[static_cast<std::size_t>(removed)];
    const u128 value = magnitude();
    u128 quotient = value / divisor;
    const u128 remainder = value % divisor;
    if (remainder >= divisor - remainder) {
        ++quotient;
    }
    const i128 result = static_cast<i128>(quotient);
    return raw(sign() < 0 ? -result : result, target);
}

bool Amount::hasAtMostPlaces(int places) const {
    const int removed = -places - m_exponent;
    if (removed <= 0) {
        return true;
    }
    if (removed > kMaxDigits) {
        return isZero();
    }
    return magnitude() % kPowersOfTen[static_cast<std::size_t>(removed)] == 0;
}

Amount Amount::normalized() const {
    if (isZero()) {
        return Amount();
    }
    u128 value = magnitude();
    int exponent = m_exponent;
    while (exponent < kMaxExponent && value % 10 == 0) {
        value /= 10;
        ++exponent;
    }
    const i128 result = static_cast<i128>(value);
    return raw(sign() < 0 ? -result : result, exponent);
}

std::size_t Amount::hash() const {
    const Amount canonical = normalized();
    std::size_t seed = std::hash<std::uint64_t>()(canonical.m_lo);
    const auto combine = [&seed](std::size_t value) {
        seed ^= value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
    };
    combine(std::hash<std::int64_t>()(canonical.m_hi));
    combine(std::hash<int>()(canonical.m_exponent));
    return seed;
}

Amount Amount::sum(Amount a, Amount b, Fit fit) {
    // The common cases (same scale, or scales a few places apart) stay in 128-bit arithmetic.
    if (a.m_exponent == b.m_exponent) {
        i128 result;
        if (!__builtin_add_overflow(a.mantissa(), b.mantissa(), &result) && fitsMantissa(result)) {
            return raw(result, a.m_exponent);
        }
        return sumSlow(a, b, fit);
    }
    const Amount& high = a.m_exponent >= b.m_exponent ? a : b;
    const Amount& low = a.m_exponent >= b.m_exponent ? b : a;
    const int shift = high.m_exponent - low.m_exponent;
    if (shift <= kMaxDigits) {
        i128 scaled;
        i128 result;
        if (!__builtin_mul_overflow(high.mantissa(), static_cast<i128>(kPowersOfTen[shift]), &scaled) &&
            !__builtin_add_overflow(scaled, low.mantissa(), &result) && fitsMantissa(result)) {
            return raw(result, low.m_exponent);
        }
    }
    return sumSlow(a, b, fit);
}

Amount Amount::sumSlow(const Amount& a, const Amount& b, Fit fit) {
    if (a.isZero()) {
        return b.rescaledDownTo(a.m_exponent);
    }
    if (b.isZero()) {
        return a.rescaledDownTo(b.m_exponent);
    }
    Amount high = a.m_exponent >= b.m_exponent ? a : b;
    Amount low = a.m_exponent >= b.m_exponent ? b : a;
    constexpr int kMaxShift = UInt384::kMaxDigits - kMaxDigits - 1;
    if (high.m_exponent - low.m_exponent > kMaxShift) {
        high = high.normalized();
        low = low.normalized();
        if (high.m_exponent < low.m_exponent) {
            std::swap(high, low);
        }
    }
    if (high.m_exponent - low.m_exponent > kMaxShift) {
        // The exact result spans more digits than the shift: it cannot fit.
        if (fit == Fit::Exact) {
            raiseTooManyDigits();
        }
        // The low term lies entirely below a tenth of the last digit rounding can keep, so only
        // its sign matters: a single digit at that depth rounds the same way.
        const int leading = digitCount(high.magnitude()) + high.m_exponent - 1;
        low = raw(low.sign(), leading - 40);
    }
    UInt384 highMagnitude(high.magnitude());
    (void)highMagnitude.multiplyByPowerOfTen(high.m_exponent - low.m_exponent);
    const UInt384 lowMagnitude(low.magnitude());
    const bool highNegative = high.sign() < 0;
    const bool lowNegative = low.sign() < 0;
    if (highNegative == lowNegative) {
        (void)highMagnitude.add(lowMagnitude);
        return fromWide(highNegative, highMagnitude, low.m_exponent, fit);
    }
    if (highMagnitude >= lowMagnitude) {
        highMagnitude.subtract(lowMagnitude);
        return fromWide(highNegative && !highMagnitude.isZero(), highMagnitude, low.m_exponent, fit);
    }
    UInt384 difference = lowMagnitude;
    difference.subtract(highMagnitude);
    return fromWide(lowNegative, difference, low.m_exponent, fit);
}

Amount operator*(const Amount& a, const Amount& b) {
    const int exponent = a.m_exponent + b.m_exponent;
    i128 product;
    if (!__builtin_mul_overflow(a.mantissa(), b.mantissa(), &product) && Amount::fitsMantissa(product) &&
        exponent >= Amount::kMinExponent && exponent <= Amount::kMaxExponent) {
        return Amount::raw(product, exponent);
    }
    const bool negative = (a.sign() < 0) != (b.sign() < 0) && !a.isZero() && !b.isZero();
    return Amount::fromWide(negative, UInt384::multiply(a.magnitude(), b.magnitude()), exponent,
                            Amount::Fit::Exact);
}

Amount Amount::multipliedBy(const Amount& factor, int places) const {
    if (places < 0 || places > kMaxDigits) {
        throw InternalError("Amount: rounding places out of range");
    }
    const int exponent = m_exponent + factor.m_exponent;
    const int target = -places;
    if (exponent >= target) {
        return (*this * factor).rescaledDownTo(target);
    }
    const bool negative = (sign() < 0) != (factor.sign() < 0);
    const int removed = target - exponent;
    u128 product;
    if (removed <= kMaxDigits && !__builtin_mul_overflow(magnitude(), factor.magnitude(), &product)) {
        const u128 divisor = kPowersOfTen[static_cast<std::size_t>(removed)];
        u128 quotient = product / divisor;
        const u128 remainder = product % divisor;
        if (remainder >= divisor - remainder) {
            ++quotient;
        }
        if (quotient < static_cast<u128>(kMantissaLimit)) {
            const i128 result = static_cast<i128>(quotient);
            return raw(negative ? -result : result, target);
        }
    }
    UInt384 wide = UInt384::multiply(magnitude(), factor.magnitude());
    dropDigits(wide, removed, true);
    return fromWide(negative && !wide.isZero(), wide, target, Fit::Exact);
}

Amount Amount::dividedBy(const Amount& divisor) const {
    if (divisor.isZero()) {
        throw InternalError("Amount: division by zero");
    }
    if (isZero()) {
        return Amount();
    }
    // Scale the dividend so the integer quotient has at least 39 digits, then round to 38.
    const int shift = digitCount(divisor.magnitude()) + kMaxDigits + 1 - digitCount(magnitude());
    UInt384 numerator(magnitude());
    (void)numerator.multiplyByPowerOfTen(shift);
    UInt384 quotient;
    UInt384 remainder;
    UInt384::divide(numerator, UInt384(divisor.magnitude()), quotient, remainder);
    const bool negative = (sign() < 0) != (divisor.sign() < 0);
    return fromWide(negative, quotient, m_exponent - divisor.m_exponent - shift, Fit::Round).normalized();
}

Amount Amount::dividedBy(const Amount& divisor, int places) const {
    if (divisor.isZero()) {
        throw InternalError("Amount: division by zero");
    }
    if (places < 0 || places > kMaxDigits) {
        throw InternalError("Amount: rounding places out of range");
    }
    // quotient = dividend * 10^shift / divisor, an integer count of units of 10^-places.
    const int shift = m_exponent - divisor.m_exponent + places;
    UInt384 numerator(magnitude());
    UInt384 denominator(divisor.magnitude());
    if (shift >= 0) {
        if (shift > UInt384::kMaxDigits || !numerator.multiplyByPowerOfTen(shift)) {
            raiseOverflow();
        }
    } else if (-shift > UInt384::kMaxDigits || !denominator.multiplyByPowerOfTen(-shift)) {
        return raw(0, -places); // the divisor dwarfs the dividend
    }
    UInt384 quotient;
    UInt384 remainder;
    UInt384::divide(numerator, denominator, quotient, remainder);
    UInt384 rest = denominator;
    rest.subtract(remainder);
    if (remainder >= rest) {
        (void)quotient.add(UInt384(1));
    }
    const bool negative = (sign() < 0) != (divisor.sign() < 0) && !quotient.isZero();
    return fromWide(negative, quotient, -places, Fit::Exact);
}

int Amount::compare(const Amount& a, const Amount& b) {
    const int signA = a.sign();
    const int signB = b.sign();
    if (signA != signB) {
        return signA < signB ? -1 : 1;
    }
    if (signA == 0) {
        return 0;
    }
    if (a.m_exponent == b.m_exponent) {
        const i128 ma = a.mantissa();
        const i128 mb = b.mantissa();
        return ma < mb ? -1 : (ma > mb ? 1 : 0);
    }
    // Same sign: compare the position of the leading digit first, then the aligned mantissas,
    // which then differ in length by the exponent difference and so fit in 128 bits.
    const u128 magnitudeA = a.magnitude();
    const u128 magnitudeB = b.magnitude();
    const int leadingA = digitCount(magnitudeA) + a.m_exponent;
    const int leadingB = digitCount(magnitudeB) + b.m_exponent;
    int byMagnitude = 0;
    if (leadingA != leadingB) {
        byMagnitude = leadingA < leadingB ? -1 : 1;
    } else if (a.m_exponent > b.m_exponent) {
        const u128 scaled = magnitudeA * kPowersOfTen[static_cast<std::size_t>(a.m_exponent - b.m_exponent)];
        byMagnitude = scaled < magnitudeB ? -1 : (scaled > magnitudeB ? 1 : 0);
    } else {
        const u128 scaled = magnitudeB * kPowersOfTen[static_cast<std::size_t>(b.m_exponent - a.m_exponent)];
        byMagnitude = magnitudeA < scaled ? -1 : (magnitudeA > scaled ? 1 : 0);
    }
    return signA > 0 ? byMagnitude : -byMagnitude;
}

} // namespace vantrel::platform
