#include "model/StoreDump.h"

#include "platform/Log.h"

#include <algorithm>

namespace vantrel::model {

namespace {

const QString kNothing = QStringLiteral("(null)");

// Indexes of the named items in case-insensitive order of their names.
template <typename Description>
std::vector<int> inNameOrder(const std::vector<Description>& items) {
    std::vector<int> order;
    for (std::size_t i = 0; i < items.size(); ++i) {
        order.push_back(static_cast<int>(i));
    }
    std::stable_sort(order.begin(), order.end(), [&items](int a, int b) {
        return QString::compare(items[static_cast<std::size_t>(a)].name,
                                items[static_cast<std::size_t>(b)].name, Qt::CaseInsensitive) < 0;
    });
    return order;
}

} // namespace

QStringList StoreDump::logicalPrimaryKeyFor(QStringView entityName) {
    if (entityName == u"Account") {
        return {QStringLiteral("name"), QStringLiteral("cloudID")};
    }
    if (entityName == u"Budget") {
        return {QStringLiteral("name")};
    }
    if (entityName == u"Category") {
        return {QStringLiteral("name"), QStringLiteral("cloudID")};
    }
    if (entityName == u"CategoryGroup") {
        return {QStringLiteral("name")};
    }
    if (entityName == u"CategoryLimit") {
        return {QStringLiteral("budget.name"), QStringLiteral("category.name"), QStringLiteral("cloudID")};
    }
    if (entityName == u"Currency") {
        return {QStringLiteral("code")};
    }
    if (entityName == u"ScheduledItem") {
        return {QStringLiteral("title"), QStringLiteral("nextDueDate")};
    }
    if (entityName == u"Transaction") {
        return {QStringLiteral("sortKey")};
    }
    if (entityName == u"SplitSet") {
        return {QStringLiteral("transaction.sortKey")};
    }
    if (entityName == u"Split") {
        return {QStringLiteral("splitSet.transaction.sortKey"), QStringLiteral("category.cloudID"),
                QStringLiteral("amount"), QStringLiteral("cloudID")};
    }
    if (entityName == u"TransferSetting") {
        return {QStringLiteral("account.name"), QStringLiteral("toAccount.name"), QStringLiteral("cloudID")};
    }
    return {};
}

QString StoreDump::labelFor(const objectstore::ManagedObject* object) {
    if (object == nullptr) {
        return kNothing;
    }
    const QString& entity = object->entity().name();
    QString label = entity + u'/';
    for (const QString& keyPath : logicalPrimaryKeyFor(entity)) {
        label += objectstore::describe(object->valueAtPath(keyPath)) + u'/';
    }
    return label;
}

void StoreDump::dump(objectstore::Context& context, QStringView entityName, QString& output) {
    platform::Log::write(QStringLiteral("Dumping: %1").arg(entityName));
    const objectstore::EntityDescription& entity = context.model().entity(entityName);
    std::vector<objectstore::SortDescriptor> sort;
    for (const QString& keyPath : logicalPrimaryKeyFor(entityName)) {
        sort.push_back(objectstore::SortDescriptor::byKey(keyPath));
    }
    const auto objects = context.fetch(entityName, {}, sort);
    platform::Log::write(QStringLiteral("  found %1 objects").arg(objects.size()));

    const std::vector<int> attributes = inNameOrder(entity.attributes());
    std::vector<int> toOnes;
    for (const int r : inNameOrder(entity.relationships())) {
        if (entity.relationships()[static_cast<std::size_t>(r)].cardinality ==
            objectstore::Cardinality::ToOne) {
            toOnes.push_back(r);
        }
    }
    const auto line = [&output](const QString& name, const QString& text) {
        output += u'\t' + name + QStringLiteral(": ") + text + u'\n';
    };
    for (const objectstore::ManagedObject* object : objects) {
        output += labelFor(object) + u'\n';
        for (const int a : attributes) {
            line(entity.attributes()[static_cast<std::size_t>(a)].name,
                 objectstore::describe(object->value(a)));
        }
        for (const int r : toOnes) {
            line(entity.relationships()[static_cast<std::size_t>(r)].name, labelFor(object->toOne(r)));
        }
    }
}

} // namespace vantrel::model
