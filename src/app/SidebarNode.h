#pragma once

#include "platform/objectstore/ObjectID.h"

#include <QString>

#include <optional>
#include <vector>

namespace vantrel::app {

// One entry of the main window's sidebar. Accounts and budgets are referred to by identifier, so a
// refetch never leaves a stale entry behind.
struct SidebarNode {
    enum class Kind { Group, AllAccounts, Spacer, Account, Scheduled, Breakdown, Trends, Budget };

    Kind kind = Kind::Group;
    QString title;
    QString iconName;
    QString balance;
    std::optional<objectstore::ObjectID> object;
    // Items asking for attention: due scheduled items, over-budget categories. 0 shows no badge.
    int badge = 0;
    std::vector<SidebarNode> children;

    // What identifies an entry across rebuilds: its object, or its kind for the fixed entries.
    struct Key {
        Kind kind = Kind::AllAccounts;
        std::optional<objectstore::ObjectID> object;

        friend bool operator==(const Key&, const Key&) = default;
    };
    Key key() const { return {kind, object}; }

    bool isSelectable() const { return kind != Kind::Spacer && kind != Kind::Group; }
    // Accounts and budgets are renamed in place; the fixed entries keep their names.
    bool isRenamable() const { return kind == Kind::Account || kind == Kind::Budget; }
};

} // namespace vantrel::app
