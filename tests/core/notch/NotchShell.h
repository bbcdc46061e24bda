#pragma once

#include "VirtualScheduler.h"

#include "notch/ClickCounter.h"
#include "notch/HoverMachine.h"
#include "notch/NotchGeometry.h"
#include "notch/NotchHitTest.h"
#include "notch/OutsideClick.h"

// The shell around the hover and outside-click rules, as the application wires them: the inbox's
// flags, the surface on a notched screen (notch 200 wide centred at x 756, top inset 38, panel top
// at y 0), the pointer, the panel's mouse transparency and one re-check timer on the scheduler.
class NotchShell
{
public:
    static constexpr double centreX = 756;
    static constexpr double panelTop = 0;
    const QPointF onNotch{756, 10};
    const QPointF farAway{100, 700};

    VirtualScheduler clock;
    HoverMachine machine;
    NotchGeometry::State geometry{.hasNotch = true, .notchWidth = 200, .topInset = 38};
    bool pinned = false;
    bool arrival = false;
    bool menuTracking = false;
    bool focusHoldsOpen = false;
    ClickCounter clicks;
    bool mouseTransparent = true;
    int closes = 0;
    QPointF pointer{100, 700};

    bool expanded() const { return geometry.expanded; }
    bool pointerInside() const
    {
        return NotchHitTest::pointerInsidePresentedSurface(NotchGeometry::surfaceSize(geometry), centreX, panelTop,
                                                           pointer, geometry.expanded);
    }

    void updateHover()
    {
        clock.cancel(m_timer);
        m_timer = 0;
        const HoverMachine::Actions actions = machine.update({.inside = pointerInside(),
                                                              .now = clock.now(),
                                                              .expanded = geometry.expanded,
                                                              .pinned = pinned,
                                                              .arrival = arrival,
                                                              .menuTracking = menuTracking});
        if (!actions.evaluated)
            return;
        mouseTransparent = actions.mouseTransparent;
        if (actions.expand)
            geometry.expanded = true;
        if (actions.close)
            close();
        if (actions.recheckAfter) {
            m_timer = clock.schedule(*actions.recheckAfter, [this] {
                m_timer = 0;
                updateHover();
            });
        }
    }
    void moveTo(QPointF point)
    {
        pointer = point;
        updateHover();
    }
    // A mouse press anywhere: dismissal first, as the application's mouse monitors do.
    void press(Qt::MouseButton button, QPointF at)
    {
        pointer = at;
        const int counted = clicks.press(button, clock.now(), at);
        const bool onSurface =
            NotchHitTest::pointerOnSurface(NotchGeometry::surfaceSize(geometry), centreX, panelTop, pointer);
        if (!OutsideClick::isDismissalCandidate(menuTracking, geometry.expanded, onSurface))
            return;
        if (closeFromOutsideClick(OutsideClick::dismissalClickCount(button, counted)))
            updateHover();
    }
    bool closeFromOutsideClick(int clickCount)
    {
        if (!OutsideClick::closeFromOutsideClick(clickCount, focusHoldsOpen, geometry.hasSelection))
            return false;
        close();
        return true;
    }
    void close()
    {
        focusHoldsOpen = false;
        pinned = false;
        geometry.hasSelection = false;
        geometry.expanded = false;
        ++closes;
    }
    void menuBegan()
    {
        menuTracking = true;
        clock.cancel(m_timer);
        m_timer = 0;
    }
    void menuEnded()
    {
        menuTracking = false;
        updateHover();
    }
    bool timerPending() const { return m_timer != 0; }

private:
    Scheduler::TimerId m_timer = 0;
};

