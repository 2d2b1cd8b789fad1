#include "ui/IconPainter.h"

#include <QBrush>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>

namespace vantrel::ui {

namespace {

// Qt counts arc angles in sixteenths of a degree, counter-clockwise from three o'clock.
int sixteenths(qreal degrees) {
    return qRound(degrees * 16);
}

QRectF squareAround(QPointF center, qreal radius) {
    return {center.x() - radius, center.y() - radius, 2 * radius, 2 * radius};
}

// Restores the painter's pen, brush and composition mode when a shape is done.
class PainterState {
public:
    explicit PainterState(QPainter& painter)
        : painter_(painter) {
        painter_.save();
    }
    ~PainterState() { painter_.restore(); }
    PainterState(const PainterState&) = delete;
    PainterState& operator=(const PainterState&) = delete;

private:
    QPainter& painter_;
};

} // namespace

IconPainter::IconPainter(QPainter& painter)
    : painter_(painter) {
    painter_.setRenderHint(QPainter::Antialiasing);
}

void IconPainter::fillRect(const QRectF& rect, const QColor& color, qreal radius) {
    PainterState state(painter_);
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(color);
    painter_.drawRoundedRect(rect, radius, radius);
}

void IconPainter::fillEllipse(QPointF center, qreal radius, const QColor& color) {
    PainterState state(painter_);
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(color);
    painter_.drawEllipse(center, radius, radius);
}

void IconPainter::fillOval(const QRectF& bounds, const QColor& color) {
    PainterState state(painter_);
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(color);
    painter_.drawEllipse(bounds);
}

void IconPainter::fillPolygon(std::initializer_list<QPointF> points, const QColor& color) {
    PainterState state(painter_);
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(color);
    painter_.drawPolygon(QPolygonF(QList<QPointF>(points)));
}

void IconPainter::fillPie(QPointF center, qreal radius, qreal startDegrees, qreal spanDegrees,
                          const QColor& color) {
    PainterState state(painter_);
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(color);
    painter_.drawPie(squareAround(center, radius), sixteenths(startDegrees), sixteenths(spanDegrees));
}

void IconPainter::fillPath(const QPainterPath& path, const QBrush& brush) {
    PainterState state(painter_);
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(brush);
    painter_.drawPath(path);
}

void IconPainter::strokeLine(std::initializer_list<QPointF> points, qreal width, const QColor& color) {
    PainterState state(painter_);
    drawPolyline(points, width, color);
}

void IconPainter::strokeEllipse(QPointF center, qreal radius, qreal width, const QColor& color) {
    PainterState state(painter_);
    painter_.setPen(QPen(color, width));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawEllipse(center, radius, radius);
}

void IconPainter::strokeArc(QPointF center, qreal radius, qreal startDegrees, qreal spanDegrees, qreal width,
                            const QColor& color) {
    PainterState state(painter_);
    painter_.setPen(QPen(color, width, Qt::SolidLine, Qt::FlatCap));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawArc(squareAround(center, radius), sixteenths(startDegrees), sixteenths(spanDegrees));
}

void IconPainter::eraseRect(const QRectF& rect, qreal radius) {
    PainterState state(painter_);
    painter_.setCompositionMode(QPainter::CompositionMode_Clear);
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(Qt::black);
    painter_.drawRoundedRect(rect, radius, radius);
}

void IconPainter::eraseLine(std::initializer_list<QPointF> points, qreal width) {
    PainterState state(painter_);
    painter_.setCompositionMode(QPainter::CompositionMode_Clear);
    drawPolyline(points, width, Qt::black);
}

void IconPainter::drawPolyline(std::initializer_list<QPointF> points, qreal width, const QColor& color) {
    painter_.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawPolyline(QPolygonF(QList<QPointF>(points)));
}

} // namespace vantrel::ui
