#include "ui/BreakdownView.h"

#include "app/BreakdownViewModel.h"
#include "app/Workspace.h"
#include "platform/NotificationHub.h"
#include "platform/NotificationNames.h"
#include "ui/BreadcrumbLabel.h"
#include "ui/BreakdownLegendModel.h"
#include "ui/BreakdownTransactionsModel.h"
#include "ui/IncomeExpenseBar.h"
#include "ui/PieChart.h"

#include <QButtonGroup>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QShowEvent>
#include <QSplitter>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace vantrel::ui {

namespace {

QFont scaledFont(const QFont& base, double factor, bool bold) {
    QFont font = base;
    font.setPointSizeF(base.pointSizeF() * factor);
    font.setBold(bold);
    return font;
}

QToolButton* arrowButton(Qt::ArrowType arrow, const QString& name, const QString& tip, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setArrowType(arrow);
    button->setAutoRaise(true);
    button->setToolTip(tip);
    return button;
}

QToolButton* sideButton(const QString& text, const QString& name, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(text);
    button->setCheckable(true);
    button->setAutoRaise(true);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return button;
}

void setUpTable(QTableView* table) {
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    table->setShowGrid(false);
    table->setAlternatingRowColors(true);
    table->setWordWrap(false);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 12);
}

} // namespace

BreakdownView::BreakdownView(app::Workspace& workspace, QWidget* parent)
    : QWidget(parent)
    , m_workspace(workspace)
    , m_model(std::make_unique<app::BreakdownViewModel>(workspace)) {
    setObjectName(QStringLiteral("breakdownView"));

    auto* upper = new QWidget(this);
    auto* upperLayout = new QVBoxLayout(upper);
    upperLayout->setContentsMargins(16, 12, 16, 8);
    upperLayout->setSpacing(10);
    upperLayout->addWidget(buildHeader());
    upperLayout->addWidget(buildChartArea(), 1);
    upperLayout->addWidget(buildTotals());

    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(upper);
    splitter->addWidget(buildTransactionsPane());
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);

    m_workspace.notifications().observe(QString::fromLatin1(platform::kRefreshAllViews), this,
                                        [this](const platform::Notification&) {
                                            // A hidden view catches up when it is shown again.
                                            if (isVisible()) {
                                                reload();
                                            }
                                        });
    showModel();
}

BreakdownView::~BreakdownView() = default;

QWidget* BreakdownView::buildHeader() {
    auto* header = new QWidget(this);
    m_previous = arrowButton(Qt::LeftArrow, QStringLiteral("previousPeriod"), tr("Previous period"), header);
    m_next = arrowButton(Qt::RightArrow, QStringLiteral("nextPeriod"), tr("Next period"), header);
    m_periodButton = new QToolButton(header);
    m_periodButton->setObjectName(QStringLiteral("periodButton"));
    m_periodButton->setPopupMode(QToolButton::InstantPopup);
    m_periodButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_periodButton->setAutoRaise(true);
    m_periodButton->setFont(scaledFont(font(), 1.5, true));
    m_periodMenu = new QMenu(m_periodButton);
    m_periodMenu->setObjectName(QStringLiteral("periodMenu"));
    m_periodButton->setMenu(m_periodMenu);
    connect(m_periodMenu, &QMenu::aboutToShow, this, &BreakdownView::rebuildPeriodMenu);
    connect(m_previous, &QToolButton::clicked, this, [this] {
        m_model->showPrevious();
        showModel();
    });
    connect(m_next, &QToolButton::clicked, this, [this] {
        m_model->showNext();
        showModel();
    });

    m_expenseButton = sideButton(tr("Expense"), QStringLiteral("expenseButton"), header);
    m_incomeButton = sideButton(tr("Income"), QStringLiteral("incomeButton"), header);
    auto* sides = new QButtonGroup(header);
    sides->setExclusive(true);
    sides->addButton(m_expenseButton);
    sides->addButton(m_incomeButton);
    connect(m_expenseButton, &QToolButton::clicked, this, [this] {
        m_model->setShowsIncome(false);
        showModel();
    });
    connect(m_incomeButton, &QToolButton::clicked, this, [this] {
        m_model->setShowsIncome(true);
        showModel();
    });

    m_breadcrumb = new BreadcrumbLabel(header);
    m_breadcrumb->setFont(scaledFont(font(), 1.1, false));
    connect(m_breadcrumb, &BreadcrumbLabel::clicked, this, [this] {
        m_model->backToTop();
        showModel();
    });

    auto* top = new QHBoxLayout;
    top->setSpacing(4);
    top->addWidget(m_previous);
    top->addWidget(m_periodButton);
    top->addWidget(m_next);
    top->addStretch(1);
    top->addWidget(m_expenseButton);
    top->addWidget(m_incomeButton);

    auto* layout = new QVBoxLayout(header);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    layout->addLayout(top);
    layout->addWidget(m_breadcrumb);
    return header;
}

