#pragma once

#include "import/AccountDictionary.h"

namespace vantrel::import {

// Corrections for institutions whose files put the useful text in the wrong field, send ids that
// are not unique, or send check numbers that are not check numbers. The institution is known from
// the file's sign-on and the statement; the first rule whose conditions hold is the one for the
// whole statement, even when it then changes none of its records.
class InstitutionFixup {
public:
    enum class Rule {
        None,
        DropFitID,             // reused transaction ids
        NameFromMemo,          // the memo is the better description
        DropCheckNumber,       // the "check numbers" are sequence numbers
        NameFromMemoForDebits, // generic debit names, the merchant in the memo (checking only)
        NameFromMemoForPos,    // "POS Withdrawal #123" names, the merchant in the memo (checking only)
        NameFromCardPurchase,  // the merchant inside a card-purchase memo (checking only)
    };

    InstitutionFixup(const AccountDictionary& file, const ImportedAccount& statement);

    Rule rule() const { return m_rule; }
    // Throws ParseException "VTParseException" when a description cannot be searched.
    void apply(ImportedTransaction& record) const;

private:
    static Rule ruleFor(const AccountDictionary& file, const ImportedAccount& statement);

    Rule m_rule;
};

} // namespace vantrel::import
