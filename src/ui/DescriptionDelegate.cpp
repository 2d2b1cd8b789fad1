#include "ui/DescriptionDelegate.h"

#include "ui/RegisterTableModel.h"

#include <QApplication>
#include <QPainter>

#include <algorithm>

namespace vantrel::ui {

void DescriptionDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    const QString notes = index.data(RegisterTableModel::NotesRole).toString();
    if (notes.isEmpty()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    item.text.clear();
    const QWidget* widget = option.widget;
    QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    // Background, selection and focus as for any cell; the two lines on top.
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);

    const QRect textRect =
        style->subElementRect(QStyle::SE_ItemViewItemText, &item, widget).adjusted(2, 0, -2, 0);
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette::ColorGroup group =
        option.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    const QColor textColour =
        option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);
    QColor notesColour = textColour;
    if (!selected) {
        notesColour = option.palette.color(group, QPalette::PlaceholderText);
    }

    QFont notesFont = option.font;
    if (option.font.pointSizeF() > 0) {
        notesFont.setPointSizeF(option.font.pointSizeF() * 0.85);
    } else {
        notesFont.setPixelSize(std::max(1, option.font.pixelSize() * 85 / 100));
    }
    const QFontMetrics titleMetrics(option.font);
    const QFontMetrics notesMetrics(notesFont);
    const int height = titleMetrics.height() + notesMetrics.height();
    const int top = textRect.top() + std::max(0, (textRect.height() - height) / 2);

    painter->save();
    painter->setClipRect(textRect);
    painter->setFont(option.font);
    painter->setPen(textColour);
    const QString title = index.data(RegisterTableModel::TitleRole).toString();
    painter->drawText(QRect(textRect.left(), top, textRect.width(), titleMetrics.height()),
                      Qt::AlignLeft | Qt::AlignVCenter,
                      titleMetrics.elidedText(title, Qt::ElideRight, textRect.width()));
    painter->setFont(notesFont);
    painter->setPen(notesColour);
    const QString firstLine = notes.section(u'\n', 0, 0);
    painter->drawText(
        QRect(textRect.left(), top + titleMetrics.height(), textRect.width(), notesMetrics.height()),
        Qt::AlignLeft | Qt::AlignVCenter,
        notesMetrics.elidedText(firstLine, Qt::ElideRight, textRect.width()));
    painter->restore();
}

} // namespace vantrel::ui
