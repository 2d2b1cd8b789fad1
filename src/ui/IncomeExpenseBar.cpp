#include "ui/IncomeExpenseBar.h"

#include <QPainter>
#include <QPainterPath>

namespace vantrel::ui {

namespace {

// The breakdown's own green and red, so the bar matches the pie.
const QColor kIncomeColor(0x62, 0xC7, 0x49);
const QColor kExpenseColor(0xEC, 0x76, 0x63);

} // namespace

IncomeExpenseBar::IncomeExpenseBar(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("incomeExpenseBar"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void IncomeExpenseBar::setShares(float income, float expense) {
    m_income = income;
    m_expense = expense;
    update();
}

void IncomeExpenseBar::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bar = QRectF(rect()).adjusted(0.5, 1.5, -0.5, -1.5);
    const double radius = bar.height() / 2;
    QPainterPath outline;
    outline.addRoundedRect(bar, radius, radius);
    painter.setClipPath(outline);
    painter.fillRect(bar, palette().color(QPalette::Midlight));
    const double incomeWidth = bar.width() * static_cast<double>(m_income);
    const double expenseWidth = bar.width() * static_cast<double>(m_expense);
    painter.fillRect(QRectF(bar.left(), bar.top(), incomeWidth, bar.height()), kIncomeColor);
    painter.fillRect(QRectF(bar.right() - expenseWidth, bar.top(), expenseWidth, bar.height()),
                     kExpenseColor);
    if (incomeWidth > 0 && expenseWidth > 0) {
        painter.setPen(QPen(palette().color(QPalette::Base), 2));
        painter.drawLine(QPointF(bar.left() + incomeWidth, bar.top()),
                         QPointF(bar.left() + incomeWidth, bar.bottom()));
    }
}

} // namespace vantrel::ui
