#pragma once

#include <QString>

namespace vantrel::objectstore {
class ManagedObject;
}

namespace vantrel::app {

// One legend row of the breakdown: every entry of the side shown, in display order.
struct BreakdownLegendRow {
    // A category, a category group, or nullptr for the uncategorised amounts.
    objectstore::ManagedObject* key = nullptr;
    QString name;
    // In the home currency.
    QString amount;
    // Its share of the side, "25%".
    QString share;
    // The colour of the slice it is drawn in ("Other" for rows past the eighth).
    QString color;
    bool isGroup = false;
    // What the pointer resting on the row explains (empty for a category).
    QString hint;
};

} // namespace vantrel::app
