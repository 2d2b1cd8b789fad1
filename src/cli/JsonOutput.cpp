#include "cli/JsonOutput.h"

namespace vantrel::cli {

QString JsonOutput::string(const QString& text) {
    QString quoted;
    quoted.reserve(text.size() + 2);
    quoted.append(u'"');
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'"':
            quoted.append(QStringLiteral("\\\""));
            break;
        case u'\\':
            quoted.append(QStringLiteral("\\\\"));
            break;
        case u'\n':
            quoted.append(QStringLiteral("\\n"));
            break;
        case u'\r':
            quoted.append(QStringLiteral("\\r"));
            break;
        case u'\t':
            quoted.append(QStringLiteral("\\t"));
            break;
        default:
            if (c.unicode() < 0x20) {
                quoted.append(QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0')));
            } else {
                quoted.append(c);
            }
        }
    }
    quoted.append(u'"');
    return quoted;
}

QString JsonOutput::number(std::int64_t value) {
    return QString::number(value);
}

QString JsonOutput::boolean(bool value) {
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

QString JsonOutput::null() {
    return QStringLiteral("null");
}

QString JsonOutput::amount(const model::Amount& value) {
    return string(value.rounded(2).toString());
}

QString JsonOutput::objectLine(const Fields& fields) {
    QStringList parts;
    for (const auto& [key, value] : fields) {
        parts.append(string(key) + QStringLiteral(": ") + value);
    }
    return u'{' + parts.join(QStringLiteral(", ")) + u'}';
}

QString JsonOutput::object(const Fields& fields) {
    QStringList parts;
    for (const auto& [key, value] : fields) {
        parts.append(QStringLiteral("  ") + string(key) + QStringLiteral(": ") + value);
    }
    return QStringLiteral("{\n") + parts.join(QStringLiteral(",\n")) + QStringLiteral("\n}");
}

QString JsonOutput::array(const std::vector<Fields>& rows) {
    if (rows.empty()) {
        return QStringLiteral("[]");
    }
    QStringList lines;
    for (const Fields& row : rows) {
        lines.append(QStringLiteral("  ") + objectLine(row));
    }
    return QStringLiteral("[\n") + lines.join(QStringLiteral(",\n")) + QStringLiteral("\n]");
}

} // namespace vantrel::cli
