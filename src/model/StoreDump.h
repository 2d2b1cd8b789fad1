#pragma once

#include "platform/objectstore/Context.h"

#include <QString>
#include <QStringList>

namespace vantrel::model {

// A diagnostic text of the stored objects. Objects are named by their logical keys, values that
// identify them independently of the store, so dumps of two databases can be compared.
class StoreDump {
public:
    StoreDump() = delete;

    // The key paths that identify an object of the entity; empty for an entity without any.
    static QStringList logicalPrimaryKeyFor(QStringView entityName);
    // "Entity/" followed by each key value and "/"; nothing prints as "(null)".
    static QString labelFor(const objectstore::ManagedObject* object);
    // Appends every object of the entity, in the order of its logical keys: its label, then a
    // tab-indented line per attribute and per to-one, each group in case-insensitive name order.
    static void dump(objectstore::Context& context, QStringView entityName, QString& output);
};

} // namespace vantrel::model
