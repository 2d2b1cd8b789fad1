#include "model/Currency.h"

#include "model/Global.h"
#include "platform/InternalError.h"
#include "platform/objectstore/Context.h"

namespace vantrel::model {

namespace {

struct Indexes {
    int code = EntityObject::attributeIndex(u"Currency", u"code");
    int name = EntityObject::attributeIndex(u"Currency", u"name");
    int rate = EntityObject::attributeIndex(u"Currency", u"rate");
};

const Indexes& ix() {
    static const Indexes indexes;
    return indexes;
}

} // namespace

Currency::Currency(objectstore::ManagedObject* object)
    : EntityObject(object) {}

Currency Currency::insertInContext(objectstore::Context& context) {
    return Currency(context.insert(u"Currency"));
}

std::optional<Currency> Currency::withCode(objectstore::Context& context, const QString& code) {
    const auto matches = context.lookup(u"Currency", u"code", objectstore::Value(code));
    if (matches.size() > 1) {
        throw platform::InternalError(
            QStringLiteral("Unexpected currency count of %1 for code %2").arg(matches.size()).arg(code));
    }
    if (matches.empty()) {
        return std::nullopt;
    }
    return Currency(matches.front());
}

QString Currency::code() const {
    return string(ix().code);
}

void Currency::setCode(const QString& code) {
    setString(ix().code, code);
}

QString Currency::name() const {
    return string(ix().name);
}

void Currency::setName(const QString& name) {
    setString(ix().name, name);
}

std::optional<Amount> Currency::rate() const {
    return decimal(ix().rate);
}

void Currency::setRate(const std::optional<Amount>& rate) {
    setDecimal(ix().rate, rate);
}

std::optional<Currency> Currency::homeCurrencyInContext(objectstore::Context& context) {
    return withCode(context, Global::sharedInstanceInContext(context).homeCurrencyCode());
}

void Currency::changeUserHomeCurrencyTo(objectstore::Context& context, const QString& code) {
    if (code.isEmpty()) {
        throw platform::InternalError(QStringLiteral("should specify a home currency to set to"));
    }
    if (!withCode(context, code)) {
        throw platform::InternalError(QStringLiteral("The specified currency should exist"));
    }
    Global::sharedInstanceInContext(context).setHomeCurrencyCode(code);
}

Amount Currency::exchange(const Amount& amount, const std::optional<Currency>& from,
                          const std::optional<Currency>& to) {
    if (!from || !to) {
        throw platform::InternalError(
            QStringLiteral(
                "Both source and destination currencies cannot be nil. Source: %1, destination: %2")
                .arg(from ? from->code() : QStringLiteral("(null)"),
                     to ? to->code() : QStringLiteral("(null)")));
    }
    const std::optional<Amount> fromRate = from->rate();
    const std::optional<Amount> toRate = to->rate();
    // A currency without a rate cannot be converted; its amounts stay as they are rather than
    // turning into zero or a division fault.
    if (!fromRate || !toRate || fromRate->isZero() || *fromRate == *toRate) {
        return amount;
    }
    const Amount factor = toRate->dividedBy(*fromRate);
    return amount.multipliedBy(factor, 2);
}

Amount Currency::exchangeByCode(objectstore::Context& context, const Amount& amount, const QString& fromCode,
                                const QString& toCode) {
    if (fromCode == toCode) {
        return amount;
    }
    const std::optional<Currency> from = withCode(context, fromCode);
    const std::optional<Currency> to = withCode(context, toCode);
    if (!from || !to) {
        return amount;
    }
    return exchange(amount, from, to);
}

Amount Currency::toHomeCurrency(objectstore::Context& context, const Amount& amount,
                                const QString& fromCode) {
    return exchangeByCode(context, amount, fromCode,
                          Global::sharedInstanceInContext(context).homeCurrencyCode());
}

std::optional<Amount> Currency::decimalFromStringRate(const QString& text) {
    const std::optional<Amount> parsed = Amount::withString_vt(text.trimmed());
    if (!parsed) {
        return std::nullopt;
    }
    return parsed->rounded(10);
}

bool Currency::precedesWithHomeCurrencyOnTop(const Currency& a, const Currency& b, const QString& homeCode) {
    const bool aIsHome = a.code() == homeCode;
    const bool bIsHome = b.code() == homeCode;
    if (aIsHome != bIsHome) {
        return aIsHome;
    }
    return QString::localeAwareCompare(a.name().toCaseFolded(), b.name().toCaseFolded()) < 0;
}

Amount Currency::rateBasedOn(const Currency& other) const {
    const std::optional<Amount> mine = rate();
    const std::optional<Amount> theirs = other.rate();
    if (!mine || !theirs || theirs->isZero()) {
        throw platform::InternalError(
            QStringLiteral("Cannot compare the rates of %1 and %2").arg(code(), other.code()));
    }
    return mine->dividedBy(*theirs, 10);
}

Amount Currency::rateBasedOnHomeCurrency() const {
    const std::optional<Currency> home = homeCurrencyInContext(context());
    if (!home) {
        throw platform::InternalError(QStringLiteral("could not find the home currency"));
    }
    return rateBasedOn(*home);
}

} // namespace vantrel::model
