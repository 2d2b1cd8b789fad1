#include "model/Global.h"

#include "platform/InternalError.h"
#include "platform/objectstore/Context.h"

namespace vantrel::model {

namespace {

struct Indexes {
    int homeCurrencyCode = EntityObject::attributeIndex(u"Global", u"homeCurrencyCode");
    int databaseID = EntityObject::attributeIndex(u"Global", u"databaseID");
    int currencies = EntityObject::attributeIndex(u"Global", u"currencies");
};

const Indexes& ix() {
    static const Indexes indexes;
    return indexes;
}

} // namespace

Global::Global(objectstore::ManagedObject* object)
    : EntityObject(object) {}

Global Global::sharedInstanceInContext(objectstore::Context& context) {
    const auto all = context.all(u"Global");
    if (all.size() > 1) {
        throw platform::InternalError(QStringLiteral("Expected one Global, found %1").arg(all.size()));
    }
    if (all.size() == 1) {
        return Global(all.front());
    }
    Global global(context.insert(u"Global"));
    global.setString(ix().databaseID, newCloudID());
    return global;
}

QString Global::homeCurrencyCode() const {
    return string(ix().homeCurrencyCode);
}

void Global::setHomeCurrencyCode(const QString& code) {
    setString(ix().homeCurrencyCode, code);
}

QString Global::databaseID() const {
    return string(ix().databaseID);
}

QString Global::currenciesArchive() const {
    return string(ix().currencies);
}

} // namespace vantrel::model
