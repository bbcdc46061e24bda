#pragma once

#include <QImage>
#include <QQuickPaintedItem>
#include <QtQml/qqmlregistration.h>

// A still picture of another item as it was last drawn, for a view that is about to change under it: the
// picture stays while the view changes, so that the old content can fade out over the new (the reader
// leaving for the list, or for another message).
class ViewSnapshot : public QQuickPaintedItem
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool holding READ holding NOTIFY holdingChanged)
public:
    explicit ViewSnapshot(QQuickItem *parent = nullptr);

    // Draws `item` as it stands now and holds the picture; false (and nothing held) when there is nothing to
    // draw (no window, nothing on screen).
    Q_INVOKABLE bool hold(QQuickItem *item);
    // Lets the picture go.
    Q_INVOKABLE void release();
    bool holding() const { return !m_picture.isNull(); }

    void paint(QPainter *painter) override;

Q_SIGNALS:
    void holdingChanged();

private:
    QImage m_picture;
};
