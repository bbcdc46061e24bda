#include "ClickCounter.h"

ClickCounter::ClickCounter(double doubleClickInterval, double doubleClickDistance)
    : m_interval(doubleClickInterval)
    , m_distance(doubleClickDistance)
{
}

int ClickCounter::press(Qt::MouseButton button, double time, QPointF position)
{
    int count = 1;
    if (m_last && m_last->button == button) {
        const double elapsed = time - m_last->time;
        const bool close = (position - m_last->position).manhattanLength() <= m_distance;
        if (elapsed >= 0 && elapsed <= m_interval && close)
            count = m_last->count + 1;
    }
    m_last = Press{button, time, position, count};
    return count;
}
