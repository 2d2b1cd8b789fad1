#pragma once

#include "model/AmountFieldModel.h"
#include "model/Day.h"
#include "model/IcuBridge.h"
#include "model/ScheduledItem.h"

#include <QString>

namespace vantrel::objectstore {
class ManagedObject;
}

namespace vantrel::app {

class Workspace;

// The sheet that logs the current occurrence of a scheduled item: what it shows, the checks and
// confirmations of the amount, and the payment itself.
class PaySheetModel {
public:
    PaySheetModel(Workspace& workspace, const model::ScheduledItem& item,
                  QString localeId = model::IcuBridge::systemLocaleId());

    const model::ScheduledItem& item() const { return m_item; }
    // "Deposit" for a deposit item, "Pay" otherwise; also the confirm button's title.
    QString verb() const;
    // "Pay Rent", "Deposit Salary".
    QString sheetTitle() const;
    // The payment link (the item's URL with a web scheme) and its title (the URL as entered); both
    // empty without a URL.
    QString linkURL() const;
    QString linkTitle() const;
    // Shown when there is no URL; may be empty.
    QString instructions() const;
    // "Due: %@" with the due date in the locale's short style.
    QString dueText() const;
    // The currency of the item's account, which the amount is in.
    QString currencyCode() const;

    // Today when the sheet opens, not the due date.
    const model::Day& date() const { return m_date; }
    void setDate(const model::Day& date) { m_date = date; }
    // The item's amount; assumes the sign of an expense for an expense item; whole units for a
    // currency without cents.
    model::AmountFieldModel& amountField() { return m_amount; }
    const model::AmountFieldModel& amountField() const { return m_amount; }
    objectstore::ManagedObject* category() const { return m_category; }
    void setCategory(objectstore::ManagedObject* category) { m_category = category; }
    const QString& notes() const { return m_notes; }
    void setNotes(const QString& notes) { m_notes = notes; }

    // Checks the amount (an empty amount is refused; a sign against the item's kind is confirmed
    // first), then logs the occurrence, saves and refreshes every view. False when nothing was logged:
    // the sheet stays open with the amount field focused.
    bool confirm();

private:
    // Whether the user agreed to log `amount`; alerts for an empty amount or an unexpected sign.
    bool amountAccepted(const std::optional<model::Amount>& amount) const;
    QString accountName(objectstore::ManagedObject* account) const;

    Workspace& m_workspace;
    QString m_localeId;
    model::ScheduledItem m_item;
    model::Day m_date;
    model::AmountFieldModel m_amount;
    objectstore::ManagedObject* m_category = nullptr;
    QString m_notes;
};

} // namespace vantrel::app
