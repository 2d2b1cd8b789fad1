#include "cli/ScheduleValues.h"

#include "cli/UserError.h"
#include "model/ScheduledItem.h"

#include <QRegularExpression>

#include <algorithm>

namespace vantrel::cli {

namespace {

// Sunday first, as the stored weekday numbers 1 ... 7 count.
const QStringList& weekdayNames() {
    static const QStringList names{
        QStringLiteral("sunday"),    QStringLiteral("monday"),   QStringLiteral("tuesday"),
        QStringLiteral("wednesday"), QStringLiteral("thursday"), QStringLiteral("friday"),
        QStringLiteral("saturday"),
    };
    return names;
}

model::RepeatRule weeklyRule(const QString& word) {
    const QString lower = word.toLower();
    for (qsizetype i = 0; i < weekdayNames().size(); ++i) {
        const QString& name = weekdayNames()[i];
        if (lower == name || lower == name.left(3)) {
            return model::DIWeek(static_cast<int>(i) + 1);
        }
    }
    throw UserError(QStringLiteral("Not a weekday: %1 (use sun, mon, tue, wed, thu, fri, sat)").arg(word));
}

model::RepeatRule monthlyRule(const QString& word) {
    if (word.compare(QStringLiteral("last"), Qt::CaseInsensitive) == 0) {
        return model::DIMonth(model::DIMonth::kLastDay);
    }
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,2}$"));
    const int day = digits.match(word).hasMatch() ? word.toInt() : 0;
    if (day < 1 || day > 31) {
        throw UserError(QStringLiteral("Not a day of the month: %1 (use 1 to 31 or last)").arg(word));
    }
    return model::DIMonth(day);
}

} // namespace

QString ScheduleValues::repeatType(const QString& token) {
    const QString lower = token.toLower();
    if (lower == u"week") {
        return QString::fromLatin1(model::ScheduledItem::kWeekRepeat);
    }
    if (lower == u"month") {
        return QString::fromLatin1(model::ScheduledItem::kMonthRepeat);
    }
    if (lower == u"none") {
        return QString();
    }
    throw UserError(QStringLiteral("Unknown repeat: %1 (use week, month or none)").arg(token));
}

std::int64_t ScheduleValues::wholeNumber(const QString& text, std::int64_t minimum, const QString& what) {
    static const QRegularExpression digits(QStringLiteral("^-?[0-9]{1,9}$"));
    const std::int64_t value = digits.match(text).hasMatch() ? text.toLongLong() : minimum - 1;
    if (value < minimum) {
        throw UserError(
            QStringLiteral("%1 must be a whole number of at least %2: %3").arg(what).arg(minimum).arg(text));
    }
    return value;
}

std::vector<model::RepeatRule> ScheduleValues::rules(const QString& text, const QString& repeatType) {
    const bool weekly = repeatType == QLatin1String(model::ScheduledItem::kWeekRepeat);
    std::vector<model::RepeatRule> rules;
    for (const QString& part : text.split(u',')) {
        const QString word = part.trimmed();
        if (word.isEmpty()) {
            continue;
        }
        const model::RepeatRule rule = weekly ? weeklyRule(word) : monthlyRule(word);
        if (std::find(rules.begin(), rules.end(), rule) == rules.end()) {
            rules.push_back(rule);
        }
    }
    if (rules.empty()) {
        throw UserError(QStringLiteral("No days given to repeat on: %1").arg(text));
    }
    return rules;
}

} // namespace vantrel::cli
