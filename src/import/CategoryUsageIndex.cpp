#include "import/CategoryUsageIndex.h"

#include "model/Transaction.h"

#include <algorithm>

namespace vantrel::import {

namespace {

qsizetype lengthWithoutTrailingSpace(QStringView text) {
    qsizetype length = text.size();
    while (length > 0 && text.at(length - 1).isSpace()) {
        --length;
    }
    return length;
}

// The same test as the model's title lookup: the title begins with the name, ignoring case, and
// only white space follows.
bool titleMatchesName(QStringView title, QStringView name) {
    if (title.size() < name.size() || title.first(name.size()).compare(name, Qt::CaseInsensitive) != 0) {
        return false;
    }
    const QStringView rest = title.sliced(name.size());
    return std::all_of(rest.begin(), rest.end(), [](QChar c) { return c.isSpace(); });
}

objectstore::ManagedObject* mostCounted(const std::map<objectstore::ManagedObject*, int>& counts) {
    objectstore::ManagedObject* best = nullptr;
    int bestCount = 0;
    for (const auto& [category, times] : counts) {
        if (times > bestCount ||
            (times == bestCount && best != nullptr && category->id().key < best->id().key)) {
            best = category;
            bestCount = times;
        }
    }
    return best;
}

} // namespace

CategoryUsageIndex::CategoryUsageIndex(objectstore::Context& context) {
    for (objectstore::ManagedObject* transaction : context.all(u"Transaction")) {
        add(transaction, model::Transaction(transaction).title());
    }
}

QString CategoryUsageIndex::keyFor(QStringView title) {
    return title.first(lengthWithoutTrailingSpace(title)).toString().toCaseFolded();
}

void CategoryUsageIndex::count(TitleGroup& group, objectstore::ManagedObject* transaction, int step) {
    for (const model::PlainSplit& line : model::Transaction(transaction).splits()) {
        if (line.category == nullptr) {
            continue;
        }
        const auto found = group.categoryCounts.find(line.category);
        if (found == group.categoryCounts.end()) {
            group.categoryCounts.emplace(line.category, step);
        } else if ((found->second += step) <= 0) {
            group.categoryCounts.erase(found);
        }
    }
}

void CategoryUsageIndex::add(objectstore::ManagedObject* transaction, const QString& title) {
    if (title.isNull()) {
        return;
    }
    TitleGroup& group = m_groups[keyFor(title)];
    group.transactions.push_back(transaction);
    count(group, transaction, 1);
}

void CategoryUsageIndex::remove(objectstore::ManagedObject* transaction, const QString& title) {
    if (title.isNull()) {
        return;
    }
    const auto found = m_groups.find(keyFor(title));
    if (found == m_groups.end()) {
        return;
    }
    TitleGroup& group = found->second;
    const auto at = std::find(group.transactions.begin(), group.transactions.end(), transaction);
    if (at == group.transactions.end()) {
        return;
    }
    group.transactions.erase(at);
    count(group, transaction, -1);
}

objectstore::ManagedObject* CategoryUsageIndex::mostUsedCategoryForName(const QString& name) const {
    const auto found = m_groups.find(keyFor(name));
    if (found == m_groups.end()) {
        return nullptr;
    }
    const TitleGroup& group = found->second;
    if (lengthWithoutTrailingSpace(name) == name.size()) {
        return mostCounted(group.categoryCounts);
    }
    // A name that ends in white space asks for exactly that white space after the text: rare
    // enough to count on the spot among the titles of its group.
    std::map<objectstore::ManagedObject*, int> counts;
    for (objectstore::ManagedObject* transaction : group.transactions) {
        if (!titleMatchesName(model::Transaction(transaction).title(), name)) {
            continue;
        }
        for (const model::PlainSplit& line : model::Transaction(transaction).splits()) {
            if (line.category != nullptr) {
                ++counts[line.category];
            }
        }
    }
    return mostCounted(counts);
}

} // namespace vantrel::import
