#include "ui/PreferencesWindow.h"

#include "app/CategoryEditorModel.h"
#include "ui/CategoriesPane.h"
#include "ui/CurrenciesPane.h"

#include <QAction>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vantrel::ui {

PreferencesWindow::PreferencesWindow(app::Workspace& workspace, const QString& localeId, QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setWindowTitle(tr("Preferences"));
    setObjectName(QStringLiteral("preferencesWindow"));

    m_categories = new CategoriesPane(workspace, this);
    m_currencies = new CurrenciesPane(workspace, localeId, this);
    m_tabs = new QTabWidget(this);
    m_tabs->setDocumentMode(true);
    m_tabs->addTab(m_categories, app::CategoryEditorModel::paneTitle());
    m_tabs->addTab(m_currencies, tr("Currencies"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    resize(560, 520);

    auto* closeAction = new QAction(tr("Close"), this);
    // Not Escape: it belongs to the name editor of the category tree.
    closeAction->setShortcut(QKeySequence::Close);
    connect(closeAction, &QAction::triggered, this, &QWidget::close);
    addAction(closeAction);
}

void PreferencesWindow::showPane(Pane pane) {
    m_tabs->setCurrentWidget(pane == Pane::Categories ? static_cast<QWidget*>(m_categories)
                                                      : static_cast<QWidget*>(m_currencies));
    show();
    raise();
    activateWindow();
}

PreferencesWindow::Pane PreferencesWindow::currentPane() const {
    return m_tabs->currentWidget() == m_currencies ? Pane::Currencies : Pane::Categories;
}

} // namespace vantrel::ui
