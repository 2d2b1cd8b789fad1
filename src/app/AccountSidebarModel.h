#pragma once

#include "app/AccountSidebarRow.h"
#include "model/IcuBridge.h"
#include "platform/objectstore/ObjectID.h"

#include <QString>

#include <optional>
#include <vector>

namespace vantrel::platform {
class UserDefaults;
}

namespace vantrel::model {
class Account;
}

namespace vantrel::app {

class Workspace;

// The accounts part of the sidebar: its rows, the "All Accounts" total, the view preferences that
// shape it, renaming in place, reordering by drag and drop, and which account is selected.
class AccountSidebarModel {
public:
    static constexpr auto kShowCentsKey = "VTShowCentsInAccountsList";
    static constexpr auto kHideInactiveKey = "VTHideInactiveAccounts";
    // The accounts section starts with two other items; accounts are its children from here on.
    static constexpr int kFirstAccountChild = 2;

    explicit AccountSidebarModel(Workspace& workspace, QString localeId = model::IcuBridge::systemLocaleId());

    Workspace& workspace() const { return m_workspace; }

    // Both preferences start off.
    static void registerDefaults(platform::UserDefaults& defaults);
    static QString iconNameForType(const QString& type);

    // Every account in account order, without the inactive ones while they are hidden.
    std::vector<AccountSidebarRow> rows() const;
    QString allAccountsTitle() const;
    QString allAccountsBalance() const;

    bool showsCents() const;
    void toggleShowsCents();
    bool hidesInactiveAccounts() const;
    void toggleHidesInactiveAccounts();
    // The menu item that switches the preference: it names what choosing it will do.
    QString inactiveAccountsMenuTitle() const;

    // Nothing selected (or the selected account deleted) means the "All Accounts" row.
    objectstore::ManagedObject* selectedAccount() const;
    void selectAccount(objectstore::ManagedObject* account);
    // The selected account's position in rows(), or nothing.
    std::optional<std::size_t> selectedRow() const;

    // Renames in place and saves; a blank name is refused and the old name kept.
    bool rename(model::Account& account, const QString& name);

    // Whether `account` may be dropped at child `childPosition` of the accounts section.
    bool acceptsDrop(const model::Account& account, int childPosition) const;
    // Moves the account to where it was dropped and saves, keeping the selection. False for a
    // refused drop and for a drop onto the account's own position, which changes nothing.
    bool drop(model::Account& account, int childPosition);
    // The drop position among all accounts for a drop at child `shownPosition` of the rows shown:
    // while inactive accounts are hidden the two differ. -1 outside the accounts.
    int childPositionAmongAllAccounts(int shownPosition) const;

private:
    Workspace& m_workspace;
    QString m_localeId;
    // By id: the object of a deleted account does not outlive the next save.
    std::optional<objectstore::ObjectID> m_selected;
};

} // namespace vantrel::app
