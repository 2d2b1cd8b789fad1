#include "ui/BudgetTableModel.h"

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace vantrel::ui {

namespace {

using Type = planning::BudgetRow::Type;
constexpr int kIndent = 14;

// A disclosure triangle, pointing down when open; or a blank of the same width that indents the
// members of a group under their group's name.
QIcon disclosureIcon(bool expanded, bool blank) {
    QPixmap pixmap(kIndent, kIndent);
    pixmap.fill(Qt::transparent);
    if (!blank) {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath triangle;
        if (expanded) {
            triangle.moveTo(3, 5);
            triangle.lineTo(11, 5);
            triangle.lineTo(7, 10);
        } else {
            triangle.moveTo(5, 3);
            triangle.lineTo(10, 7);
            triangle.lineTo(5, 11);
        }
        triangle.closeSubpath();
        painter.fillPath(triangle, QColor(0x70, 0x70, 0x70));
    }
    return QIcon(pixmap);
}

} // namespace

BudgetTableModel::BudgetTableModel(app::BudgetViewModel::Side side, QObject* parent)
    : QAbstractTableModel(parent)
    , m_side(side)
    , m_actualHeader(QStringLiteral("Actual")) {}

void BudgetTableModel::setBudget(const app::BudgetViewModel* budget) {
    m_budget = budget;
    refresh();
}

void BudgetTableModel::refresh() {
    beginResetModel();
    m_rows = m_budget != nullptr ? m_budget->rows(m_side) : std::vector<app::BudgetViewModel::Row>();
    m_todayMarker = m_budget != nullptr ? m_budget->todayMarker() : std::nullopt;
    endResetModel();
    const QString header =
        m_budget != nullptr ? m_budget->actualColumnHeader(m_side) : QStringLiteral("Actual");
    if (header != m_actualHeader) {
        m_actualHeader = header;
        emit headerDataChanged(Qt::Horizontal, ActualColumn, ActualColumn);
    }
}

int BudgetTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int BudgetTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant BudgetTableModel::decoration(const app::BudgetViewModel::Row& row) const {
    if (row.type == Type::Group) {
        return disclosureIcon(row.isExpanded, false);
    }
    if (row.depth > 0) {
        return disclosureIcon(false, true);
    }
    return {};
}

QVariant BudgetTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    const app::BudgetViewModel::Row& row = m_rows[static_cast<std::size_t>(index.row())];
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        if (column == NameColumn) {
            return row.name;
        }
        if (column == LimitColumn) {
            return row.limitText;
        }
        return column == ActualColumn ? QVariant(row.actualText) : QVariant();
    case Qt::DecorationRole:
        return column == NameColumn ? decoration(row) : QVariant();
    case Qt::ForegroundRole:
        return column == LimitColumn ? QVariant(QColor(QLatin1Char('#') + row.limitColor)) : QVariant();
    case Qt::FontRole:
        if (row.type == Type::Group || row.type == Type::Total) {
            QFont font;
            font.setBold(true);
            return font;
        }
        return {};
    case Qt::TextAlignmentRole:
        if (column == LimitColumn || column == ActualColumn) {
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        }
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::ToolTipRole:
        return row.toolTip;
    case BarFractionRole:
        return row.barFraction;
    case BarIsRedRole:
        return row.barColor == app::BudgetViewModel::BarColor::Red;
    case TodayMarkerRole:
        return m_todayMarker ? QVariant(*m_todayMarker) : QVariant();
    case IsGroupRole:
        return row.type == Type::Group;
    default:
        return {};
    }
}

QVariant BudgetTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    switch (section) {
    case NameColumn:
        return m_side == app::BudgetViewModel::Side::Expense ? tr("Expenses") : tr("Income");
    case LimitColumn:
        return m_side == app::BudgetViewModel::Side::Expense ? tr("Limit") : tr("Target");
    case ActualColumn:
        return m_actualHeader;
    case ProgressColumn:
        return tr("Progress");
    default:
        return {};
    }
}

} // namespace vantrel::ui
