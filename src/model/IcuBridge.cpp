#include "model/IcuBridge.h"

#include "platform/InternalError.h"

#include <QLocale>

#include <unicode/decimfmt.h>
#include <unicode/fmtable.h>
#include <unicode/numfmt.h>

#include <cstdint>

namespace vantrel::model {

namespace {

bool isDirectionMark(QChar c) {
    return c == u'\u200E' || c == u'\u200F' || c == u'\u061C';
}

// The hyphen-minus users type, the typographic minus some locales display, and the small and
// full-width forms input methods produce.
bool isMinus(QChar c) {
    return c == u'-' || c == u'\u2212' || c == u'\uFE63' || c == u'\uFF0D';
}

} // namespace

icu::UnicodeString IcuBridge::toUnicode(QStringView text) {
    return icu::UnicodeString(reinterpret_cast<const char16_t*>(text.utf16()),
                              static_cast<std::int32_t>(text.size()));
}

QString IcuBridge::toQString(const icu::UnicodeString& text) {
    return QString(reinterpret_cast<const QChar*>(text.getBuffer()), text.length());
}

icu::Locale IcuBridge::locale(const QString& localeId) {
    const QByteArray id = localeId.trimmed().toUtf8();
    icu::Locale result(id.constData());
    if (result.isBogus()) {
        return icu::Locale::getRoot();
    }
    return result;
}

QString IcuBridge::systemLocaleId() {
    QString name = QLocale::system().name();
    // The POSIX "C" locale has no ICU counterpart with grouping and month names.
    if (name.isEmpty() || name == u"C" || name == u"POSIX") {
        return QStringLiteral("en_US");
    }
    return name;
}

std::string IcuBridge::decimalNumber(const Amount& amount) {
    return amount.toStdString();
}

ParseResult<Amount> IcuBridge::amountFromDecimalNumber(std::string_view text) {
    if (const auto amount = Amount::fromAscii(text)) {
        return ParseResult<Amount>::withValue(*amount);
    }
    if (Amount::isPlainDecimal(text)) {
        return ParseResult<Amount>::failed(
            ParseFailure::OutOfRange,
            tr("The number has more than %1 significant digits or is too large or too small.")
                .arg(Amount::kMaxDigits));
    }
    return ParseResult<Amount>::failed(ParseFailure::NotANumber, tr("The text is not a number."));
}

ParseResult<Amount> IcuBridge::amountFromFormattable(icu::Formattable number, QStringView text,
                                                     qsizetype offset) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::StringPiece decimal = number.getDecimalNumber(status);
    if (U_FAILURE(status)) {
        return ParseResult<Amount>::failed(ParseFailure::NotANumber, tr("\"%1\" is not an amount.").arg(text),
                                           offset);
    }
    ParseResult<Amount> result =
        amountFromDecimalNumber(std::string_view(decimal.data(), static_cast<std::size_t>(decimal.size())));
    if (!result.succeeded()) {
        return ParseResult<Amount>::failed(result.failure(), result.reason(), offset);
    }
    return result;
}

void IcuBridge::configureForMoney(icu::DecimalFormat& format) {
    // ICU rounds half to even unless told otherwise; money rounds ties away from zero.
    format.setRoundingMode(icu::DecimalFormat::kRoundHalfUp);
    // Strict parsing rejects misplaced grouping ("1,23"), which lenient parsing would read as 123.
    format.setLenient(false);
    // Exponent notation differs between locales and is never what someone typing an amount means.
    format.setParseNoExponent(true);
}

qsizetype IcuBridge::leadingMinusLength(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && isDirectionMark(text[i])) {
        ++i;
    }
    if (i == text.size() || !isMinus(text[i])) {
        return 0;
    }
    ++i;
    while (i < text.size() && isDirectionMark(text[i])) {
        ++i;
    }
    return i;
}

std::unique_ptr<icu::DecimalFormat> IcuBridge::createDecimalFormat(const icu::Locale& locale,
                                                                   UNumberFormatStyle style) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::NumberFormat> format(icu::NumberFormat::createInstance(locale, style, status));
    if (U_FAILURE(status) || dynamic_cast<icu::DecimalFormat*>(format.get()) == nullptr) {
        icu::Locale plain(locale);
        status = U_ZERO_ERROR;
        plain.setKeywordValue("numbers", nullptr, status);
        format.reset(icu::NumberFormat::createInstance(plain, style, status));
        throwIfFailed(status, "creating a number formatter");
    }
    if (dynamic_cast<icu::DecimalFormat*>(format.get()) == nullptr) {
        throw platform::InternalError("ICU gave no decimal number formatter for the locale");
    }
    return std::unique_ptr<icu::DecimalFormat>(static_cast<icu::DecimalFormat*>(format.release()));
}

void IcuBridge::throwIfFailed(UErrorCode status, const char* what) {
    if (U_FAILURE(status)) {
        throw platform::InternalError(QStringLiteral("ICU: %1 failed (%2)")
                                          .arg(QLatin1String(what), QLatin1String(u_errorName(status))));
    }
}

} // namespace vantrel::model
