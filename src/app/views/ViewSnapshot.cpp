#include "ViewSnapshot.h"

#include <QPainter>
#include <QQuickWindow>

ViewSnapshot::ViewSnapshot(QQuickItem *parent) : QQuickPaintedItem(parent) {}

bool ViewSnapshot::hold(QQuickItem *item)
{
    release();
    QQuickWindow *window = item ? item->window() : nullptr;
    if (!window || !window->isExposed() || !item->isVisible() || item->width() <= 0 || item->height() <= 0)
        return false;
    // The window as it was last laid out, before the change that follows; cropped to the item.
    const QImage frame = window->grabWindow();
    if (frame.isNull())
        return false;
    const qreal ratio = frame.devicePixelRatio();
    const QRectF area = item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
    const QRect pixels = QRectF(area.topLeft() * ratio, area.size() * ratio).toAlignedRect() & frame.rect();
    if (pixels.isEmpty())
        return false;
    m_picture = frame.copy(pixels);
    m_picture.setDevicePixelRatio(ratio);
    update();
    Q_EMIT holdingChanged();
    return true;
}

void ViewSnapshot::release()
{
    if (m_picture.isNull())
        return;
    m_picture = QImage();
    update();
    Q_EMIT holdingChanged();
}

void ViewSnapshot::paint(QPainter *painter)
{
    if (!m_picture.isNull())
        painter->drawImage(QRectF(0, 0, width(), height()), m_picture);
}
