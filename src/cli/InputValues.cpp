#include "cli/InputValues.h"

#include "cli/UserError.h"
#include "model/Account.h"

#include <QRegularExpression>

namespace vantrel::cli {

model::Amount InputValues::amount(const QString& text) {
    static const QRegularExpression plain(QStringLiteral(R"(^-?[0-9]+(\.[0-9]+)?$)"));
    const std::optional<model::Amount> value =
        plain.match(text).hasMatch() ? model::Amount::withString_vt(text) : std::nullopt;
    if (!value) {
        throw UserError(QStringLiteral("Not an amount: %1 (write it like -12.50)").arg(text));
    }
    if (!value->hasAtMostPlaces(2)) {
        throw UserError(QStringLiteral("Amounts have at most two decimal places: %1").arg(text));
    }
    return *value;
}

model::Day InputValues::day(const QString& text) {
    const std::optional<model::Day> value = model::Day::fromIsoString(text);
    if (!value) {
        throw UserError(QStringLiteral("Not a date: %1 (write it as YYYY-MM-DD)").arg(text));
    }
    return *value;
}

std::int64_t InputValues::checkNumber(const QString& text) {
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,18}$"));
    if (!digits.match(text).hasMatch()) {
        throw UserError(QStringLiteral("Not a check number: %1").arg(text));
    }
    return text.toLongLong();
}

QString InputValues::accountTypeToken(const QString& storedType) {
    // The stored "credit_card" reads better on a command line with a hyphen.
    QString token = storedType;
    return token.replace(u'_', u'-');
}

QStringList InputValues::accountTypeTokens() {
    QStringList tokens;
    for (const QString& type : model::Account::types()) {
        tokens.append(accountTypeToken(type));
    }
    return tokens;
}

QString InputValues::accountType(const QString& token) {
    for (const QString& type : model::Account::types()) {
        if (accountTypeToken(type).compare(token, Qt::CaseInsensitive) == 0) {
            return type;
        }
    }
    throw UserError(QStringLiteral("Unknown account type: %1 (use %2)")
                        .arg(token, accountTypeTokens().join(QStringLiteral(", "))));
}

} // namespace vantrel::cli
