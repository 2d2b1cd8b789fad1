#include "ui/RegisterView.h"

#include "app/BatchEditModel.h"
#include "app/RegisterViewModel.h"
#include "app/Workspace.h"
#include "model/IcuBridge.h"
#include "ui/BatchEditSheet.h"
#include "ui/DescriptionDelegate.h"
#include "ui/EditPanel.h"
#include "ui/FlagCellTracker.h"
#include "ui/RegisterTableModel.h"

#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <unordered_set>

namespace vantrel::ui {

namespace {

// Sets a flag for the length of a scope.
class FlagScope {
public:
    explicit FlagScope(bool& flag)
        : m_flag(flag)
        , m_previous(flag) {
        m_flag = true;
    }
    ~FlagScope() { m_flag = m_previous; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& m_flag;
    bool m_previous;
};

class BusyScope {
public:
    explicit BusyScope(int& depth)
        : m_depth(depth) {
        ++m_depth;
    }
    ~BusyScope() { --m_depth; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    int& m_depth;
};

} // namespace

RegisterView::RegisterView(app::Workspace& workspace, app::StickyDate& stickyDate, QWidget* parent)
    : QWidget(parent)
    , m_workspace(workspace)
    , m_stickyDate(stickyDate)
    , m_localeId(model::IcuBridge::systemLocaleId()) {
    m_model = new RegisterTableModel(this);
    buildTable();

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("registerStatusLine"));
    m_status->setAlignment(Qt::AlignCenter);
    m_status->setContentsMargins(0, 4, 0, 4);
    m_status->installEventFilter(this);

    m_tablePage = new QWidget(this);
    auto* tableLayout = new QVBoxLayout(m_tablePage);
    tableLayout->setContentsMargins(0, 0, 0, 0);
    tableLayout->setSpacing(0);
    tableLayout->addWidget(m_table, 1);
    tableLayout->addWidget(m_status);

    m_hint = buildEmptyHint();
    m_pages = new QStackedWidget(this);
    m_pages->addWidget(m_tablePage);
    m_pages->addWidget(m_hint);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pages);
}

RegisterView::~RegisterView() {
    // The table must not read a view-model that is going away.
    const FlagScope quiet(m_quiet);
    m_model->setViewModel(nullptr);
}

void RegisterView::buildTable() {
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("registerTable"));
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setShowGrid(false);
    m_table->setAlternatingRowColors(true);
    m_table->setSortingEnabled(false);
    m_table->setWordWrap(false);
    m_table->setTabKeyNavigation(false);
    m_table->setCornerButtonEnabled(false);
    m_table->setDragEnabled(true);
    m_table->setDragDropMode(QAbstractItemView::DragOnly);
    m_table->setDefaultDropAction(Qt::MoveAction);
    m_table->setItemDelegateForColumn(RegisterTableModel::Description, new DescriptionDelegate(m_table));

    // One height for every row (room for the notes line): sizing rows by content would read every
    // row of a long register.
    QHeaderView* rows = m_table->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    m_rowHeight = 2 * m_table->fontMetrics().lineSpacing() + 8;
    rows->setDefaultSectionSize(m_rowHeight);

    QHeaderView* columns = m_table->horizontalHeader();
    columns->setHighlightSections(false);
    columns->setSectionsMovable(false);
    columns->setMinimumSectionSize(24);
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setSectionResizeMode(RegisterTableModel::Flag, QHeaderView::Fixed);
    columns->setSectionResizeMode(RegisterTableModel::Description, QHeaderView::Stretch);
    const int digit = m_table->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    columns->resizeSection(RegisterTableModel::Flag, 28);
    columns->resizeSection(RegisterTableModel::Date, 13 * digit);
    columns->resizeSection(RegisterTableModel::Category, 22 * digit);
    columns->resizeSection(RegisterTableModel::Amount, 14 * digit);
    columns->resizeSection(RegisterTableModel::Balance, 14 * digit);
    m_table->setColumnHidden(RegisterTableModel::Balance, true);

    m_table->installEventFilter(this);
    m_flagTracker = new FlagCellTracker(*m_table, *m_model, this);
    connect(m_flagTracker, &FlagCellTracker::flagClicked, this, &RegisterView::onFlagClicked);
    connect(m_table, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.column() != RegisterTableModel::Flag) {
            editSelection();
        }
    });
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &RegisterView::onSelectionChanged);
}

