#pragma once

#include <QString>

namespace vantrel::objectstore {
class ManagedObject;
}

namespace vantrel::app {

// One account as the sidebar shows it.
struct AccountSidebarRow {
    objectstore::ManagedObject* account = nullptr;
    QString iconName;
    QString name;
    QString balance;
};

} // namespace vantrel::app
