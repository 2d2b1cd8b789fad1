#pragma once

#include "app/CommandOutcome.h"
#include "model/AmountFieldModel.h"
#include "model/Day.h"
#include "model/IcuBridge.h"

#include <QString>

#include <optional>

namespace vantrel::objectstore {
class ManagedObject;
}

namespace vantrel::model {
class Account;
class TransferSetting;
} // namespace vantrel::model

namespace vantrel::app {

class Workspace;

// The transfer dialog of the selected account: fields filled from the last transfer (or from
// defaults), refilled when another destination is picked, and the transfer made on confirmation.
class TransferDialogModel {
public:
    TransferDialogModel(Workspace& workspace, const model::Account& source,
                        QString localeId = model::IcuBridge::systemLocaleId());

    // In the source account's currency; a transfer has no presumed direction, so no sign is assumed.
    model::AmountFieldModel& amountField() { return m_amount; }
    const model::AmountFieldModel& amountField() const { return m_amount; }
    objectstore::ManagedObject* destination() const { return m_destination; }
    // Refills the fields from the setting remembered for the new destination; an amount the user
    // changed stays.
    void chooseDestination(objectstore::ManagedObject* destination);
    objectstore::ManagedObject* category() const { return m_category; }
    void setCategory(objectstore::ManagedObject* category) { m_category = category; }
    const QString& title() const { return m_title; }
    void setTitle(const QString& title) { m_title = title; }
    // "To %@" with the destination's name: the title used when none is entered.
    QString titlePlaceholder() const;
    const model::Day& date() const { return m_date; }
    void setDate(const model::Day& date) { m_date = date; }

    // Makes the transfer, saves and refreshes every view; refused without an amount or a
    // destination.
    CommandOutcome confirm();

private:
    void fillFrom(const std::optional<model::TransferSetting>& setting);
    void fillAmount(const std::optional<model::Amount>& amount);
    bool amountChanged() const;

    Workspace& m_workspace;
    objectstore::ManagedObject* m_source;
    model::AmountFieldModel m_amount;
    // What the dialog last put into the amount field, to tell the user's changes from its own.
    QString m_filledAmountText;
    objectstore::ManagedObject* m_destination = nullptr;
    objectstore::ManagedObject* m_category = nullptr;
    QString m_title;
    model::Day m_date;
};

} // namespace vantrel::app
