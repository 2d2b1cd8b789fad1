#include "model/IcuBridge.h"

#include "platform/InternalError.h"

#include <QLocale>

#include <unicode/decimfmt.h>
#include <unicode/numfmt.h>

#include <algorithm>
#include <cstdint>

namespace vantrel::model {

namespace {

bool isDirectionMark(QChar c) {
    return c == u'\u200E' || c == u'\u200F' || c == u'\u061C';
}

// The hyphen-minus users type, the typographic minus some locales display, and the small and
// full-width forms input methods produce.
bool isMinus(QChar c) {
    return c == u'-' || c == u'\u2212' || c == u'\uFE63' || c == u'\uFF0D';
}

std::string digitsOf(unsigned __int128 magnitude) {
    std::string digits;
    do {
        digits.push_back(static_cast<char>('0' + static_cast<int>(magnitude % 10)));
        magnitude /= 10;
    } while (magnitude != 0);
    std::reverse(digits.begin(), digits.end());
    return digits;
}

} // namespace

icu::UnicodeString IcuBridge::toUnicode(QStringView text) {
    return icu::UnicodeString(reinterpret_cast<const char16_t*>(text.utf16()),
                              static_cast<std::int32_t>(text.size()));
}

QString IcuBridge::toQString(const icu::UnicodeString& text) {
    return QString(reinterpret_cast<const QChar*>(text.getBuffer()), text.length());
}

icu::Locale IcuBridge::locale(const QString& localeId) {
    const QByteArray id = localeId.trimmed().toUtf8();
    icu::Locale result(id.constData());
    if (result.isBogus()) {
        return icu::Locale::getRoot();
    }
    return result;
}

QString IcuBridge::systemLocaleId() {
    QString name = QLocale::system().name();
    // The POSIX "C" locale has no ICU counterpart with grouping and month names.
    if (name.isEmpty() || name == u"C" || name == u"POSIX") {
        return QStringLiteral("en_US");
    }
    return name;
}

std::string IcuBridge::decimalNumber(const Amount& amount) {
    const __int128 mantissa = amount.mantissa();
    const bool negative = mantissa < 0;
    const auto magnitude = negative
                               ? static_cast<unsigned __int128>(0) - static_cast<unsigned __int128>(mantissa)
                               : static_cast<unsigned __int128>(mantissa);
    std::string text = negative ? "-" : "";
    text += digitsOf(magnitude);
    text += 'E';
    text += std::to_string(amount.exponent());
    return text;
}

ParseResult<Amount> IcuBridge::amountFromDecimalNumber(std::string_view text) {
    const auto notANumber = [] {
        return ParseResult<Amount>::failed(ParseFailure::NotANumber, tr("The text is not a number."));
    };
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };

    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    std::string digits; // significant digits, leading zeros dropped
    long long exponent = 0;
    bool anyDigit = false;
    bool seenPoint = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (isDigit(c)) {
            anyDigit = true;
            if (!digits.empty() || c != '0') {
                digits.push_back(c);
            }
            if (seenPoint) {
                --exponent;
            }
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
    }
    if (!anyDigit) {
        return notANumber(); // also "NaN" and "Infinity"
    }
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        bool negativeExponent = false;
        if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
            negativeExponent = text[i] == '-';
            ++i;
        }
        if (i == text.size()) {
            return notANumber();
        }
        long long written = 0;
        for (; i < text.size(); ++i) {
            if (!isDigit(text[i])) {
                return notANumber();
            }
            // Anything this far out is out of range anyway; stop before the count overflows.
            written = std::min(written * 10 + (text[i] - '0'), 1'000'000LL);
        }
        exponent += negativeExponent ? -written : written;
    }
    if (i != text.size()) {
        return notANumber();
    }
    if (digits.empty()) {
        return ParseResult<Amount>::withValue(Amount());
    }
    while (digits.back() == '0') {
        digits.pop_back();
        ++exponent;
    }
    if (exponent > Amount::kMaxExponent) {
        // 1E130 still fits as 1000...0E127 when the digits allow it.
        const long long padding = exponent - Amount::kMaxExponent;
        if (static_cast<long long>(digits.size()) + padding > Amount::kMaxDigits) {
            return ParseResult<Amount>::failed(ParseFailure::OutOfRange, tr("The number is too large."));
        }
        digits.append(static_cast<std::size_t>(padding), '0');
        exponent = Amount::kMaxExponent;
    }
    if (static_cast<int>(digits.size()) > Amount::kMaxDigits) {
        return ParseResult<Amount>::failed(ParseFailure::OutOfRange,
                                           tr("The number has more than %1 digits.").arg(Amount::kMaxDigits));
    }
    if (exponent < Amount::kMinExponent) {
        return ParseResult<Amount>::failed(ParseFailure::OutOfRange,
                                           tr("The number has too many decimal places."));
    }
    __int128 mantissa = 0;
    for (const char c : digits) {
        mantissa = mantissa * 10 + (c - '0');
    }
    return ParseResult<Amount>::withValue(
        Amount::fromParts(negative ? -mantissa : mantissa, static_cast<int>(exponent)));
}

qsizetype IcuBridge::leadingMinusLength(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && isDirectionMark(text[i])) {
        ++i;
    }
    if (i == text.size() || !isMinus(text[i])) {
        return 0;
    }
    ++i;
    while (i < text.size() && isDirectionMark(text[i])) {
        ++i;
    }
    return i;
}

std::unique_ptr<icu::DecimalFormat> IcuBridge::createDecimalFormat(const icu::Locale& locale,
                                                                   UNumberFormatStyle style) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::NumberFormat> format(icu::NumberFormat::createInstance(locale, style, status));
    if (U_FAILURE(status) || dynamic_cast<icu::DecimalFormat*>(format.get()) == nullptr) {
        icu::Locale plain(locale);
        status = U_ZERO_ERROR;
        plain.setKeywordValue("numbers", nullptr, status);
        format.reset(icu::NumberFormat::createInstance(plain, style, status));
        throwIfFailed(status, "creating a number formatter");
    }
    if (dynamic_cast<icu::DecimalFormat*>(format.get()) == nullptr) {
        throw platform::InternalError("ICU gave no decimal number formatter for the locale");
    }
    return std::unique_ptr<icu::DecimalFormat>(static_cast<icu::DecimalFormat*>(format.release()));
}

void IcuBridge::throwIfFailed(UErrorCode status, const char* what) {
    if (U_FAILURE(status)) {
        throw platform::InternalError(QStringLiteral("ICU: %1 failed (%2)")
                                          .arg(QLatin1String(what), QLatin1String(u_errorName(status))));
    }
}

} // namespace vantrel::model
