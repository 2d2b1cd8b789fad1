#pragma once

#include "app/BreakdownSlice.h"

#include <QString>
#include <QWidget>

#include <optional>
#include <vector>

namespace vantrel::ui {

// The breakdown's ring of slices, largest first clockwise from twelve o'clock, with the side's
// name and total in the middle. The selected slice stands out from the ring.
class PieChart : public QWidget {
    Q_OBJECT

public:
    explicit PieChart(QWidget* parent = nullptr);

    void setSlices(std::vector<app::BreakdownSlice> slices);
    void setSelectedSlice(std::optional<int> slice);
    void setCenterText(const QString& caption, const QString& value);

    int sliceCount() const { return static_cast<int>(m_slices.size()); }
    // The slice under a point of the widget, or -1.
    int sliceAt(const QPoint& point) const;
    // A point well inside a slice (the middle of its arc within the ring).
    QPoint sliceCenter(int slice) const;

    QSize sizeHint() const override { return {320, 320}; }
    QSize minimumSizeHint() const override { return {200, 200}; }

signals:
    void sliceClicked(int slice);
    void sliceDoubleClicked(int slice);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    // Start and span of each slice in degrees, clockwise from twelve o'clock.
    struct Arc {
        double start = 0;
        double span = 0;
    };

    std::vector<Arc> arcs() const;
    QRectF ringRect() const;
    double outerRadius() const;
    double innerRadius() const;
    void paintSlice(QPainter& painter, int index, const Arc& arc) const;

    std::vector<app::BreakdownSlice> m_slices;
    std::optional<int> m_selected;
    int m_hovered = -1;
    QString m_caption;
    QString m_value;
};

} // namespace vantrel::ui
