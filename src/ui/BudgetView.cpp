#include "ui/BudgetView.h"

#include "app/Workspace.h"
#include "platform/NotificationHub.h"
#include "platform/NotificationNames.h"
#include "platform/objectstore/Context.h"
#include "ui/BudgetBarDelegate.h"
#include "ui/BudgetEditSheet.h"
#include "ui/BudgetTableModel.h"
#include "ui/EstimateEditorSheet.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vantrel::ui {

namespace {

using Side = app::BudgetViewModel::Side;
using Type = planning::BudgetRow::Type;

QLabel* secondaryLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::PlaceholderText));
    label->setPalette(palette);
    return label;
}

} // namespace

BudgetView::BudgetView(app::Workspace& workspace, QWidget* parent)
    : BudgetView(workspace, model::IcuBridge::systemLocaleId(), parent) {}

BudgetView::BudgetView(app::Workspace& workspace, const QString& localeId, QWidget* parent)
    : QWidget(parent)
    , m_workspace(workspace)
    , m_localeId(localeId) {
    setObjectName(QStringLiteral("budgetView"));
    buildLayout();
    workspace.notifications().observe(QString::fromLatin1(platform::kRefreshAllViews), this,
                                      [this](const platform::Notification&) { reload(); });
    showState();
}

BudgetView::~BudgetView() {
    // The models point into the view-model: let them forget it first.
    m_expenseModel->setBudget(nullptr);
    m_incomeModel->setBudget(nullptr);
}

QTableView* BudgetView::table(Side side) const {
    return side == Side::Expense ? m_expenseTable : m_incomeTable;
}

BudgetTableModel* BudgetView::tableModel(Side side) const {
    return side == Side::Expense ? m_expenseModel : m_incomeModel;
}

QTableView* BudgetView::makeTable(BudgetTableModel* model) {
    auto* view = new QTableView(this);
    view->setModel(model);
    view->setItemDelegateForColumn(BudgetTableModel::ProgressColumn, new BudgetBarDelegate(view));
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setShowGrid(false);
    view->setAlternatingRowColors(true);
    view->setWordWrap(false);
    view->setMouseTracking(true);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 12);
    QHeaderView* header = view->horizontalHeader();
    header->setSectionResizeMode(BudgetTableModel::NameColumn, QHeaderView::Stretch);
    header->setSectionResizeMode(BudgetTableModel::LimitColumn, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(BudgetTableModel::ActualColumn, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(BudgetTableModel::ProgressColumn, QHeaderView::Interactive);
    header->resizeSection(BudgetTableModel::ProgressColumn, 200);
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    header->setSortIndicator(-1, Qt::DescendingOrder);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    view->setMinimumHeight(140);
    const Side side = model->side();
    connect(view, &QTableView::clicked, this,
            [this, side](const QModelIndex& index) { rowClicked(side, index); });
    connect(header, &QHeaderView::sectionClicked, this,
            [this, side](int column) { headerClicked(side, column); });
    return view;
}

void BudgetView::buildLayout() {
    m_name = new QLabel(this);
    m_name->setObjectName(QStringLiteral("budgetName"));
    QFont nameFont = m_name->font();
    nameFont.setBold(true);
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.4);
    m_name->setFont(nameFont);
    m_period = secondaryLabel(this);
    m_period->setObjectName(QStringLiteral("budgetPeriod"));
    m_edit = new QPushButton(tr("Edit Budget…"), this);
    m_edit->setObjectName(QStringLiteral("editBudget"));
    connect(m_edit, &QPushButton::clicked, this, &BudgetView::openEditSheet);

    auto* titles = new QVBoxLayout;
    titles->setSpacing(2);
    titles->addWidget(m_name);
    titles->addWidget(m_period);
    auto* top = new QHBoxLayout;
    top->addLayout(titles, 1);
    top->addWidget(m_edit, 0, Qt::AlignTop);

    m_expenseModel = new BudgetTableModel(Side::Expense, this);
    m_incomeModel = new BudgetTableModel(Side::Income, this);
    m_expenseTable = makeTable(m_expenseModel);
    m_expenseTable->setObjectName(QStringLiteral("expenseTable"));
    m_incomeTable = makeTable(m_incomeModel);
    m_incomeTable->setObjectName(QStringLiteral("incomeTable"));

    auto* pane = new QWidget(this);
    m_transactionsTitle = new QLabel(pane);
    m_transactionsTitle->setObjectName(QStringLiteral("transactionsTitle"));
    m_transactions = new QTableWidget(0, 4, pane);
    m_transactions->setObjectName(QStringLiteral("transactionsTable"));
    m_transactions->setHorizontalHeaderLabels({tr("Date"), tr("Payee"), tr("Account"), tr("Amount")});
    m_transactions->verticalHeader()->hide();
    m_transactions->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_transactions->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_transactions->setShowGrid(false);
    m_transactions->setAlternatingRowColors(true);
    m_transactions->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    auto* paneLayout = new QVBoxLayout(pane);
    paneLayout->setContentsMargins(0, 0, 0, 0);
    paneLayout->addWidget(m_transactionsTitle);
    paneLayout->addWidget(m_transactions);

    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(m_expenseTable);
    splitter->addWidget(m_incomeTable);
    splitter->addWidget(pane);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    splitter->setStretchFactor(2, 2);

    m_expenseSegment = new QLabel(this);
    m_expenseSegment->setObjectName(QStringLiteral("expenseSegment"));
    m_incomeSegment = new QLabel(this);
    m_incomeSegment->setObjectName(QStringLiteral("incomeSegment"));
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("statusText"));
    m_status->setTextFormat(Qt::RichText);
    m_status->setCursor(Qt::PointingHandCursor);
    m_status->installEventFilter(this);
    m_daysLeft = secondaryLabel(this);
    m_daysLeft->setObjectName(QStringLiteral("daysLeft"));
    auto* status = new QHBoxLayout;
    status->addWidget(m_expenseSegment);
    status->addSpacing(16);
    status->addWidget(m_incomeSegment);
    status->addStretch(1);
    status->addWidget(m_status);
    status->addStretch(1);
    status->addWidget(m_daysLeft);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(splitter, 1);
    layout->addLayout(status);
    setMinimumSize(560, 480);
}

