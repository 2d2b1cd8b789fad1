#pragma once

#include "app/TrendsChartData.h"

#include <QWidget>

namespace vantrel::ui {

// The trends chart: months at equal spacing with the most recent at the right end, a value axis
// with round steps and light grid lines, one line per series in its colour. Resting the pointer on
// the chart marks the nearest month and lists every series' value there.
class LineChart : public QWidget {
    Q_OBJECT

public:
    explicit LineChart(QWidget* parent = nullptr);

    void setData(app::TrendsChartData data);
    const app::TrendsChartData& data() const { return m_data; }
    int seriesCount() const { return static_cast<int>(m_data.lines.size()); }
    // The month under an x position of the widget, or -1 outside the plot.
    int monthAt(int x) const;

    QSize sizeHint() const override { return {560, 340}; }
    QSize minimumSizeHint() const override { return {260, 180}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QRectF plotRect() const;
    double xOf(int month, const QRectF& plot) const;
    double yOf(double value, const QRectF& plot) const;
    void paintValueAxis(QPainter& painter, const QRectF& plot) const;
    void paintMonthAxis(QPainter& painter, const QRectF& plot) const;
    void paintLines(QPainter& painter, const QRectF& plot) const;
    void paintHover(QPainter& painter, const QRectF& plot) const;
    QString tipFor(int month) const;

    app::TrendsChartData m_data;
    int m_hovered = -1;
};

} // namespace vantrel::ui
