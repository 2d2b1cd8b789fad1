#pragma once

#include "model/Transaction.h"

#include <vector>

namespace vantrel::app {

class Workspace;

// Merges a pending transaction the user typed with the imported one the bank reported, after
// checking the pair and asking the user; when the amounts differ the user picks which one stays.
class MatchCommand {
public:
    explicit MatchCommand(Workspace& workspace);

    // Selection in the order the rows were selected. True when the two were matched (and saved).
    bool run(const std::vector<model::Transaction>& selection);

private:
    bool refuse(const QString& message, const QString& informativeText);
    // Makes the amounts equal as the user chooses; false when the user cancels.
    bool reconcileAmounts(model::Transaction& pending, model::Transaction& bank);

    Workspace& m_workspace;
};

} // namespace vantrel::app
