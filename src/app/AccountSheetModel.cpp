#include "app/AccountSheetModel.h"

#include "app/AccountSidebarModel.h"
#include "app/Alert.h"
#include "app/Workspace.h"
#include "model/Account.h"
#include "model/Currency.h"
#include "model/Global.h"
#include "model/TextHelper.h"
#include "platform/InternalError.h"
#include "platform/UserDefaults.h"
#include "platform/objectstore/Context.h"

#include <QVariantMap>

#include <algorithm>

namespace vantrel::app {

namespace {

constexpr int kCreditCardTag = 2;
constexpr int kOtherTag = 4;

QString inactiveTipKey() {
    return QString::fromLatin1(AccountSheetModel::kShouldShowInactiveTipKey);
}

} // namespace

AccountSheetModel::AccountSheetModel(Workspace& workspace, QString localeId)
    : m_workspace(workspace)
    , m_startBalance(localeId) {
    fillCurrencyMenu();
    m_currencyCode = model::Global::sharedInstanceInContext(m_workspace.context()).homeCurrencyCode();
    selectTypeTag(0);
}

AccountSheetModel::AccountSheetModel(Workspace& workspace, const model::Account& account, QString localeId)
    : m_workspace(workspace)
    , m_account(account.object())
    , m_name(account.name())
    , m_currencyCode(account.currencyCode())
    , m_startBalance(localeId)
    , m_active(!account.isClosed()) {
    fillCurrencyMenu();
    selectTypeTag(tagForType(account.type()));
    if (const std::optional<model::Amount> balance = account.startBalance()) {
        m_startBalance.setValue(*balance);
    }
}

void AccountSheetModel::registerDefaults(platform::UserDefaults& defaults) {
    defaults.registerDefaults(QVariantMap{{inactiveTipKey(), true}});
}

QString AccountSheetModel::typeForTag(int tag) {
    const QStringList& types = model::Account::types();
    return tag >= 0 && tag < types.size() ? types[tag] : types[kOtherTag];
}

int AccountSheetModel::tagForType(const QString& type) {
    const auto tag = model::Account::types().indexOf(type);
    return tag < 0 ? kOtherTag : static_cast<int>(tag);
}

QStringList AccountSheetModel::typeMenuTitles() {
    QStringList titles;
    for (const QString& type : model::Account::types()) {
        titles.append(model::Account::displayNameForType(type));
    }
    return titles;
}

void AccountSheetModel::selectTypeTag(int tag) {
    m_typeTag = tag;
    m_startBalance.setShouldAssumeSign(typeForTag(tag) == model::Account::types()[kCreditCardTag]);
}

bool AccountSheetModel::selectCurrency(const QString& code) {
    const bool offered = std::any_of(m_currencies.begin(), m_currencies.end(),
                                     [&](const CurrencyChoice& choice) { return choice.code == code; });
    if (offered) {
        m_currencyCode = code;
    }
    return offered;
}

void AccountSheetModel::fillCurrencyMenu() {
    objectstore::Context& context = m_workspace.context();
    const QString home = model::Global::sharedInstanceInContext(context).homeCurrencyCode();
    std::vector<model::Currency> currencies;
    for (objectstore::ManagedObject* object : context.all(u"Currency")) {
        currencies.emplace_back(object);
    }
    std::sort(currencies.begin(), currencies.end(), [&](const model::Currency& a, const model::Currency& b) {
        return model::Currency::precedesWithHomeCurrencyOnTop(a, b, home);
    });
    m_currencies.clear();
    for (const model::Currency& currency : currencies) {
        m_currencies.push_back(CurrencyChoice{currency.code(), currency.name()});
    }
}

QString AccountSheetModel::enteredName() const {
    // An account needs something to show in the sidebar; its type says more than nothing.
    return model::TextHelper::isBlank_vt(m_name) ? model::Account::displayNameForType(type()) : m_name;
}

std::optional<model::Amount> AccountSheetModel::enteredStartBalance() const {
    return m_startBalance.interpretedAmount();
}

CommandOutcome AccountSheetModel::create(AccountSidebarModel& sidebar) {
    if (isEditing()) {
        throw platform::InternalError(QStringLiteral("the edit sheet cannot create an account"));
    }
    const std::optional<model::Amount> startBalance = enteredStartBalance();
    if (!startBalance) {
        return CommandOutcome::refused(QStringLiteral("The start balance is not an amount."));
    }
    model::Account account = model::Account::insertInContext(m_workspace.context(), m_workspace.clock());
    account.setType(type());
    account.setName(enteredName());
    if (!m_currencyCode.isEmpty()) {
        account.setCurrencyCode(m_currencyCode);
    }
    account.setStartBalance(*startBalance);
    m_workspace.saveDatabase();
    sidebar.selectAccount(account.object());
    return CommandOutcome::done();
}

CommandOutcome AccountSheetModel::saveChanges() {
    if (!isEditing()) {
        throw platform::InternalError(QStringLiteral("the new-account sheet has no account to save"));
    }
    const std::optional<model::Amount> startBalance = enteredStartBalance();
    if (!startBalance) {
        return CommandOutcome::refused(QStringLiteral("The start balance is not an amount."));
    }
    model::Account account(m_account);
    const bool wasActive = !account.isClosed();
    account.setName(enteredName());
    account.setType(type());
    if (m_currencyCode != account.currencyCode()) {
        account.setCurrencyCode(m_currencyCode);
    }
    if (*startBalance != account.startBalance().value_or(model::Amount())) {
        account.setStartBalance(*startBalance);
    }
    account.setClosed(!m_active);
    if (wasActive && !m_active) {
        showInactiveTipOnce();
    }
    m_workspace.saveDatabase();
    m_workspace.refreshAllViews();
    return CommandOutcome::done();
}

void AccountSheetModel::showInactiveTipOnce() {
    platform::UserDefaults& defaults = m_workspace.defaults();
    // Unregistered reads as still to be shown: the tip is on until it has been seen.
    const QVariant shouldShow = defaults.value(inactiveTipKey());
    if (shouldShow.isValid() && !shouldShow.toBool()) {
        return;
    }
    defaults.setValue(inactiveTipKey(), false);
    m_workspace.alerts().present(Alert{
        QStringLiteral("You have made an account inactive."),
        QStringLiteral(
            "You can hide your inactive accounts by choosing View > Hide Inactive Accounts from the menu."),
        {}});
}

} // namespace vantrel::app
