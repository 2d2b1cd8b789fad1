#pragma once

#include <QStyledItemDelegate>

namespace vantrel::ui {

// Draws the sidebar: group titles as small capitals headings, entries with their icon, name and
// (for accounts and "All Accounts") the balance at the right edge, spacers as thin gaps.
class SidebarDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace vantrel::ui
