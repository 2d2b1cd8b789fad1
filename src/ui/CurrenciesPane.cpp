#include "ui/CurrenciesPane.h"

#include "app/Workspace.h"
#include "platform/NotificationHub.h"
#include "platform/NotificationNames.h"
#include "ui/CurrencyTableModel.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

namespace vantrel::ui {

CurrenciesPane::CurrenciesPane(app::Workspace& workspace, const QString& localeId, QWidget* parent)
    : QWidget(parent)
    , m_pane(workspace, localeId) {
    m_model = new CurrencyTableModel(workspace, m_pane, this);
    buildLayout();
    showPaneState();
    workspace.notifications().observe(QString::fromLatin1(platform::kRefreshAllViews), this,
                                      [this](const platform::Notification&) { showPaneState(); });
}

void CurrenciesPane::buildLayout() {
    m_homeMenu = new QComboBox(this);
    m_homeMenu->setObjectName(QStringLiteral("homeCurrencyMenu"));
    m_homeMenu->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    connect(m_homeMenu, &QComboBox::activated, this, &CurrenciesPane::homeCurrencyPicked);

    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("currencyTable"));
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setAlternatingRowColors(true);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(CurrencyTableModel::NameColumn, QHeaderView::Stretch);
    m_table->horizontalHeader()->setSectionResizeMode(CurrencyTableModel::CodeColumn,
                                                      QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setSectionResizeMode(CurrencyTableModel::RateColumn,
                                                      QHeaderView::ResizeToContents);
    m_table->setMinimumSize(420, 300);

    m_lastUpdated = new QLabel(this);
    m_lastUpdated->setObjectName(QStringLiteral("lastUpdatedLabel"));
    m_lastUpdated->setForegroundRole(QPalette::PlaceholderText);

    auto* form = new QFormLayout;
    form->addRow(tr("&Home Currency:"), m_homeMenu);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_lastUpdated);
}

void CurrenciesPane::showPaneState() {
    const QSignalBlocker blocker(m_homeMenu);
    m_homeMenu->clear();
    for (const app::CurrenciesPaneModel::MenuItem& item : m_pane.homeCurrencyMenu()) {
        m_homeMenu->addItem(item.title, item.code);
    }
    // The menu lists the home currency first.
    m_homeMenu->setCurrentIndex(m_homeMenu->count() > 0 ? 0 : -1);
    m_lastUpdated->setText(m_pane.lastUpdatedText());
}

void CurrenciesPane::homeCurrencyPicked(int index) {
    // A new home currency refreshes every view, this pane with them.
    m_pane.changeHomeCurrency(m_homeMenu->itemData(index).toString());
}

} // namespace vantrel::ui
