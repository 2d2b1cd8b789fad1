#pragma once

#include "model/Amount.h"
#include "model/IcuBridge.h"
#include "model/ParseResult.h"

#include <QCoreApplication>
#include <QString>
#include <QStringView>

#include <unicode/uversion.h>

#include <memory>

U_NAMESPACE_BEGIN
class DecimalFormat;
U_NAMESPACE_END

namespace vantrel::model {

// Amounts as plain decimal numbers in the user's locale: the locale's grouping and separators,
// two fraction digits unless told otherwise, ties rounded away from zero. Parsing gives exact
// decimals. Like the ICU formatter it owns, an instance belongs to one thread; copy it for another.
class AmountFormatter {
    Q_DECLARE_TR_FUNCTIONS(AmountFormatter)

public:
    explicit AmountFormatter(const QString& localeId = IcuBridge::systemLocaleId());
    ~AmountFormatter();
    AmountFormatter(const AmountFormatter& other);
    AmountFormatter& operator=(const AmountFormatter& other);
    AmountFormatter(AmountFormatter&& other) noexcept;
    AmountFormatter& operator=(AmountFormatter&& other) noexcept;

    const QString& localeId() const { return m_localeId; }

    int minimumFractionDigits() const;
    int maximumFractionDigits() const;
    // Both clamp to 0..Amount::kMaxDigits; a minimum above the maximum raises the maximum and a
    // maximum below the minimum lowers the minimum.
    void setMinimumFractionDigits(int digits);
    void setMaximumFractionDigits(int digits);
    // Exactly `digits` fraction digits (0 shows whole units).
    void setFractionDigits(int digits);

    // When set, zero is shown as an expense: the locale's minus sign followed by the usual zero
    // text ("-0.00").
    bool assumesNegative() const { return m_assumesNegative; }
    void setAssumesNegative(bool assumesNegative) { m_assumesNegative = assumesNegative; }

    // The locale's minus sign as it is displayed (may include direction marks).
    QString minusSign() const;

    // A value that rounds to zero at the shown precision is shown as zero, never "-0.00".
    QString format(const Amount& amount) const;

    // Blank text and a lone minus sign are no value; anything but a complete number in the
    // locale's format (surrounding white space aside) is a failure.
    ParseResult<Amount> parse(QStringView text) const;

private:
    QString formatDecimal(const std::string& decimal) const;

    QString m_localeId;
    std::unique_ptr<icu::DecimalFormat> m_format;
    bool m_assumesNegative = false;
};

} // namespace vantrel::model
