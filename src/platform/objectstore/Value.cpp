#include "platform/objectstore/Value.h"

namespace vantrel::objectstore {

bool sameValue(const Value& a, const Value& b) {
    if (a.index() != b.index()) {
        return false;
    }
    return std::visit(
        [&b](const auto& left) {
            using T = std::decay_t<decltype(left)>;
            if constexpr (std::is_same_v<T, std::monostate>) {
                return true;
            } else {
                return left == std::get<T>(b);
            }
        },
        a);
}

QString describe(const Value& value) {
    return std::visit(
        [](const auto& v) -> QString {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate>) {
                return QStringLiteral("(null)");
            } else if constexpr (std::is_same_v<T, QString>) {
                return v;
            } else if constexpr (std::is_same_v<T, platform::Amount>) {
                return v.toString();
            } else if constexpr (std::is_same_v<T, QDateTime>) {
                return v.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss +0000"));
            } else if constexpr (std::is_same_v<T, bool>) {
                return v ? QStringLiteral("1") : QStringLiteral("0");
            } else {
                return QString::number(v);
            }
        },
        value);
}

} // namespace vantrel::objectstore
