#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace vantrel::import {

// The order in which day, month and year stand in a file's date texts. Stored per account and
// chosen in the import screens as one of the texts "MDY", "DMY" or "YMD"; "no order settled" is
// an empty std::optional<DateOrder>.
class DateOrder {
public:
    enum class Kind { MonthDayYear, DayMonthYear, YearMonthDay };

    constexpr explicit DateOrder(Kind kind)
        : m_kind(kind) {}

    static constexpr DateOrder mdy() { return DateOrder(Kind::MonthDayYear); }
    static constexpr DateOrder dmy() { return DateOrder(Kind::DayMonthYear); }
    static constexpr DateOrder ymd() { return DateOrder(Kind::YearMonthDay); }

    // Exactly "MDY", "DMY" or "YMD"; nothing for any other text.
    static std::optional<DateOrder> fromText(QStringView text);

    constexpr Kind kind() const { return m_kind; }
    QString text() const;

    friend constexpr bool operator==(DateOrder, DateOrder) = default;

private:
    Kind m_kind;
};

} // namespace vantrel::import
