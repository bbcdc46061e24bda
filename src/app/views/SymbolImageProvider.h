#pragma once

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QQuickImageProvider>

// The views' line symbols ("chevron.down", "magnifyingglass", …) tinted in one colour:
// "image://symbol/<name>/<colour>" where the colour is hex digits without the number sign (rrggbb or
// aarrggbb). The symbol is drawn at the requested pixel size, so it is sharp at any device pixel ratio;
// the engine caches each name, colour and size.
class SymbolImageProvider final : public QQuickImageProvider
{
public:
    static inline const QString providerName = QStringLiteral("symbol");

    SymbolImageProvider() : QQuickImageProvider(QQuickImageProvider::Image) {}

    QImage requestImage(const QString &id, QSize *size, const QSize &requestedSize) override;

    // The symbol as pixels; a null image for an unknown name.
    static QImage render(const QString &name, const QColor &color, QSize pixelSize);
    // For widget menus: `points` square at the screen's pixel ratio.
    static QIcon icon(const QString &name, const QColor &color, int points);
};