QWidget* RegisterView::buildEmptyHint() {
    const app::RegisterViewModel::EmptyHint texts = app::RegisterViewModel::emptyHint();
    auto* hint = new QWidget(this);
    hint->setObjectName(QStringLiteral("registerEmptyHint"));
    auto* title = new QLabel(texts.title, hint);
    title->setObjectName(QStringLiteral("emptyHintTitle"));
    title->setAlignment(Qt::AlignCenter);
    QFont large = title->font();
    large.setPointSizeF(std::max(large.pointSizeF(), 9.0) * 1.8);
    large.setWeight(QFont::Light);
    title->setFont(large);
    auto* message = new QLabel(texts.message, hint);
    message->setObjectName(QStringLiteral("emptyHintMessage"));
    message->setAlignment(Qt::AlignCenter);
    message->setForegroundRole(QPalette::PlaceholderText);
    m_hintButton = new QPushButton(texts.button, hint);
    m_hintButton->setObjectName(QStringLiteral("emptyHintButton"));
    connect(m_hintButton, &QPushButton::clicked, this, &RegisterView::addTransaction);

    auto* layout = new QVBoxLayout(hint);
    layout->addStretch(2);
    layout->addWidget(title);
    layout->addSpacing(12);
    layout->addWidget(message);
    layout->addSpacing(16);
    layout->addWidget(m_hintButton, 0, Qt::AlignHCenter);
    layout->addStretch(3);
    return hint;
}

// ---- Content ---------------------------------------------------------------------------------

void RegisterView::showAccount(const model::Account& account) {
    commitEditing();
    install(std::make_unique<app::RegisterViewModel>(
        app::RegisterViewModel::forAccount(m_workspace, account, m_localeId)));
}

void RegisterView::showAllAccounts() {
    commitEditing();
    install(std::make_unique<app::RegisterViewModel>(
        app::RegisterViewModel::forAllAccounts(m_workspace, m_localeId)));
}

void RegisterView::showTransactions(std::vector<objectstore::ManagedObject*> transactions) {
    commitEditing();
    install(std::make_unique<app::RegisterViewModel>(
        app::RegisterViewModel::forTransactions(m_workspace, std::move(transactions), m_localeId)));
}

void RegisterView::install(std::unique_ptr<app::RegisterViewModel> viewModel) {
    auto commands = std::make_unique<app::RegisterCommands>(*viewModel, m_stickyDate);
    {
        const FlagScope quiet(m_quiet);
        m_model->setViewModel(viewModel.get());
    }
    // The old commands refer to the old view-model: they go first.
    m_commands = std::move(commands);
    m_viewModel = std::move(viewModel);
    m_status->setCursor(m_viewModel->mode() == app::RegisterViewModel::Mode::SingleAccount
                            ? Qt::PointingHandCursor
                            : Qt::ArrowCursor);
    showContentChange();
}

void RegisterView::reload() {
    if (!m_viewModel || m_busy > 0) {
        return;
    }
    const Objects selection = selectedObjects();
    m_viewModel->reload();
    refreshTable(selection);
    showContentPage();
    updateStatusLine();
    emit selectionChanged();
}

void RegisterView::showContentChange() {
    showContentPage();
    applyBalanceColumn();
    updateStatusLine();
    emit contentChanged();
    emit selectionChanged();
}

void RegisterView::showContentPage() {
    const bool hint = m_viewModel && m_viewModel->showsEmptyHint();
    m_pages->setCurrentWidget(hint ? m_hint : m_tablePage);
}

bool RegisterView::showsEmptyHint() const {
    return m_pages->currentWidget() == m_hint;
}

void RegisterView::applyBalanceColumn() {
    m_table->setColumnHidden(RegisterTableModel::Balance, !isBalanceColumnShown());
}

app::RegisterViewModel* RegisterView::viewModel() const {
    return m_viewModel.get();
}

EditPanel* RegisterView::editPanel() const {
    return m_panel.data();
}

// ---- Selection -------------------------------------------------------------------------------

RegisterView::Objects RegisterView::selectedObjects() const {
    Objects objects;
    for (const model::Transaction& transaction : selectedTransactions()) {
        objects.push_back(transaction.object());
    }
    return objects;
}

std::vector<model::Transaction> RegisterView::selectedTransactions() const {
    std::vector<model::Transaction> selection;
    if (!m_viewModel) {
        return selection;
    }
    QModelIndexList rows = m_table->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    for (const QModelIndex& index : rows) {
        if (static_cast<std::size_t>(index.row()) < m_viewModel->rowCount()) {
            selection.push_back(m_viewModel->transactionAt(static_cast<std::size_t>(index.row())));
        }
    }
    return selection;
}

