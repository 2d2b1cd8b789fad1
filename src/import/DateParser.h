#pragma once

#include "import/DateOrder.h"
#include "model/Day.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <set>

namespace vantrel::import {

// The three numbers of a date text, in the order in which they stand in the text.
using DateComponents = std::array<int, 3>;

// Date texts of bank and program files: splitting them into three numbers, guessing the order of
// day, month and year from a whole column, and building the day once the order is known.
class DateParser {
public:
    DateParser() = delete;

    // The first three digit runs separated by non-digits anywhere in the text ("Posted 12/31/2023
    // 10:45" gives 12, 31, 2023), else eight adjacent digits read as 4, 2 and 2 (20231231).
    // Throws ParseException "VTParseException" with "Expected three date components." when there
    // are no such numbers, or when one is too large to be a date component.
    static DateComponents dateComponentsFromString(const QString& text);
    // Whether either search of dateComponentsFromString finds something; never throws.
    static bool looksLikeDateString(const QString& text);

    // The order that stands out in a column of date texts, or nothing when none does. Failures
    // of dates with a four-digit year propagate; an empty list is an InternalError.
    static std::optional<DateOrder> guessDateOrder(const QStringList& texts);

    // The day the text names in that order, or nothing when there is no such day. A splitting
    // failure propagates. A year below 100 is a two-digit year: 0-69 are 2000-2069, 70-99 are
    // 1970-1999.
    static std::optional<model::Day> parseDate(const QString& text, DateOrder order);

    // The position (0, 1 or 2) of the set with strictly more values than both others, or -1.
    static int maxFieldFirstMiddleLast(const std::set<int>& first, const std::set<int>& middle,
                                       const std::set<int>& last);
    // Throws ParseException "Invalid field value" for a number outside 1-99.
    static void check(int value);
};

} // namespace vantrel::import
