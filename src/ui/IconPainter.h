#pragma once

#include <QColor>
#include <QPointF>
#include <QRectF>

#include <initializer_list>

class QBrush;
class QPainter;
class QPainterPath;

namespace vantrel::ui {

// The few shapes the icons are built from, on a painter already scaled to the icon's design grid.
// Everything is antialiased; the erase calls cut transparent gaps between overlapping shapes, which
// keeps them apart on any background (they need a painter on an image with an alpha channel).
class IconPainter {
public:
    explicit IconPainter(QPainter& painter);

    void fillRect(const QRectF& rect, const QColor& color, qreal radius = 0);
    void fillEllipse(QPointF center, qreal radius, const QColor& color);
    void fillOval(const QRectF& bounds, const QColor& color);
    void fillPolygon(std::initializer_list<QPointF> points, const QColor& color);
    void fillPie(QPointF center, qreal radius, qreal startDegrees, qreal spanDegrees, const QColor& color);
    void fillPath(const QPainterPath& path, const QBrush& brush);
    // Round caps and joins.
    void strokeLine(std::initializer_list<QPointF> points, qreal width, const QColor& color);
    void strokeEllipse(QPointF center, qreal radius, qreal width, const QColor& color);
    // Flat caps, so segments of one ring meet edge to edge.
    void strokeArc(QPointF center, qreal radius, qreal startDegrees, qreal spanDegrees, qreal width,
                   const QColor& color);

    void eraseRect(const QRectF& rect, qreal radius = 0);
    void eraseLine(std::initializer_list<QPointF> points, qreal width);

private:
    void drawPolyline(std::initializer_list<QPointF> points, qreal width, const QColor& color);

    QPainter& painter_;
};

} // namespace vantrel::ui
