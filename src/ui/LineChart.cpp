#include "ui/LineChart.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace vantrel::ui {

namespace {

constexpr double kPadding = 12;
constexpr double kTickGap = 8;
// Dots mark the months while there are few enough of them to tell apart.
constexpr int kMostMonthsWithDots = 36;

QColor colorFromHex(const QString& hex) {
    return QColor(QLatin1Char('#') + hex);
}

} // namespace

LineChart::LineChart(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("trendsChart"));
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void LineChart::setData(app::TrendsChartData data) {
    m_data = std::move(data);
    m_hovered = -1;
    update();
}

QRectF LineChart::plotRect() const {
    const QFontMetricsF metrics(font());
    double labelWidth = 0;
    for (const QString& label : m_data.valueLabels) {
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(label));
    }
    const double left = kPadding + labelWidth + kTickGap;
    const double bottom = kPadding + metrics.height() + kTickGap;
    const double right = kPadding + metrics.horizontalAdvance(QStringLiteral("MMM 0000")) / 2;
    return QRectF(QPointF(left, kPadding + metrics.height() / 2),
                  QPointF(width() - right, height() - bottom));
}

double LineChart::xOf(int month, const QRectF& plot) const {
    const auto count = m_data.monthLabels.size();
    if (count <= 1) {
        return plot.center().x();
    }
    return plot.left() + plot.width() * month / static_cast<double>(count - 1);
}

double LineChart::yOf(double value, const QRectF& plot) const {
    return plot.bottom() - plot.height() * m_data.valueAxis.fraction(value);
}

int LineChart::monthAt(int x) const {
    const QRectF plot = plotRect();
    const auto count = m_data.monthLabels.size();
    if (count == 0 || x < plot.left() - kTickGap || x > plot.right() + kTickGap) {
        return -1;
    }
    if (count == 1) {
        return 0;
    }
    const double step = plot.width() / static_cast<double>(count - 1);
    return std::clamp(static_cast<int>(std::lround((x - plot.left()) / step)), 0,
                      static_cast<int>(count - 1));
}

void LineChart::paintValueAxis(QPainter& painter, const QRectF& plot) const {
    const std::vector<double> ticks = m_data.valueAxis.ticks();
    const QColor grid = palette().color(QPalette::Mid);
    for (std::size_t index = 0; index < ticks.size(); ++index) {
        const double y = std::round(yOf(ticks[index], plot)) + 0.5;
        const bool isZero = ticks[index] == 0;
        QColor line = grid;
        line.setAlphaF(isZero ? 0.8F : 0.3F);
        painter.setPen(QPen(line, isZero ? 1.2 : 1.0));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        if (index < static_cast<std::size_t>(m_data.valueLabels.size())) {
            painter.setPen(palette().color(QPalette::PlaceholderText));
            const QRectF labelRect(0, y - 10, plot.left() - kTickGap, 20);
            painter.drawText(labelRect, Qt::AlignRight | Qt::AlignVCenter,
                             m_data.valueLabels.at(static_cast<qsizetype>(index)));
        }
    }
}

void LineChart::paintMonthAxis(QPainter& painter, const QRectF& plot) const {
    const auto count = static_cast<int>(m_data.monthLabels.size());
    if (count == 0) {
        return;
    }
    const QFontMetricsF metrics(font());
    double widest = 0;
    for (const QString& label : m_data.monthLabels) {
        widest = std::max(widest, metrics.horizontalAdvance(label));
    }
    const double spacing = count > 1 ? plot.width() / (count - 1) : plot.width();
    // Every how many months a label fits; counted back from the most recent, which always shows.
    const int every = std::max(1, static_cast<int>(std::ceil((widest + 16) / std::max(spacing, 1.0))));
    painter.setPen(palette().color(QPalette::PlaceholderText));
    for (int month = count - 1; month >= 0; month -= every) {
        const double x = xOf(month, plot);
        const QRectF labelRect(x - widest / 2 - 8, plot.bottom() + kTickGap, widest + 16, metrics.height());
        painter.drawText(labelRect, Qt::AlignHCenter | Qt::AlignTop, m_data.monthLabels.at(month));
        QColor tick = palette().color(QPalette::Mid);
        tick.setAlphaF(0.6F);
        painter.setPen(tick);
        painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + 4));
        painter.setPen(palette().color(QPalette::PlaceholderText));
    }
}

