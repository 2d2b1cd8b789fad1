#include "platform/objectstore/ValueOrdering.h"

#include <QHash>

namespace vantrel::objectstore {

namespace {

template <typename T>
int threeWay(const T& a, const T& b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

} // namespace

int compareValues(const Value& a, const Value& b) {
    if (a.index() != b.index()) {
        return threeWay(a.index(), b.index());
    }
    return std::visit(
        [&b](const auto& left) -> int {
            using T = std::decay_t<decltype(left)>;
            const auto& right = std::get<T>(b);
            if constexpr (std::is_same_v<T, std::monostate>) {
                return 0;
            } else if constexpr (std::is_same_v<T, QString>) {
                return left.compare(right);
            } else if constexpr (std::is_same_v<T, QDateTime>) {
                return threeWay(left.toMSecsSinceEpoch(), right.toMSecsSinceEpoch());
            } else {
                return threeWay(left, right);
            }
        },
        a);
}

std::size_t hashValue(const Value& value) {
    return std::visit(
        [](const auto& v) -> std::size_t {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate>) {
                return 0;
            } else if constexpr (std::is_same_v<T, QString>) {
                return qHash(v);
            } else if constexpr (std::is_same_v<T, platform::Amount>) {
                return v.hash();
            } else if constexpr (std::is_same_v<T, QDateTime>) {
                return std::hash<qint64>()(v.isValid() ? v.toMSecsSinceEpoch() : 0);
            } else {
                return std::hash<T>()(v);
            }
        },
        value);
}

} // namespace vantrel::objectstore
