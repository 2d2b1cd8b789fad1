#include "app/PaySheetModel.h"

#include "app/Alert.h"
#include "app/Workspace.h"
#include "model/Account.h"
#include "planning/ScheduledPayment.h"

#include <QLocale>

namespace vantrel::app {

PaySheetModel::PaySheetModel(Workspace& workspace, const model::ScheduledItem& item, QString localeId)
    : m_workspace(workspace)
    , m_localeId(std::move(localeId))
    , m_item(item)
    , m_date(model::Day::today_VT(workspace.clock()))
    , m_amount(m_localeId)
    , m_category(item.category())
    , m_notes(item.notes()) {
    m_amount.setShouldAssumeSign(item.isExpense());
    if (item.account() != nullptr) {
        m_amount.setNoCents(
            model::Account(item.account()).formatterWithCents(true, m_localeId).maximumFractionDigits() == 0);
    }
    m_amount.setValue(item.amount().value_or(model::Amount()));
}

QString PaySheetModel::verb() const {
    return m_item.isDeposit() ? QStringLiteral("Deposit") : QStringLiteral("Pay");
}

QString PaySheetModel::sheetTitle() const {
    return QStringLiteral("%1 %2").arg(verb(), m_item.title());
}

QString PaySheetModel::linkURL() const {
    return m_item.paymentURL().isEmpty() ? QString() : m_item.fullURL();
}

QString PaySheetModel::linkTitle() const {
    return m_item.paymentURL();
}

QString PaySheetModel::instructions() const {
    return m_item.paymentURL().isEmpty() ? m_item.paymentInstructions() : QString();
}

QString PaySheetModel::dueText() const {
    const std::optional<model::Day> due = m_item.nextDueDate();
    const QString date = due ? QLocale(m_localeId).toString(due->toQDate(), QLocale::ShortFormat) : QString();
    return QStringLiteral("Due: %1").arg(date);
}

QString PaySheetModel::currencyCode() const {
    return m_item.account() != nullptr ? model::Account(m_item.account()).currencyCode() : QString();
}

QString PaySheetModel::accountName(objectstore::ManagedObject* account) const {
    return account != nullptr ? model::Account(account).name() : QString();
}

bool PaySheetModel::amountAccepted(const std::optional<model::Amount>& amount) const {
    AlertPresenter& alerts = m_workspace.alerts();
    if (!amount) {
        alerts.present(Alert{QStringLiteral("\"%1\" is not an amount.").arg(m_amount.text()), QString(), {}});
        return false;
    }
    if (!m_amount.parsedValue().hasValue()) {
        const QString noun = m_item.isExpense() ? QStringLiteral("payment") : QStringLiteral("deposit");
        alerts.present(Alert{QStringLiteral("Please specify the amount of your %1.").arg(noun),
                             QStringLiteral("You must confirm the amount of your %1.").arg(noun),
                             {}});
        return false;
    }
    if (m_item.isExpense() && amount->sign() > 0) {
        if (m_item.isTransfer()) {
            return alerts.present(Alert{
                       QStringLiteral("Are you sure you want to specify a positive amount for the transfer?"),
                       QStringLiteral(
                           "Specifying a positive amount will cause the transfer to occur in the opposite "
                           "direction. In this case, money will be transfered from the account \"%1\" to "
                           "the account \"%2\".")
                           .arg(accountName(m_item.toAccount()), accountName(m_item.account())),
                       {QStringLiteral("Make the Transfer"), QStringLiteral("Cancel")}}) == 0;
        }
        return alerts.present(
                   Alert{QStringLiteral("Are you sure you want to make a deposit?"),
                         QStringLiteral("This scheduled transaction is a payment. Specifying a positive "
                                        "amount will make a deposit into the account \"%1\".")
                             .arg(accountName(m_item.account())),
                         {QStringLiteral("Make the Deposit"), QStringLiteral("Cancel")}}) == 0;
    }
    if (m_item.isDeposit() && amount->sign() < 0) {
        return alerts.present(
                   Alert{QStringLiteral("Are you sure you want to make a payment?"),
                         QStringLiteral("This scheduled transaction is a deposit. Specifying a negative "
                                        "amount will make a payment from the account \"%1\".")
                             .arg(accountName(m_item.account())),
                         {QStringLiteral("Make the Payment"), QStringLiteral("Cancel")}}) == 0;
    }
    return true;
}

bool PaySheetModel::confirm() {
    const std::optional<model::Amount> amount = m_amount.interpretedAmount();
    if (!amountAccepted(amount)) {
        return false;
    }
    planning::PaymentDetails details;
    details.date = m_date;
    details.amount = *amount;
    details.category = m_category;
    details.notes = m_notes;
    planning::ScheduledPayment::pay(m_item, details, m_workspace.clock());
    m_workspace.saveDatabase();
    m_workspace.refreshAllViews();
    return true;
}

} // namespace vantrel::app
