#pragma once

namespace vantrel::import {

// What a bank-file merge did with the file's records.
struct ImportSummary {
    int duplicate = 0; // already in the account, dropped
    int newCount = 0;  // became new bank transactions
    int matched = 0;   // confirmed a pending transaction the user had typed

    int imported() const { return newCount + matched; }

    friend bool operator==(const ImportSummary&, const ImportSummary&) = default;
};

} // namespace vantrel::import
