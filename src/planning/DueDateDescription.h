#pragma once

#include "model/Day.h"

#include <QString>

namespace vantrel::planning {

// A due date relative to today, as the scheduled-items list words it.
struct DueDateDescription {
    enum class Type { DaysAgo, Yesterday, Today, Tomorrow, InDays, Date };

    Type type = Type::Today;
    // Whole days away for DaysAgo and InDays; 0 otherwise.
    int count = 0;

    static DueDateDescription describe(const model::Day& dueDate, const model::Day& today);
    // "days ago", "yesterday", "today", "tomorrow", "in days", "date".
    QString typeKey() const;
    // "%@ days ago", "Yesterday", "Today", "Tomorrow", "In %@ days", or the due date as "MMM d".
    QString text(const model::Day& dueDate, const QString& localeId) const;
};

} // namespace vantrel::planning