void RegisterView::selectTransactions(const std::vector<model::Transaction>& transactions) {
    Objects objects;
    for (const model::Transaction& transaction : transactions) {
        objects.push_back(transaction.object());
    }
    selectObjects(objects);
    updateStatusLine();
    emit selectionChanged();
}

void RegisterView::selectObjects(const Objects& objects) {
    const FlagScope quiet(m_quiet);
    QItemSelectionModel* selectionModel = m_table->selectionModel();
    if (!m_viewModel || objects.empty()) {
        selectionModel->clearSelection();
        return;
    }
    // One pass over the rows, whatever the number of selected ones.
    const std::unordered_set<const objectstore::ManagedObject*> wanted(objects.begin(), objects.end());
    QItemSelection selection;
    int first = -1;
    const int rowCount = std::min(m_model->rowCount(), static_cast<int>(m_viewModel->rowCount()));
    for (int row = 0; row < rowCount; ++row) {
        if (!wanted.contains(m_viewModel->transactionAt(static_cast<std::size_t>(row)).object())) {
            continue;
        }
        int last = row;
        while (last + 1 < rowCount &&
               wanted.contains(m_viewModel->transactionAt(static_cast<std::size_t>(last + 1)).object())) {
            ++last;
        }
        selection.select(m_model->index(row, 0), m_model->index(last, RegisterTableModel::ColumnCount - 1));
        if (first < 0) {
            first = row;
        }
        row = last;
    }
    if (first < 0) {
        selectionModel->clearSelection();
        return;
    }
    selectionModel->setCurrentIndex(m_model->index(first, RegisterTableModel::Date),
                                    QItemSelectionModel::NoUpdate);
    selectionModel->select(selection, QItemSelectionModel::ClearAndSelect);
    m_table->scrollTo(m_model->index(first, RegisterTableModel::Date));
}

void RegisterView::selectRowNear(int row) {
    const int rowCount = m_model->rowCount();
    if (rowCount == 0) {
        return;
    }
    const auto clamped = static_cast<std::size_t>(std::clamp(row, 0, rowCount - 1));
    selectObjects({m_viewModel->transactionAt(clamped).object()});
}

void RegisterView::onSelectionChanged() {
    if (m_quiet) {
        return;
    }
    if (m_panel && !onlyEditedRowSelected() && !m_commitQueued) {
        // Closing the editor re-sorts the rows: not in the middle of the table's own selection
        // handling.
        m_commitQueued = true;
        QMetaObject::invokeMethod(this, &RegisterView::commitForSelectionChange, Qt::QueuedConnection);
    }
    updateStatusLine();
    emit selectionChanged();
}

bool RegisterView::onlyEditedRowSelected() const {
    const QModelIndexList rows = m_table->selectionModel()->selectedRows();
    return rows.size() == 1 && rows.front().row() == m_panelRow;
}

void RegisterView::commitForSelectionChange() {
    m_commitQueued = false;
    if (!m_panel || onlyEditedRowSelected()) {
        return;
    }
    closePanelKeeping(true);
}

void RegisterView::refreshTable(const Objects& selection) {
    const bool placed = m_panelRow >= 0;
    unplacePanel();
    {
        const FlagScope quiet(m_quiet);
        m_model->refresh();
    }
    selectObjects(selection);
    if (!placed || !m_panel) {
        return;
    }
    const std::optional<model::Transaction> editing = m_commands->editingTransaction();
    const std::optional<std::size_t> row = editing ? m_viewModel->rowOf(*editing) : std::nullopt;
    if (row) {
        placePanel(static_cast<int>(*row));
    } else {
        // The transaction went away under the editor.
        closePanelWidget();
    }
}

// ---- Status line -----------------------------------------------------------------------------

QString RegisterView::statusText() const {
    return m_status->text();
}

void RegisterView::updateStatusLine() {
    if (!m_viewModel) {
        m_status->clear();
        m_status->setToolTip(QString());
        return;
    }
    const app::RegisterViewModel::StatusLine line = m_viewModel->statusLine(selectedTransactions());
    m_status->setText(line.text);
    m_status->setToolTip(line.toolTip);
}

void RegisterView::clickStatusLine() {
    if (!m_viewModel) {
        return;
    }
    m_viewModel->clickStatusLine();
    updateStatusLine();
}

