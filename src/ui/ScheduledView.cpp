#include "ui/ScheduledView.h"

#include "app/Workspace.h"
#include "platform/NotificationHub.h"
#include "platform/NotificationNames.h"
#include "ui/PaySheet.h"
#include "ui/ProjectionSheet.h"
#include "ui/ScheduledEditorSheet.h"
#include "ui/ScheduledTableModel.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace vantrel::ui {

namespace {

QString colourName(app::ScheduledListModel::AmountColour colour) {
    switch (colour) {
    case app::ScheduledListModel::AmountColour::Positive:
        return QStringLiteral("#1e8e3e");
    case app::ScheduledListModel::AmountColour::Negative:
        return QStringLiteral("#c5221f");
    case app::ScheduledListModel::AmountColour::Zero:
        break;
    }
    return QStringLiteral("gray");
}

} // namespace

ScheduledView::ScheduledView(app::Workspace& workspace, QWidget* parent, const QString& localeId)
    : QWidget(parent)
    , m_workspace(workspace)
    , m_localeId(localeId)
    , m_list(workspace, localeId) {
    setObjectName(QStringLiteral("scheduledView"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildButtonBar());
    buildTable();
    layout->addWidget(m_table, 1);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("scheduledStatus"));
    m_status->setTextFormat(Qt::RichText);
    m_status->setAlignment(Qt::AlignCenter);
    m_status->setContentsMargins(8, 5, 8, 5);
    m_status->setCursor(Qt::PointingHandCursor);
    m_status->setToolTip(tr("Click to switch between the monthly expense and the monthly net"));
    m_status->installEventFilter(this);
    layout->addWidget(m_status);

    workspace.notifications().observe(QString::fromLatin1(platform::kRefreshAllViews), this,
                                      [this](const platform::Notification&) { reload(); });
    reload();
}

ScheduledView::~ScheduledView() {
    // The table model reads the list, which is gone before the base class closes the child widgets.
    m_table->setModel(nullptr);
    delete m_model;
}

QWidget* ScheduledView::buildButtonBar() {
    auto* bar = new QWidget(this);
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(8, 6, 8, 6);
    auto addButton = [&](const QString& text, const QString& name, void (ScheduledView::*command)()) {
        auto* button = new QPushButton(text, bar);
        button->setObjectName(name);
        connect(button, &QPushButton::clicked, this, command);
        layout->addWidget(button);
        return button;
    };
    m_new = addButton(tr("New..."), QStringLiteral("scheduledNew"), &ScheduledView::newItem);
    m_edit = addButton(tr("Edit..."), QStringLiteral("scheduledEdit"), &ScheduledView::editSelection);
    m_skip = addButton(tr("Skip"), QStringLiteral("scheduledSkip"), &ScheduledView::skipSelection);
    m_delete = addButton(tr("Delete"), QStringLiteral("scheduledDelete"), &ScheduledView::deleteSelection);
    layout->addStretch();
    m_projection = new QPushButton(tr("Projection..."), bar);
    m_projection->setObjectName(QStringLiteral("scheduledProjection"));
    m_projection->setToolTip(tr("Balances of all accounts over the next 36 months"));
    connect(m_projection, &QPushButton::clicked, this, [this] { openProjection(std::nullopt); });
    layout->addWidget(m_projection);
    return bar;
}

void ScheduledView::buildTable() {
    m_model = new ScheduledTableModel(m_list, this);
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("scheduledTable"));
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setShowGrid(false);
    m_table->setWordWrap(false);
    m_table->setFrameShape(QFrame::NoFrame);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 16);
    QHeaderView* header = m_table->horizontalHeader();
    header->setSectionResizeMode(ScheduledTableModel::Title, QHeaderView::Stretch);
    for (int column : {ScheduledTableModel::Account, ScheduledTableModel::Due, ScheduledTableModel::Schedule,
                       ScheduledTableModel::Amount, ScheduledTableModel::Action}) {
        header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
    header->setHighlightSections(false);
    m_table->setContextMenuPolicy(Qt::CustomContextMenu);
    m_table->installEventFilter(this);
    connect(m_table, &QWidget::customContextMenuRequested, this, &ScheduledView::showContextMenu);
    connect(m_table, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (std::optional<model::ScheduledItem> item = m_list.itemAt(static_cast<std::size_t>(index.row()))) {
            openEditor(item);
        }
    });
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        updateButtons();
        emit selectionChanged();
    });
}

