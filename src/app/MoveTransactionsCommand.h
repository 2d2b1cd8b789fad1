#pragma once

#include "app/Alert.h"

#include <cstdint>
#include <vector>

namespace vantrel::model {
class Account;
class Transaction;
} // namespace vantrel::model

namespace vantrel::app {

class Workspace;

// Transactions dragged onto an account in the sidebar move there once the user agrees.
class MoveTransactionsCommand {
public:
    explicit MoveTransactionsCommand(Workspace& workspace);

    static Alert confirmationAlert(std::int64_t count, const model::Account& destination);
    // Asks, then moves, saves and refreshes every view. Returns whether anything moved.
    bool run(const std::vector<model::Transaction>& transactions, const model::Account& destination);

private:
    Workspace& m_workspace;
};

} // namespace vantrel::app
