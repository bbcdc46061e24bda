#pragma once

#include <QMetaType>

// One timing curve with its duration: a cubic Bezier from (0, 0) to (1, 1) through the control
// points (x1, y1) and (x2, y2), or a linear ramp (whose control points are then (0, 0) and (1, 1)).
struct NotchAnimation
{
    Q_GADGET
    Q_PROPERTY(bool linear MEMBER linear)
    Q_PROPERTY(double x1 MEMBER x1)
    Q_PROPERTY(double y1 MEMBER y1)
    Q_PROPERTY(double x2 MEMBER x2)
    Q_PROPERTY(double y2 MEMBER y2)
    Q_PROPERTY(double duration MEMBER duration)

public:
    bool linear = false;
    double x1 = 0;
    double y1 = 0;
    double x2 = 1;
    double y2 = 1;
    // Seconds.
    double duration = 0;

    friend bool operator==(const NotchAnimation &, const NotchAnimation &) = default;
};

Q_DECLARE_METATYPE(NotchAnimation)
