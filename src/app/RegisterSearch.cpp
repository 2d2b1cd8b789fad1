#include "app/RegisterSearch.h"

#include "app/AccountSidebarModel.h"
#include "app/KeywordMatcher.h"
#include "app/TransactionOrder.h"
#include "app/Workspace.h"
#include "platform/InternalError.h"
#include "platform/objectstore/Context.h"

#include <algorithm>

namespace vantrel::app {

RegisterSearch::RegisterSearch(Workspace& workspace, std::optional<model::Account> account,
                               const QString& localeId)
    : m_workspace(workspace)
    , m_account(std::move(account))
    , m_localeId(localeId) {}

std::vector<objectstore::ManagedObject*> RegisterSearch::find(objectstore::Context& context,
                                                              const std::optional<model::Account>& account,
                                                              const QString& text) {
    const KeywordMatcher matcher(text);
    std::vector<objectstore::ManagedObject*> found;
    const auto collect = [&](const std::vector<objectstore::ManagedObject*>& scope) {
        std::copy_if(
            scope.begin(), scope.end(), std::back_inserter(found),
            [&](objectstore::ManagedObject* object) { return matcher.matches(model::Transaction(object)); });
    };
    if (account) {
        // Kept in order by the context.
        collect(account->orderedTransactions());
        return found;
    }
    // Ordering only what was found is far cheaper than ordering everything first.
    collect(context.all(u"Transaction"));
    TransactionOrder::sort(found);
    return found;
}

void RegisterSearch::setText(const QString& text) {
    m_text = text;
    if (text.isEmpty()) {
        m_results.reset();
        return;
    }
    m_results.emplace(RegisterViewModel::forOrderedTransactions(
        m_workspace, find(m_workspace.context(), m_account, text), m_localeId));
}

const RegisterViewModel& RegisterSearch::results() const {
    if (!m_results) {
        throw platform::InternalError(QStringLiteral("no search results while no search runs"));
    }
    return *m_results;
}

RegisterViewModel& RegisterSearch::results() {
    return const_cast<RegisterViewModel&>(std::as_const(*this).results());
}

QString RegisterSearch::iconNameForAccountType(const QString& type) {
    return AccountSidebarModel::iconNameForType(type);
}

QString RegisterSearch::titleIconName() const {
    return m_account ? iconNameForAccountType(m_account->type()) : QStringLiteral("SidebarIconAllAccounts");
}

QString RegisterSearch::titleText() const {
    return QStringLiteral("Searching \"%1\"")
        .arg(m_account ? m_account->name() : QStringLiteral("All Accounts"));
}

QString RegisterSearch::resultCountText() const {
    if (!m_results) {
        return QString();
    }
    const std::size_t count = m_results->rowCount();
    return QStringLiteral("%1 %2").arg(count).arg(count == 1 ? QStringLiteral("Transaction Found")
                                                             : QStringLiteral("Transactions Found"));
}

} // namespace vantrel::app
