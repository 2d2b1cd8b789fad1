#pragma once

#include <QIconEngine>
#include <QList>
#include <QSize>
#include <QString>

namespace vantrel::ui {

class IconPainter;

// An icon drawn by a function on a square design grid, rendered fresh at whatever pixel size and
// device pixel ratio is asked for, so it is sharp everywhere. Disabled icons are greyed and faded.
class DrawnIconEngine final : public QIconEngine {
public:
    using Drawing = void (*)(IconPainter&);

    DrawnIconEngine(QString name, Drawing drawing, qreal gridSize, QList<QSize> sizes);

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    QString iconName() override;
    QString key() const override;
    QIconEngine* clone() const override;

private:
    QPixmap renderedPixmap(QSize pixelSize, QIcon::Mode mode, qreal scale) const;
    QImage render(QSize pixelSize, QIcon::Mode mode) const;

    QString name_;
    Drawing drawing_;
    qreal gridSize_;
    QList<QSize> sizes_;
};

} // namespace vantrel::ui
