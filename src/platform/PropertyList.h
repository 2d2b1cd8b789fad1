#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

namespace vantrel::platform {

// Property lists (XML or binary) as QVariant trees: dictionaries are QVariantMap, arrays
// QVariantList, strings QString, integers qint64, reals double, booleans bool, dates QDateTime in
// UTC and data QByteArray. Uids of keyed archives read as a QVariantMap {"CF$UID": qint64}, the
// way their XML form spells them.
class PropertyList {
public:
    PropertyList() = delete;

    struct ReadResult {
        QVariant value;
        // Empty when the data was read.
        QString error;
        bool ok() const { return error.isEmpty(); }
    };

    struct WriteResult {
        QByteArray data;
        // Empty when the tree was written.
        QString error;
        bool ok() const { return error.isEmpty(); }
    };

    // Never crashes on garbage: anything that is not a complete property list is an error.
    static ReadResult read(const QByteArray& data);
    // An XML property list. Values of other types than those above are an error, as are dates
    // outside 1933..2069 (the format keeps whole seconds in 32 bits) and integers above
    // 2^63 - 1.
    static WriteResult toXml(const QVariant& tree);

    // The shortest plain decimal text that reads back as exactly `value` ("0.12345678905", not
    // "0.12345678904999999"); a real's text form is what callers parse as an exact decimal.
    // Nothing for infinities and NaN.
    static QString shortestDecimalText(double value);
};

} // namespace vantrel::platform
