#include "ui/FlagCellTracker.h"

#include "ui/RegisterTableModel.h"

#include <QMouseEvent>
#include <QTableView>

namespace vantrel::ui {

FlagCellTracker::FlagCellTracker(QTableView& table, RegisterTableModel& model, QObject* parent)
    : QObject(parent)
    , m_table(table)
    , m_model(model) {
    m_table.viewport()->setMouseTracking(true);
    m_table.viewport()->installEventFilter(this);
}

int FlagCellTracker::flagRowAt(const QPoint& position) const {
    const QModelIndex index = m_table.indexAt(position);
    if (!index.isValid() || index.column() != RegisterTableModel::Flag) {
        return -1;
    }
    // A row spanned by the edit panel has no flag cell of its own.
    return m_table.columnSpan(index.row(), index.column()) > 1 ? -1 : index.row();
}

bool FlagCellTracker::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_table.viewport()) {
        return false;
    }
    switch (event->type()) {
    case QEvent::MouseMove:
        m_model.setHoveredFlagRow(flagRowAt(static_cast<QMouseEvent*>(event)->position().toPoint()));
        return false;
    case QEvent::Leave:
        m_model.setHoveredFlagRow(-1);
        return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const int row = flagRowAt(mouse->position().toPoint());
        if (row < 0 || mouse->button() != Qt::LeftButton) {
            return false;
        }
        if (event->type() == QEvent::MouseButtonPress) {
            emit flagClicked(row);
        }
        return true;
    }
    default:
        return false;
    }
}

} // namespace vantrel::ui
