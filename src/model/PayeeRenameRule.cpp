#include "model/PayeeRenameRule.h"

#include "platform/objectstore/Context.h"

namespace vantrel::model {

struct PayeeRenameRule::Indexes {
    static int a(const char16_t* name) { return EntityObject::attributeIndex(u"PayeeRenameRule", name); }

    int cloudID = a(u"cloudID");
    int from = a(u"from");
    int to = a(u"to");
};

const PayeeRenameRule::Indexes& PayeeRenameRule::ix() {
    static const Indexes indexes;
    return indexes;
}

PayeeRenameRule::PayeeRenameRule(objectstore::ManagedObject* object)
    : EntityObject(object) {}

PayeeRenameRule PayeeRenameRule::insertInContext(objectstore::Context& context) {
    return PayeeRenameRule(insertWithCloudID(context, u"PayeeRenameRule"));
}

QString PayeeRenameRule::cloudID() const {
    return string(ix().cloudID);
}

QString PayeeRenameRule::from() const {
    return string(ix().from);
}

void PayeeRenameRule::setFrom(const QString& from) {
    setString(ix().from, from);
}

QString PayeeRenameRule::to() const {
    return string(ix().to);
}

void PayeeRenameRule::setTo(const QString& to) {
    setString(ix().to, to);
}

} // namespace vantrel::model
