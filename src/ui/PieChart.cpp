#include "ui/PieChart.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include <cmath>
#include <numbers>

namespace vantrel::ui {

namespace {

constexpr double kMargin = 12;
// How far the selected slice moves out of the ring.
constexpr double kLift = 8;
constexpr double kHoleRatio = 0.58;

QColor colorFromHex(const QString& hex) {
    return QColor(QLatin1Char('#') + hex);
}

// Degrees clockwise from twelve o'clock to the point, in [0, 360).
double clockAngle(const QPointF& fromCenter) {
    const double degrees = std::atan2(fromCenter.x(), -fromCenter.y()) * 180.0 / std::numbers::pi;
    return degrees < 0 ? degrees + 360.0 : degrees;
}

QPointF pointAt(const QPointF& center, double radius, double clockDegrees) {
    const double radians = clockDegrees * std::numbers::pi / 180.0;
    return center + QPointF(radius * std::sin(radians), -radius * std::cos(radians));
}

} // namespace

PieChart::PieChart(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("breakdownPie"));
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void PieChart::setSlices(std::vector<app::BreakdownSlice> slices) {
    m_slices = std::move(slices);
    m_hovered = -1;
    update();
}

void PieChart::setSelectedSlice(std::optional<int> slice) {
    m_selected = slice;
    update();
}

void PieChart::setCenterText(const QString& caption, const QString& value) {
    m_caption = caption;
    m_value = value;
    update();
}

std::vector<PieChart::Arc> PieChart::arcs() const {
    double sum = 0;
    for (const app::BreakdownSlice& slice : m_slices) {
        sum += std::abs(static_cast<double>(slice.value));
    }
    std::vector<Arc> arcs;
    double start = 0;
    for (const app::BreakdownSlice& slice : m_slices) {
        const double span = sum > 0 ? 360.0 * std::abs(static_cast<double>(slice.value)) / sum : 0.0;
        arcs.push_back({start, span});
        start += span;
    }
    return arcs;
}

double PieChart::outerRadius() const {
    return std::max(10.0, std::min(width(), height()) / 2.0 - kMargin - kLift);
}

double PieChart::innerRadius() const {
    return outerRadius() * kHoleRatio;
}

QRectF PieChart::ringRect() const {
    const double radius = outerRadius();
    const QPointF center = QRectF(rect()).center();
    return {center.x() - radius, center.y() - radius, 2 * radius, 2 * radius};
}

int PieChart::sliceAt(const QPoint& point) const {
    const QPointF fromCenter = QPointF(point) - QRectF(rect()).center();
    const double distance = std::hypot(fromCenter.x(), fromCenter.y());
    if (distance < innerRadius() || distance > outerRadius() + kLift) {
        return -1;
    }
    const double angle = clockAngle(fromCenter);
    const std::vector<Arc> all = arcs();
    for (std::size_t index = 0; index < all.size(); ++index) {
        if (all[index].span > 0 && angle >= all[index].start && angle < all[index].start + all[index].span) {
            return static_cast<int>(index);
        }
    }
    return -1;
}

QPoint PieChart::sliceCenter(int slice) const {
    const std::vector<Arc> all = arcs();
    if (slice < 0 || slice >= static_cast<int>(all.size())) {
        return {};
    }
    const Arc& arc = all[static_cast<std::size_t>(slice)];
    return pointAt(QRectF(rect()).center(), (innerRadius() + outerRadius()) / 2, arc.start + arc.span / 2)
        .toPoint();
}

void PieChart::paintSlice(QPainter& painter, int index, const Arc& arc) const {
    const bool selected = m_selected == index;
    const QPointF offset = selected ? pointAt(QPointF(0, 0), kLift, arc.start + arc.span / 2) : QPointF(0, 0);
    const QRectF outer = ringRect().translated(offset);
    const double hole = innerRadius();
    const QRectF inner(outer.center().x() - hole, outer.center().y() - hole, 2 * hole, 2 * hole);

    // Qt counts angles counter-clockwise from three o'clock.
    const double qtStart = 90.0 - arc.start;
    QPainterPath path;
    path.arcMoveTo(outer, qtStart);
    path.arcTo(outer, qtStart, -arc.span);
    path.arcTo(inner, qtStart - arc.span, arc.span);
    path.closeSubpath();

    QColor fill = colorFromHex(m_slices[static_cast<std::size_t>(index)].color);
    if (index == m_hovered && !selected) {
        fill = fill.lighter(112);
    }
    painter.setPen(QPen(palette().color(QPalette::Base), arc.span < 359.9 ? 2.0 : 0.0));
    painter.setBrush(fill);
    painter.drawPath(path);
}

void PieChart::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const std::vector<Arc> all = arcs();
    bool anyDrawn = false;
    for (std::size_t index = 0; index < all.size(); ++index) {
        if (all[index].span > 0) {
            paintSlice(painter, static_cast<int>(index), all[index]);
            anyDrawn = true;
        }
    }
    if (!anyDrawn) {
        // An empty period still shows where the ring would be.
        QPainterPath ring;
        ring.addEllipse(ringRect());
        const double hole = innerRadius();
        ring.addEllipse(ringRect().center(), hole, hole);
        painter.setPen(Qt::NoPen);
        painter.setBrush(palette().color(QPalette::Midlight));
        painter.drawPath(ring);
    }

    const double hole = innerRadius();
    const QRectF middle(ringRect().center().x() - hole, ringRect().center().y() - hole, 2 * hole, 2 * hole);
    QFont captionFont = font();
    painter.setFont(captionFont);
    painter.setPen(palette().color(QPalette::PlaceholderText));
    const QRectF captionRect = middle.adjusted(0, 0, 0, -middle.height() / 2 - 2);
    painter.drawText(captionRect, Qt::AlignHCenter | Qt::AlignBottom, m_caption);
    QFont valueFont = font();
    valueFont.setBold(true);
    valueFont.setPointSizeF(valueFont.pointSizeF() * 1.35);
    painter.setFont(valueFont);
    painter.setPen(palette().color(QPalette::Text));
    const QRectF valueRect = middle.adjusted(4, middle.height() / 2 + 2, -4, 0);
    painter.drawText(valueRect, Qt::AlignHCenter | Qt::AlignTop, m_value);
}

void PieChart::mousePressEvent(QMouseEvent* event) {
    const int slice = sliceAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && slice >= 0) {
        emit sliceClicked(slice);
    }
    QWidget::mousePressEvent(event);
}

void PieChart::mouseDoubleClickEvent(QMouseEvent* event) {
    const int slice = sliceAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && slice >= 0) {
        emit sliceDoubleClicked(slice);
    }
}

void PieChart::mouseMoveEvent(QMouseEvent* event) {
    const int slice = sliceAt(event->position().toPoint());
    if (slice != m_hovered) {
        m_hovered = slice;
        setCursor(slice >= 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
        update();
    }
    if (slice >= 0) {
        QToolTip::showText(event->globalPosition().toPoint(), m_slices[static_cast<std::size_t>(slice)].name,
                           this);
    } else {
        QToolTip::hideText();
    }
    QWidget::mouseMoveEvent(event);
}

void PieChart::leaveEvent(QEvent* event) {
    m_hovered = -1;
    update();
    QWidget::leaveEvent(event);
}

} // namespace vantrel::ui
