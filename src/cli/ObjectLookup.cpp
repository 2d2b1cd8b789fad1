#include "cli/ObjectLookup.h"

#include "cli/NamedPick.h"
#include "platform/objectstore/Context.h"

#include <vector>

namespace vantrel::cli {

namespace {

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

template <typename Entity>
QString byName(const Entity& entity) {
    return entity.name();
}

} // namespace

model::Account ObjectLookup::account(const QString& nameOrCloudID) const {
    return pickByCloudIDOrName(model::Account::allInAccountOrder(m_context), nameOrCloudID,
                               QStringLiteral("account"), byName<model::Account>);
}

model::CategoryVT ObjectLookup::category(const QString& nameOrCloudID) const {
    std::vector<model::CategoryVT> categories;
    for (objectstore::ManagedObject* object : m_context.all(u"Category")) {
        categories.emplace_back(object);
    }
    return pickByCloudIDOrName(categories, nameOrCloudID, QStringLiteral("category"),
                               byName<model::CategoryVT>);
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
