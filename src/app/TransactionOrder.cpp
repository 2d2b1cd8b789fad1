#include "app/TransactionOrder.h"

#include "model/EntityObject.h"

#include <algorithm>

namespace vantrel::app {

namespace {

// Absent values order before present ones, as in the store's natural order of values.
struct Keyed {
    bool hasDate = false;
    qint64 date = 0;
    bool hasSortKey = false;
    QString sortKey;
    objectstore::ManagedObject* object = nullptr;
};

Keyed keyed(objectstore::ManagedObject* object) {
    static const int date = model::EntityObject::attributeIndex(u"Transaction", u"date");
    static const int sortKey = model::EntityObject::attributeIndex(u"Transaction", u"sortKey");
    Keyed result;
    result.object = object;
    const objectstore::Value dateValue = object->value(date);
    if (const auto* instant = std::get_if<QDateTime>(&dateValue)) {
        result.hasDate = true;
        result.date = instant->toMSecsSinceEpoch();
    }
    objectstore::Value sortKeyValue = object->value(sortKey);
    if (auto* text = std::get_if<QString>(&sortKeyValue)) {
        result.hasSortKey = true;
        result.sortKey = std::move(*text);
    }
    return result;
}

// Newest first.
bool precedes(const Keyed& a, const Keyed& b) {
    if (a.hasDate != b.hasDate) {
        return a.hasDate;
    }
    if (a.date != b.date) {
        return a.date > b.date;
    }
    if (a.hasSortKey != b.hasSortKey) {
        return a.hasSortKey;
    }
    return a.sortKey.compare(b.sortKey) > 0;
}

} // namespace

void TransactionOrder::sort(std::vector<objectstore::ManagedObject*>& transactions) {
    std::vector<Keyed> keys;
    keys.reserve(transactions.size());
    std::transform(transactions.begin(), transactions.end(), std::back_inserter(keys), &keyed);
    if (std::is_sorted(keys.begin(), keys.end(), &precedes)) {
        return;
    }
    std::stable_sort(keys.begin(), keys.end(), &precedes);
    std::transform(keys.begin(), keys.end(), transactions.begin(), [](const Keyed& k) { return k.object; });
}

} // namespace vantrel::app