void LineChart::paintLines(QPainter& painter, const QRectF& plot) const {
    for (const app::TrendsChartData::Line& line : m_data.lines) {
        if (line.values.empty()) {
            continue;
        }
        const QColor color = colorFromHex(line.color);
        QPainterPath path;
        path.moveTo(xOf(0, plot), yOf(line.values.front(), plot));
        for (std::size_t month = 1; month < line.values.size(); ++month) {
            path.lineTo(xOf(static_cast<int>(month), plot), yOf(line.values[month], plot));
        }
        painter.setPen(QPen(color, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
        if (line.values.size() <= static_cast<std::size_t>(kMostMonthsWithDots)) {
            painter.setBrush(palette().color(QPalette::Base));
            painter.setPen(QPen(color, 2));
            for (std::size_t month = 0; month < line.values.size(); ++month) {
                painter.drawEllipse(
                    QPointF(xOf(static_cast<int>(month), plot), yOf(line.values[month], plot)), 3, 3);
            }
        }
    }
}

void LineChart::paintHover(QPainter& painter, const QRectF& plot) const {
    if (m_hovered < 0 || m_data.lines.empty()) {
        return;
    }
    const double x = xOf(m_hovered, plot);
    QColor rule = palette().color(QPalette::Text);
    rule.setAlphaF(0.25F);
    painter.setPen(QPen(rule, 1, Qt::DashLine));
    painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    for (const app::TrendsChartData::Line& line : m_data.lines) {
        if (static_cast<std::size_t>(m_hovered) < line.values.size()) {
            painter.setPen(QPen(palette().color(QPalette::Base), 2));
            painter.setBrush(colorFromHex(line.color));
            painter.drawEllipse(QPointF(x, yOf(line.values[static_cast<std::size_t>(m_hovered)], plot)), 5,
                                5);
        }
    }
}

void LineChart::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF plot = plotRect();
    if (plot.width() <= 0 || plot.height() <= 0) {
        return;
    }
    paintValueAxis(painter, plot);
    paintMonthAxis(painter, plot);
    paintLines(painter, plot);
    paintHover(painter, plot);
    if (m_data.lines.empty() && !m_data.placeholder.isEmpty()) {
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(plot, Qt::AlignCenter | Qt::TextWordWrap, m_data.placeholder);
    }
}

QString LineChart::tipFor(int month) const {
    QStringList lines{QStringLiteral("<b>%1</b>").arg(m_data.monthLabels.at(month).toHtmlEscaped())};
    for (const app::TrendsChartData::Line& line : m_data.lines) {
        if (month < line.valueTexts.size()) {
            lines.append(
                QStringLiteral("<span style=\"color:#%1\">\u25CF</span> %2: %3")
                    .arg(line.color, line.title.toHtmlEscaped(), line.valueTexts.at(month).toHtmlEscaped()));
        }
    }
    return lines.join(QStringLiteral("<br>"));
}

void LineChart::mouseMoveEvent(QMouseEvent* event) {
    const int month = m_data.lines.empty() ? -1 : monthAt(event->position().toPoint().x());
    if (month != m_hovered) {
        m_hovered = month;
        update();
    }
    if (month >= 0) {
        QToolTip::showText(event->globalPosition().toPoint(), tipFor(month), this);
    } else {
        QToolTip::hideText();
    }
    QWidget::mouseMoveEvent(event);
}

void LineChart::leaveEvent(QEvent* event) {
    m_hovered = -1;
    update();
    QWidget::leaveEvent(event);
}

} // namespace vantrel::ui
