#pragma once

#include "model/Day.h"

#include <QString>

namespace vantrel::app {

// The stretch of time the breakdown shows: one calendar month or one calendar year, both ends
// included.
class BreakdownPeriod {
public:
    enum class Kind { Month, Year };

    static BreakdownPeriod month(const model::Day& anyDayInMonth);
    static BreakdownPeriod year(int year);

    Kind kind() const { return m_kind; }
    bool isYear() const { return m_kind == Kind::Year; }
    model::Day from() const { return m_from; }
    model::Day to() const;
    // "MMMM, yyyy" for a month, "yyyy" for a year.
    QString title(const QString& localeId) const;
    // The period before or after: one month, or twelve for a year.
    BreakdownPeriod previous() const { return moved(-1); }
    BreakdownPeriod next() const { return moved(1); }

    friend bool operator==(const BreakdownPeriod&, const BreakdownPeriod&) = default;

private:
    BreakdownPeriod(Kind kind, const model::Day& from)
        : m_kind(kind)
        , m_from(from) {}

    BreakdownPeriod moved(int steps) const;

    Kind m_kind = Kind::Month;
    model::Day m_from;
};

} // namespace vantrel::app
