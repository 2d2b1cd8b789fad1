#include "cli/JsonNesting.h"

#include <QStringList>

namespace vantrel::cli {

namespace {

const QString kInnerIndent = QStringLiteral("    ");
const QString kOuterIndent = QStringLiteral("  ");

} // namespace

QString JsonNesting::inlineArray(const std::vector<JsonOutput::Fields>& rows) {
    QStringList parts;
    for (const JsonOutput::Fields& row : rows) {
        parts.append(JsonOutput::objectLine(row));
    }
    return u'[' + parts.join(QStringLiteral(", ")) + u']';
}

QString JsonNesting::indentedArray(const std::vector<JsonOutput::Fields>& rows) {
    if (rows.empty()) {
        return QStringLiteral("[]");
    }
    QStringList lines;
    for (const JsonOutput::Fields& row : rows) {
        lines.append(kInnerIndent + JsonOutput::objectLine(row));
    }
    return QStringLiteral("[\n") + lines.join(QStringLiteral(",\n")) + u'\n' + kOuterIndent + u']';
}

QString JsonNesting::indentedObject(const JsonOutput::Fields& fields) {
    if (fields.empty()) {
        return QStringLiteral("{}");
    }
    QStringList lines;
    for (const auto& [key, value] : fields) {
        lines.append(kInnerIndent + JsonOutput::string(key) + QStringLiteral(": ") + value);
    }
    return QStringLiteral("{\n") + lines.join(QStringLiteral(",\n")) + u'\n' + kOuterIndent + u'}';
}

} // namespace vantrel::cli
