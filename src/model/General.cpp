#include "model/General.h"

namespace vantrel::model {

CurrencyFormatter General::formatterForCurrency(const QString& currencyCode, const QString& localeId) {
    return CurrencyFormatter(currencyCode, localeId, NegativeStyle::MinusSign);
}

CurrencyFormatter General::formatterForHomeCurrency(const QString& homeCurrencyCode,
                                                    const QString& localeId) {
    return formatterForCurrency(homeCurrencyCode, localeId);
}

CurrencyFormatter General::printFormatterForCurrency(const QString& currencyCode, const QString& localeId) {
    return CurrencyFormatter(currencyCode, localeId, NegativeStyle::Parentheses);
}

CurrencyFormatter General::printFormatterForHomeCurrency(const QString& homeCurrencyCode,
                                                         const QString& localeId) {
    return printFormatterForCurrency(homeCurrencyCode, localeId);
}

} // namespace vantrel::model
