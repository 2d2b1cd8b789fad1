#pragma once

#include <QStyledItemDelegate>

namespace vantrel::ui {

// Paints a budget row's progress: a rounded track, the filled share (blue, red when an expense is
// over its limit) and a thin line where today lies in the period.
class BudgetBarDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace vantrel::ui
