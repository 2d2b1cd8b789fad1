#pragma once

#include "model/RepeatRuleArchive.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace vantrel::cli {

// Reads the schedule typed on the command line (scheduled add). Each throws UserError with a
// one-line message naming the text it could not read.
class ScheduleValues {
public:
    ScheduleValues() = delete;

    // "week", "month" -> the stored repeat type; "none" -> a null text (one-time item).
    static QString repeatType(const QString& token);
    // A whole number of at least `minimum`; `what` names the value in the message.
    static std::int64_t wholeNumber(const QString& text, std::int64_t minimum, const QString& what);
    // Comma-separated weekdays ("mon", "Friday") for "Week", days of the month ("1", "31",
    // "last") for "Month"; in the order given, repeats dropped.
    static std::vector<model::RepeatRule> rules(const QString& text, const QString& repeatType);
};

} // namespace vantrel::cli