QWidget* BreakdownView::buildChartArea() {
    auto* area = new QWidget(this);
    m_pie = new PieChart(area);
    connect(m_pie, &PieChart::sliceClicked, this, &BreakdownView::selectSlice);
    connect(m_pie, &PieChart::sliceDoubleClicked, this, [this](int slice) {
        const std::vector<app::BreakdownSlice>& slices = m_model->slices();
        if (slice >= 0 && slice < static_cast<int>(slices.size()) &&
            !slices[static_cast<std::size_t>(slice)].isOther) {
            drillInto(slice);
        }
    });

    m_legendModel = new BreakdownLegendModel(this);
    m_legend = new QTableView(area);
    m_legend->setObjectName(QStringLiteral("breakdownLegend"));
    m_legend->setModel(m_legendModel);
    setUpTable(m_legend);
    m_legend->setAlternatingRowColors(false);
    m_legend->setFrameShape(QFrame::NoFrame);
    m_legend->setIconSize(QSize(14, 14));
    m_legend->setMinimumWidth(260);
    m_legend->horizontalHeader()->setSectionResizeMode(BreakdownLegendModel::NameColumn,
                                                       QHeaderView::Stretch);
    m_legend->horizontalHeader()->setSectionResizeMode(BreakdownLegendModel::ShareColumn,
                                                       QHeaderView::ResizeToContents);
    m_legend->horizontalHeader()->setSectionResizeMode(BreakdownLegendModel::AmountColumn,
                                                       QHeaderView::ResizeToContents);
    connect(m_legend->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (!m_showingModel && current.isValid()) {
                    selectLegendRow(current.row());
                }
            });
    connect(m_legend, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { drillInto(index.row()); });

    auto* layout = new QHBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(16);
    layout->addWidget(m_pie, 3);
    layout->addWidget(m_legend, 2);
    return area;
}

QWidget* BreakdownView::buildTotals() {
    auto* totals = new QWidget(this);
    m_incomeLabel = new QLabel(totals);
    m_incomeLabel->setObjectName(QStringLiteral("incomeTotal"));
    m_expenseLabel = new QLabel(totals);
    m_expenseLabel->setObjectName(QStringLiteral("expenseTotal"));
    m_expenseLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_bar = new IncomeExpenseBar(totals);

    auto* labels = new QHBoxLayout;
    labels->addWidget(m_incomeLabel);
    labels->addStretch(1);
    labels->addWidget(m_expenseLabel);
    auto* layout = new QVBoxLayout(totals);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addLayout(labels);
    layout->addWidget(m_bar);
    return totals;
}

QWidget* BreakdownView::buildTransactionsPane() {
    m_transactionsPane = new QWidget(this);
    m_transactionsPane->setObjectName(QStringLiteral("breakdownTransactionsPane"));
    m_transactionsTitle = new QLabel(m_transactionsPane);
    m_transactionsTitle->setObjectName(QStringLiteral("breakdownTransactionsTitle"));
    m_transactionsTitle->setFont(scaledFont(font(), 1.1, true));
    m_exportTransactions = new QToolButton(m_transactionsPane);
    m_exportTransactions->setObjectName(QStringLiteral("exportTransactions"));
    m_exportTransactions->setText(tr("Export\u2026"));
    m_exportTransactions->setAutoRaise(true);
    connect(m_exportTransactions, &QToolButton::clicked, this, &BreakdownView::exportSelectedTransactions);

    m_transactionsModel = new BreakdownTransactionsModel(this);
    m_transactions = new QTableView(m_transactionsPane);
    m_transactions->setObjectName(QStringLiteral("breakdownTransactions"));
    m_transactions->setModel(m_transactionsModel);
    setUpTable(m_transactions);
    QHeaderView* header = m_transactions->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(BreakdownTransactionsModel::TitleColumn, QHeaderView::Stretch);

    auto* titleRow = new QHBoxLayout;
    titleRow->addWidget(m_transactionsTitle);
    titleRow->addStretch(1);
    titleRow->addWidget(m_exportTransactions);
    auto* layout = new QVBoxLayout(m_transactionsPane);
    layout->setContentsMargins(16, 8, 16, 12);
    layout->addLayout(titleRow);
    layout->addWidget(m_transactions);
    m_transactionsPane->setMinimumHeight(140);
    return m_transactionsPane;
}

