#include "import/DateParser.h"

#include "import/ParseException.h"
#include "platform/InternalError.h"
#include "text/Regex.h"

#include <limits>
#include <vector>

namespace vantrel::import {

namespace {

const text::Regex& separatedComponents() {
    static const text::Regex regex(uR"((\d+)\D+(\d+)\D+(\d+))");
    return regex;
}

const text::Regex& compactComponents() {
    static const text::Regex regex(uR"((\d{4})(\d{2})(\d{2}))");
    return regex;
}

[[noreturn]] void failExpectedThreeComponents() {
    throw ParseException(ParseException::kParse, QStringLiteral("Expected three date components."));
}

// A run of decimal digits (any script's, as \d matches them) as an int. A run too large for an
// int cannot name a day, month or year, so it counts as no date component.
int componentValue(QStringView digits) {
    constexpr int kMax = std::numeric_limits<int>::max();
    int value = 0;
    for (const QChar c : digits) {
        const int digit = c.digitValue();
        if (digit < 0 || value > (kMax - digit) / 10) {
            failExpectedThreeComponents();
        }
        value = value * 10 + digit;
    }
    return value;
}

// Years written with one or two digits would otherwise land in the first century AD. The POSIX
// %y rule: 0-69 are 2000-2069, 70-99 are 1970-1999.
int expandedYear(int year) {
    if (year >= 100) {
        return year;
    }
    return year < 70 ? 2000 + year : 1900 + year;
}

struct DistinctFields {
    std::set<int> first;
    std::set<int> middle;
    std::set<int> last;

    void add(const DateComponents& components) {
        first.insert(components[0]);
        middle.insert(components[1]);
        last.insert(components[2]);
    }
};

// The first text's year is last: the first text whose first number cannot be a month decides
// day-first, one whose middle number cannot be a month decides month-first, else the field with
// more distinct values is taken to be the day.
std::optional<DateOrder> guessWithFourDigitYearLast(const QStringList& texts) {
    DistinctFields fields;
    for (const QString& text : texts) {
        const DateComponents components = DateParser::dateComponentsFromString(text);
        if (components[0] >= 13) {
            return DateOrder::dmy();
        }
        if (components[1] >= 13) {
            return DateOrder::mdy();
        }
        fields.add(components);
    }
    if (fields.first.size() > fields.middle.size()) {
        return DateOrder::dmy();
    }
    if (fields.middle.size() > fields.first.size()) {
        return DateOrder::mdy();
    }
    return std::nullopt;
}

// No four-digit year: every field must be 1-99, a middle number above 12 means month-first, and
// otherwise the most varied field is taken to be the day.
std::optional<DateOrder> guessWithTwoDigitYears(const QStringList& texts) {
    std::vector<DateComponents> all;
    all.reserve(static_cast<std::size_t>(texts.size()));
    try {
        for (const QString& text : texts) {
            const DateComponents components = DateParser::dateComponentsFromString(text);
            for (const int value : components) {
                DateParser::check(value);
            }
            all.push_back(components);
        }
    } catch (const ParseException&) {
        return std::nullopt;
    }
    DistinctFields fields;
    for (const DateComponents& components : all) {
        if (components[1] > 12) {
            return DateOrder::mdy();
        }
        fields.add(components);
    }
    switch (DateParser::maxFieldFirstMiddleLast(fields.first, fields.middle, fields.last)) {
    case 0:
        return DateOrder::dmy();
    case 1:
        return DateOrder::mdy();
    case 2:
        return DateOrder::ymd();
    default:
        return std::nullopt;
    }
}

} // namespace

DateComponents DateParser::dateComponentsFromString(const QString& text) {
    auto match = separatedComponents().firstMatch(text);
    if (!match) {
        match = compactComponents().firstMatch(text);
    }
    if (!match) {
        failExpectedThreeComponents();
    }
    return {componentValue(match->capturedView(1)), componentValue(match->capturedView(2)),
            componentValue(match->capturedView(3))};
}

bool DateParser::looksLikeDateString(const QString& text) {
    return separatedComponents().isFoundIn(text) || compactComponents().isFoundIn(text);
}

std::optional<DateOrder> DateParser::guessDateOrder(const QStringList& texts) {
    if (texts.isEmpty()) {
        throw platform::InternalError("DateParser::guessDateOrder needs at least one date text");
    }
    const DateComponents first = dateComponentsFromString(texts.first());
    if (first[0] >= 1000) {
        return DateOrder::ymd();
    }
    if (first[1] >= 1000) {
        return std::nullopt;
    }
    if (first[2] >= 1000) {
        return guessWithFourDigitYearLast(texts);
    }
    return guessWithTwoDigitYears(texts);
}

std::optional<model::Day> DateParser::parseDate(const QString& text, DateOrder order) {
    const DateComponents components = dateComponentsFromString(text);
    int year = 0;
    int month = 0;
    int day = 0;
    switch (order.kind()) {
    case DateOrder::Kind::MonthDayYear:
        month = components[0];
        day = components[1];
        year = components[2];
        break;
    case DateOrder::Kind::DayMonthYear:
        day = components[0];
        month = components[1];
        year = components[2];
        break;
    case DateOrder::Kind::YearMonthDay:
        year = components[0];
        month = components[1];
        day = components[2];
        break;
    }
    if (day < 1 || day > 31) {
        return std::nullopt;
    }
    return model::Day::fromCivil(expandedYear(year), month, day);
}

int DateParser::maxFieldFirstMiddleLast(const std::set<int>& first, const std::set<int>& middle,
                                        const std::set<int>& last) {
    if (first.size() > middle.size() && first.size() > last.size()) {
        return 0;
    }
    if (middle.size() > first.size() && middle.size() > last.size()) {
        return 1;
    }
    if (last.size() > first.size() && last.size() > middle.size()) {
        return 2;
    }
    return -1;
}

void DateParser::check(int value) {
    if (value < 1 || value > 99) {
        throw ParseException(ParseException::kInvalidFieldValue,
                             QStringLiteral("The value should be between 1 and 99"));
    }
}

} // namespace vantrel::import
