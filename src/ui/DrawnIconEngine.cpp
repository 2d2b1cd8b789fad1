#include "ui/DrawnIconEngine.h"

#include "ui/IconPainter.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>

#include <algorithm>

namespace vantrel::ui {

namespace {

// A disabled icon keeps its shape but loses its colour and most of its weight, as the platform's
// own disabled images do.
void greyOut(QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = line[x];
            const int grey = qGray(pixel);
            line[x] = qRgba(grey, grey, grey, (qAlpha(pixel) * 2 + 4) / 5); // rounded up: faint edges stay
        }
    }
}

} // namespace

DrawnIconEngine::DrawnIconEngine(QString name, Drawing drawing, qreal gridSize, QList<QSize> sizes)
    : name_(std::move(name))
    , drawing_(drawing)
    , gridSize_(gridSize)
    , sizes_(std::move(sizes)) {}

void DrawnIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) {
    const qreal scale = painter->device() != nullptr ? painter->device()->devicePixelRatioF() : 1.0;
    painter->drawPixmap(rect, renderedPixmap((QSizeF(rect.size()) * scale).toSize(), mode, scale));
}

QPixmap DrawnIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) {
    return renderedPixmap(size, mode, 1.0);
}

QPixmap DrawnIconEngine::scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State, qreal scale) {
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
    // This Qt's QIcon hands over the size already multiplied by the pixel ratio.
    return renderedPixmap(size, mode, scale);
#else
    return renderedPixmap((QSizeF(size) * scale).toSize(), mode, scale);
#endif
}

QPixmap DrawnIconEngine::renderedPixmap(QSize pixelSize, QIcon::Mode mode, qreal scale) const {
    if (pixelSize.isEmpty()) {
        return {};
    }
    // Sidebars and registers ask for the same few sizes over and over.
    const QString cacheKey = QStringLiteral("vantrel-icon:%1:%2x%3:%4")
                                 .arg(name_)
                                 .arg(pixelSize.width())
                                 .arg(pixelSize.height())
                                 .arg(int(mode));
    QPixmap pixmap;
    if (!QPixmapCache::find(cacheKey, &pixmap)) {
        pixmap = QPixmap::fromImage(render(pixelSize, mode));
        QPixmapCache::insert(cacheKey, pixmap);
    }
    pixmap.setDevicePixelRatio(scale);
    return pixmap;
}

QImage DrawnIconEngine::render(QSize pixelSize, QIcon::Mode mode) const {
    QImage image(pixelSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        // A non-square request gets the square drawing centred in it.
        const int side = std::min(pixelSize.width(), pixelSize.height());
        painter.translate((pixelSize.width() - side) / 2, (pixelSize.height() - side) / 2);
        painter.scale(side / gridSize_, side / gridSize_);
        IconPainter icon(painter);
        drawing_(icon);
    }
    if (mode == QIcon::Disabled) {
        image.convertTo(QImage::Format_ARGB32);
        greyOut(image);
    }
    return image;
}

QList<QSize> DrawnIconEngine::availableSizes(QIcon::Mode, QIcon::State) {
    return sizes_;
}

QString DrawnIconEngine::iconName() {
    return name_;
}

QString DrawnIconEngine::key() const {
    return QStringLiteral("VantrelDrawnIconEngine");
}

QIconEngine* DrawnIconEngine::clone() const {
    return new DrawnIconEngine(*this);
}

} // namespace vantrel::ui
