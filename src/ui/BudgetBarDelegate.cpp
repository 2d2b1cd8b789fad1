#include "ui/BudgetBarDelegate.h"

#include "ui/BudgetTableModel.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

#include <algorithm>

namespace vantrel::ui {

namespace {

constexpr int kBarHeight = 8;
constexpr int kMargin = 6;
const QColor kTrack(0xE4, 0xE6, 0xEA);
const QColor kBlue(0x4A, 0x90, 0xE2);
const QColor kRed(0xEC, 0x76, 0x63);
const QColor kMarker(0x40, 0x40, 0x40);

} // namespace

void BudgetBarDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    // The selection background first, as every other cell of the row has it.
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    background.text.clear();
    const QStyle* style = option.widget != nullptr ? option.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, option.widget);

    const QRect area = option.rect.adjusted(kMargin, 0, -kMargin, 0);
    if (area.width() <= 0) {
        return;
    }
    const QRectF track(area.left(), area.center().y() - kBarHeight / 2.0, area.width(), kBarHeight);
    const double fraction = std::clamp(index.data(BudgetTableModel::BarFractionRole).toDouble(), 0.0, 1.0);

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(kTrack);
    painter->drawRoundedRect(track, kBarHeight / 2.0, kBarHeight / 2.0);
    if (fraction > 0) {
        QRectF filled = track;
        filled.setWidth(std::max(track.width() * fraction, static_cast<double>(kBarHeight)));
        painter->setBrush(index.data(BudgetTableModel::BarIsRedRole).toBool() ? kRed : kBlue);
        painter->drawRoundedRect(filled, kBarHeight / 2.0, kBarHeight / 2.0);
    }
    if (const QVariant marker = index.data(BudgetTableModel::TodayMarkerRole); marker.isValid()) {
        const double x = track.left() + track.width() * std::clamp(marker.toDouble(), 0.0, 1.0);
        painter->setPen(QPen(kMarker, 1.5));
        painter->drawLine(QPointF(x, track.top() - 3), QPointF(x, track.bottom() + 3));
    }
    painter->restore();
}

QSize BudgetBarDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setWidth(std::max(size.width(), 160));
    size.setHeight(std::max(size.height(), kBarHeight + 14));
    return size;
}

} // namespace vantrel::ui
