#pragma once

#include <QPointF>
#include <QSizeF>

// Where the drawn notch surface is, for hover and outside clicks. The panel draws the surface
// horizontally centred and touching its top edge, so the surface of the presented size w x h is
// the rectangle [centreX - w/2, centreX + w/2] x [panelTop, panelTop + h].
//
// Screen coordinates with y growing downwards: the panel's top edge has the smallest y, and the
// surface's bottom edge is at panelTop + h. Edges are inclusive.
class NotchHitTest
{
public:
    // Extra reach left, right and below the surface (never above its top edge).
    static constexpr double collapsedMargin = 3;
    static constexpr double expandedMargin = 6;

    static double margin(bool expanded) { return expanded ? expandedMargin : collapsedMargin; }

    // For hover: the surface plus its margin. An empty surface (either side not above 0) has no inside.
    static bool pointerInsidePresentedSurface(QSizeF presentedSize, double panelCentreX, double panelTop,
                                              QPointF point, bool expanded);
    // For outside clicks: the surface itself, without margin.
    static bool pointerOnSurface(QSizeF presentedSize, double panelCentreX, double panelTop, QPointF point);

private:
    static bool inside(QSizeF presentedSize, double panelCentreX, double panelTop, QPointF point, double margin);
};
