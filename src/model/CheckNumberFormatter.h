#pragma once

#include "model/IcuBridge.h"
#include "model/ParseResult.h"

#include <QCoreApplication>
#include <QString>
#include <QStringView>

#include <unicode/uversion.h>

#include <cstdint>
#include <memory>

U_NAMESPACE_BEGIN
class DecimalFormat;
U_NAMESPACE_END

namespace vantrel::model {

// Check numbers: whole numbers from zero up, in the locale's digits, without grouping (a check
// number is a label, "1001", not a quantity).
class CheckNumberFormatter {
    Q_DECLARE_TR_FUNCTIONS(CheckNumberFormatter)

public:
    explicit CheckNumberFormatter(const QString& localeId = IcuBridge::systemLocaleId());
    ~CheckNumberFormatter();
    CheckNumberFormatter(const CheckNumberFormatter& other);
    CheckNumberFormatter& operator=(const CheckNumberFormatter& other);
    CheckNumberFormatter(CheckNumberFormatter&& other) noexcept;
    CheckNumberFormatter& operator=(CheckNumberFormatter&& other) noexcept;

    QString format(std::int64_t number) const;
    // Blank text (white space and line breaks only) is no value. Fractions, negative numbers and
    // numbers beyond 64 bits fail.
    ParseResult<std::int64_t> parse(QStringView text) const;

private:
    std::unique_ptr<icu::DecimalFormat> m_format;
};

} // namespace vantrel::model
