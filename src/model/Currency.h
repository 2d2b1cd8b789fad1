#pragma once

#include "model/EntityObject.h"

#include <optional>

namespace vantrel::model {

// A currency and its exchange rate. Accounts refer to it by code, not by a relationship.
class Currency : public EntityObject {
public:
    static constexpr auto kEntity = "Currency";

    explicit Currency(objectstore::ManagedObject* object);
    static Currency insertInContext(objectstore::Context& context);

    // Nothing when no currency has the code; more than one is an InternalError.
    static std::optional<Currency> withCode(objectstore::Context& context, const QString& code);

    // A currency is identified across machines by its code.
    QString cloudID() const { return code(); }
    QString code() const;
    void setCode(const QString& code);
    QString name() const;
    void setName(const QString& name);
    // Units of this currency per unit of the rate list's reference currency.
    std::optional<Amount> rate() const;
    void setRate(const std::optional<Amount>& rate);
};

} // namespace vantrel::model
