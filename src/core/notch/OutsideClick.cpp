#include "OutsideClick.h"

#include <algorithm>

bool OutsideClick::isDismissalCandidate(bool menuTracking, bool expanded, bool pointerOnSurface)
{
    return !menuTracking && expanded && !pointerOnSurface;
}

int OutsideClick::dismissalClickCount(Qt::MouseButton button, int clickCount)
{
    return button == Qt::LeftButton ? std::max(clickCount, 1) : 1;
}

bool OutsideClick::closeFromOutsideClick(int clickCount, bool focusHoldsOpen, bool hasSelection)
{
    if (clickCount >= 2)
        return true;
    return !focusHoldsOpen && !hasSelection;
}
