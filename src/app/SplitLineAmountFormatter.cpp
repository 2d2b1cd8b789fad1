#include "app/SplitLineAmountFormatter.h"

#include "model/CurrencyFormatter.h"

#include <unicode/dcfmtsym.h>
#include <unicode/decimfmt.h>

namespace vantrel::app {

SplitLineAmountFormatter::SplitLineAmountFormatter(const QString& currencyCode, const QString& localeId) {
    // Start from the money formatter of the currency so digits, grouping and rounding match the
    // amount column exactly; only the symbol and the negative affixes differ.
    const model::CurrencyFormatter money(currencyCode, localeId, model::NegativeStyle::MinusSign);
    m_format = model::IcuBridge::createDecimalFormat(model::IcuBridge::locale(localeId), UNUM_CURRENCY);
    UErrorCode status = U_ZERO_ERROR;
    m_format->applyPattern(model::IcuBridge::toUnicode(money.pattern()), status);
    model::IcuBridge::throwIfFailed(status, "applying the split line pattern");
    const auto* code = reinterpret_cast<const char16_t*>(money.currencyCode().utf16());
    m_format->setCurrency(code, status);
    model::IcuBridge::throwIfFailed(status, "setting the split line currency");
    // Setting the currency resets the symbols, so the empty symbol goes in afterwards.
    auto symbols = std::make_unique<icu::DecimalFormatSymbols>(*m_format->getDecimalFormatSymbols());
    symbols->setSymbol(icu::DecimalFormatSymbols::kCurrencySymbol, icu::UnicodeString());
    m_format->adoptDecimalFormatSymbols(symbols.release());
    m_format->setMaximumFractionDigits(money.maximumFractionDigits());
    m_format->setMinimumFractionDigits(money.minimumFractionDigits());
    model::IcuBridge::configureForMoney(*m_format);
    m_format->setNegativePrefix(icu::UnicodeString(u"-"));
    m_format->setNegativeSuffix(icu::UnicodeString());
}

SplitLineAmountFormatter::~SplitLineAmountFormatter() = default;
SplitLineAmountFormatter::SplitLineAmountFormatter(SplitLineAmountFormatter&&) noexcept = default;
SplitLineAmountFormatter& SplitLineAmountFormatter::operator=(SplitLineAmountFormatter&&) noexcept = default;

QString SplitLineAmountFormatter::format(const model::Amount& amount) const {
    // A value that rounds to nothing shows as zero, never as "-0.00".
    const model::Amount shown = amount.rounded(m_format->getMaximumFractionDigits());
    const std::string decimal = model::IcuBridge::decimalNumber(shown.isZero() ? model::Amount() : shown);
    icu::UnicodeString result;
    UErrorCode status = U_ZERO_ERROR;
    m_format->format(icu::StringPiece(decimal.data(), static_cast<std::int32_t>(decimal.size())), result,
                     nullptr, status);
    model::IcuBridge::throwIfFailed(status, "formatting a split line amount");
    return model::IcuBridge::toQString(result).trimmed();
}

} // namespace vantrel::app
