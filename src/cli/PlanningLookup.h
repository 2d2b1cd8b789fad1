#pragma once

#include "model/Budget.h"
#include "model/CategoryGroup.h"
#include "model/ScheduledItem.h"

#include <QString>

namespace vantrel::objectstore {
class Context;
}

namespace vantrel::cli {

// Finds the scheduled items, budgets and category groups named on the command line, the way
// ObjectLookup finds accounts: by cloudID, else by title or name with letter case ignored; an
// ambiguous name asks for the cloudID.
class PlanningLookup {
public:
    explicit PlanningLookup(objectstore::Context& context)
        : m_context(context) {}

    // UserError "No such scheduled transaction: %1".
    model::ScheduledItem scheduledItem(const QString& titleOrCloudID) const;
    // UserError "No such budget: %1".
    model::Budget budget(const QString& nameOrCloudID) const;
    // UserError "No such category group: %1".
    model::CategoryGroup categoryGroup(const QString& nameOrCloudID) const;
    bool budgetNameTaken(const QString& name) const;

private:
    objectstore::Context& m_context;
};

} // namespace vantrel::cli