void ScheduledView::reload() {
    std::vector<objectstore::ObjectID> selected;
    for (const model::ScheduledItem& item : selectedItems()) {
        selected.push_back(item.object()->id());
    }
    m_model->reload();
    showRows();
    for (const objectstore::ObjectID& item : selected) {
        if (const std::optional<std::size_t> row = m_list.rowOf(item)) {
            m_table->selectionModel()->select(m_model->index(static_cast<int>(*row), 0),
                                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }
    showStatus();
    updateButtons();
    emit badgeCountChanged(m_list.badgeCount());
}

void ScheduledView::showRows() {
    m_table->clearSpans();
    const auto& rows = m_list.rows();
    for (std::size_t index = 0; index < rows.size(); ++index) {
        const int row = static_cast<int>(index);
        if (rows[index].isGroup) {
            m_table->setSpan(row, 0, 1, ScheduledTableModel::ColumnCount);
            continue;
        }
        auto* button = new QPushButton(rows[index].actionTitle);
        button->setObjectName(QStringLiteral("scheduledAction"));
        button->setFocusPolicy(Qt::NoFocus);
        const objectstore::ObjectID item = *rows[index].item;
        connect(button, &QPushButton::clicked, this, [this, item] {
            if (objectstore::ManagedObject* object = m_workspace.context().object(item)) {
                payItem(model::ScheduledItem(object));
            }
        });
        m_table->setIndexWidget(m_model->index(row, ScheduledTableModel::Action), button);
    }
}

void ScheduledView::showStatus() {
    const app::ScheduledListModel::Status status = m_list.status();
    m_status->setText(QStringLiteral("<b>%1</b><span style=\"color:%2\">%3</span>&nbsp;&nbsp;&nbsp;%4")
                          .arg(status.label.toHtmlEscaped(), colourName(status.colour),
                               status.amountText.toHtmlEscaped(), status.countText.toHtmlEscaped()));
}

void ScheduledView::updateButtons() {
    const std::vector<model::ScheduledItem> selection = selectedItems();
    m_edit->setEnabled(app::ScheduledListModel::canEdit(selection));
    m_skip->setEnabled(app::ScheduledListModel::canSkip(selection));
    m_delete->setEnabled(app::ScheduledListModel::canDelete(selection));
    m_new->setEnabled(!m_workspace.context().all(u"Account").empty());
}

QPushButton* ScheduledView::actionButton(int row) const {
    return qobject_cast<QPushButton*>(m_table->indexWidget(m_model->index(row, ScheduledTableModel::Action)));
}

std::vector<model::ScheduledItem> ScheduledView::selectedItems() const {
    std::vector<std::size_t> rows;
    for (const QModelIndex& index : m_table->selectionModel()->selectedRows()) {
        rows.push_back(static_cast<std::size_t>(index.row()));
    }
    std::sort(rows.begin(), rows.end());
    return m_list.itemsAt(rows);
}

void ScheduledView::selectItem(const objectstore::ObjectID& item) {
    const std::optional<std::size_t> row = m_list.rowOf(item);
    if (!row) {
        return;
    }
    const QModelIndex index = m_model->index(static_cast<int>(*row), 0);
    m_table->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_table->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    m_table->scrollTo(index);
}

void ScheduledView::newItem() {
    openEditor(std::nullopt);
}

void ScheduledView::editSelection() {
    const std::vector<model::ScheduledItem> selection = selectedItems();
    if (app::ScheduledListModel::canEdit(selection)) {
        openEditor(selection.front());
    }
}

void ScheduledView::skipSelection() {
    const std::vector<model::ScheduledItem> selection = selectedItems();
    if (app::ScheduledListModel::canSkip(selection)) {
        m_list.skip(selection.front());
        reload();
    }
}

void ScheduledView::deleteSelection() {
    const std::vector<model::ScheduledItem> selection = selectedItems();
    if (app::ScheduledListModel::canDelete(selection)) {
        m_list.deleteItems(selection);
        reload();
    }
}

void ScheduledView::openEditor(const std::optional<model::ScheduledItem>& item) {
    auto* sheet = new ScheduledEditorSheet(m_workspace, item, m_localeId, this);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    connect(sheet, &ScheduledEditorSheet::itemSaved, this, [this](const objectstore::ObjectID& saved) {
        reload();
        selectItem(saved);
    });
    sheet->open();
}

void ScheduledView::payItem(const model::ScheduledItem& item) {
    auto* sheet = new PaySheet(m_workspace, item, m_localeId, this);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    connect(sheet, &PaySheet::paid, this, &ScheduledView::reload);
    sheet->open();
}

void ScheduledView::openProjection(const std::optional<model::Account>& account) {
    auto* sheet = new ProjectionSheet(m_workspace, account, this, m_localeId);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    connect(sheet, &ProjectionSheet::showItemRequested, this, &ScheduledView::selectItem);
    sheet->open();
}

void ScheduledView::clickStatusLine() {
    m_list.toggleSummaryMode();
    showStatus();
}

void ScheduledView::showContextMenu(const QPoint& position) {
    QMenu menu(this);
    menu.addAction(tr("New..."), this, &ScheduledView::newItem)->setEnabled(m_new->isEnabled());
    menu.addAction(tr("Edit..."), this, &ScheduledView::editSelection)->setEnabled(m_edit->isEnabled());
    menu.addAction(tr("Skip"), this, &ScheduledView::skipSelection)->setEnabled(m_skip->isEnabled());
    menu.addSeparator();
    menu.addAction(tr("Delete"), this, &ScheduledView::deleteSelection)->setEnabled(m_delete->isEnabled());
    menu.exec(m_table->viewport()->mapToGlobal(position));
}

bool ScheduledView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_status && event->type() == QEvent::MouseButtonRelease) {
        clickStatusLine();
        return true;
    }
    if (watched == m_table && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Delete || key->key() == Qt::Key_Backspace) {
            deleteSelection();
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            editSelection();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace vantrel::ui
