#pragma once

#include <QObject>

class QTableView;

namespace vantrel::ui {

class RegisterTableModel;

// The pointer over a register's flag column: tells the table model which row's flag cell is
// hovered (it shows what a click would set) and turns a click on a flag cell into flagClicked
// instead of a selection, so flagging a row leaves the selection and an open editor alone.
class FlagCellTracker : public QObject {
    Q_OBJECT

public:
    FlagCellTracker(QTableView& table, RegisterTableModel& model, QObject* parent = nullptr);

signals:
    void flagClicked(int row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The row of the flag cell at `position` (viewport coordinates), -1 elsewhere.
    int flagRowAt(const QPoint& position) const;

    QTableView& m_table;
    RegisterTableModel& m_model;
};

} // namespace vantrel::ui
