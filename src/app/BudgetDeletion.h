#pragma once

#include "app/Alert.h"

namespace vantrel::model {
class Budget;
}

namespace vantrel::app {

class Workspace;

// The "delete budget" command: asks first; the budget's limits go with it, no transaction does.
class BudgetDeletion {
public:
    explicit BudgetDeletion(Workspace& workspace);

    static Alert confirmationAlert(const model::Budget& budget);
    // Asks, and on "Delete" deletes the budget and saves. Returns whether it was deleted.
    bool run(model::Budget& budget);

private:
    Workspace& m_workspace;
};

} // namespace vantrel::app
