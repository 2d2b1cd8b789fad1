#pragma once

#include "app/CategoryFieldModel.h"
#include "platform/objectstore/ManagedObject.h"

#include <QWidget>

class QCompleter;
class QLineEdit;
class QMenu;
class QStringListModel;
class QToolButton;

namespace vantrel::app {
class Workspace;
}

namespace vantrel::ui {

// The category chooser of the editors: a line edit that completes category names in a popup and
// commits what was typed (offering to create a category that does not exist), and a button with the
// menu of all categories, which ends with "Edit Categories...".
class CategoryField : public QWidget {
    Q_OBJECT

public:
    explicit CategoryField(app::Workspace& workspace, QWidget* parent = nullptr);

    objectstore::ManagedObject* category() const { return m_model.category(); }
    // Shows `category` (nullptr: none) without announcing a choice.
    void setCategory(objectstore::ManagedObject* category);
    // Commits typed text that differs from the chosen category's name.
    void commit();
    bool isCompleting() const;

    QLineEdit* lineEdit() const { return m_edit; }
    QToolButton* menuButton() const { return m_button; }
    QCompleter* completer() const { return m_completer; }
    QMenu* menu() const { return m_menu; }

signals:
    // The user chose a category (nullptr: none).
    void categoryChosen(vantrel::objectstore::ManagedObject* category);
    // "Edit Categories..." in the menu: the window opens the categories preferences.
    void editCategoriesRequested();

private:
    void offerCompletions(const QString& typed);
    void fillMenu();
    void choose(objectstore::ManagedObject* category);
    void showChosen();

    app::CategoryFieldModel m_model;
    QLineEdit* m_edit = nullptr;
    QToolButton* m_button = nullptr;
    QMenu* m_menu = nullptr;
    QCompleter* m_completer = nullptr;
    QStringListModel* m_completions = nullptr;
};

} // namespace vantrel::ui
