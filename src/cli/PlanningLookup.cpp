#include "cli/PlanningLookup.h"

#include "cli/UserError.h"
#include "platform/objectstore/Context.h"

#include <functional>
#include <vector>

namespace vantrel::cli {

namespace {

template <typename Entity>
std::vector<Entity> allOf(objectstore::Context& context) {
    std::vector<Entity> entities;
    for (objectstore::ManagedObject* object : context.all(QString::fromLatin1(Entity::kEntity))) {
        entities.emplace_back(object);
    }
    return entities;
}

// The one candidate whose cloudID is `key`, else the one `nameOf` calls `key`.
template <typename Entity>
Entity pick(const std::vector<Entity>& candidates, const QString& key, const QString& what,
            const std::function<QString(const Entity&)>& nameOf) {
    std::vector<Entity> named;
    for (const Entity& candidate : candidates) {
        if (candidate.cloudID() == key) {
            return candidate;
        }
        if (nameOf(candidate).compare(key, Qt::CaseInsensitive) == 0) {
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

model::ScheduledItem PlanningLookup::scheduledItem(const QString& titleOrCloudID) const {
    return pick<model::ScheduledItem>(allOf<model::ScheduledItem>(m_context), titleOrCloudID,
                                      QStringLiteral("scheduled transaction"),
                                      [](const model::ScheduledItem& item) { return item.title(); });
}

model::Budget PlanningLookup::budget(const QString& nameOrCloudID) const {
    return pick<model::Budget>(allOf<model::Budget>(m_context), nameOrCloudID, QStringLiteral("budget"),
                               [](const model::Budget& budget) { return budget.name(); });
}

model::CategoryGroup PlanningLookup::categoryGroup(const QString& nameOrCloudID) const {
    return pick<model::CategoryGroup>(allOf<model::CategoryGroup>(m_context), nameOrCloudID,
                                      QStringLiteral("category group"),
                                      [](const model::CategoryGroup& group) { return group.name(); });
}

bool PlanningLookup::budgetNameTaken(const QString& name) const {
    for (const model::Budget& budget : allOf<model::Budget>(m_context)) {
        if (budget.name().compare(name, Qt::CaseInsensitive) == 0) {
            return true;
        }
    }
    return false;
}

} // namespace vantrel::cli
