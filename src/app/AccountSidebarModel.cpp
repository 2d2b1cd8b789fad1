#include "app/AccountSidebarModel.h"

#include "app/Workspace.h"
#include "model/Account.h"
#include "model/TextHelper.h"
#include "platform/UserDefaults.h"
#include "platform/objectstore/Context.h"

#include <QVariantMap>

namespace vantrel::app {

namespace {

QString key(const char* name) {
    return QString::fromLatin1(name);
}

} // namespace

AccountSidebarModel::AccountSidebarModel(Workspace& workspace, QString localeId)
    : m_workspace(workspace)
    , m_localeId(std::move(localeId)) {}

void AccountSidebarModel::registerDefaults(platform::UserDefaults& defaults) {
    defaults.registerDefaults(QVariantMap{{key(kShowCentsKey), false}, {key(kHideInactiveKey), false}});
}

QString AccountSidebarModel::iconNameForType(const QString& type) {
    if (type == QLatin1String("checking")) {
        return QStringLiteral("SidebarIconChecking");
    }
    if (type == QLatin1String("savings")) {
        return QStringLiteral("SidebarIconSavings");
    }
    if (type == QLatin1String("credit_card")) {
        return QStringLiteral("SidebarIconCreditCard");
    }
    if (type == QLatin1String("cash")) {
        return QStringLiteral("SidebarIconCash");
    }
    return QStringLiteral("SidebarIconOther");
}

std::vector<AccountSidebarRow> AccountSidebarModel::rows() const {
    const bool cents = showsCents();
    const bool hideInactive = hidesInactiveAccounts();
    std::vector<AccountSidebarRow> rows;
    for (const model::Account& account : model::Account::allInAccountOrder(m_workspace.context())) {
        if (hideInactive && account.isClosed()) {
            continue;
        }
        rows.push_back(AccountSidebarRow{account.object(), iconNameForType(account.type()), account.name(),
                                         account.balanceStringWithCents(cents, m_localeId)});
    }
    return rows;
}

QString AccountSidebarModel::allAccountsTitle() const {
    return QStringLiteral("All Accounts");
}

QString AccountSidebarModel::allAccountsBalance() const {
    return model::Account::overallBalanceStringWithCents(m_workspace.context(), showsCents(), m_localeId);
}

bool AccountSidebarModel::showsCents() const {
    return m_workspace.defaults().boolValue(key(kShowCentsKey));
}

void AccountSidebarModel::toggleShowsCents() {
    m_workspace.defaults().setValue(key(kShowCentsKey), !showsCents());
}

bool AccountSidebarModel::hidesInactiveAccounts() const {
    return m_workspace.defaults().boolValue(key(kHideInactiveKey));
}

void AccountSidebarModel::toggleHidesInactiveAccounts() {
    m_workspace.defaults().setValue(key(kHideInactiveKey), !hidesInactiveAccounts());
}

QString AccountSidebarModel::inactiveAccountsMenuTitle() const {
    return hidesInactiveAccounts() ? QStringLiteral("Show Inactive Accounts")
                                   : QStringLiteral("Hide Inactive Accounts");
}

objectstore::ManagedObject* AccountSidebarModel::selectedAccount() const {
    return m_selected ? m_workspace.context().object(*m_selected) : nullptr;
}

void AccountSidebarModel::selectAccount(objectstore::ManagedObject* account) {
    m_selected = account ? std::optional(account->id()) : std::nullopt;
}

std::optional<std::size_t> AccountSidebarModel::selectedRow() const {
    const objectstore::ManagedObject* selected = selectedAccount();
    if (!selected) {
        return std::nullopt;
    }
    const std::vector<AccountSidebarRow> shown = rows();
    for (std::size_t row = 0; row < shown.size(); ++row) {
        if (shown[row].account == selected) {
            return row;
        }
    }
    return std::nullopt;
}

bool AccountSidebarModel::rename(model::Account& account, const QString& name) {
    if (model::TextHelper::isBlank_vt(name)) {
        return false;
    }
    account.setName(name);
    m_workspace.saveDatabase();
    return true;
}

bool AccountSidebarModel::acceptsDrop(const model::Account& account, int childPosition) const {
    if (account.isDeleted()) {
        return false;
    }
    const auto count = static_cast<int>(m_workspace.context().count(u"Account"));
    // Between the children: right before the first account up to right after the last one.
    return childPosition >= kFirstAccountChild && childPosition <= kFirstAccountChild + count;
}

bool AccountSidebarModel::drop(model::Account& account, int childPosition) {
    if (!acceptsDrop(account, childPosition)) {
        return false;
    }
    const std::int64_t target = childPosition - kFirstAccountChild;
    const auto current = static_cast<std::int64_t>(account.realIndex());
    if (target == current) {
        return false;
    }
    // The drop position counts the dragged row itself; once it is taken out, every later position
    // shifts up by one.
    account.moveToIndex(target > current ? target - 1 : target);
    m_workspace.saveDatabase();
    return true;
}

int AccountSidebarModel::childPositionAmongAllAccounts(int shownPosition) const {
    const std::vector<AccountSidebarRow> shown = rows();
    const int row = shownPosition - kFirstAccountChild;
    if (row < 0 || row > static_cast<int>(shown.size())) {
        return -1;
    }
    if (row == static_cast<int>(shown.size())) {
        return kFirstAccountChild + static_cast<int>(m_workspace.context().count(u"Account"));
    }
    return kFirstAccountChild + static_cast<int>(model::Account(shown[row].account).realIndex());
}

} // namespace vantrel::app