bool RegisterView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_status && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        clickStatusLine();
        return true;
    }
    if (watched == m_panel && event->type() == QEvent::LayoutRequest) {
        fitPanelRow();
        return false;
    }
    if (watched == m_table && event->type() == QEvent::KeyPress && !m_panel) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            editSelection();
            return true;
        case Qt::Key_Delete:
        case Qt::Key_Backspace:
            deleteSelection();
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// ---- Commands --------------------------------------------------------------------------------

void RegisterView::addTransaction() {
    if (!m_commands) {
        return;
    }
    commitEditing();
    std::optional<model::Transaction> added;
    {
        const BusyScope busy(m_busy);
        added = m_commands->addTransaction();
    }
    showContentPage();
    refreshTable({added->object()});
    if (const std::optional<std::size_t> row = m_viewModel->rowOf(*added)) {
        openPanel(static_cast<int>(*row), true);
    }
    showContentChange();
}

void RegisterView::editSelection() {
    if (!m_commands || m_panel) {
        return;
    }
    const std::vector<model::Transaction> selection = selectedTransactions();
    switch (m_commands->edit(selection)) {
    case app::RegisterCommands::EditorKind::Inline:
        if (const std::optional<std::size_t> row = m_viewModel->rowOf(selection.front())) {
            openPanel(static_cast<int>(*row), false);
        }
        break;
    case app::RegisterCommands::EditorKind::Batch:
        openBatchSheet(selection);
        break;
    case app::RegisterCommands::EditorKind::None:
        break;
    }
}

void RegisterView::deleteSelection() {
    if (!m_commands) {
        return;
    }
    commitEditing();
    const std::vector<model::Transaction> selection = selectedTransactions();
    if (selection.empty()) {
        return;
    }
    const int firstRow = static_cast<int>(m_viewModel->rowOf(selection.front()).value_or(0));
    {
        const BusyScope busy(m_busy);
        m_commands->deleteTransactions(selection);
    }
    // Deleted objects are gone once saved: only their addresses are compared.
    if (m_viewModel->rowOf(selection.front())) {
        return; // cancelled
    }
    refreshTable({});
    selectRowNear(firstRow);
    showContentChange();
}

void RegisterView::matchSelection() {
    if (!m_commands) {
        return;
    }
    commitEditing();
    const Objects selection = selectedObjects();
    {
        const BusyScope busy(m_busy);
        m_commands->match(selectedTransactions());
    }
    refreshTable(selection);
    showContentChange();
}

void RegisterView::toggleFlagOfSelection() {
    const std::vector<model::Transaction> selection = selectedTransactions();
    if (!m_commands || selection.size() != 1) {
        return;
    }
    m_commands->toggleFlag(selection);
    m_model->rowChanged(static_cast<int>(m_viewModel->rowOf(selection.front()).value_or(0)));
    updateStatusLine();
    emit contentChanged();
    emit selectionChanged();
}

void RegisterView::onFlagClicked(int row) {
    if (!m_commands || row < 0 || static_cast<std::size_t>(row) >= m_viewModel->rowCount()) {
        return;
    }
    m_commands->clickFlag(m_viewModel->transactionAt(static_cast<std::size_t>(row)));
    m_model->rowChanged(row);
    updateStatusLine();
    emit contentChanged();
    emit selectionChanged();
}

app::RegisterCommands::MenuItem RegisterView::flagMenuItem() const {
    if (!m_commands) {
        return {QStringLiteral("Mark as Pending"), false};
    }
    return m_commands->flagMenuItem(selectedTransactions());
}

bool RegisterView::isBalanceColumnShown() const {
    return m_viewModel && m_viewModel->isBalanceColumnShown();
}

void RegisterView::toggleBalanceColumn() {
    if (!m_viewModel) {
        return;
    }
    m_viewModel->toggleBalanceColumn();
    applyBalanceColumn();
}

void RegisterView::commitEditing() {
    if (m_panel) {
        closePanelKeeping(false);
    }
}

bool RegisterView::isEditing() const {
    return !m_panel.isNull();
}

// ---- The edit panel --------------------------------------------------------------------------

