#pragma once

#include "app/CommandOutcome.h"
#include "app/CurrencyChoice.h"
#include "model/AmountFieldModel.h"
#include "model/IcuBridge.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace vantrel::model {
class Account;
}

namespace vantrel::objectstore {
class ManagedObject;
}

namespace vantrel::platform {
class UserDefaults;
}

namespace vantrel::app {

class AccountSidebarModel;
class Workspace;

// The sheet that creates a new account or edits an existing one: what its fields start with,
// how the type menu maps to stored types, and what confirming writes.
class AccountSheetModel {
public:
    static constexpr auto kShouldShowInactiveTipKey = "VTShouldShowInactiveTip";

    // The new-account sheet.
    explicit AccountSheetModel(Workspace& workspace, QString localeId = model::IcuBridge::systemLocaleId());
    // The edit sheet of `account`.
    AccountSheetModel(Workspace& workspace, const model::Account& account,
                      QString localeId = model::IcuBridge::systemLocaleId());

    // The inactive-account tip is still to be shown.
    static void registerDefaults(platform::UserDefaults& defaults);
    // The type menu's tags 0..4; any other tag is "other".
    static QString typeForTag(int tag);
    static int tagForType(const QString& type);
    // Display names in tag order.
    static QStringList typeMenuTitles();

    bool isEditing() const { return m_account != nullptr; }

    const QString& name() const { return m_name; }
    void setName(const QString& name) { m_name = name; }
    int typeTag() const { return m_typeTag; }
    QString type() const { return typeForTag(m_typeTag); }
    // A credit card's start balance is a debt: only then does the field assume a minus sign.
    void selectTypeTag(int tag);
    // The home currency first, then by name.
    const std::vector<CurrencyChoice>& currencyMenu() const { return m_currencies; }
    const QString& currencyCode() const { return m_currencyCode; }
    // False (and nothing changes) for a code the menu does not offer.
    bool selectCurrency(const QString& code);
    model::AmountFieldModel& startBalanceField() { return m_startBalance; }
    const model::AmountFieldModel& startBalanceField() const { return m_startBalance; }
    // Edit sheet only: the "active" check box.
    bool isActive() const { return m_active; }
    void setActive(bool active) { m_active = active; }

    // New-account sheet: inserts the account, saves and selects it in the sidebar.
    CommandOutcome create(AccountSidebarModel& sidebar);
    // Edit sheet: writes what changed, saves and refreshes every view.
    CommandOutcome saveChanges();

private:
    void fillCurrencyMenu();
    QString enteredName() const;
    std::optional<model::Amount> enteredStartBalance() const;
    void showInactiveTipOnce();

    Workspace& m_workspace;
    objectstore::ManagedObject* m_account = nullptr;
    QString m_name;
    int m_typeTag = 0;
    std::vector<CurrencyChoice> m_currencies;
    QString m_currencyCode;
    model::AmountFieldModel m_startBalance;
    bool m_active = true;
};

} // namespace vantrel::app
