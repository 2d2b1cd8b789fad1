#include "cli/PlanningLookup.h"

#include "cli/NamedPick.h"
#include "platform/objectstore/Context.h"

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

} // namespace

model::ScheduledItem PlanningLookup::scheduledItem(const QString& titleOrCloudID) const {
    return pickByCloudIDOrName(allOf<model::ScheduledItem>(m_context), titleOrCloudID,
                               QStringLiteral("scheduled transaction"),
                               [](const model::ScheduledItem& item) { return item.title(); });
}

model::Budget PlanningLookup::budget(const QString& nameOrCloudID) const {
    return pickByCloudIDOrName(allOf<model::Budget>(m_context), nameOrCloudID, QStringLiteral("budget"),
                               [](const model::Budget& budget) { return budget.name(); });
}

model::CategoryGroup PlanningLookup::categoryGroup(const QString& nameOrCloudID) const {
    return pickByCloudIDOrName(allOf<model::CategoryGroup>(m_context), nameOrCloudID,
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
