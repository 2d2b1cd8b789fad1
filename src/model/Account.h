#pragma once

#include "model/EntityObject.h"
#include "platform/objectstore/ValidationError.h"
#include "platform/objectstore/ValidationPhase.h"

#include <QStringList>

#include <vector>

namespace vantrel::platform {
class Clock;
}

namespace vantrel::model {

// A money account: checking, savings, credit card, cash or other.
class Account : public EntityObject {
public:
    static constexpr auto kEntity = "Account";

    explicit Account(objectstore::ManagedObject* object);

    // Placed after the last account in account order, with a fresh sort key, a start balance dated
    // yesterday and the home currency.
    static Account insertInContext(objectstore::Context& context, const platform::Clock& clock);
    static const QStringList& types();

    // Account order: open before closed, then index, sort key, name.
    static bool precedes(const Account& a, const Account& b);
    static std::vector<Account> allInAccountOrder(objectstore::Context& context);

    QString cloudID() const;
    QString name() const;
    void setName(const QString& name);
    QString type() const;
    void setType(const QString& type);
    std::optional<Amount> startBalance() const;
    void setStartBalance(const std::optional<Amount>& balance);
    std::optional<Day> startBalanceDate() const;
    void setStartBalanceDate(const std::optional<Day>& day);
    bool isClosed() const;
    void setClosed(bool closed);
    std::optional<std::int64_t> index() const;
    void setIndex(const std::optional<std::int64_t>& index);
    QString sortKey() const;
    void setSortKey(const QString& sortKey);
    QString currencyCode() const;
    void setCurrencyCode(const QString& code);
    QString plaidAccountID() const;
    void setPlaidAccountID(const QString& id);
    std::optional<std::int64_t> specialBank() const;
    void setSpecialBank(const std::optional<std::int64_t>& bank);
    QString qifDateOrder() const;
    void setQifDateOrder(const QString& order);
    // JSON text of the remembered CSV column mapping.
    QString csvImportSettings() const;
    void setCsvImportSettings(const QString& archive);

    const std::vector<objectstore::ManagedObject*>& transactions() const;
    const std::vector<objectstore::ManagedObject*>& scheduledItems() const;
    const std::vector<objectstore::ManagedObject*>& toScheduledItems() const;
    const std::vector<objectstore::ManagedObject*>& transferSettings() const;
    objectstore::ManagedObject* lastTransferSetting() const;
    void setLastTransferSetting(objectstore::ManagedObject* setting);

    static std::optional<objectstore::ValidationError> validate(objectstore::ManagedObject& object,
                                                                objectstore::ValidationPhase phase);
};

} // namespace vantrel::model
