#pragma once

#include "app/ScheduledListModel.h"
#include "model/Account.h"
#include "model/IcuBridge.h"
#include "platform/objectstore/ObjectID.h"

#include <QWidget>

#include <optional>
#include <vector>

class QLabel;
class QPushButton;
class QTableView;

namespace vantrel::app {
class Workspace;
}

namespace vantrel::ui {

class ScheduledTableModel;

// The scheduled-items view: the list grouped by how soon items are due, each item with its action
// button ("Pay", "Deposit", "Transfer") that opens the pay sheet; New, Edit, Skip and Delete; and the
// status line of the monthly figure, which switches between expense and net on a click.
class ScheduledView : public QWidget {
    Q_OBJECT

public:
    explicit ScheduledView(app::Workspace& workspace, QWidget* parent = nullptr,
                           const QString& localeId = model::IcuBridge::systemLocaleId());
    ~ScheduledView() override;

    // Re-reads the items, keeping the selection where it can; announces the badge count.
    void reload();
    void selectItem(const objectstore::ObjectID& item);
    std::vector<model::ScheduledItem> selectedItems() const;

    // Commands of the buttons, the context menu and the window's menus.
    void newItem();
    void editSelection();
    void skipSelection();
    void deleteSelection();
    void payItem(const model::ScheduledItem& item);
    // Nothing: all accounts.
    void openProjection(const std::optional<model::Account>& account);

    app::ScheduledListModel& listModel() { return m_list; }
    QTableView* table() const { return m_table; }
    ScheduledTableModel* tableModel() const { return m_model; }
    // The action button of an item row; nullptr for a group row.
    QPushButton* actionButton(int row) const;
    QPushButton* newButton() const { return m_new; }
    QPushButton* editButton() const { return m_edit; }
    QPushButton* skipButton() const { return m_skip; }
    QPushButton* deleteButton() const { return m_delete; }
    QLabel* statusLabel() const { return m_status; }
    // A click on the status line.
    void clickStatusLine();

signals:
    void badgeCountChanged(int count);
    // Selection or content changed: the window updates its menus.
    void selectionChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildButtonBar();
    void buildTable();
    void showRows();
    void showStatus();
    void updateButtons();
    void showContextMenu(const QPoint& position);
    void openEditor(const std::optional<model::ScheduledItem>& item);

    app::Workspace& m_workspace;
    QString m_localeId;
    app::ScheduledListModel m_list;
    ScheduledTableModel* m_model = nullptr;
    QTableView* m_table = nullptr;
    QPushButton* m_new = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_skip = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_projection = nullptr;
    QLabel* m_status = nullptr;
};

} // namespace vantrel::ui
