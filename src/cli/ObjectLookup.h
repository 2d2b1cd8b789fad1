#pragma once

#include "model/Account.h"
#include "model/CategoryVT.h"

#include <QString>

namespace vantrel::objectstore {
class Context;
}

namespace vantrel::cli {

// Finds the accounts and categories named on the command line: by cloudID, else by name with letter
// case ignored. Names need not be unique in the database; an ambiguous name asks for the cloudID.
class ObjectLookup {
public:
    explicit ObjectLookup(objectstore::Context& context)
        : m_context(context) {}

    // UserError "No such account: %1" when nothing matches.
    model::Account account(const QString& nameOrCloudID) const;
    // UserError "No such category: %1"; categories are never created on the fly.
    model::CategoryVT category(const QString& nameOrCloudID) const;
    // Whether another account already carries that name (letter case ignored).
    bool accountNameTaken(const QString& name) const;

private:
    objectstore::Context& m_context;
};

} // namespace vantrel::cli
