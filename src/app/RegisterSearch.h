#pragma once

#include "app/RegisterViewModel.h"
#include "model/Account.h"
#include "model/IcuBridge.h"

#include <QString>

#include <optional>
#include <vector>

namespace vantrel::app {

class Workspace;

// The toolbar search: filters the transactions of the selected account, or of all accounts, by
// "keywords CONTAINS[cd] text" and shows the results in a register of their own. Empty text cancels.
class RegisterSearch {
public:
    // Without an account the search covers all accounts.
    RegisterSearch(Workspace& workspace, std::optional<model::Account> account,
                   const QString& localeId = model::IcuBridge::systemLocaleId());

    void setText(const QString& text);
    bool isActive() const { return m_results.has_value(); }
    const QString& text() const { return m_text; }

    // Only while active.
    const RegisterViewModel& results() const;
    RegisterViewModel& results();

    QString titleIconName() const;
    // "Searching \"%@\"" with the account name or "All Accounts".
    QString titleText() const;
    // "%ld %@"; empty while no search runs.
    QString resultCountText() const;

    // The transactions in scope whose keywords contain the text, in default order.
    static std::vector<objectstore::ManagedObject*>
    find(objectstore::Context& context, const std::optional<model::Account>& account, const QString& text);
    static QString iconNameForAccountType(const QString& type);

private:
    Workspace& m_workspace;
    std::optional<model::Account> m_account;
    QString m_localeId;
    QString m_text;
    std::optional<RegisterViewModel> m_results;
};

} // namespace vantrel::app
