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
    // The currency named by Global's home currency code, or nothing.
    static std::optional<Currency> homeCurrencyInContext(objectstore::Context& context);
    // Both must exist: "should specify a home currency to set to", "The specified currency should
    // exist" (InternalError otherwise). Stored amounts and account codes do not change.
    static void changeUserHomeCurrencyTo(objectstore::Context& context, const QString& code);

    // The amount in `to`: unchanged when the two rates are equal, else amount × (to.rate ÷ from.rate)
    // rounded plain to cents. A missing currency is an InternalError ("Both source and destination
    // currencies cannot be nil. Source: %@, destination: %@").
    static Amount exchange(const Amount& amount, const std::optional<Currency>& from,
                           const std::optional<Currency>& to);
    // Converts between currencies named by code; unchanged when either code names no stored
    // currency (an account whose currency is unknown keeps its amounts as they are).
    static Amount exchangeByCode(objectstore::Context& context, const Amount& amount, const QString& fromCode,
                                 const QString& toCode);
    // exchangeByCode into the home currency.
    static Amount toHomeCurrency(objectstore::Context& context, const Amount& amount,
                                 const QString& fromCode);
    // Parses decimal text and rounds it plain to 10 places; nothing for text that is not a number.
    static std::optional<Amount> decimalFromStringRate(const QString& text);
    // The order of the currency menus: the home currency first, then by name, ignoring case, in
    // the user's locale.
    static bool precedesWithHomeCurrencyOnTop(const Currency& a, const Currency& b, const QString& homeCode);

    // A currency is identified across machines by its code.
    QString cloudID() const { return code(); }
    QString code() const;
    void setCode(const QString& code);
    QString name() const;
    void setName(const QString& name);
    // Units of this currency per unit of the rate list's reference currency.
    std::optional<Amount> rate() const;
    void setRate(const std::optional<Amount>& rate);

    // Units of this currency per unit of `other`, rounded plain to 10 places.
    Amount rateBasedOn(const Currency& other) const;
    Amount rateBasedOnHomeCurrency() const;
};

} // namespace vantrel::model
