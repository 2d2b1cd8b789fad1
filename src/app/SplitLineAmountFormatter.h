#pragma once

#include "model/Amount.h"
#include "model/IcuBridge.h"

#include <QString>

#include <unicode/uversion.h>

#include <memory>

U_NAMESPACE_BEGIN
class DecimalFormat;
U_NAMESPACE_END

namespace vantrel::app {

// The amount of one category line in the register: the currency's digits and grouping, but no
// currency symbol (the amount column already shows it), and negatives as "-" without a suffix so the
// lines of a split read alike in every locale.
class SplitLineAmountFormatter {
public:
    explicit SplitLineAmountFormatter(const QString& currencyCode,
                                      const QString& localeId = model::IcuBridge::systemLocaleId());
    ~SplitLineAmountFormatter();
    SplitLineAmountFormatter(const SplitLineAmountFormatter&) = delete;
    SplitLineAmountFormatter& operator=(const SplitLineAmountFormatter&) = delete;
    SplitLineAmountFormatter(SplitLineAmountFormatter&&) noexcept;
    SplitLineAmountFormatter& operator=(SplitLineAmountFormatter&&) noexcept;

    QString format(const model::Amount& amount) const;

private:
    std::unique_ptr<icu::DecimalFormat> m_format;
};

} // namespace vantrel::app
