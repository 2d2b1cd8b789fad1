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

// How negative amounts look.
enum class NegativeStyle {
    Locale,      // as the locale's currency pattern has it
    MinusSign,   // parentheses of the locale's pattern replaced by a minus sign
    Parentheses, // in parentheses, as accountants print them
};

// Money in one currency in the user's locale: ICU's currency format with the currency's
// fraction digits and ties rounded away from zero. Zero is shown by formatting 1 and turning
// every digit one into a zero, so it has the same symbol placement and fraction digits as any
// other value.
class CurrencyFormatter {
    Q_DECLARE_TR_FUNCTIONS(CurrencyFormatter)

public:
    // A code that is not three ASCII letters shows the generic currency sign ("XXX", "no
    // currency") instead of failing: display must work even for damaged data.
    explicit CurrencyFormatter(const QString& currencyCode,
                               const QString& localeId = IcuBridge::systemLocaleId(),
                               NegativeStyle negativeStyle = NegativeStyle::Locale);
    ~CurrencyFormatter();
    CurrencyFormatter(const CurrencyFormatter& other);
    CurrencyFormatter& operator=(const CurrencyFormatter& other);
    CurrencyFormatter(CurrencyFormatter&& other) noexcept;
    CurrencyFormatter& operator=(CurrencyFormatter&& other) noexcept;

    static bool isWellFormedCode(QStringView code);

    // The ISO code in use, upper case.
    const QString& currencyCode() const { return m_currencyCode; }
    const QString& localeId() const { return m_localeId; }
    // The ICU pattern in use, after the negative style was applied.
    QString pattern() const;

    int minimumFractionDigits() const;
    int maximumFractionDigits() const;
    // 0 shows whole units (account balances without cents). Clamped to 0..Amount::kMaxDigits.
    void setMaximumFractionDigits(int digits);
    void setMinimumFractionDigits(int digits);

    // A value that rounds to zero at the shown precision is shown as zero.
    QString format(const Amount& amount) const;

    // Text as format() produces it; blank text is no value. Another currency's symbol fails.
    ParseResult<Amount> parse(QStringView text) const;

private:
    QString formatDecimal(const std::string& decimal) const;

    QString m_currencyCode;
    QString m_localeId;
    std::unique_ptr<icu::DecimalFormat> m_format;
};

} // namespace vantrel::model
