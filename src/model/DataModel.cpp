#include "model/DataModel.h"

namespace vantrel::model {

namespace {

using objectstore::AttributeDescription;
using objectstore::AttributeType;
using objectstore::Cardinality;
using objectstore::DeleteRule;
using objectstore::EntityDescription;
using objectstore::Optionality;
using objectstore::RelationshipDescription;

AttributeDescription attribute(const char* name, AttributeType type) {
    return AttributeDescription{QString::fromLatin1(name), type, Optionality::Optional, false};
}

AttributeDescription indexed(const char* name, AttributeType type) {
    return AttributeDescription{QString::fromLatin1(name), type, Optionality::Optional, true};
}

AttributeDescription cloudID() {
    return indexed("cloudID", AttributeType::String);
}

RelationshipDescription toOne(const char* name, const char* destination, const char* inverse,
                              Optionality optionality = Optionality::Optional) {
    return RelationshipDescription{QString::fromLatin1(name), QString::fromLatin1(destination),
                                   Cardinality::ToOne,        QString::fromLatin1(inverse),
                                   DeleteRule::Nullify,       optionality};
}

RelationshipDescription toOneOwning(const char* name, const char* destination, const char* inverse) {
    return RelationshipDescription{QString::fromLatin1(name), QString::fromLatin1(destination),
                                   Cardinality::ToOne,        QString::fromLatin1(inverse),
                                   DeleteRule::Cascade,       Optionality::Optional};
}

RelationshipDescription toMany(const char* name, const char* destination, const char* inverse,
                               DeleteRule rule) {
    return RelationshipDescription{QString::fromLatin1(name),
                                   QString::fromLatin1(destination),
                                   Cardinality::ToMany,
                                   QString::fromLatin1(inverse),
                                   rule,
                                   Optionality::Optional};
}

constexpr auto S = AttributeType::String;
constexpr auto Dec = AttributeType::Decimal;
constexpr auto Date = AttributeType::Date;
constexpr auto Int = AttributeType::Integer;
constexpr auto Bool = AttributeType::Boolean;
constexpr auto Arch = AttributeType::Archived;
constexpr auto Mandatory = Optionality::Mandatory;

// Relationships the object model never navigates (an account's last transfer setting, the
// transactions logged from a scheduled item, ...) still get an inverse, so that deleting either end
// leaves no dangling link. Owning relationships cascade: a split never outlives its split set, a
// split set never outlives its transaction, an account takes its transactions and scheduled items
// with it. A deleted group's categories stay, without group.
EntityDescription account() {
    return EntityDescription(
        "Account",
        {cloudID(), attribute("name", S), attribute("type", S), attribute("startBalance", Dec),
         attribute("startBalanceDate", Date), attribute("isClosed", Bool), attribute("index", Int),
         attribute("sortKey", S), attribute("currencyCode", S), attribute("plaidAccountID", S),
         attribute("specialBank", Int), attribute("qifDateOrder", S), attribute("csvImportSettings", Arch)},
        {toMany("transactions", "Transaction", "account", DeleteRule::Cascade),
         toMany("scheduledItems", "ScheduledItem", "account", DeleteRule::Cascade),
         toMany("toScheduledItems", "ScheduledItem", "toAccount", DeleteRule::Cascade),
         toMany("transferSettings", "TransferSetting", "account", DeleteRule::Cascade),
         toMany("incomingTransferSettings", "TransferSetting", "toAccount", DeleteRule::Cascade),
         toOne("lastTransferSetting", "TransferSetting", "accountsUsingAsLast")});
}

EntityDescription transaction() {
    return EntityDescription(
        "Transaction",
        {cloudID(), indexed("date", Date), attribute("title", S), attribute("notes", S),
         attribute("amount", Dec), attribute("checkNumber", Int), attribute("sortKey", S),
         attribute("isFlagged", Bool), attribute("isImported", Bool), attribute("ofxTitle", S),
         attribute("ofxAmount", Dec), attribute("ofxDate", Date), attribute("ofxCheckNumber", Int),
         indexed("ofxFitID", S), attribute("type", S)},
        {toOne("account", "Account", "transactions", Mandatory),
         toOne("category", "Category", "transactions"), toOneOwning("splitSet", "SplitSet", "transaction"),
         toOne("scheduledItem", "ScheduledItem", "loggedTransactions")});
}

EntityDescription splitSet() {
    return EntityDescription("SplitSet", {cloudID()},
                             {toOne("transaction", "Transaction", "splitSet", Mandatory),
                              toMany("splits", "Split", "splitSet", DeleteRule::Cascade)});
}

EntityDescription split() {
    return EntityDescription(
        "Split", {cloudID(), attribute("amount", Dec)},
        {toOne("splitSet", "SplitSet", "splits", Mandatory), toOne("category", "Category", "splits")});
}

EntityDescription category() {
    return EntityDescription(
        "Category", {cloudID(), attribute("name", S), attribute("emoji", S), attribute("isDefault", Bool)},
        {toOne("group", "CategoryGroup", "categories"),
         toMany("transactions", "Transaction", "category", DeleteRule::Nullify),
         toMany("splits", "Split", "category", DeleteRule::Nullify),
         toMany("categoryLimits", "CategoryLimit", "category", DeleteRule::Cascade),
         toMany("scheduledItems", "ScheduledItem", "category", DeleteRule::Nullify),
         toMany("transferSettings", "TransferSetting", "category", DeleteRule::Nullify)});
}

EntityDescription categoryGroup() {
    return EntityDescription("CategoryGroup", {cloudID(), attribute("name", S)},
                             {toMany("categories", "Category", "group", DeleteRule::Nullify)});
}

EntityDescription budget() {
    return EntityDescription("Budget",
                             {cloudID(), attribute("name", S), attribute("startDate", Date),
                              attribute("months", Int), attribute("showIdealPace", Bool),
                              attribute("didShowEndNotice", Bool)},
                             {toMany("categoryLimits", "CategoryLimit", "budget", DeleteRule::Cascade)});
}

EntityDescription categoryLimit() {
    return EntityDescription(
        "CategoryLimit",
        {cloudID(), attribute("amount", Dec), attribute("notes", S), attribute("showMonthlyAmount", Bool)},
        {toOne("budget", "Budget", "categoryLimits", Mandatory),
         toOne("category", "Category", "categoryLimits", Mandatory)});
}

EntityDescription currency() {
    return EntityDescription("Currency", {indexed("code", S), attribute("name", S), attribute("rate", Dec)},
                             {});
}

EntityDescription global() {
    return EntityDescription(
        "Global",
        {attribute("homeCurrencyCode", S), attribute("databaseID", S), attribute("currencies", Arch)}, {});
}

EntityDescription scheduledItem() {
    return EntityDescription(
        "ScheduledItem",
        {cloudID(), attribute("title", S), attribute("amount", Dec), attribute("nextDueDate", Date),
         attribute("repeatType", S), attribute("repeatInterval", Int), attribute("repeatRules", Arch),
         attribute("endsAfter", Int), attribute("notes", S), attribute("paymentURL", S),
         attribute("paymentInstructions", S), attribute("reminderDays", Int), attribute("hasReminded", Bool)},
        {toOne("account", "Account", "scheduledItems", Mandatory),
         toOne("toAccount", "Account", "toScheduledItems"), toOne("category", "Category", "scheduledItems"),
         toMany("loggedTransactions", "Transaction", "scheduledItem", DeleteRule::Nullify)});
}

EntityDescription transferSetting() {
    return EntityDescription(
        "TransferSetting", {cloudID(), attribute("amount", Dec), attribute("title", S)},
        {toOne("account", "Account", "transferSettings", Mandatory),
         toOne("toAccount", "Account", "incomingTransferSettings", Mandatory),
         toOne("category", "Category", "transferSettings"),
         toMany("accountsUsingAsLast", "Account", "lastTransferSetting", DeleteRule::Nullify)});
}

EntityDescription payeeRenameRule() {
    return EntityDescription("PayeeRenameRule", {cloudID(), attribute("from", S), attribute("to", S)}, {});
}

} // namespace

const objectstore::ModelDescription& DataModel::description() {
    static const objectstore::ModelDescription model(
        kVersion,
        {account(), transaction(), splitSet(), split(), category(), categoryGroup(), budget(),
         categoryLimit(), currency(), global(), scheduledItem(), transferSetting(), payeeRenameRule()});
    return model;
}

} // namespace vantrel::model
