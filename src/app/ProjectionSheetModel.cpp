#include "app/ProjectionSheetModel.h"

#include "app/Workspace.h"
#include "model/General.h"
#include "model/Global.h"
#include "model/VTDateFormatter.h"
#include "planning/Projection.h"

namespace vantrel::app {

ProjectionSheetModel::ProjectionSheetModel(Workspace& workspace, const std::optional<model::Account>& account,
                                           QString localeId)
    : m_workspace(workspace)
    , m_account(account)
    , m_localeId(std::move(localeId))
    , m_today(model::Day::today_VT(workspace.clock()))
    , m_end(m_today.advanceMonths_VT(kMonthsAhead)) {
    objectstore::Context& context = workspace.context();
    std::vector<planning::UpcomingTransaction> upcoming;
    if (m_account) {
        m_startBalance = m_account->balance();
        m_balanceCurrency = m_account->currencyCode();
        upcoming = planning::Projection::forAccount(context, *m_account, m_end, m_startBalance);
    } else {
        m_startBalance = model::Account::overallBalanceInContext(context);
        m_balanceCurrency = model::Global::sharedInstanceInContext(context).homeCurrencyCode();
        upcoming = planning::Projection::allAccounts(context, m_end, m_startBalance);
    }
    const model::CurrencyFormatter balanceFormatter =
        model::General::formatterForCurrency(m_balanceCurrency, m_localeId);
    for (const planning::UpcomingTransaction& occurrence : upcoming) {
        Row row;
        row.item = occurrence.scheduledTransaction.object()->id();
        row.dateText = dateText(occurrence.date);
        row.payee = occurrence.payee();
        row.amount = occurrence.amount;
        row.amountText = model::General::formatterForCurrency(occurrence.amountCurrencyCode, m_localeId)
                             .format(occurrence.amount);
        row.balance = occurrence.runningBalance;
        row.balanceText = balanceFormatter.format(occurrence.runningBalance);
        row.isTransfer = occurrence.isTransfer();
        m_rows.push_back(std::move(row));
    }
}

QString ProjectionSheetModel::sheetTitle() const {
    return QStringLiteral("Projection for %1")
        .arg(m_account ? m_account->name() : QStringLiteral("All Accounts"));
}

QString ProjectionSheetModel::startBalanceText() const {
    return model::General::formatterForCurrency(m_balanceCurrency, m_localeId).format(m_startBalance);
}

QString ProjectionSheetModel::dateText(const model::Day& date) const {
    switch (date.numberOfDaysAfter_VT(m_today)) {
    case -1:
        return QStringLiteral("Yesterday");
    case 0:
        return QStringLiteral("Today");
    case 1:
        return QStringLiteral("Tomorrow");
    default:
        return model::VTDateFormatter(m_localeId).format(date);
    }
}

} // namespace vantrel::app
