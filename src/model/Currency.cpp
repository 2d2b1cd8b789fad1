#include "model/Currency.h"

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

} // namespace vantrel::model
