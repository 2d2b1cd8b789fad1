#include "ui/ScheduledTableModel.h"

#include "app/ScheduledListModel.h"

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QPainter>
#include <QPalette>
#include <QPixmap>

namespace vantrel::ui {

namespace {

QColor colourOf(app::ScheduledListModel::AmountColour colour) {
    switch (colour) {
    case app::ScheduledListModel::AmountColour::Positive:
        return QColor(0x1e, 0x8e, 0x3e);
    case app::ScheduledListModel::AmountColour::Negative:
        return QColor(0xc5, 0x22, 0x1f);
    case app::ScheduledListModel::AmountColour::Zero:
        break;
    }
    return QColor(Qt::gray);
}

// A red dot in front of items that ask for attention; the others get an empty one of the same size,
// so the titles line up.
QIcon dotIcon(bool red) {
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    if (red) {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0xe0, 0x3a, 0x2f));
        painter.drawEllipse(QRectF(5, 5, 14, 14));
    }
    return QIcon(pixmap);
}

} // namespace

ScheduledTableModel::ScheduledTableModel(app::ScheduledListModel& list, QObject* parent)
    : QAbstractTableModel(parent)
    , m_list(list)
    , m_dueIcon(dotIcon(true))
    , m_noIcon(dotIcon(false)) {}

void ScheduledTableModel::reload() {
    beginResetModel();
    m_list.reload();
    endResetModel();
}

int ScheduledTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_list.rows().size());
}

int ScheduledTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ScheduledTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    const auto& row = m_list.rows()[static_cast<std::size_t>(index.row())];
    if (role == kGroupRole) {
        return row.isGroup;
    }
    return row.isGroup ? groupData(index.row(), index.column(), role)
                       : itemData(index.row(), index.column(), role);
}

QVariant ScheduledTableModel::groupData(int row, int column, int role) const {
    const auto& group = m_list.rows()[static_cast<std::size_t>(row)];
    switch (role) {
    case Qt::DisplayRole:
        return column == Title ? group.title : QVariant();
    case Qt::FontRole: {
        QFont font;
        font.setBold(true);
        return font;
    }
    case Qt::ForegroundRole:
        return group.state == model::ScheduledItem::State::Due ? QColor(0xc5, 0x22, 0x1f) : QVariant();
    case Qt::BackgroundRole:
        return QPalette().color(QPalette::AlternateBase);
    default:
        return {};
    }
}

QVariant ScheduledTableModel::itemData(int row, int column, int role) const {
    const auto& item = m_list.rows()[static_cast<std::size_t>(row)];
    if (role == Qt::DisplayRole) {
        switch (column) {
        case Title:
            return item.title;
        case Account:
            return item.accountText;
        case Due:
            return item.dueText;
        case Schedule:
            return item.isRecurring ? QStringLiteral("\u21bb ") + item.scheduleText : QString();
        case Amount:
            return item.amountText;
        case Action:
            return item.actionTitle;
        default:
            return {};
        }
    }
    if (role == Qt::DecorationRole && column == Title) {
        return item.isRed ? m_dueIcon : m_noIcon;
    }
    if (role == Qt::ForegroundRole) {
        if (column == Amount) {
            return colourOf(item.amountColour);
        }
        if (column == Due && item.isRed) {
            return colourOf(app::ScheduledListModel::AmountColour::Negative);
        }
        return {};
    }
    if (role == Qt::TextAlignmentRole && column == Amount) {
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    }
    if (role == Qt::ToolTipRole && column == Title && item.isRed) {
        return tr("Needs your attention");
    }
    return {};
}

QVariant ScheduledTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    switch (section) {
    case Title:
        return tr("Title");
    case Account:
        return tr("Account");
    case Due:
        return tr("Due");
    case Schedule:
        return tr("Repeats");
    case Amount:
        return tr("Amount");
    case Action:
        return QString();
    default:
        return {};
    }
}

Qt::ItemFlags ScheduledTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    if (m_list.rows()[static_cast<std::size_t>(index.row())].isGroup) {
        return Qt::ItemIsEnabled;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

} // namespace vantrel::ui
