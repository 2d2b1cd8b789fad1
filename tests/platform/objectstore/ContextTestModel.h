#pragma once

#include "platform/objectstore/Context.h"
#include "platform/objectstore/MemoryStore.h"

#include <QStringList>

#include <algorithm>
#include <memory>

// A small model with every kind of relationship the context handles: a cascading to-many
// (Account.transactions), a mandatory to-one (Split.splitSet), a one-to-one (Transaction.splitSet /
// SplitSet.transaction), Deny (Category.transactions), Nullify (CategoryGroup.categories) and a
// to-one without inverse (Transaction.template).
namespace vantrel::objectstore::testing {

inline ModelDescription contextTestModel() {
    using A = AttributeDescription;
    using R = RelationshipDescription;
    const auto optional = Optionality::Optional;
    const auto mandatory = Optionality::Mandatory;
    const auto one = Cardinality::ToOne;
    const auto many = Cardinality::ToMany;
    std::vector<EntityDescription> entities;
    entities.emplace_back(
        "Account",
        std::vector<A>{{"name", AttributeType::String, mandatory, false},
                       {"cloudID", AttributeType::String, optional, true},
                       {"startBalance", AttributeType::Decimal, optional, false}},
        std::vector<R>{{"transactions", "Transaction", many, "account", DeleteRule::Cascade, optional}});
    entities.emplace_back(
        "Transaction",
        std::vector<A>{{"date", AttributeType::Date, optional, true},
                       {"title", AttributeType::String, optional, false},
                       {"amount", AttributeType::Decimal, optional, false},
                       {"sortKey", AttributeType::String, optional, false},
                       {"fitID", AttributeType::String, optional, true},
                       {"checkNumber", AttributeType::Integer, optional, false},
                       {"isFlagged", AttributeType::Boolean, optional, false}},
        std::vector<R>{{"account", "Account", one, "transactions", DeleteRule::Nullify, mandatory},
                       {"category", "Category", one, "transactions", DeleteRule::Nullify, optional},
                       {"splitSet", "SplitSet", one, "transaction", DeleteRule::Cascade, optional},
                       {"template", "Category", one, "", DeleteRule::Nullify, optional}});
    entities.emplace_back(
        "SplitSet", std::vector<A>{{"cloudID", AttributeType::String, optional, false}},
        std::vector<R>{{"transaction", "Transaction", one, "splitSet", DeleteRule::Nullify, optional},
                       {"splits", "Split", many, "splitSet", DeleteRule::Cascade, optional}});
    entities.emplace_back(
        "Split", std::vector<A>{{"amount", AttributeType::Decimal, mandatory, false}},
        std::vector<R>{{"splitSet", "SplitSet", one, "splits", DeleteRule::Nullify, mandatory}});
    entities.emplace_back(
        "Category", std::vector<A>{{"name", AttributeType::String, mandatory, false}},
        std::vector<R>{{"transactions", "Transaction", many, "category", DeleteRule::Deny, optional},
                       {"group", "CategoryGroup", one, "categories", DeleteRule::Nullify, optional}});
    entities.emplace_back(
        "CategoryGroup", std::vector<A>{{"name", AttributeType::String, optional, false}},
        std::vector<R>{{"categories", "Category", many, "group", DeleteRule::Nullify, optional}});
    return ModelDescription(1, std::move(entities));
}

inline std::shared_ptr<MemoryStore> makeStore() {
    return std::make_shared<MemoryStore>(contextTestModel());
}

inline platform::Amount amount(const char* text) {
    return *platform::Amount::fromAscii(text);
}

inline QDateTime day(int year, int month, int dayOfMonth) {
    return QDateTime(QDate(year, month, dayOfMonth), QTime(0, 0), Qt::UTC);
}

// Every live object with its values, to-ones, sorted to-many members and change state: two equal
// snapshots mean two graphs that are the same in every respect a user can observe.
inline QStringList snapshot(const Context& context) {
    QStringList lines;
    const auto& model = context.model();
    for (const auto& entity : model.entities()) {
        for (const ManagedObject* object : context.all(entity.name())) {
            QString line = object->id().toText(model);
            line += object->isInserted() ? " inserted" : object->isUpdated() ? " updated" : "";
            for (const auto& attribute : entity.attributes()) {
                line += QStringLiteral(" %1=%2").arg(attribute.name, describe(object->value(attribute.name)));
            }
            for (const auto& relationship : entity.relationships()) {
                QStringList targets;
                if (relationship.cardinality == Cardinality::ToOne) {
                    const ManagedObject* target = object->toOne(relationship.name);
                    targets << (target ? target->id().toText(model) : QStringLiteral("-"));
                } else {
                    for (const ManagedObject* member : object->toMany(relationship.name)) {
                        targets << member->id().toText(model);
                    }
                    targets.sort();
                }
                line += QStringLiteral(" %1=[%2]").arg(relationship.name, targets.join(','));
            }
            lines << line;
        }
    }
    lines.sort();
    return lines;
}

inline QStringList titles(const std::vector<ManagedObject*>& objects) {
    QStringList result;
    for (const ManagedObject* object : objects) {
        result << describe(object->value(u"title"));
    }
    return result;
}

} // namespace vantrel::objectstore::testing
