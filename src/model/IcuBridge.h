#pragma once

#include "model/Amount.h"
#include "model/ParseResult.h"

#include <QCoreApplication>
#include <QString>
#include <QStringView>

#include <unicode/locid.h>
#include <unicode/unistr.h>
#include <unicode/unum.h>
#include <unicode/utypes.h>

#include <memory>
#include <string>
#include <string_view>

U_NAMESPACE_BEGIN
class DecimalFormat;
class Formattable;
U_NAMESPACE_END

namespace vantrel::model {

// The conversions every formatter needs between Qt text, ICU objects and exact amounts.
class IcuBridge {
    Q_DECLARE_TR_FUNCTIONS(IcuBridge)

public:
    IcuBridge() = delete;

    static icu::UnicodeString toUnicode(QStringView text);
    static QString toQString(const icu::UnicodeString& text);

    // An ICU locale id such as "de_DE" or "en_US@cf=account". A malformed id gives the root
    // locale, whose data ICU always has.
    static icu::Locale locale(const QString& localeId);
    // The user's locale as an ICU id, from the environment Qt reads (LC_ALL, LC_NUMERIC, LANG).
    static QString systemLocaleId();

    // The exact decimal text ICU's decimal entry points take, e.g. "-12.50".
    static std::string decimalNumber(const Amount& amount);
    // ICU's decimal text (Formattable::getDecimalNumber: "12.5", "1.2E+29", "NaN") as an
    // Amount; values outside what an Amount holds are a failure, never a rounded value.
    static ParseResult<Amount> amountFromDecimalNumber(std::string_view decimal);
    // The exact value of a number ICU parsed from `text`; failures point at `offset`. By value:
    // reading the decimal text out of a Formattable modifies it.
    static ParseResult<Amount> amountFromFormattable(icu::Formattable number, QStringView text,
                                                     qsizetype offset);

    // The length of a minus sign that starts `text`, including the invisible direction marks
    // some locales put around it ("\u200E-"); 0 when the text does not start with one.
    static qsizetype leadingMinusLength(QStringView text);

    // ICU's number format of that style for the locale. Locales asking for an algorithmic
    // numbering system ("@numbers=roman"), which has no decimal pattern, get their default digits.
    static std::unique_ptr<icu::DecimalFormat> createDecimalFormat(const icu::Locale& locale,
                                                                   UNumberFormatStyle style);

    // Rounding and parsing rules every money formatter shares.
    static void configureForMoney(icu::DecimalFormat& format);

    // ICU objects that cannot be created mean missing ICU data, not bad input.
    static void throwIfFailed(UErrorCode status, const char* what);
};

} // namespace vantrel::model
