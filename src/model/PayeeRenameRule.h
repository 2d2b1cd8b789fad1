#pragma once

#include "model/EntityObject.h"

namespace vantrel::model {

// Renames a payee text of imported transactions.
class PayeeRenameRule : public EntityObject {
public:
    static constexpr auto kEntity = "PayeeRenameRule";

    explicit PayeeRenameRule(objectstore::ManagedObject* object);
    static PayeeRenameRule insertInContext(objectstore::Context& context);

    QString cloudID() const;
    // The payee as the bank sends it.
    QString from() const;
    void setFrom(const QString& from);
    // The payee to use instead.
    QString to() const;
    void setTo(const QString& to);

private:
    struct Indexes;
    static const Indexes& ix();
};

} // namespace vantrel::model
