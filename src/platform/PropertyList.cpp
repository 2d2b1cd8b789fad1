#include "platform/PropertyList.h"

#include <QDateTime>
#include <QTimeZone>
#include <QVariantList>
#include <QVariantMap>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <memory>
#include <optional>
#include <plist/plist.h>

namespace vantrel::platform {

namespace {

// Deeper trees are refused rather than risking the stack on hostile input.
constexpr int kMaxDepth = 512;

struct NodeDeleter {
    void operator()(void* node) const { plist_free(static_cast<plist_t>(node)); }
};
using Node = std::unique_ptr<void, NodeDeleter>;

struct MallocDeleter {
    void operator()(void* memory) const { std::free(memory); }
};
using MallocText = std::unique_ptr<char, MallocDeleter>;

struct XmlDeleter {
    void operator()(char* text) const { plist_to_xml_free(text); }
};

// Property-list dates count seconds from the start of 2001, UTC.
QDateTime referenceDate() {
    return QDateTime(QDate(2001, 1, 1), QTime(0, 0), QTimeZone::utc());
}

std::optional<QVariant> toVariant(plist_t node, int depth, QString& error);

std::optional<QVariant> arrayToVariant(plist_t node, int depth, QString& error) {
    QVariantList list;
    const std::uint32_t size = plist_array_get_size(node);
    list.reserve(static_cast<qsizetype>(size));
    for (std::uint32_t i = 0; i < size; ++i) {
        std::optional<QVariant> item = toVariant(plist_array_get_item(node, i), depth + 1, error);
        if (!item) {
            return std::nullopt;
        }
        list.append(std::move(*item));
    }
    return QVariant(list);
}

std::optional<QVariant> dictToVariant(plist_t node, int depth, QString& error) {
    QVariantMap map;
    plist_dict_iter rawIterator = nullptr;
    plist_dict_new_iter(node, &rawIterator);
    const MallocText iterator(static_cast<char*>(rawIterator));
    while (true) {
        char* rawKey = nullptr;
        plist_t value = nullptr;
        plist_dict_next_item(node, rawIterator, &rawKey, &value);
        const MallocText key(rawKey);
        if (!value) {
            break;
        }
        if (!key) {
            error = QStringLiteral("A dictionary entry has no key.");
            return std::nullopt;
        }
        std::optional<QVariant> converted = toVariant(value, depth + 1, error);
        if (!converted) {
            return std::nullopt;
        }
        map.insert(QString::fromUtf8(key.get()), std::move(*converted));
    }
    return QVariant(map);
}

QVariant scalarToVariant(plist_t node, plist_type type) {
    switch (type) {
    case PLIST_BOOLEAN: {
        std::uint8_t value = 0;
        plist_get_bool_val(node, &value);
        return QVariant(value != 0);
    }
    case PLIST_UINT: {
        // The library keeps negative integers as their two's complement.
        std::uint64_t value = 0;
        plist_get_uint_val(node, &value);
        return QVariant(static_cast<qint64>(value));
    }
    case PLIST_REAL: {
        double value = 0;
        plist_get_real_val(node, &value);
        return QVariant(value);
    }
    case PLIST_STRING: {
        std::uint64_t length = 0;
        const char* text = plist_get_string_ptr(node, &length);
        return QVariant(QString::fromUtf8(text, static_cast<qsizetype>(length)));
    }
    case PLIST_DATE: {
        std::int32_t seconds = 0;
        std::int32_t microseconds = 0;
        plist_get_date_val(node, &seconds, &microseconds);
        const qint64 milliseconds = static_cast<qint64>(seconds) * 1000 + microseconds / 1000;
        return QVariant(referenceDate().addMSecs(milliseconds).toUTC());
    }
    case PLIST_DATA: {
        std::uint64_t length = 0;
        const char* bytes = plist_get_data_ptr(node, &length);
        return QVariant(QByteArray(bytes, static_cast<qsizetype>(length)));
    }
    case PLIST_UID: {
        std::uint64_t value = 0;
        plist_get_uid_val(node, &value);
        return QVariant(QVariantMap{{QStringLiteral("CF$UID"), static_cast<qint64>(value)}});
    }
    default:
        return {};
    }
}

std::optional<QVariant> toVariant(plist_t node, int depth, QString& error) {
    if (!node) {
        error = QStringLiteral("The property list has a missing value.");
        return std::nullopt;
    }
    if (depth > kMaxDepth) {
        error = QStringLiteral("The property list is nested too deeply.");
        return std::nullopt;
    }
    const plist_type type = plist_get_node_type(node);
    if (type == PLIST_ARRAY) {
        return arrayToVariant(node, depth, error);
    }
    if (type == PLIST_DICT) {
        return dictToVariant(node, depth, error);
    }
    QVariant scalar = scalarToVariant(node, type);
    if (!scalar.isValid()) {
        error = QStringLiteral("The property list has a value of an unknown type.");
        return std::nullopt;
    }
    return scalar;
}

Node toNode(const QVariant& value, int depth, QString& error);

Node arrayToNode(const QVariantList& list, int depth, QString& error) {
    Node array(plist_new_array());
    for (const QVariant& item : list) {
        Node child = toNode(item, depth + 1, error);
        if (!child) {
            return nullptr;
        }
        plist_array_append_item(array.get(), child.release());
    }
    return array;
}

Node dictToNode(const QVariantMap& map, int depth, QString& error) {
    Node dict(plist_new_dict());
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        Node child = toNode(it.value(), depth + 1, error);
        if (!child) {
            return nullptr;
        }
        plist_dict_set_item(dict.get(), it.key().toUtf8().constData(), child.release());
    }
    return dict;
}

Node dateToNode(const QDateTime& date, QString& error) {
    const qint64 milliseconds = referenceDate().msecsTo(date);
    const qint64 seconds = milliseconds >= 0 ? milliseconds / 1000 : -((-milliseconds + 999) / 1000);
    if (!date.isValid() || seconds < std::numeric_limits<std::int32_t>::min() ||
        seconds > std::numeric_limits<std::int32_t>::max()) {
        error = QStringLiteral("The date %1 cannot be written in a property list.")
                    .arg(date.toString(Qt::ISODate));
        return nullptr;
    }
    const auto microseconds = static_cast<std::int32_t>((milliseconds - seconds * 1000) * 1000);
    return Node(plist_new_date(static_cast<std::int32_t>(seconds), microseconds));
}

Node toNode(const QVariant& value, int depth, QString& error) {
    if (depth > kMaxDepth) {
        error = QStringLiteral("The tree is nested too deeply for a property list.");
        return nullptr;
    }
    switch (value.typeId()) {
    case QMetaType::QVariantMap:
        return dictToNode(value.toMap(), depth, error);
    case QMetaType::QVariantList:
    case QMetaType::QStringList:
        return arrayToNode(value.toList(), depth, error);
    case QMetaType::QString:
        return Node(plist_new_string(value.toString().toUtf8().constData()));
    case QMetaType::Bool:
        return Node(plist_new_bool(value.toBool() ? 1 : 0));
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
        // Negative values go in as their two's complement, which the library writes with a sign.
        return Node(plist_new_uint(static_cast<std::uint64_t>(value.toLongLong())));
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        if (value.toULongLong() > static_cast<qulonglong>(std::numeric_limits<qint64>::max())) {
            error =
                QStringLiteral("The integer %1 is too large for a property list.").arg(value.toULongLong());
            return nullptr;
        }
        return Node(plist_new_uint(value.toULongLong()));
    case QMetaType::Double:
    case QMetaType::Float:
        return Node(plist_new_real(value.toDouble()));
    case QMetaType::QDateTime:
        return dateToNode(value.toDateTime(), error);
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return Node(plist_new_data(bytes.constData(), static_cast<std::uint64_t>(bytes.size())));
    }
    default:
        error = QStringLiteral("A value of type %1 cannot be written in a property list.")
                    .arg(QString::fromLatin1(value.typeName() ? value.typeName() : "(invalid)"));
        return nullptr;
    }
}

} // namespace

