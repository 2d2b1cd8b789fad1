#pragma once

#include <QString>

namespace vantrel::objectstore {
class ManagedObject;
}

namespace vantrel::app {

// One transaction in the list below the breakdown pie.
struct BreakdownTransactionRow {
    objectstore::ManagedObject* transaction = nullptr;
    QString date;
    QString title;
    // The category names of its lines.
    QString categories;
    QString account;
    // In the account's currency.
    QString amount;
};

} // namespace vantrel::app
