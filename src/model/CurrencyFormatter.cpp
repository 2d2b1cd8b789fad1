#include "model/CurrencyFormatter.h"

#include "model/NumberPattern.h"

#include <unicode/curramt.h>
#include <unicode/dcfmtsym.h>
#include <unicode/decimfmt.h>
#include <unicode/fmtable.h>
#include <unicode/parsepos.h>
#include <unicode/ucurr.h>

#include <algorithm>

namespace vantrel::model {

namespace {

QString transformedPattern(const QString& pattern, NegativeStyle style) {
    switch (style) {
    case NegativeStyle::Locale:
        return pattern;
    case NegativeStyle::MinusSign:
        return NumberPattern::withMinusForNegatives(pattern);
    case NegativeStyle::Parentheses:
        return NumberPattern::withParenthesesForNegatives(pattern);
    }
    return pattern;
}

} // namespace

CurrencyFormatter::CurrencyFormatter(const QString& currencyCode, const QString& localeId,
                                     NegativeStyle negativeStyle)
    : m_currencyCode(isWellFormedCode(currencyCode.trimmed()) ? currencyCode.trimmed().toUpper()
                                                              : QStringLiteral("XXX"))
    , m_localeId(localeId)
    , m_format(IcuBridge::createDecimalFormat(IcuBridge::locale(localeId), UNUM_CURRENCY)) {
    const QString original = pattern();
    const QString wanted = transformedPattern(original, negativeStyle);
    UErrorCode status = U_ZERO_ERROR;
    if (wanted != original) {
        m_format->applyPattern(IcuBridge::toUnicode(wanted), status);
        IcuBridge::throwIfFailed(status, "applying a currency pattern");
    }
    const auto* code = reinterpret_cast<const char16_t*>(m_currencyCode.utf16());
    m_format->setCurrency(code, status);
    IcuBridge::throwIfFailed(status, "setting the currency");
    // A pattern applied by hand fixes the fraction digits to its own ("0.00"); the currency's
    // own count (0 for JPY, 3 for BHD) has to be set again explicitly.
    const int digits = ucurr_getDefaultFractionDigitsForUsage(code, UCURR_USAGE_STANDARD, &status);
    IcuBridge::throwIfFailed(status, "reading the currency's fraction digits");
    m_format->setMaximumFractionDigits(digits);
    m_format->setMinimumFractionDigits(digits);
    IcuBridge::configureForMoney(*m_format);
}

CurrencyFormatter::~CurrencyFormatter() = default;

CurrencyFormatter::CurrencyFormatter(const CurrencyFormatter& other)
    : m_currencyCode(other.m_currencyCode)
    , m_localeId(other.m_localeId)
    , m_format(other.m_format->clone()) {}

CurrencyFormatter& CurrencyFormatter::operator=(const CurrencyFormatter& other) {
    if (this != &other) {
        CurrencyFormatter copy(other);
        *this = std::move(copy);
    }
    return *this;
}

CurrencyFormatter::CurrencyFormatter(CurrencyFormatter&& other) noexcept = default;
CurrencyFormatter& CurrencyFormatter::operator=(CurrencyFormatter&& other) noexcept = default;

bool CurrencyFormatter::isWellFormedCode(QStringView code) {
    return code.size() == 3 && std::all_of(code.begin(), code.end(), [](QChar c) {
               return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
           });
}

QString CurrencyFormatter::pattern() const {
    icu::UnicodeString result;
    m_format->toPattern(result);
    return IcuBridge::toQString(result);
}

int CurrencyFormatter::minimumFractionDigits() const {
    return m_format->getMinimumFractionDigits();
}

int CurrencyFormatter::maximumFractionDigits() const {
    return m_format->getMaximumFractionDigits();
}

void CurrencyFormatter::setMaximumFractionDigits(int digits) {
    m_format->setMaximumFractionDigits(std::clamp(digits, 0, Amount::kMaxDigits));
}

void CurrencyFormatter::setMinimumFractionDigits(int digits) {
    m_format->setMinimumFractionDigits(std::clamp(digits, 0, Amount::kMaxDigits));
}

QString CurrencyFormatter::formatDecimal(const std::string& decimal) const {
    icu::UnicodeString result;
    UErrorCode status = U_ZERO_ERROR;
    m_format->format(icu::StringPiece(decimal.data(), static_cast<std::int32_t>(decimal.size())), result,
                     nullptr, status);
    IcuBridge::throwIfFailed(status, "formatting a currency amount");
    return IcuBridge::toQString(result);
}

QString CurrencyFormatter::format(const Amount& amount) const {
    if (!amount.rounded(maximumFractionDigits()).isZero()) {
        return formatDecimal(IcuBridge::decimalNumber(amount));
    }
    // The locale's own digits: Arabic-Indic and other numbering systems have their own one and
    // zero.
    const icu::DecimalFormatSymbols* symbols = m_format->getDecimalFormatSymbols();
    const QString one = IcuBridge::toQString(symbols->getSymbol(icu::DecimalFormatSymbols::kOneDigitSymbol));
    const QString zero =
        IcuBridge::toQString(symbols->getSymbol(icu::DecimalFormatSymbols::kZeroDigitSymbol));
    return formatDecimal("1").replace(one, zero);
}

ParseResult<Amount> CurrencyFormatter::parse(QStringView text) const {
    const QStringView trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        return ParseResult<Amount>::noValue();
    }
    const qsizetype offset = trimmed.data() - text.data();
    const icu::UnicodeString unicode = IcuBridge::toUnicode(trimmed);
    icu::ParsePosition position(0);
    const std::unique_ptr<icu::CurrencyAmount> parsed(m_format->parseCurrency(unicode, position));
    if (!parsed) {
        return ParseResult<Amount>::failed(ParseFailure::NotANumber,
                                           tr("\"%1\" is not an amount.").arg(trimmed),
                                           offset + std::max(position.getErrorIndex(), 0));
    }
    if (position.getIndex() < unicode.length()) {
        return ParseResult<Amount>::failed(
            ParseFailure::TrailingText,
            tr("Unexpected text after the amount: \"%1\".").arg(trimmed.sliced(position.getIndex())),
            offset + position.getIndex());
    }
    const QString parsedCode = QString::fromUtf16(parsed->getISOCurrency());
    if (parsedCode != m_currencyCode) {
        return ParseResult<Amount>::failed(ParseFailure::WrongCurrency,
                                           tr("The amount is in %1, not %2.").arg(parsedCode, m_currencyCode),
                                           offset);
    }
    return IcuBridge::amountFromFormattable(parsed->getNumber(), trimmed, offset);
}

} // namespace vantrel::model
