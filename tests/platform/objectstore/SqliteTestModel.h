#pragma once

#include "platform/objectstore/ChangeSet.h"
#include "platform/objectstore/ModelDescription.h"

#include <stdexcept>

// The object model of the SQLite store's tests and of the crash writer: every attribute type,
// entity and property names that are SQL keywords, a to-one with a to-many inverse
// (Transaction.account / Account.transactions) and a to-one without one (Transaction.category).
namespace vantrel::objectstore::sqlitetest {

enum Entity { kAccount, kTransaction, kCategory };
enum AccountAttribute {
    kAccountName,
    kAccountLimit,
    kAccountOpened,
    kAccountPosition,
    kAccountClosed,
    kAccountSettings
};
enum AccountRelationship { kAccountTransactions };
enum TransactionAttribute {
    kTransactionAmount,
    kTransactionDate,
    kTransactionMemo,
    kTransactionOrder,
    kTransactionCleared
};
enum TransactionRelationship { kTransactionAccount, kTransactionCategory };
enum CategoryAttribute { kCategoryGroup };

inline ModelDescription testModel(int version = 3) {
    using A = AttributeDescription;
    using R = RelationshipDescription;
    EntityDescription account(QStringLiteral("Account"),
                              {A{QStringLiteral("name"), AttributeType::String, Optionality::Mandatory, true},
                               A{QStringLiteral("limit"), AttributeType::Decimal},
                               A{QStringLiteral("opened"), AttributeType::Date},
                               A{QStringLiteral("position"), AttributeType::Integer},
                               A{QStringLiteral("closed"), AttributeType::Boolean},
                               A{QStringLiteral("settings"), AttributeType::Archived}},
                              {R{QStringLiteral("transactions"), QStringLiteral("Transaction"),
                                 Cardinality::ToMany, QStringLiteral("account"), DeleteRule::Cascade}});
    EntityDescription transaction(
        QStringLiteral("Transaction"),
        {A{QStringLiteral("amount"), AttributeType::Decimal, Optionality::Mandatory},
         A{QStringLiteral("date"), AttributeType::Date, Optionality::Optional, true},
         A{QStringLiteral("memo"), AttributeType::String}, A{QStringLiteral("order"), AttributeType::Integer},
         A{QStringLiteral("cleared"), AttributeType::Boolean}},
        {R{QStringLiteral("account"), QStringLiteral("Account"), Cardinality::ToOne,
           QStringLiteral("transactions")},
         R{QStringLiteral("category"), QStringLiteral("Category"), Cardinality::ToOne, QString()}});
    EntityDescription category(QStringLiteral("Category"),
                               {A{QStringLiteral("group"), AttributeType::String}}, {});
    return ModelDescription(version, {std::move(account), std::move(transaction), std::move(category)});
}

// A decimal from plain text; a typo in a test throws.
inline Value decimal(const char* text) {
    const auto amount = platform::Amount::fromAscii(text);
    if (!amount) {
        throw std::invalid_argument(text);
    }
    return *amount;
}

inline ObjectState accountState(std::int64_t key, Value name, Value limit = {}, Value opened = {},
                                Value position = {}, Value closed = {}, Value settings = {}) {
    ObjectState state;
    state.id = ObjectID{kAccount, key};
    state.attributes = {std::move(name),     std::move(limit),  std::move(opened),
                        std::move(position), std::move(closed), std::move(settings)};
    state.toOne.resize(1);
    return state;
}

inline ObjectState transactionState(std::int64_t key, Value amount, std::optional<std::int64_t> account,
                                    std::optional<std::int64_t> category = {}, Value date = {},
                                    Value memo = {}, Value order = {}, Value cleared = {}) {
    ObjectState state;
    state.id = ObjectID{kTransaction, key};
    state.attributes = {std::move(amount), std::move(date), std::move(memo), std::move(order),
                        std::move(cleared)};
    state.toOne.resize(2);
    if (account) {
        state.toOne[kTransactionAccount] = ObjectID{kAccount, *account};
    }
    if (category) {
        state.toOne[kTransactionCategory] = ObjectID{kCategory, *category};
    }
    return state;
}

inline ObjectState categoryState(std::int64_t key, Value group) {
    ObjectState state;
    state.id = ObjectID{kCategory, key};
    state.attributes = {std::move(group)};
    return state;
}

} // namespace vantrel::objectstore::sqlitetest
