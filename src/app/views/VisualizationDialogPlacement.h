#pragma once

#include <QRect>
#include <QSize>

// Where a dialog of the panel goes on the panel's screen: clear of the open card, so that the card never
// covers any of it. Below the card when the room there takes the dialog, else beside it on the roomier
// side, as large as the dialog would be but no larger than that room; a screen too small for any of them
// gets the dialog below the card at its smallest, overlapping the card as little as it can (the dialog is
// stacked above the panel in any case). All rectangles are in screen coordinates and include the window
// manager's frame.
class VisualizationDialogPlacement
{
public:
    // Room kept between the dialog and the card, and between the dialog and the screen's edges.
    static constexpr int gap = 12;

    // `area` is the screen's available area, `card` the card's surface, `preferred` and `minimum` the
    // dialog's sizes.
    static QRect place(const QRect &area, const QRect &card, QSize preferred, QSize minimum);
};
