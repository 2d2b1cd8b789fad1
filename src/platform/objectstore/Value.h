#pragma once

#include "platform/Amount.h"

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <variant>

namespace vantrel::objectstore {

// The value of one attribute. Absent is std::monostate. Strings and archived attributes are
// QString (archived values are JSON text), decimals Amount, dates QDateTime in UTC, integers
// int64, booleans bool.
using Value = std::variant<std::monostate, QString, platform::Amount, QDateTime, std::int64_t, bool>;

inline bool isAbsent(const Value& value) {
    return std::holds_alternative<std::monostate>(value);
}

// Equality as the store sees it: decimals compare numerically, dates as instants.
bool sameValue(const Value& a, const Value& b);

// A diagnostic text for logs and the dump; absent prints as "(null)".
QString describe(const Value& value);

} // namespace vantrel::objectstore
