#include "ui/SidebarDelegate.h"

#include "app/SidebarNode.h"
#include "ui/SidebarModel.h"

#include <QApplication>
#include <QPainter>

#include <algorithm>

namespace vantrel::ui {

namespace {

using Kind = app::SidebarNode::Kind;

constexpr int kSpacerHeight = 6;
constexpr int kIconSize = 16;
constexpr int kPadding = 6;

Kind kindOf(const QModelIndex& index) {
    return static_cast<Kind>(index.data(SidebarModel::KindRole).toInt());
}

// A red pill with the count, right-aligned in `area`; returns its left edge.
int paintBadge(QPainter* painter, const QRect& area, const QFont& itemFont, int count) {
    QFont font = itemFont;
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 0.8);
    const QString text = QString::number(count);
    const QFontMetrics metrics(font);
    const int height = metrics.height() + 2;
    const int width = std::max(height, metrics.horizontalAdvance(text) + height / 2 + 4);
    const QRect pill(area.right() - width, area.center().y() - height / 2, width, height);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(QColor(0xEC, 0x76, 0x63));
    painter->drawRoundedRect(pill, height / 2.0, height / 2.0);
    painter->setPen(Qt::white);
    painter->setFont(font);
    painter->drawText(pill, Qt::AlignCenter, text);
    painter->restore();
    return pill.left();
}

} // namespace

QSize SidebarDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    switch (kindOf(index)) {
    case Kind::Spacer:
        return {size.width(), kSpacerHeight};
    case Kind::Group:
        return {size.width(), size.height() + 8};
    default:
        return {size.width(), std::max(size.height(), kIconSize + 8)};
    }
}

void SidebarDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
    const Kind kind = kindOf(index);
    if (kind == Kind::Spacer) {
        return;
    }
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QWidget* widget = option.widget;
    QStyle* style = widget != nullptr ? widget->style() : QApplication::style();

    if (kind == Kind::Group) {
        painter->save();
        QFont font = item.font;
        font.setBold(true);
        font.setCapitalization(QFont::AllUppercase);
        font.setPointSizeF(font.pointSizeF() * 0.85);
        painter->setFont(font);
        painter->setPen(item.palette.color(QPalette::PlaceholderText));
        const QRect text = item.rect.adjusted(kPadding, 6, -kPadding, 0);
        painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter, item.text);
        painter->restore();
        return;
    }

    // The background (selection, hover) as the style draws it, then our own content.
    const int badge = index.data(SidebarModel::BadgeRole).toInt();
    const QString balance = index.data(SidebarModel::BalanceRole).toString();
    const QString title = item.text;
    const QIcon icon = item.icon;
    item.text.clear();
    item.icon = QIcon();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);

    painter->save();
    const bool selected = option.state & QStyle::State_Selected;
    const QColor text = item.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
    QRect area = item.rect.adjusted(kPadding, 0, -kPadding, 0);
    if (!icon.isNull()) {
        const QRect iconRect(area.left(), area.center().y() - kIconSize / 2, kIconSize, kIconSize);
        icon.paint(painter, iconRect);
        area.setLeft(iconRect.right() + kPadding);
    }
    if (badge > 0) {
        area.setRight(paintBadge(painter, area, item.font, badge) - kPadding);
    }
    QFont balanceFont = item.font;
    balanceFont.setPointSizeF(balanceFont.pointSizeF() * 0.92);
    const int balanceWidth = balance.isEmpty() ? 0 : QFontMetrics(balanceFont).horizontalAdvance(balance);
    if (!balance.isEmpty()) {
        painter->setFont(balanceFont);
        painter->setPen(selected ? text : item.palette.color(QPalette::PlaceholderText));
        painter->drawText(area, Qt::AlignRight | Qt::AlignVCenter, balance);
    }
    painter->setFont(item.font);
    painter->setPen(text);
    const QRect titleRect = area.adjusted(0, 0, -(balanceWidth + (balanceWidth > 0 ? kPadding : 0)), 0);
    const QString elided = QFontMetrics(item.font).elidedText(title, Qt::ElideRight, titleRect.width());
    painter->drawText(titleRect, Qt::AlignLeft | Qt::AlignVCenter, elided);
    painter->restore();
}

} // namespace vantrel::ui
