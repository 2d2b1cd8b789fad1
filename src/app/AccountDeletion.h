#pragma once

#include "app/Alert.h"

namespace vantrel::model {
class Account;
}

namespace vantrel::app {

class Workspace;

// The "delete account" command: asks first, naming the scheduled items that go with the account.
class AccountDeletion {
public:
    explicit AccountDeletion(Workspace& workspace);

    static Alert confirmationAlert(const model::Account& account);
    // Saves what is pending, asks, and on "Delete" destroys the account and saves. Returns whether
    // the account was deleted.
    bool run(model::Account& account);

private:
    Workspace& m_workspace;
};

} // namespace vantrel::app
