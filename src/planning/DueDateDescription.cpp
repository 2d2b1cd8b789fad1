#include "planning/DueDateDescription.h"

#include "model/VTDateFormatter.h"

namespace vantrel::planning {

namespace {

// Beyond a week ahead the date itself says more than a count of days.
constexpr int kDaysCountedAhead = 7;

} // namespace

DueDateDescription DueDateDescription::describe(const model::Day& dueDate, const model::Day& today) {
    const int ahead = dueDate.numberOfDaysAfter_VT(today);
    if (ahead < 0) {
        const int ago = -ahead;
        return ago == 1 ? DueDateDescription{Type::Yesterday, 0} : DueDateDescription{Type::DaysAgo, ago};
    }
    if (ahead == 0) {
        return {Type::Today, 0};
    }
    if (ahead == 1) {
        return {Type::Tomorrow, 0};
    }
    return ahead > kDaysCountedAhead ? DueDateDescription{Type::Date, 0}
                                     : DueDateDescription{Type::InDays, ahead};
}

QString DueDateDescription::typeKey() const {
    switch (type) {
    case Type::DaysAgo:
        return QStringLiteral("days ago");
    case Type::Yesterday:
        return QStringLiteral("yesterday");
    case Type::Today:
        return QStringLiteral("today");
    case Type::Tomorrow:
        return QStringLiteral("tomorrow");
    case Type::InDays:
        return QStringLiteral("in days");
    case Type::Date:
        break;
    }
    return QStringLiteral("date");
}

QString DueDateDescription::text(const model::Day& dueDate, const QString& localeId) const {
    switch (type) {
    case Type::DaysAgo:
        return QStringLiteral("%1 days ago").arg(count);
    case Type::Yesterday:
        return QStringLiteral("Yesterday");
    case Type::Today:
        return QStringLiteral("Today");
    case Type::Tomorrow:
        return QStringLiteral("Tomorrow");
    case Type::InDays:
        return QStringLiteral("In %1 days").arg(count);
    case Type::Date:
        break;
    }
    return model::VTDateFormatter::withPattern(QStringLiteral("MMM d"), localeId).format(dueDate);
}

} // namespace vantrel::planning