void BudgetView::showBudget(const objectstore::ObjectID& budget) {
    m_expenseModel->setBudget(nullptr);
    m_incomeModel->setBudget(nullptr);
    m_selection.reset();
    m_budget = std::make_unique<app::BudgetViewModel>(m_workspace, budget, m_localeId);
    m_expenseModel->setBudget(m_budget.get());
    m_incomeModel->setBudget(m_budget.get());
    showState();
    m_budget->presentEndNoticeIfNeeded();
}

void BudgetView::reload() {
    if (m_budget == nullptr) {
        return;
    }
    m_budget->reload();
    m_expenseModel->refresh();
    m_incomeModel->refresh();
    showState();
}

void BudgetView::showState() {
    const bool valid = m_budget != nullptr && m_budget->isValid();
    m_name->setText(valid ? m_budget->name() : QString());
    m_period->setText(valid ? m_budget->periodText() : QString());
    m_edit->setEnabled(valid);
    showStatus();
    reselect();
}

void BudgetView::showStatus() {
    if (m_budget == nullptr || !m_budget->isValid()) {
        for (QLabel* label : {m_expenseSegment, m_incomeSegment, m_status, m_daysLeft}) {
            label->clear();
        }
        return;
    }
    m_expenseSegment->setText(m_budget->expenseSegment());
    m_incomeSegment->setText(m_budget->incomeSegment());
    m_status->setText(QStringLiteral("%1<span style=\"color:#%2; font-weight:600\">%3</span>")
                          .arg(m_budget->statusLabel().toHtmlEscaped(), m_budget->statusColor(),
                               m_budget->statusAmountText().toHtmlEscaped()));
    m_status->setToolTip(m_budget->statusToolTip());
    m_daysLeft->setText(m_budget->daysLeftText());
}

bool BudgetView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_status && event->type() == QEvent::MouseButtonRelease && m_budget != nullptr &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        m_budget->toggleStatusMode();
        showStatus();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void BudgetView::rowClicked(Side side, const QModelIndex& index) {
    if (m_budget == nullptr || !index.isValid()) {
        return;
    }
    const int row = index.row();
    if (m_budget->toggleGroup(side, row)) {
        tableModel(side)->refresh();
        reselect();
        return;
    }
    const app::BudgetViewModel::Row& shown = m_budget->rows(side)[static_cast<std::size_t>(row)];
    if (index.column() == BudgetTableModel::LimitColumn && shown.categoryLimit) {
        openEstimateEditor(side, *shown.categoryLimit);
        return;
    }
    table(side == Side::Expense ? Side::Income : Side::Expense)->clearSelection();
    listTransactions(side, row);
}

