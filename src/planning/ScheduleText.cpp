#include "planning/ScheduleText.h"

namespace vantrel::planning {

namespace {

bool isWeekly(const model::ScheduledItem& item) {
    return item.repeatType() == QLatin1String(model::ScheduledItem::kWeekRepeat);
}

} // namespace

QString ScheduleText::repeatDescription(const model::ScheduledItem& item) {
    if (!item.repeats()) {
        return QStringLiteral("Never");
    }
    const bool weekly = isWeekly(item);
    if (item.hasRepeatRules()) {
        return weekly ? QStringLiteral("Weekly (Custom)") : QStringLiteral("Monthly (Custom)");
    }
    const std::int64_t interval = item.repeatInterval().value_or(1);
    if (interval >= 2) {
        const QString unit = weekly ? QStringLiteral("Week") : QStringLiteral("Month");
        return QStringLiteral("Every %1").arg(QStringLiteral("%1 %2s").arg(interval).arg(unit));
    }
    return weekly ? QStringLiteral("Weekly") : QStringLiteral("Monthly");
}

QString ScheduleText::actionTitle(const model::ScheduledItem& item) {
    if (item.isDeposit()) {
        return QStringLiteral("Deposit");
    }
    return item.isTransfer() ? QStringLiteral("Transfer") : QStringLiteral("Pay");
}

QString ScheduleText::groupTitle(model::ScheduledItem::State state) {
    switch (state) {
    case model::ScheduledItem::State::Due:
        return QStringLiteral("Due Now");
    case model::ScheduledItem::State::Within7Days:
        return QStringLiteral("Within 7 Days");
    case model::ScheduledItem::State::Within30Days:
        return QStringLiteral("Within 30 Days");
    case model::ScheduledItem::State::Later:
        break;
    }
    return QStringLiteral("Later");
}

} // namespace vantrel::planning
