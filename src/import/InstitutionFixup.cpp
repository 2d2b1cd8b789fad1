#include "import/InstitutionFixup.h"

#include "import/ParseException.h"
#include "model/TextHelper.h"
#include "text/Regex.h"
#include "text/RegexError.h"

namespace vantrel::import {

namespace {

bool is(const std::optional<QString>& value, QStringView text) {
    return value && *value == text;
}

bool hasMemo(const ImportedTransaction& record) {
    return record.memo && !record.memo->isEmpty();
}

void useMemoAsName(ImportedTransaction& record) {
    if (hasMemo(record)) {
        record.name = record.memo;
    }
}

// "POS Withdrawal #" followed by at least one digit, anywhere in the text.
bool containsPosWithdrawal(QStringView name) {
    static constexpr QStringView kPrefix = u"POS Withdrawal #";
    for (qsizetype at = name.indexOf(kPrefix); at >= 0; at = name.indexOf(kPrefix, at + 1)) {
        const qsizetype next = at + kPrefix.size();
        if (next < name.size() && name.at(next).isDigit()) {
            return true;
        }
    }
    return false;
}

QString merchantOfCardPurchase(const QString& memo) {
    static const text::Regex purchase(
        uR"(DBT PURCHASE ON \d\d/\d\d @ \d\d:\d\d VISA DPS (.*) CARD NBR: -\d\d\d\d)");
    try {
        const std::optional<text::RegexMatch> match = purchase.firstMatch(memo);
        // An empty capture would leave the record without a description; the memo says more.
        if (match && match->hasCaptured(1) && match->capturedLength(1) > 0) {
            return match->captured(1);
        }
        return memo;
    } catch (const text::RegexError& error) {
        throw ParseException(
            ParseException::kParse,
            QStringLiteral("A memo could not be searched (%1).").arg(QString::fromUtf8(error.what())));
    }
}

} // namespace

InstitutionFixup::InstitutionFixup(const AccountDictionary& file, const ImportedAccount& statement)
    : m_rule(ruleFor(file, statement)) {}

InstitutionFixup::Rule InstitutionFixup::ruleFor(const AccountDictionary& file,
                                                 const ImportedAccount& statement) {
    const auto& language = file.language;
    const auto& org = file.fiOrg;
    const auto& fid = file.fiFid;
    const auto& bankID = statement.bankID;
    const auto& type = statement.acctType;
    const auto& currency = statement.currency;
    if (is(language, u"POR") && is(currency, u"BRL") && is(bankID, u"0104")) {
        return Rule::DropFitID;
    }
    if (is(currency, u"CAD") && is(bankID, u"130000100")) {
        return Rule::NameFromMemo;
    }
    if (is(bankID, u"296076301") && is(currency, u"USD") && is(type, u"CHECKING")) {
        return Rule::NameFromMemo;
    }
    if (is(org, u"Banco Leon") && is(fid, u"AVERAVER")) {
        return Rule::DropCheckNumber;
    }
    if (is(org, u"Banco do Brasil") && is(language, u"POR") && is(currency, u"BRL") &&
        is(type, u"CHECKING")) {
        return Rule::DropCheckNumber;
    }
    // These two institutions are settled here whatever the account type: a savings account of
    // theirs gets no correction, and no later rule either.
    if (is(org, u"Citibank") && is(fid, u"2102")) {
        return is(type, u"CHECKING") ? Rule::NameFromMemoForDebits : Rule::None;
    }
    if (is(org, u"CMEFCU") && is(fid, u"20586")) {
        return is(type, u"CHECKING") ? Rule::NameFromMemoForPos : Rule::None;
    }
    if (is(bankID, u"272484894") && is(type, u"CHECKING")) {
        return Rule::NameFromCardPurchase;
    }
    return Rule::None;
}

void InstitutionFixup::apply(ImportedTransaction& record) const {
    switch (m_rule) {
    case Rule::None:
        return;
    case Rule::DropFitID:
        record.fitID.reset();
        return;
    case Rule::NameFromMemo:
        useMemoAsName(record);
        return;
    case Rule::DropCheckNumber:
        record.checkNumber.reset();
        return;
    case Rule::NameFromMemoForDebits:
        if (is(record.name, u"DEBIT PURCHASE") || is(record.name, u"DEBIT PIN PURCHASE") ||
            is(record.name, u"Not available")) {
            useMemoAsName(record);
        }
        return;
    case Rule::NameFromMemoForPos:
        if (record.name && containsPosWithdrawal(*record.name)) {
            useMemoAsName(record);
        }
        return;
    case Rule::NameFromCardPurchase:
        if (record.memo && model::TextHelper::isPresent_vt(*record.memo)) {
            record.name = merchantOfCardPurchase(*record.memo);
        }
        return;
    }
}

} // namespace vantrel::import
