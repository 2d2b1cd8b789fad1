#pragma once

#include <QByteArray>
#include <QString>

namespace vantrel::objectstore {
class Context;
}

namespace vantrel::platform {
class UserDefaults;
}

namespace vantrel::model {

// The currency list: a property list (root dictionary with "rates", an array of dictionaries with
// "code", "name" and "rate", and a "timestamp" date) that seeds a new database from the
// application's resource and refreshes names and rates from the web service.
class CurrencyList {
public:
    CurrencyList() = delete;

    // User-defaults key of the "timestamp" of the last list applied.
    static constexpr auto kRatesUpdatedAtKey = "VTCurrencyRatesUpdatedAt";

    // Applies the list: renames and re-rates the currencies it names and inserts the ones that
    // are new; currencies it omits are left alone. Returns whether the rate of a currency that
    // already existed changed. Data that is not such a list changes nothing. An entry without a
    // code, name or usable rate (a positive decimal) is skipped with a log line while the rest of
    // the list still applies. Never throws for the contents of `data`: the list may come from the
    // network.
    static bool updateCurrenciesInContext(objectstore::Context& context, const QByteArray& data,
                                          platform::UserDefaults& defaults);

    // Applies the list file at `path` to a new database. A file that cannot be read, or a seed
    // that changed the rate of a currency already stored, is an InternalError.
    static void seedCurrenciesInContext(objectstore::Context& context, const QString& path,
                                        platform::UserDefaults& defaults);

    // The list shipped with the application.
    static QString defaultCurrenciesPath();

    // Makes the locale's currency the home currency when it is in the database, else "USD"
    // (an InternalError when that is missing too). Returns the chosen code.
    static QString chooseHomeCurrency(objectstore::Context& context, const QString& localeId);
};

} // namespace vantrel::model
