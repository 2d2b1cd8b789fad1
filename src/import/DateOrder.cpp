#include "import/DateOrder.h"

namespace vantrel::import {

std::optional<DateOrder> DateOrder::fromText(QStringView text) {
    if (text == u"MDY") {
        return mdy();
    }
    if (text == u"DMY") {
        return dmy();
    }
    if (text == u"YMD") {
        return ymd();
    }
    return std::nullopt;
}

QString DateOrder::text() const {
    switch (m_kind) {
    case Kind::MonthDayYear:
        return QStringLiteral("MDY");
    case Kind::DayMonthYear:
        return QStringLiteral("DMY");
    case Kind::YearMonthDay:
        return QStringLiteral("YMD");
    }
    return {};
}

} // namespace vantrel::import
