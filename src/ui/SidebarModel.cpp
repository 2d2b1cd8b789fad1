#include "ui/SidebarModel.h"

#include "app/AccountSidebarModel.h"
#include "app/Workspace.h"
#include "model/Account.h"
#include "platform/objectstore/Context.h"
#include "ui/Icons.h"
#include "ui/RegisterView.h"

#include <QMimeData>

namespace vantrel::ui {

namespace {

// A child's internal id names its group (1-based); groups carry 0.
constexpr quintptr kGroupId = 0;

QString dragType(const char* type) {
    return QString::fromLatin1(type);
}

} // namespace

SidebarModel::SidebarModel(app::AccountSidebarModel& accounts, QObject* parent)
    : QAbstractItemModel(parent)
    , m_accounts(accounts) {}

namespace {

// Same entries in the same places: only names and balances may differ.
bool sameShape(const std::vector<app::SidebarNode>& a, const std::vector<app::SidebarNode>& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t group = 0; group < a.size(); ++group) {
        const auto& left = a[group].children;
        const auto& right = b[group].children;
        if (a[group].kind != b[group].kind || left.size() != right.size()) {
            return false;
        }
        for (std::size_t row = 0; row < left.size(); ++row) {
            if (left[row].kind != right[row].kind || left[row].object != right[row].object) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

void SidebarModel::reload() {
    std::vector<app::SidebarNode> groups = app::SidebarTree(m_accounts, m_sections, m_badges).build();
    // Balances change with every saved transaction; a reset would lose the view's selection and
    // scroll position for nothing.
    if (sameShape(m_groups, groups)) {
        m_groups = std::move(groups);
        for (int group = 0; group < rowCount(); ++group) {
            const QModelIndex parent = index(group, 0);
            emit dataChanged(parent, parent);
            if (const int rows = rowCount(parent); rows > 0) {
                emit dataChanged(index(0, 0, parent), index(rows - 1, 0, parent));
            }
        }
        return;
    }
    beginResetModel();
    m_groups = std::move(groups);
    endResetModel();
}

const app::SidebarNode* SidebarModel::node(const QModelIndex& index) const {
    if (!index.isValid()) {
        return nullptr;
    }
    if (index.internalId() == kGroupId) {
        return &m_groups.at(static_cast<std::size_t>(index.row()));
    }
    const app::SidebarNode& group = m_groups.at(index.internalId() - 1);
    return &group.children.at(static_cast<std::size_t>(index.row()));
}

QModelIndex SidebarModel::allAccountsIndex() const {
    return m_groups.empty() ? QModelIndex() : index(0, 0, index(0, 0));
}

QModelIndex SidebarModel::indexOf(const objectstore::ObjectID& object) const {
    for (std::size_t group = 0; group < m_groups.size(); ++group) {
        const auto& children = m_groups[group].children;
        for (std::size_t row = 0; row < children.size(); ++row) {
            if (children[row].object == object) {
                return index(static_cast<int>(row), 0, index(static_cast<int>(group), 0));
            }
        }
    }
    return {};
}

QModelIndex SidebarModel::indexOf(const app::SidebarNode::Key& key) const {
    if (key.object) {
        return indexOf(*key.object);
    }
    for (std::size_t group = 0; group < m_groups.size(); ++group) {
        const auto& children = m_groups[group].children;
        for (std::size_t row = 0; row < children.size(); ++row) {
            if (children[row].key() == key) {
                return index(static_cast<int>(row), 0, index(static_cast<int>(group), 0));
            }
        }
    }
    return {};
}

QModelIndex SidebarModel::index(int row, int column, const QModelIndex& parent) const {
    if (!hasIndex(row, column, parent)) {
        return {};
    }
    if (!parent.isValid()) {
        return createIndex(row, column, kGroupId);
    }
    return createIndex(row, column, static_cast<quintptr>(parent.row()) + 1);
}

QModelIndex SidebarModel::parent(const QModelIndex& child) const {
    if (!child.isValid() || child.internalId() == kGroupId) {
        return {};
    }
    return createIndex(static_cast<int>(child.internalId() - 1), 0, kGroupId);
}

int SidebarModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) {
        return static_cast<int>(m_groups.size());
    }
    if (parent.column() != 0 || parent.internalId() != kGroupId) {
        return 0;
    }
    return static_cast<int>(m_groups.at(static_cast<std::size_t>(parent.row())).children.size());
}

int SidebarModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant SidebarModel::data(const QModelIndex& index, int role) const {
    const app::SidebarNode* entry = node(index);
    if (entry == nullptr) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return entry->title;
    case Qt::ToolTipRole:
        return entry->balance.isEmpty() ? QVariant()
                                        : QVariant(entry->title + QStringLiteral(": ") + entry->balance);
    case Qt::DecorationRole:
        return entry->iconName.isEmpty() ? QVariant() : QVariant(namedIcon(entry->iconName));
    case BalanceRole:
        return entry->balance;
    case KindRole:
        return static_cast<int>(entry->kind);
    case BadgeRole:
        return entry->badge;
    default:
        return {};
    }
}

bool SidebarModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    const app::SidebarNode* entry = node(index);
    if (role != Qt::EditRole || entry == nullptr || entry->kind != app::SidebarNode::Kind::Account) {
        return false;
    }
    objectstore::ManagedObject* object = m_accounts.workspace().context().object(*entry->object);
    if (object == nullptr) {
        return false;
    }
    model::Account account(object);
    if (!m_accounts.rename(account, value.toString())) {
        return false;
    }
    // The balance and the position do not change; only the title does.
    const_cast<app::SidebarNode*>(entry)->title = account.name();
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole, Qt::ToolTipRole});
    emit accountRenamed();
    return true;
}

