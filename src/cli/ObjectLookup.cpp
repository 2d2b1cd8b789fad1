#include "cli/ObjectLookup.h"

#include "cli/UserError.h"
#include "platform/objectstore/Context.h"

#include <vector>

namespace vantrel::cli {

namespace {

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The one candidate whose cloudID is `key`, else the ones named `key`; `what` words the errors.
template <typename Entity>
Entity pick(const std::vector<Entity>& candidates, const QString& key, const QString& what) {
    std::vector<Entity> named;
    for (const Entity& candidate : candidates) {
        if (candidate.cloudID() == key) {
            return candidate;
        }
        if (sameName(candidate.name(), key)) {
            named.push_back(candidate);
        }
    }
    if (named.empty()) {
        throw UserError(QStringLiteral("No such %1: %2").arg(what, key));
    }
    if (named.size() > 1) {
        throw UserError(QStringLiteral("More than one %1 is named %2; use its cloudID").arg(what, key));
    }
    return named.front();
}

} // namespace

model::Account ObjectLookup::account(const QString& nameOrCloudID) const {
    return pick(model::Account::allInAccountOrder(m_context), nameOrCloudID, QStringLiteral("account"));
}

model::CategoryVT ObjectLookup::category(const QString& nameOrCloudID) const {
    std::vector<model::CategoryVT> categories;
    for (objectstore::ManagedObject* object : m_context.all(u"Category")) {
        categories.emplace_back(object);
    }
    return pick(categories, nameOrCloudID, QStringLiteral("category"));
}

bool ObjectLookup::accountNameTaken(const QString& name) const {
    for (const model::Account& account : model::Account::allInAccountOrder(m_context)) {
        if (sameName(account.name(), name)) {
            return true;
        }
    }
    return false;
}

} // namespace vantrel::cli
