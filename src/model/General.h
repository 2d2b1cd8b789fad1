#pragma once

#include "model/CurrencyFormatter.h"
#include "model/IcuBridge.h"

#include <QString>

namespace vantrel::model {

// The currency formatters the application asks for by purpose.
class General {
public:
    General() = delete;

    // For the screen: negatives always show with a minus sign, also in locales whose currency
    // pattern puts them in parentheses (accounting formats).
    static CurrencyFormatter formatterForCurrency(const QString& currencyCode,
                                                  const QString& localeId = IcuBridge::systemLocaleId());
    static CurrencyFormatter formatterForHomeCurrency(const QString& homeCurrencyCode,
                                                      const QString& localeId = IcuBridge::systemLocaleId());

    // For printing: negatives in parentheses, as on paper statements.
    static CurrencyFormatter printFormatterForCurrency(const QString& currencyCode,
                                                       const QString& localeId = IcuBridge::systemLocaleId());
    static CurrencyFormatter
    printFormatterForHomeCurrency(const QString& homeCurrencyCode,
                                  const QString& localeId = IcuBridge::systemLocaleId());
};

} // namespace vantrel::model
