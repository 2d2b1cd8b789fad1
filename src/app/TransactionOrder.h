#pragma once

#include "platform/objectstore/ManagedObject.h"

#include <vector>

namespace vantrel::app {

// Puts transactions in the default order (date descending, then sort key descending) exactly as
// Transaction::precedes orders them, but reads each transaction's date and sort key once instead of
// on every comparison: with tens of thousands of rows the repeated reads cost several times the
// sort itself.
class TransactionOrder {
public:
    TransactionOrder() = delete;

    // Stable; input that is already in order (the usual case) costs one pass.
    static void sort(std::vector<objectstore::ManagedObject*>& transactions);
};

} // namespace vantrel::app
