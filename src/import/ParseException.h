#pragma once

#include <QString>
#include <QVariantMap>

#include <stdexcept>

namespace vantrel::import {

// A reader's named failure: the name is what the import screens dispatch on ("VTParseException",
// "VTParseEncodingException", ...), the reason a human-readable text or a reason key, the details
// extra values such as "sampleText".
class ParseException : public std::runtime_error {
public:
    static constexpr auto kParse = "VTParseException";
    static constexpr auto kEncoding = "VTParseEncodingException";
    static constexpr auto kAmbiguousDate = "VTParseAmbiguousDateException";
    static constexpr auto kCsvParse = "VTCSVParseException";
    static constexpr auto kDateFormat = "DateFormatException";
    static constexpr auto kQifParseError = "ParseError";
    static constexpr auto kAbort = "Abort";
    static constexpr auto kInvalidFieldValue = "Invalid field value";

    ParseException(QString name, QString reason, QVariantMap details = {})
        : std::runtime_error((name + QStringLiteral(": ") + reason).toStdString())
        , m_name(std::move(name))
        , m_reason(std::move(reason))
        , m_details(std::move(details)) {}

    const QString& name() const { return m_name; }
    const QString& reason() const { return m_reason; }
    const QVariantMap& details() const { return m_details; }

private:
    QString m_name;
    QString m_reason;
    QVariantMap m_details;
};

} // namespace vantrel::import
