#pragma once

#include "model/Amount.h"
#include "model/Day.h"
#include "model/Transaction.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace vantrel::app {

// The fields of the inline transaction editor when it closes: what gets written to the transaction.
// One category line means a single category (nullptr for uncategorised); several mean a split.
struct TransactionEdit {
    model::Day date;
    std::optional<std::int64_t> checkNumber;
    QString title;
    model::Amount amount;
    QString notes;
    std::vector<model::PlainSplit> categoryLines;
};

} // namespace vantrel::app
