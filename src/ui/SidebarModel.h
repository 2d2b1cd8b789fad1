#pragma once

#include "app/SidebarNode.h"
#include "app/SidebarTree.h"

#include <QAbstractItemModel>

#include <vector>

namespace vantrel::app {
class AccountSidebarModel;
}

namespace vantrel::ui {

// The sidebar tree as an item model: groups at the top level, their entries below. Accounts are
// renamed in place, reordered by dragging between the two spacers, and accept transactions dropped
// on them; the work itself is done by the window once the drop has finished (see the signals).
class SidebarModel : public QAbstractItemModel {
    Q_OBJECT

public:
    enum Role { BalanceRole = Qt::UserRole + 1, KindRole, BadgeRole };
    static constexpr auto kAccountDragType = "myNodesPBoardType";

    explicit SidebarModel(app::AccountSidebarModel& accounts, QObject* parent = nullptr);

    void setSections(app::SidebarTree::Sections sections) { m_sections = sections; }
    // Takes effect with the next reload.
    void setBadges(app::SidebarBadges badges) { m_badges = std::move(badges); }
    // Builds the tree again from the data (names, balances, accounts added or removed).
    void reload();

    const app::SidebarNode* node(const QModelIndex& index) const;
    QModelIndex allAccountsIndex() const;
    QModelIndex indexOf(const objectstore::ObjectID& object) const;
    QModelIndex indexOf(const app::SidebarNode::Key& key) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDropActions() const override;
    Qt::DropActions supportedDragActions() const override;
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                         const QModelIndex& parent) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;

signals:
    // An account row was dropped at child `childPosition` of "Transactions" (counted among all
    // accounts, hidden ones included).
    void accountDropped(const objectstore::ObjectID& account, int childPosition);
    // Transactions (identifier texts) were dropped on an account.
    void transactionsDropped(const QStringList& transactions, const objectstore::ObjectID& account);
    void accountRenamed();

private:
    std::optional<int> reorderPosition(const QMimeData* data, int row, const QModelIndex& parent) const;
    std::optional<objectstore::ObjectID> draggedAccount(const QMimeData* data) const;
    const app::SidebarNode* dropTargetAccount(int row, const QModelIndex& parent) const;

    app::AccountSidebarModel& m_accounts;
    app::SidebarTree::Sections m_sections;
    app::SidebarBadges m_badges;
    std::vector<app::SidebarNode> m_groups;
};

} // namespace vantrel::ui
