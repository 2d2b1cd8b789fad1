#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace vantrel::model {

// Edits of ICU number patterns ("positive;negative", e.g. "¤#,##0.00;(¤#,##0.00)") that decide
// how negative amounts look. Text between single quotes is literal and never taken for a
// separator or a parenthesis.
class NumberPattern {
public:
    NumberPattern() = delete;

    struct Parts {
        QString positive;
        // Absent when the pattern has no explicit negative form (ICU then puts a minus sign in
        // front of the positive form).
        std::optional<QString> negative;
    };

    static Parts split(QStringView pattern);
    // True when the negative form has an unquoted "(" or ")".
    static bool negativeUsesParentheses(QStringView pattern);
    // Without an explicit negative form when that form uses parentheses, so negatives show
    // with a minus sign; otherwise unchanged.
    static QString withMinusForNegatives(QStringView pattern);
    // With the negative form "(positive)" unless the negative form already uses parentheses.
    static QString withParenthesesForNegatives(QStringView pattern);
};

} // namespace vantrel::model
