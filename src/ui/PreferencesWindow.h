#pragma once

#include "model/IcuBridge.h"

#include <QWidget>

class QTabWidget;

namespace vantrel::app {
class Workspace;
}

namespace vantrel::ui {

class CategoriesPane;
class CurrenciesPane;

// The application's preferences: one page per pane, "Categories" and "Currencies". One window
// for the whole application; showPane brings it forward on the pane asked for.
class PreferencesWindow : public QWidget {
    Q_OBJECT

public:
    enum class Pane { Categories, Currencies };

    explicit PreferencesWindow(app::Workspace& workspace,
                               const QString& localeId = model::IcuBridge::systemLocaleId(),
                               QWidget* parent = nullptr);

    void showPane(Pane pane);
    Pane currentPane() const;

    QTabWidget* tabs() const { return m_tabs; }
    CategoriesPane* categoriesPane() const { return m_categories; }
    CurrenciesPane* currenciesPane() const { return m_currencies; }

private:
    QTabWidget* m_tabs = nullptr;
    CategoriesPane* m_categories = nullptr;
    CurrenciesPane* m_currencies = nullptr;
};

} // namespace vantrel::ui
