#include "SymbolImageProvider.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

QImage SymbolImageProvider::render(const QString &name, const QColor &color, QSize pixelSize)
{
    QSvgRenderer renderer(QStringLiteral(":/icons/%1.svg").arg(name));
    if (!renderer.isValid() || pixelSize.isEmpty())
        return {};
    QImage image(pixelSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    // Keep the drawing's coverage, take the colour.
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(image.rect(), color);
    return image;
}

QImage SymbolImageProvider::requestImage(const QString &id, QSize *size, const QSize &requestedSize)
{
    const qsizetype slash = id.lastIndexOf(QLatin1Char('/'));
    const QString name = slash < 0 ? id : id.left(slash);
    QColor color(slash < 0 ? QStringLiteral("#ffffff") : QLatin1Char('#') + id.mid(slash + 1));
    if (!color.isValid())
        color = Qt::white;
    const QSize pixels(requestedSize.width() > 0 ? requestedSize.width() : 24,
                       requestedSize.height() > 0 ? requestedSize.height() : 24);
    QImage image = render(name, color, pixels);
    if (size)
        *size = image.size();
    return image;
}

QIcon SymbolImageProvider::icon(const QString &name, const QColor &color, int points)
{
    const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    QPixmap pixmap = QPixmap::fromImage(render(name, color, QSize(points, points) * ratio));
    pixmap.setDevicePixelRatio(ratio);
    return QIcon(pixmap);
}