void RegisterView::openPanel(int row, bool isAdd) {
    m_panel = new EditPanel(m_workspace, this, m_localeId);
    m_panel->setObjectName(QStringLiteral("registerEditPanel"));
    connect(m_panel, &EditPanel::saveRequested, this, [this] { closePanelKeeping(false); });
    connect(m_panel, &EditPanel::discardRequested, this, &RegisterView::closePanelDiscarding);
    connect(m_panel, &EditPanel::matchUndone, this, &RegisterView::onMatchUndone);
    connect(m_panel, &EditPanel::editCategoriesRequested, this, &RegisterView::editCategoriesRequested);
    placePanel(row);
    const bool showsAccountPopup = isAdd && m_viewModel->mode() == app::RegisterViewModel::Mode::AllAccounts;
    m_panel->setup(m_viewModel->transactionAt(static_cast<std::size_t>(row)), isAdd, showsAccountPopup);
    fitPanelRow();
    m_panel->installEventFilter(this);
    emit selectionChanged();
}

void RegisterView::placePanel(int row) {
    // The panel sits in a holder: the table deletes its index widgets on reset, the panel (and what
    // the user typed) must outlive that.
    auto* holder = new QWidget;
    // Its own background: the row's selection colour behind the fields would make them hard to read.
    holder->setAutoFillBackground(true);
    holder->setBackgroundRole(QPalette::AlternateBase);
    auto* layout = new QVBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_panel);
    const QModelIndex index = m_model->index(row, 0);
    m_table->setSpan(row, 0, 1, RegisterTableModel::ColumnCount);
    m_table->setIndexWidget(index, holder);
    m_panelRow = row;
    m_panel->show();
    fitPanelRow();
    m_table->scrollTo(index);
}

void RegisterView::fitPanelRow() {
    if (m_panel && m_panelRow >= 0) {
        m_table->verticalHeader()->resizeSection(m_panelRow,
                                                 std::max(m_rowHeight, m_panel->sizeHint().height()));
    }
}

void RegisterView::unplacePanel() {
    if (m_panelRow < 0) {
        return;
    }
    if (m_panel) {
        m_panel->hide();
        m_panel->setParent(this);
    }
    if (m_panelRow < m_model->rowCount()) {
        m_table->setIndexWidget(m_model->index(m_panelRow, 0), nullptr);
        m_table->verticalHeader()->resizeSection(m_panelRow, m_rowHeight);
    }
    m_table->clearSpans();
    m_panelRow = -1;
}

void RegisterView::closePanelWidget() {
    unplacePanel();
    if (m_panel) {
        m_panel->removeEventFilter(this);
        m_panel->deleteLater();
        m_panel = nullptr;
    }
    m_table->setFocus();
}

void RegisterView::closePanelKeeping(bool anotherRowSelected) {
    if (!m_panel) {
        return;
    }
    const std::optional<model::Transaction> edited = m_commands->editingTransaction();
    const app::TransactionEdit fields = m_panel->fields();
    const std::optional<model::Account> chosen = m_panel->chosenAccount();
    const Objects wanted = anotherRowSelected ? selectedObjects() : Objects{};
    closePanelWidget();
    if (edited && chosen && chosen->object() != edited->account()) {
        model::Transaction moved = *edited;
        moved.moveTo(*chosen);
    }
    {
        const BusyScope busy(m_busy);
        if (anotherRowSelected) {
            m_commands->selectAnotherRowWhileEditing(fields);
        } else {
            m_commands->closeEditorKeeping(fields);
            m_workspace.saveDatabase();
        }
    }
    if (anotherRowSelected) {
        refreshTable(wanted);
    } else {
        refreshTable(edited ? Objects{edited->object()} : Objects{});
    }
    m_table->setFocus();
    showContentChange();
}

void RegisterView::closePanelDiscarding() {
    if (!m_panel) {
        return;
    }
    const Objects selection = selectedObjects();
    closePanelWidget();
    {
        const BusyScope busy(m_busy);
        m_commands->closeEditorDiscarding();
    }
    refreshTable(selection);
    showContentChange();
}

void RegisterView::onMatchUndone() {
    // The panel shows the matched transaction as it was: close it, show what the undo left.
    closePanelDiscarding();
    reload();
}

// ---- Batch edit ------------------------------------------------------------------------------

void RegisterView::openBatchSheet(const std::vector<model::Transaction>& selection) {
    auto* sheet =
        new BatchEditSheet(m_workspace, std::make_unique<app::BatchEditModel>(*m_viewModel, selection), this);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    Objects objects;
    for (const model::Transaction& transaction : selection) {
        objects.push_back(transaction.object());
    }
    connect(sheet, &BatchEditSheet::applied, this, [this, objects] {
        refreshTable(objects);
        showContentChange();
    });
    sheet->open();
}

} // namespace vantrel::ui
