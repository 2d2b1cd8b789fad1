#pragma once

#include "model/DIMonth.h"
#include "model/DIWeek.h"

#include <QString>

#include <optional>
#include <variant>
#include <vector>

namespace vantrel::model {

using RepeatRule = std::variant<DIWeek, DIMonth>;

// The stored form of a scheduled item's list of repeat rules: a JSON array of objects that keep
// the keys "DIWeekWeekday", "DIMonthCount" and "DIMonthUnit". A list may mix both kinds; whether
// the kinds suit the item is the item's validation, not the archive's.
class RepeatRuleArchive {
public:
    static QString encode(const std::vector<RepeatRule>& rules);
    // Nothing when the text is not such an array or any element is not a well-formed rule.
    static std::optional<std::vector<RepeatRule>> decode(const QString& archive);
};

QString description(const RepeatRule& rule);

} // namespace vantrel::model
