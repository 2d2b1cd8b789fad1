#pragma once

#include "app/ProjectionSheetModel.h"
#include "model/Account.h"
#include "model/IcuBridge.h"
#include "platform/objectstore/ObjectID.h"

#include <QDialog>

#include <optional>

class QLabel;
class QTableView;

namespace vantrel::app {
class Workspace;
}

namespace vantrel::ui {

class ProjectionTableModel;

// Every scheduled occurrence of the next 36 months with the balance it leads to, for one account or
// all of them. Double-clicking a row asks to show its item in the scheduled list and closes the sheet.
class ProjectionSheet : public QDialog {
    Q_OBJECT

public:
    ProjectionSheet(app::Workspace& workspace, std::optional<model::Account> account,
                    QWidget* parent = nullptr, const QString& localeId = model::IcuBridge::systemLocaleId());
    ~ProjectionSheet() override;

    const app::ProjectionSheetModel& projection() const { return m_projection; }
    QTableView* table() const { return m_table; }
    QLabel* startLabel() const { return m_start; }

signals:
    void showItemRequested(const vantrel::objectstore::ObjectID& item);

private:
    void rowActivated(const QModelIndex& index);

    app::ProjectionSheetModel m_projection;
    ProjectionTableModel* m_model = nullptr;
    QTableView* m_table = nullptr;
    QLabel* m_start = nullptr;
};

} // namespace vantrel::ui
