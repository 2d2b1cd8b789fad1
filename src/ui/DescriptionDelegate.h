#pragma once

#include <QStyledItemDelegate>

namespace vantrel::ui {

// Draws a register's description cell: the title on the first line and, when there are notes, the
// notes below it in a smaller, quieter type.
class DescriptionDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

} // namespace vantrel::ui
