#include "model/AmountFormatter.h"

#include <unicode/dcfmtsym.h>
#include <unicode/decimfmt.h>
#include <unicode/fmtable.h>
#include <unicode/parsepos.h>

#include <algorithm>

namespace vantrel::model {

namespace {

constexpr int kDefaultFractionDigits = 2;

int clampDigits(int digits) {
    return std::clamp(digits, 0, Amount::kMaxDigits);
}

} // namespace

AmountFormatter::AmountFormatter(const QString& localeId)
    : m_localeId(localeId)
    , m_format(IcuBridge::createDecimalFormat(IcuBridge::locale(localeId), UNUM_DECIMAL)) {
    m_format->setGroupingUsed(true);
    m_format->setMinimumFractionDigits(kDefaultFractionDigits);
    m_format->setMaximumFractionDigits(kDefaultFractionDigits);
    IcuBridge::configureForMoney(*m_format);
}

AmountFormatter::~AmountFormatter() = default;

AmountFormatter::AmountFormatter(const AmountFormatter& other)
    : m_localeId(other.m_localeId)
    , m_format(other.m_format->clone())
    , m_assumesNegative(other.m_assumesNegative) {}

AmountFormatter& AmountFormatter::operator=(const AmountFormatter& other) {
    if (this != &other) {
        AmountFormatter copy(other);
        *this = std::move(copy);
    }
    return *this;
}

AmountFormatter::AmountFormatter(AmountFormatter&& other) noexcept = default;
AmountFormatter& AmountFormatter::operator=(AmountFormatter&& other) noexcept = default;

int AmountFormatter::minimumFractionDigits() const {
    return m_format->getMinimumFractionDigits();
}

int AmountFormatter::maximumFractionDigits() const {
    return m_format->getMaximumFractionDigits();
}

void AmountFormatter::setMinimumFractionDigits(int digits) {
    m_format->setMinimumFractionDigits(clampDigits(digits));
}

void AmountFormatter::setMaximumFractionDigits(int digits) {
    m_format->setMaximumFractionDigits(clampDigits(digits));
}

void AmountFormatter::setFractionDigits(int digits) {
    // ICU lowers the minimum along with a lower maximum, so this order works both ways.
    setMaximumFractionDigits(digits);
    setMinimumFractionDigits(digits);
}

QString AmountFormatter::minusSign() const {
    return IcuBridge::toQString(
        m_format->getDecimalFormatSymbols()->getSymbol(icu::DecimalFormatSymbols::kMinusSignSymbol));
}

QString AmountFormatter::formatDecimal(const std::string& decimal) const {
    icu::UnicodeString result;
    UErrorCode status = U_ZERO_ERROR;
    m_format->format(icu::StringPiece(decimal.data(), static_cast<std::int32_t>(decimal.size())), result,
                     nullptr, status);
    IcuBridge::throwIfFailed(status, "formatting an amount");
    return IcuBridge::toQString(result);
}

QString AmountFormatter::format(const Amount& amount) const {
    if (amount.rounded(maximumFractionDigits()).isZero()) {
        const QString zero = formatDecimal("0");
        return m_assumesNegative ? minusSign() + zero : zero;
    }
    return formatDecimal(IcuBridge::decimalNumber(amount));
}

ParseResult<Amount> AmountFormatter::parse(QStringView text) const {
    const QStringView trimmed = text.trimmed();
    const qsizetype offset = trimmed.isEmpty() ? 0 : trimmed.data() - text.data();
    if (trimmed.isEmpty() || IcuBridge::leadingMinusLength(trimmed) == trimmed.size()) {
        return ParseResult<Amount>::noValue();
    }
    const icu::UnicodeString unicode = IcuBridge::toUnicode(trimmed);
    icu::Formattable number;
    icu::ParsePosition position(0);
    m_format->parse(unicode, number, position);
    if (position.getIndex() == 0) {
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
    return IcuBridge::amountFromFormattable(number, trimmed, offset);
}

} // namespace vantrel::model
