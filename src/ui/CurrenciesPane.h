#pragma once

#include "app/CurrenciesPaneModel.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QTableView;

namespace vantrel::app {
class Workspace;
}

namespace vantrel::ui {

class CurrencyTableModel;

// The "Currencies" preferences pane: the home currency menu above the table of the other
// currencies with their rates, and when the rates were last updated below it.
class CurrenciesPane : public QWidget {
    Q_OBJECT

public:
    CurrenciesPane(app::Workspace& workspace, const QString& localeId, QWidget* parent = nullptr);

    QComboBox* homeCurrencyMenu() const { return m_homeMenu; }
    QTableView* table() const { return m_table; }
    CurrencyTableModel* tableModel() const { return m_model; }
    QLabel* lastUpdatedLabel() const { return m_lastUpdated; }

private:
    void buildLayout();
    // The menu and the label; the table follows the same refresh on its own.
    void showPaneState();
    void homeCurrencyPicked(int index);

    app::CurrenciesPaneModel m_pane;
    CurrencyTableModel* m_model = nullptr;
    QComboBox* m_homeMenu = nullptr;
    QTableView* m_table = nullptr;
    QLabel* m_lastUpdated = nullptr;
};

} // namespace vantrel::ui
