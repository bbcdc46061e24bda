#include "NotchHitTest.h"

bool NotchHitTest::inside(QSizeF presentedSize, double panelCentreX, double panelTop, QPointF point, double margin)
{
    const double width = presentedSize.width();
    const double height = presentedSize.height();
    if (!(width > 0) || !(height > 0))
        return false;
    const double left = panelCentreX - width / 2;
    const double right = left + width;
    const double bottom = panelTop + height;
    return left - margin <= point.x() && point.x() <= right + margin && panelTop <= point.y()
           && point.y() <= bottom + margin;
}

bool NotchHitTest::pointerInsidePresentedSurface(QSizeF presentedSize, double panelCentreX, double panelTop,
                                                 QPointF point, bool expanded)
{
    return inside(presentedSize, panelCentreX, panelTop, point, margin(expanded));
}

bool NotchHitTest::pointerOnSurface(QSizeF presentedSize, double panelCentreX, double panelTop, QPointF point)
{
    return inside(presentedSize, panelCentreX, panelTop, point, 0);
}
