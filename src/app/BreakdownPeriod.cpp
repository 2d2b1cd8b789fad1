#include "app/BreakdownPeriod.h"

#include "model/VTDateFormatter.h"

namespace vantrel::app {

BreakdownPeriod BreakdownPeriod::month(const model::Day& anyDayInMonth) {
    return BreakdownPeriod(Kind::Month, anyDayInMonth.beginningOfMonth_vt());
}

BreakdownPeriod BreakdownPeriod::year(int year) {
    return BreakdownPeriod(Kind::Year, model::Day::dateWithYear_VT(year, 1, 1));
}

model::Day BreakdownPeriod::to() const {
    return isYear() ? m_from.endOfYear_vt() : m_from.endOfMonth_vt();
}

QString BreakdownPeriod::title(const QString& localeId) const {
    const QString pattern = isYear() ? QStringLiteral("yyyy") : QStringLiteral("MMMM, yyyy");
    return model::VTDateFormatter::withPattern(pattern, localeId).format(m_from);
}

BreakdownPeriod BreakdownPeriod::moved(int steps) const {
    return BreakdownPeriod(m_kind, m_from.advanceMonths_VT(steps * (isYear() ? 12 : 1)));
}

} // namespace vantrel::app
