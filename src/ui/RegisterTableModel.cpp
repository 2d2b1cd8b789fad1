#include "ui/RegisterTableModel.h"

#include "app/RegisterViewModel.h"
#include "app/Workspace.h"
#include "platform/objectstore/Context.h"
#include "platform/objectstore/ManagedObject.h"
#include "ui/Icons.h"
#include "ui/RegisterView.h"

#include <QMimeData>

#include <set>

namespace vantrel::ui {

namespace {

QColor colourOf(app::RegisterViewModel::AmountColour colour) {
    switch (colour) {
    case app::RegisterViewModel::AmountColour::Positive:
        return RegisterTableModel::positiveColour();
    case app::RegisterViewModel::AmountColour::Negative:
        return RegisterTableModel::negativeColour();
    case app::RegisterViewModel::AmountColour::Zero:
        break;
    }
    return RegisterTableModel::zeroColour();
}

app::RegisterViewModel::AmountColour colourOfSign(int sign) {
    if (sign > 0) {
        return app::RegisterViewModel::AmountColour::Positive;
    }
    return sign < 0 ? app::RegisterViewModel::AmountColour::Negative
                    : app::RegisterViewModel::AmountColour::Zero;
}

} // namespace

QColor RegisterTableModel::positiveColour() {
    return QColor(0x1e, 0x8e, 0x3e);
}

QColor RegisterTableModel::negativeColour() {
    return QColor(0xc6, 0x28, 0x28);
}

QColor RegisterTableModel::zeroColour() {
    return QColor(0x80, 0x80, 0x80);
}

RegisterTableModel::RegisterTableModel(QObject* parent)
    : QAbstractTableModel(parent) {}

void RegisterTableModel::setViewModel(const app::RegisterViewModel* viewModel) {
    beginResetModel();
    m_viewModel = viewModel;
    m_rowCount = viewModel == nullptr ? 0 : static_cast<int>(viewModel->rowCount());
    m_hoveredFlagRow = -1;
    endResetModel();
}

void RegisterTableModel::refresh() {
    setViewModel(m_viewModel);
}

void RegisterTableModel::rowChanged(int row) {
    if (row >= 0 && row < m_rowCount) {
        emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
    }
}

void RegisterTableModel::setHoveredFlagRow(int row) {
    if (row == m_hoveredFlagRow) {
        return;
    }
    const int previous = m_hoveredFlagRow;
    m_hoveredFlagRow = row;
    for (const int changed : {previous, row}) {
        if (changed >= 0 && changed < m_rowCount) {
            emit dataChanged(index(changed, Flag), index(changed, Flag), {Qt::DecorationRole, FlagImageRole});
        }
    }
}

int RegisterTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rowCount;
}

int RegisterTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

bool RegisterTableModel::isReadable(int row) const {
    // Between a command that re-read the view-model and refresh() the two counts may differ.
    return m_viewModel != nullptr && row >= 0 && row < m_rowCount &&
           static_cast<std::size_t>(row) < m_viewModel->rowCount();
}

QVariant RegisterTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || !isReadable(index.row())) {
        return {};
    }
    const auto row = static_cast<std::size_t>(index.row());
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return displayText(row, column);
    case Qt::ToolTipRole:
        return toolTip(row, column);
    case Qt::TextAlignmentRole:
        if (column == Amount || column == Balance) {
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        }
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::ForegroundRole:
        return foreground(row, column);
    case Qt::DecorationRole:
        if (column == Flag) {
            const QString image = flagImage(row);
            return image.isEmpty() ? QVariant() : QVariant(namedIcon(image));
        }
        return {};
    case FlagImageRole:
        return column == Flag ? QVariant(flagImage(row)) : QVariant();
    case TitleRole:
        return column == Description ? QVariant(titleLine(row)) : QVariant();
    case NotesRole:
        return column == Description ? QVariant(m_viewModel->description(row).notes) : QVariant();
    default:
        return {};
    }
}

QVariant RegisterTableModel::displayText(std::size_t row, int column) const {
    switch (column) {
    case Date:
        return m_viewModel->dateText(row);
    case Description: {
        const QString notes = m_viewModel->description(row).notes;
        return notes.isEmpty() ? titleLine(row) : titleLine(row) + u'\n' + notes;
    }
    case Category:
        return m_viewModel->categoryText(row);
    case Amount:
        return m_viewModel->amountText(row);
    case Balance:
        return m_viewModel->balanceText(row);
    default:
        return {};
    }
}

QString RegisterTableModel::titleLine(std::size_t row) const {
    const app::RegisterViewModel::Description description = m_viewModel->description(row);
    if (!description.checkNumber) {
        return description.title;
    }
    return QStringLiteral("%1 (#%2)").arg(description.title).arg(*description.checkNumber);
}

QString RegisterTableModel::flagImage(std::size_t row) const {
    const app::RegisterViewModel::Flag flag = m_viewModel->flag(row);
    if (!flag.image.isEmpty()) {
        return flag.image;
    }
    return static_cast<int>(row) == m_hoveredFlagRow ? flag.hoverImage : QString();
}

QVariant RegisterTableModel::foreground(std::size_t row, int column) const {
    // Only the text colour of unselected cells: the style draws selected ones in the selection's
    // text colour.
    if (column == Amount) {
        return colourOf(m_viewModel->amountColour(row));
    }
    if (column == Balance) {
        return colourOf(colourOfSign(m_viewModel->runningBalance(row).sign()));
    }
    return {};
}

QVariant RegisterTableModel::toolTip(std::size_t row, int column) const {
    // The cells are one or two lines high; the tooltip shows what does not fit.
    if (column == Description || column == Category) {
        return displayText(row, column);
    }
    return {};
}

QVariant RegisterTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) {
        return {};
    }
    if (role == Qt::TextAlignmentRole && (section == Amount || section == Balance)) {
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    }
    if (role == Qt::ToolTipRole && section == Flag) {
        return QStringLiteral("Pending or new");
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    switch (section) {
    case Date:
        return QStringLiteral("Date");
    case Description:
        return QStringLiteral("Description");
    case Category:
        return QStringLiteral("Category");
    case Amount:
        return QStringLiteral("Amount");
    case Balance:
        return QStringLiteral("Balance");
    default:
        return QString();
    }
}

Qt::ItemFlags RegisterTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemNeverHasChildren;
}

QStringList RegisterTableModel::mimeTypes() const {
    return {QString::fromLatin1(RegisterView::kDraggedTransactionsType)};
}

QMimeData* RegisterTableModel::mimeData(const QModelIndexList& indexes) const {
    std::set<int> rows;
    for (const QModelIndex& index : indexes) {
        if (index.isValid() && isReadable(index.row())) {
            rows.insert(index.row());
        }
    }
    if (rows.empty()) {
        return nullptr;
    }
    const objectstore::ModelDescription& model = m_viewModel->workspace().context().model();
    QStringList uris;
    for (const int row : rows) {
        uris.append(m_viewModel->transactionAt(static_cast<std::size_t>(row)).object()->id().toText(model));
    }
    auto* mime = new QMimeData;
    mime->setData(QString::fromLatin1(RegisterView::kDraggedTransactionsType), uris.join(u'\n').toUtf8());
    return mime;
}

Qt::DropActions RegisterTableModel::supportedDragActions() const {
    return Qt::MoveAction | Qt::CopyAction;
}

} // namespace vantrel::ui
