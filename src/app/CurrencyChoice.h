#pragma once

#include <QString>

namespace vantrel::app {

// One item of a currency menu.
struct CurrencyChoice {
    QString code;
    QString name;

    friend bool operator==(const CurrencyChoice&, const CurrencyChoice&) = default;
};

} // namespace vantrel::app