void BreakdownView::setLocaleId(const QString& localeId) {
    m_model = std::make_unique<app::BreakdownViewModel>(m_workspace, localeId);
}

void BreakdownView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        reload();
    }
}

void BreakdownView::reload() {
    m_model->reload();
    showModel();
}

void BreakdownView::rebuildPeriodMenu() {
    m_periodMenu->clear();
    for (const app::BreakdownPeriodMenu::Year& year : m_model->periodMenu().years) {
        QMenu* submenu = m_periodMenu->addMenu(year.title);
        const auto choose = [this](const app::BreakdownPeriod& period) {
            return [this, period] {
                m_model->setPeriod(period);
                showModel();
            };
        };
        connect(submenu->addAction(year.wholeYear.title), &QAction::triggered, this,
                choose(year.wholeYear.period));
        submenu->addSeparator();
        for (const app::BreakdownPeriodMenu::Item& month : year.months) {
            connect(submenu->addAction(month.title), &QAction::triggered, this, choose(month.period));
        }
    }
}

void BreakdownView::showModel() {
    m_showingModel = true;
    m_periodButton->setText(m_model->title());
    m_expenseButton->setChecked(!m_model->showsIncome());
    m_incomeButton->setChecked(m_model->showsIncome());
    m_breadcrumb->setBreadcrumb(m_model->sideTitle(), m_model->breadcrumbMarkup(), m_model->isDrilledIn());
    m_pie->setSlices(m_model->slices());
    m_pie->setCenterText(m_model->sideTitle(), m_model->shownTotal());
    m_legendModel->setRows(m_model->legend());
    m_incomeLabel->setText(m_model->incomeText());
    m_expenseLabel->setText(m_model->expenseText());
    m_bar->setShares(m_model->incomeShare(), m_model->expenseShare());
    m_showingModel = false;
    showSelection();
}

void BreakdownView::showSelection() {
    m_showingModel = true;
    m_pie->setSelectedSlice(m_model->selectedSlice());
    if (const std::optional<int> row = m_model->selectedLegendRow()) {
        m_legend->selectRow(*row);
    } else {
        m_legend->clearSelection();
        m_legend->setCurrentIndex({});
    }
    m_transactionsModel->setRows(m_model->transactionRows());
    // The pane stays in place, so rows never jump under the pointer when something is selected.
    m_transactionsTitle->setText(m_model->hasSelection() ? m_model->selectionTitle()
                                                         : tr("Select a slice to list its transactions"));
    m_transactionsTitle->setEnabled(m_model->hasSelection());
    m_exportTransactions->setEnabled(m_model->canExportSelectedTransactions());
    m_showingModel = false;
    emit selectionChanged();
}

void BreakdownView::selectLegendRow(int row) {
    m_model->selectLegendRow(row);
    showSelection();
}

void BreakdownView::selectSlice(int slice) {
    m_model->selectSlice(slice);
    showSelection();
}

void BreakdownView::drillInto(int legendRow) {
    if (m_model->drillInto(legendRow)) {
        showModel();
    }
}

void BreakdownView::exportBreakdown() {
    const QString path = choosePath(m_model->breakdownExportFileName());
    if (!path.isEmpty()) {
        m_model->saveBreakdownExport(path);
    }
}

void BreakdownView::exportSelectedTransactions() {
    if (!m_model->canExportSelectedTransactions()) {
        return;
    }
    const QString path = choosePath(m_model->transactionsExportFileName());
    if (!path.isEmpty()) {
        m_model->saveTransactionsExport(path);
    }
}

QString BreakdownView::choosePath(const QString& proposedFileName) {
    if (m_choosePath) {
        return m_choosePath(proposedFileName);
    }
    QFileDialog dialog(this, tr("Export"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setLabelText(QFileDialog::Accept, tr("Export"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("Export As:"));
    dialog.setNameFilters({tr("CSV file (*.csv)")});
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.selectFile(proposedFileName + QStringLiteral(".csv"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

} // namespace vantrel::ui