Qt::ItemFlags SidebarModel::flags(const QModelIndex& index) const {
    const app::SidebarNode* entry = node(index);
    if (entry == nullptr) {
        return Qt::NoItemFlags;
    }
    Qt::ItemFlags flags = Qt::ItemIsEnabled;
    if (entry->isSelectable()) {
        flags |= Qt::ItemIsSelectable;
    }
    if (entry->kind == app::SidebarNode::Kind::Account) {
        flags |= Qt::ItemIsEditable | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
    }
    if (entry->kind == app::SidebarNode::Kind::Group && index.row() == 0) {
        flags |= Qt::ItemIsDropEnabled;
    }
    return flags;
}

QStringList SidebarModel::mimeTypes() const {
    return {dragType(kAccountDragType), dragType(RegisterView::kDraggedTransactionsType)};
}

QMimeData* SidebarModel::mimeData(const QModelIndexList& indexes) const {
    for (const QModelIndex& index : indexes) {
        const app::SidebarNode* entry = node(index);
        if (entry != nullptr && entry->kind == app::SidebarNode::Kind::Account) {
            auto data = std::make_unique<QMimeData>();
            const auto& model = m_accounts.workspace().context().model();
            data->setData(dragType(kAccountDragType), entry->object->toText(model).toUtf8());
            return data.release(); // the view owns the drag's data
        }
    }
    return nullptr;
}

Qt::DropActions SidebarModel::supportedDropActions() const {
    return Qt::CopyAction | Qt::MoveAction;
}

Qt::DropActions SidebarModel::supportedDragActions() const {
    // The window moves the account itself; a move action would have the view remove the row.
    return Qt::CopyAction;
}

std::optional<objectstore::ObjectID> SidebarModel::draggedAccount(const QMimeData* data) const {
    if (data == nullptr || !data->hasFormat(dragType(kAccountDragType))) {
        return std::nullopt;
    }
    const QString text = QString::fromUtf8(data->data(dragType(kAccountDragType)));
    return objectstore::ObjectID::fromText(text, m_accounts.workspace().context().model());
}

std::optional<int> SidebarModel::reorderPosition(const QMimeData* data, int row,
                                                 const QModelIndex& parent) const {
    const std::optional<objectstore::ObjectID> dragged = draggedAccount(data);
    // Only between rows of "Transactions".
    if (!dragged || row < 0 || !parent.isValid() || parent.internalId() != kGroupId || parent.row() != 0) {
        return std::nullopt;
    }
    objectstore::ManagedObject* object = m_accounts.workspace().context().object(*dragged);
    if (object == nullptr) {
        return std::nullopt;
    }
    const int position = m_accounts.childPositionAmongAllAccounts(row);
    if (position < 0 || !m_accounts.acceptsDrop(model::Account(object), position)) {
        return std::nullopt;
    }
    return position;
}

const app::SidebarNode* SidebarModel::dropTargetAccount(int row, const QModelIndex& parent) const {
    const app::SidebarNode* target = row < 0 ? node(parent) : nullptr;
    return target != nullptr && target->kind == app::SidebarNode::Kind::Account ? target : nullptr;
}

bool SidebarModel::canDropMimeData(const QMimeData* data, Qt::DropAction, int row, int,
                                   const QModelIndex& parent) const {
    if (data != nullptr && data->hasFormat(dragType(RegisterView::kDraggedTransactionsType))) {
        return dropTargetAccount(row, parent) != nullptr;
    }
    return reorderPosition(data, row, parent).has_value();
}

bool SidebarModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                                const QModelIndex& parent) {
    if (!canDropMimeData(data, action, row, column, parent)) {
        return false;
    }
    if (data->hasFormat(dragType(RegisterView::kDraggedTransactionsType))) {
        const QString text = QString::fromUtf8(data->data(dragType(RegisterView::kDraggedTransactionsType)));
        emit transactionsDropped(text.split(QLatin1Char('\n'), Qt::SkipEmptyParts),
                                 *dropTargetAccount(row, parent)->object);
        return true;
    }
    emit accountDropped(*draggedAccount(data), *reorderPosition(data, row, parent));
    return true;
}

} // namespace vantrel::ui
