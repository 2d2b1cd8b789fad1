#pragma once

#include "model/Account.h"
#include "model/Amount.h"
#include "model/Day.h"
#include "model/IcuBridge.h"
#include "platform/objectstore/ObjectID.h"

#include <QString>

#include <optional>
#include <vector>

namespace vantrel::app {

class Workspace;

// The projection sheet without its widgets: every occurrence of the scheduled items in the next 36
// months, for one account or for all accounts, with the balance each leads to.
class ProjectionSheetModel {
public:
    static constexpr int kMonthsAhead = 36;

    struct Row {
        objectstore::ObjectID item;
        // "Yesterday", "Today", "Tomorrow", or the date in the medium style.
        QString dateText;
        QString payee;
        // In the currency the amount is seen in.
        QString amountText;
        model::Amount amount;
        // In the account's currency, or the home currency for all accounts.
        QString balanceText;
        model::Amount balance;
        bool isTransfer = false;
    };

    // Nothing: all accounts. Computed once, when the sheet opens.
    ProjectionSheetModel(Workspace& workspace, const std::optional<model::Account>& account,
                         QString localeId = model::IcuBridge::systemLocaleId());

    // "Projection for %@" with the account's name or "All Accounts".
    QString sheetTitle() const;
    const model::Day& endDate() const { return m_end; }
    const std::vector<Row>& rows() const { return m_rows; }
    // The balance the projection starts from, formatted like the balances.
    QString startBalanceText() const;

private:
    QString dateText(const model::Day& date) const;

    Workspace& m_workspace;
    std::optional<model::Account> m_account;
    QString m_localeId;
    model::Day m_today;
    model::Day m_end;
    model::Amount m_startBalance;
    QString m_balanceCurrency;
    std::vector<Row> m_rows;
};

} // namespace vantrel::app