PropertyList::ReadResult PropertyList::read(const QByteArray& data) {
    if (data.isEmpty() || data.size() > std::numeric_limits<std::uint32_t>::max()) {
        return {{}, QStringLiteral("The data is not a property list.")};
    }
    plist_t raw = nullptr;
    plist_from_memory(data.constData(), static_cast<std::uint32_t>(data.size()), &raw);
    const Node root(raw);
    if (!root) {
        return {{}, QStringLiteral("The data is not a property list.")};
    }
    QString error;
    std::optional<QVariant> value = toVariant(root.get(), 0, error);
    if (!value) {
        return {{}, error};
    }
    return {std::move(*value), {}};
}

PropertyList::WriteResult PropertyList::toXml(const QVariant& tree) {
    QString error;
    const Node root = toNode(tree, 0, error);
    if (!root) {
        return {{}, error};
    }
    char* raw = nullptr;
    std::uint32_t length = 0;
    plist_to_xml(root.get(), &raw, &length);
    const std::unique_ptr<char, XmlDeleter> xml(raw);
    if (!xml) {
        return {{}, QStringLiteral("The property list could not be written.")};
    }
    return {QByteArray(xml.get(), static_cast<qsizetype>(length)), {}};
}

QString PropertyList::shortestDecimalText(double value) {
    if (!std::isfinite(value)) {
        return {};
    }
    // Fixed notation, so the text is a plain decimal; 330 characters hold any double.
    char buffer[400];
    const auto [end, status] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (status != std::errc()) {
        return {};
    }
    return QString::fromLatin1(buffer, end - buffer);
}

} // namespace vantrel::platform
