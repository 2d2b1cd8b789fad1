#pragma once

#include "model/Amount.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <utility>
#include <vector>

namespace vantrel::cli {

// JSON text with the keys in the order the command lists them (scripts and people read the same
// output). Values are passed already encoded by the helpers below.
class JsonOutput {
public:
    using Fields = std::vector<std::pair<QString, QString>>;

    JsonOutput() = delete;

    static QString string(const QString& text);
    static QString number(std::int64_t value);
    static QString boolean(bool value);
    static QString null();
    // Two decimals as a string: "-12.50".
    static QString amount(const model::Amount& value);

    // {"a": 1, "b": 2} on one line.
    static QString objectLine(const Fields& fields);
    // One key per line.
    static QString object(const Fields& fields);
    // One object per line; "[]" when empty.
    static QString array(const std::vector<Fields>& rows);
};

} // namespace vantrel::cli
