#pragma once

#include <QPointF>
#include <Qt>

#include <optional>

// Counts raw mouse presses into single, double, triple... clicks: a press continues the series when
// it uses the same button as the previous press, comes within the double-click interval of it and
// lands within the double-click distance (Manhattan length) of it.
class ClickCounter
{
public:
    // Interval in seconds and distance in points; the application passes the platform's settings.
    explicit ClickCounter(double doubleClickInterval = 0.4, double doubleClickDistance = 5);

    // Records a press at `time` (seconds, monotonic) and `position`, and returns its click count (1 or more).
    int press(Qt::MouseButton button, double time, QPointF position);
    // Forgets the series, so the next press counts 1.
    void reset() { m_last.reset(); }

private:
    struct Press
    {
        Qt::MouseButton button;
        double time;
        QPointF position;
        int count;
    };
    double m_interval;
    double m_distance;
    std::optional<Press> m_last;
};
