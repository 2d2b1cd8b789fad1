#pragma once

#include "platform/objectstore/Context.h"

#include <QString>

#include <map>
#include <unordered_map>
#include <vector>

namespace vantrel::import {

// The most used category per transaction title, over every transaction of the context, read once
// so that naming thousands of new bank transactions does not scan the store for each. Answers as
// model::Transaction::mostUsedCategoryForName does (titles compared ignoring case, trailing white
// space allowed; a tie goes to the category with the lowest key), and is told about every
// transaction that is created or retitled while it is in use.
class CategoryUsageIndex {
public:
    explicit CategoryUsageIndex(objectstore::Context& context);

    // nullptr when no transaction so titled has a category.
    objectstore::ManagedObject* mostUsedCategoryForName(const QString& name) const;

    // A transaction that now carries `title` (and the categories it has now).
    void add(objectstore::ManagedObject* transaction, const QString& title);
    // A transaction that no longer carries `title`.
    void remove(objectstore::ManagedObject* transaction, const QString& title);

private:
    // The transactions whose title is one text once trailing white space is dropped and case
    // folded, and how often each category occurs among their category lines.
    struct TitleGroup {
        std::vector<objectstore::ManagedObject*> transactions;
        std::map<objectstore::ManagedObject*, int> categoryCounts;
    };

    static QString keyFor(QStringView title);
    static void count(TitleGroup& group, objectstore::ManagedObject* transaction, int step);

    std::unordered_map<QString, TitleGroup> m_groups;
};

} // namespace vantrel::import
