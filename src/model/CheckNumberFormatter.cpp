#include "model/CheckNumberFormatter.h"

#include "model/Amount.h"

#include <unicode/decimfmt.h>
#include <unicode/fmtable.h>
#include <unicode/parsepos.h>

#include <algorithm>
#include <limits>

namespace vantrel::model {

CheckNumberFormatter::CheckNumberFormatter(const QString& localeId)
    : m_format(IcuBridge::createDecimalFormat(IcuBridge::locale(localeId), UNUM_DECIMAL)) {
    m_format->setGroupingUsed(false);
    m_format->setMaximumFractionDigits(0);
    m_format->setLenient(false);
    m_format->setParseNoExponent(true);
}

CheckNumberFormatter::~CheckNumberFormatter() = default;

CheckNumberFormatter::CheckNumberFormatter(const CheckNumberFormatter& other)
    : m_format(other.m_format->clone()) {}

CheckNumberFormatter& CheckNumberFormatter::operator=(const CheckNumberFormatter& other) {
    if (this != &other) {
        m_format.reset(other.m_format->clone());
    }
    return *this;
}

CheckNumberFormatter::CheckNumberFormatter(CheckNumberFormatter&& other) noexcept = default;
CheckNumberFormatter& CheckNumberFormatter::operator=(CheckNumberFormatter&& other) noexcept = default;

QString CheckNumberFormatter::format(std::int64_t number) const {
    icu::UnicodeString result;
    m_format->format(static_cast<int64_t>(number), result);
    return IcuBridge::toQString(result);
}

ParseResult<std::int64_t> CheckNumberFormatter::parse(QStringView text) const {
    using Result = ParseResult<std::int64_t>;
    const QStringView trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        return Result::noValue();
    }
    const qsizetype offset = trimmed.data() - text.data();
    const icu::UnicodeString unicode = IcuBridge::toUnicode(trimmed);
    icu::Formattable number;
    icu::ParsePosition position(0);
    m_format->parse(unicode, number, position);
    if (position.getIndex() == 0) {
        return Result::failed(ParseFailure::NotANumber, tr("\"%1\" is not a check number.").arg(trimmed),
                              offset + std::max(position.getErrorIndex(), 0));
    }
    if (position.getIndex() < unicode.length()) {
        return Result::failed(
            ParseFailure::TrailingText,
            tr("Unexpected text after the check number: \"%1\".").arg(trimmed.sliced(position.getIndex())),
            offset + position.getIndex());
    }
    UErrorCode status = U_ZERO_ERROR;
    const icu::StringPiece decimal = number.getDecimalNumber(status);
    if (U_FAILURE(status)) {
        return Result::failed(ParseFailure::NotANumber, tr("\"%1\" is not a check number.").arg(trimmed),
                              offset);
    }
    const ParseResult<Amount> value = IcuBridge::amountFromDecimalNumber(
        std::string_view(decimal.data(), static_cast<std::size_t>(decimal.size())));
    if (!value.succeeded()) {
        if (value.failure() == ParseFailure::OutOfRange) {
            return Result::failed(ParseFailure::OutOfRange, tr("The check number is out of range."), offset);
        }
        return Result::failed(value.failure(), tr("\"%1\" is not a check number.").arg(trimmed), offset);
    }
    if (!value.value().hasAtMostPlaces(0)) {
        return Result::failed(ParseFailure::NotAWholeNumber, tr("A check number must be a whole number."),
                              offset);
    }
    if (value.value().sign() < 0) {
        return Result::failed(ParseFailure::OutOfRange, tr("A check number cannot be negative."), offset);
    }
    // Whole and non-negative: rescaled to no decimal places the mantissa is the number itself.
    const Amount whole = value.value().rounded(0);
    if (whole.exponent() != 0 || whole.mantissa() > std::numeric_limits<std::int64_t>::max()) {
        return Result::failed(ParseFailure::OutOfRange, tr("The check number is too large."), offset);
    }
    return Result::withValue(static_cast<std::int64_t>(whole.mantissa()));
}

} // namespace vantrel::model
