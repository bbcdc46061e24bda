#pragma once

#include <QMetaType>

// Shape, shadow and grab handle of the black notch surface in one state.
struct NotchSurfaceStyle
{
    Q_GADGET
    Q_PROPERTY(double topCornerRadius MEMBER topCornerRadius)
    Q_PROPERTY(double bottomCornerRadius MEMBER bottomCornerRadius)
    Q_PROPERTY(double shadowOpacity MEMBER shadowOpacity)
    Q_PROPERTY(double shadowRadius MEMBER shadowRadius)
    Q_PROPERTY(double shadowOffsetY MEMBER shadowOffsetY)
    Q_PROPERTY(bool handleVisible MEMBER handleVisible)
    Q_PROPERTY(double handleWidth MEMBER handleWidth)
    Q_PROPERTY(double handleHeight MEMBER handleHeight)
    Q_PROPERTY(double handleOpacity MEMBER handleOpacity)
    Q_PROPERTY(double handleBottomMargin MEMBER handleBottomMargin)

public:
    // Square top corners melt into a camera notch; a screen without one gets rounded ones.
    double topCornerRadius = 10;
    double bottomCornerRadius = 8;
    // Black shadow, blurred by shadowRadius and moved shadowOffsetY downwards.
    double shadowOpacity = 0;
    double shadowRadius = 18;
    double shadowOffsetY = 10;
    // A white capsule centred at the bottom of the open surface.
    bool handleVisible = false;
    double handleWidth = 32;
    double handleHeight = 3;
    double handleOpacity = 0.18;
    // Gap between the handle's bottom and the surface's bottom edge.
    double handleBottomMargin = 6;

    static NotchSurfaceStyle of(bool expanded, bool hasNotch)
    {
        NotchSurfaceStyle style;
        style.topCornerRadius = hasNotch ? 0 : 10;
        style.bottomCornerRadius = expanded ? 30 : 8;
        style.shadowOpacity = expanded ? 0.28 : 0;
        style.handleVisible = expanded;
        return style;
    }

    friend bool operator==(const NotchSurfaceStyle &, const NotchSurfaceStyle &) = default;
};

Q_DECLARE_METATYPE(NotchSurfaceStyle)