void BudgetView::headerClicked(Side side, int column) {
    if (m_budget == nullptr) {
        return;
    }
    using SortKey = app::BudgetViewModel::SortKey;
    SortKey key = SortKey::AbsoluteLimit;
    if (column == BudgetTableModel::LimitColumn) {
        key = SortKey::Limit;
    } else if (column == BudgetTableModel::ActualColumn) {
        key = SortKey::Actual;
    }
    // A second click on the same column turns the order round; the name column restores the default.
    const bool descending =
        key == SortKey::AbsoluteLimit || m_budget->sortKey(side) != key || !m_budget->isDescending(side);
    m_budget->setSortOrder(side, key, descending);
    tableModel(side)->refresh();
    QHeaderView* header = table(side)->horizontalHeader();
    header->setSortIndicator(key == SortKey::AbsoluteLimit ? -1 : column,
                             descending ? Qt::DescendingOrder : Qt::AscendingOrder);
    reselect();
}

void BudgetView::listTransactions(Side side, int row) {
    if (!m_budget->listsTransactions(side, row)) {
        clearTransactions();
        return;
    }
    const app::BudgetViewModel::Row& shown = m_budget->rows(side)[static_cast<std::size_t>(row)];
    m_selection = Selection{side, shown.categoryLimit ? shown.categoryLimit->object() : nullptr};
    table(side)->selectRow(row);
    const std::vector<app::BudgetViewModel::TransactionLine> lines = m_budget->transactionsForRow(side, row);
    m_transactionsTitle->setText(lines.empty()
                                     ? tr("No transactions in %1 during this budget").arg(shown.name)
                                     : tr("Transactions in %1").arg(shown.name));
    m_transactions->setRowCount(static_cast<int>(lines.size()));
    for (int line = 0; line < static_cast<int>(lines.size()); ++line) {
        const app::BudgetViewModel::TransactionLine& entry = lines[static_cast<std::size_t>(line)];
        const QStringList cells{entry.date, entry.title, entry.account, entry.amount};
        for (int column = 0; column < cells.size(); ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            if (column == 3) {
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            m_transactions->setItem(line, column, item);
        }
    }
    m_transactions->resizeColumnToContents(0);
    m_transactions->resizeColumnToContents(3);
}

void BudgetView::clearTransactions() {
    m_selection.reset();
    m_transactions->setRowCount(0);
    m_transactionsTitle->setText(tr("Click a category to see its transactions."));
}

void BudgetView::reselect() {
    if (m_budget == nullptr || !m_selection) {
        clearTransactions();
        return;
    }
    // Rows move when the tables are tracked or sorted again: find the selected one by its limit.
    const Selection selection = *m_selection;
    const std::vector<app::BudgetViewModel::Row>& rows = m_budget->rows(selection.side);
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
        const app::BudgetViewModel::Row& shown = rows[static_cast<std::size_t>(row)];
        const bool match = selection.limit != nullptr
                               ? shown.categoryLimit && shown.categoryLimit->object() == selection.limit
                               : shown.type == Type::Uncategorized;
        if (match) {
            listTransactions(selection.side, row);
            return;
        }
    }
    clearTransactions();
}

void BudgetView::openEstimateEditor(Side side, const model::CategoryLimit& limit) {
    auto* sheet = new EstimateEditorSheet(m_workspace, limit, m_localeId, this);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    connect(sheet, &EstimateEditorSheet::limitSaved, this,
            [this, side](const model::CategoryLimit& saved, bool retrack) {
                if (m_budget == nullptr) {
                    return;
                }
                m_budget->limitEdited(side, saved, retrack);
                m_expenseModel->refresh();
                m_incomeModel->refresh();
                showState();
            });
    sheet->open();
}

void BudgetView::openEditSheet() {
    if (m_budget == nullptr) {
        return;
    }
    const std::optional<model::Budget> budget = m_budget->budget();
    if (!budget) {
        return;
    }
    auto* sheet = new BudgetEditSheet(m_workspace, *budget, this);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->open();
}

} // namespace vantrel::ui
