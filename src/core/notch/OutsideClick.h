#pragma once

#include <Qt>

// Closing the open surface by clicking elsewhere.
//
// The shell, on every mouse press anywhere: if isDismissalCandidate(...) holds, it asks the inbox
// closeFromOutsideClick(dismissalClickCount(...)); when that returns true (the inbox has closed),
// the panel gives up keyboard focus and hover is evaluated again.
class OutsideClick
{
public:
    // A press can dismiss only while no menu is open, the surface is open and the press is not on
    // the surface itself (NotchHitTest::pointerOnSurface, no margin).
    static bool isDismissalCandidate(bool menuTracking, bool expanded, bool pointerOnSurface);
    // The click count that dismissal sees: the left button's own count, any other button always 1.
    static int dismissalClickCount(Qt::MouseButton button, int clickCount);
    // Whether an outside click closes the surface. A double click always does; a single click does
    // unless a focus action holds the surface open or a message is open in the reader. Being pinned
    // does not protect against clicks. When this returns true the inbox calls close().
    static bool closeFromOutsideClick(int clickCount, bool focusHoldsOpen, bool hasSelection);
};
